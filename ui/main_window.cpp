#include "ui/main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QStringListModel>
#include <QStyleFactory>
#include <QUrl>

#include "launch/exe_path_file.h"
#include "launch/game_launch.h"
#include "mods/mod_list_file.h"
#include "ui/about_window.h"
#include "ui/add_mod_window.h"
#include "ui/form.h"
#include "ui/messages.h"
#include "ui/player_dialogs.h"
#include "ui/startup.h"

namespace kelvor {

using form::Add;
using form::kHintText;
using form::kLargeText;

MainWindow::MainWindow(QString dataFolder, Platform platform, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      dataFolder_(std::move(dataFolder)),
      platform_(platform) {
  BuildForm();
  BuildMenus();
  ConnectCommands();
  ConnectSwitches();
  // Unloading ends the launcher, however the window is closed, shown or hidden behind its icon:
  // the program quits once its main window is gone.
  setAttribute(Qt::WA_DeleteOnClose);
  // The window is as large as its menu bar and its client area, and the player cannot resize it.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

// A subform has no owner, so it would outlive the window that opened it.
MainWindow::~MainWindow() {
  delete addModWindow_;
  delete aboutWindow_;
}

void MainWindow::BuildForm() {
  auto* client = new QWidget(this);
  setCentralWidget(client);
  form::SetUpWindow(this, client, "Main", kAppTitle.toString(), 9015, 7095);

  // clang-format off
  // Container, name, caption, tooltip, place in twips (left, top, width, height), font.
  auto* frame1 =          Add<QGroupBox>(client, {      "Frame1",           "Params",              {},                                              {120, 120, 3015, 1815}});
  param1Check_ =          Add<QCheckBox>(frame1, {      "Param1Check",      "window",              "Run in a window mode",                          {240, 360, 1815, 255}, kLargeText});
  param2Check_ =          Add<QCheckBox>(frame1, {      "Param2Check",      "noSplash",            "Disable all splash screens",                    {240, 720, 1455, 255}, kLargeText});
  param3Check_ =          Add<QCheckBox>(frame1, {      "Param3Check",      "noPause",             "Running on background",                         {240, 1080, 1455, 195}, kLargeText});
  param4Check_ =          Add<QCheckBox>(frame1, {      "Param4Check",      "showScriptErrors",    "Shows directly on-screen error log",            {240, 1440, 2655, 255}, kLargeText});
  auto* frame2 =          Add<QGroupBox>(client, {      "Frame2",           "Exe location",        {},                                              {3240, 120, 5655, 1095}});
  fileLocationText_ =     Add<QLineEdit>(frame2, {      "FileLocationText", {},                    "Location of executable file",                   {120, 240, 5415, 285}});
  auto* saveButton =      Add<QPushButton>(frame2, {    "SaveButton",       "Save...",             "Save located executable file",                  {120, 600, 1215, 375}, kLargeText});
  auto* locationButton =  Add<QPushButton>(frame2, {    "LocationButton",   "Find...",             "Find executable file",                          {4320, 600, 1215, 375}, kLargeText});
  auto* appInfoLabel =    Add<QLabel>(frame2, {         "AppInfoLabel",     "EXE file version",    {},                                              {1440, 720, 2775, 255}, kLargeText});
  auto* frame3 =          Add<QGroupBox>(client, {      "Frame3",           "Multiplayer",         {},                                              {120, 2040, 3015, 2895}});
                          Add<QLabel>(frame3, {         "Label1",           "Server IP",           {},                                              {120, 480, 855, 255}, kLargeText});
  ipText_ =               Add<QLineEdit>(frame3, {      "IPText",           {},                    "Add server IP address here",                    {1080, 480, 1695, 285}});
                          Add<QLabel>(frame3, {         "Label2",           "Port",                {},                                              {120, 960, 855, 255}, kLargeText});
  portText_ =             Add<QLineEdit>(frame3, {      "PortText",         {},                    "Define the port",                               {1080, 960, 1695, 285}});
                          Add<QLabel>(frame3, {         "Label3",           "Password",            {},                                              {120, 1440, 855, 255}, kLargeText});
  passText_ =             Add<QLineEdit>(frame3, {      "PassText",         {},                    "Fill if the password is required",              {1080, 1440, 1695, 285}});
  hostCheck_ =            Add<QCheckBox>(frame3, {      "HostCheck",        "Hosted game",         "Hosted and non-dedicated game",                 {1080, 1800, 1695, 255}, kLargeText});
  auto* applyButton =     Add<QPushButton>(frame3, {    "ApplyButton",      "Apply",               "Apply all MP settings ",                        {240, 2280, 1215, 375}, kLargeText});
  auto* clearButton =     Add<QPushButton>(frame3, {    "ClearButton",      "Clear",               "Clear all MP settings ",                        {1680, 2280, 1095, 375}, kLargeText});
  auto* modsFrame =       Add<QGroupBox>(client, {      "ModsFrame",        "Mods",                {},                                              {3240, 1320, 5655, 3615}});
  list1_ =                Add<QListView>(modsFrame, {   "List1",            {},                    "Mod list",                                      {240, 240, 3855, 3210}, kLargeText});
  auto* addButton =       Add<QPushButton>(modsFrame, { "AddButton",        "<- Add",              "Add new Mod item in to the list ",              {4200, 240, 1215, 375}, kLargeText});
  auto* removeButton =    Add<QPushButton>(modsFrame, { "RemoveButton",     "-> Remove",           "Remove selected Mod item from the list",        {4200, 720, 1215, 375}, kLargeText});
  auto* applyModsButton = Add<QPushButton>(modsFrame, { "ApplyModsButton",  "Apply",               "Apply all Mod settings ",                       {4200, 2520, 1215, 375}, kLargeText});
  auto* clearModsButton = Add<QPushButton>(modsFrame, { "ClearModsButton",  "Clear",               "Clear all Mod settings ",                       {4200, 3000, 1215, 375}, kLargeText});
  auto* frame5 =          Add<QGroupBox>(client, {      "Frame5",           "Debug",               {},                                              {120, 5040, 8775, 1095}});
  hintLabel_ =            Add<QLabel>(frame5, {         "HintLabel",        kErrorText.toString(), "Debug log with all currently applied settings", {120, 240, 8535, 735}, kHintText});
  auto* frame4 =          Add<QGroupBox>(client, {      "Frame4",           "Controls",            {},                                              {120, 6240, 8775, 735}});
  auto* exitButton =      Add<QPushButton>(frame4, {    "ExitButton",       "Exit",                "Close the launcher",                            {120, 240, 1215, 375}, kLargeText});
  closeCheck_ =           Add<QCheckBox>(frame4, {      "CloseCheck",       "Close after launch",  "Close the launcher after launching the game",   {5280, 360, 1815, 255}, kLargeText});
  auto* launchButton =    Add<QPushButton>(frame4, {    "LaunchButton",     "Launch",              "Launch the game with applied settings",         {7200, 240, 1455, 375}, kLargeText});
  // clang-format on

  // The controls sit in their frames as if each frame's caption stood on its top border, as
  // the classic Windows frame draws it; every other control keeps the desktop's own look.
  auto* frameStyle = QStyleFactory::create(QStringLiteral("Windows"));
  frameStyle->setParent(this);
  for (QGroupBox* frame : client->findChildren<QGroupBox*>()) frame->setStyle(frameStyle);

  // Initial states. The three checked switches agree with the start-up defaults.
  param2Check_->setChecked(true);
  param3Check_->setChecked(true);
  param4Check_->setChecked(true);
  fileLocationText_->setEnabled(false);  // only the file picker changes the path
  passText_->setEchoMode(QLineEdit::Password);
  passText_->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // '*'
  appInfoLabel->setAlignment(Qt::AlignCenter);
  appInfoLabel->setEnabled(false);
  appInfoLabel->hide();
  hintLabel_->setWordWrap(true);
  hintLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  modNames_ = new QStringListModel(this);
  list1_->setModel(modNames_);
  list1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list1_->setSelectionMode(QAbstractItemView::SingleSelection);
  list1_->setUniformItemSizes(true);  // a list of thousands lays out as fast as a short one

  const QList<QWidget*> tabOrder = {
      param1Check_,   param2Check_, param3Check_, param4Check_, ipText_,           portText_,
      passText_,      hostCheck_,   applyButton,  clearButton,  fileLocationText_, saveButton,
      locationButton, list1_,       addButton,    removeButton, applyModsButton,   clearModsButton,
      exitButton,     closeCheck_,  launchButton};
  for (qsizetype i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
  param1Check_->setFocus();
}

void MainWindow::BuildMenus() {
  struct Item {
    const char* name;
    const char* caption;
    QKeySequence shortcut;
  };
  const auto addMenu = [this](const char* name, const char* title,
                              std::initializer_list<Item> items) {
    QMenu* menu = menuBar()->addMenu(QString::fromLatin1(title));
    menu->setObjectName(QString::fromLatin1(name));
    for (const Item& item : items) {
      // A separator's caption is "-".
      QAction* action = qstrcmp(item.caption, "-") == 0
                            ? menu->addSeparator()
                            : menu->addAction(QString::fromLatin1(item.caption));
      action->setObjectName(QString::fromLatin1(item.name));
      action->setShortcut(item.shortcut);
    }
  };
  addMenu("mnuFile", "File",
          {{"mnuLaunch", "Launch", {}},
           {"space0", "-", {}},
           {"mnuSaveExe", "Save *.exe", QKeySequence(Qt::CTRL | Qt::Key_S)},
           {"space1", "-", {}},
           {"mnuMinimize", "Minimize", QKeySequence(Qt::CTRL | Qt::Key_M)},
           {"space2", "-", {}},
           {"mnuExit", "Exit", {}}});
  addMenu("mnuMods", "Mods",
          {{"mnuAdd", "<- Add", {}},
           {"mnuRemove", "-> Remove", {}},
           {"space3", "-", {}},
           {"mnuSaveMODs", "Save list", {}}});
  addMenu("mnuHelp", "Help",
          {{"mnuHelpContents", "Help Contents", QKeySequence(Qt::Key_F1)},
           {"space4", "-", {}},
           {"mnuAbout", "About", {}}});
}

void MainWindow::ConnectCommands() {
  // A button and a menu item that do the same thing run one operation.
  // clang-format off
  const struct {
    const char* button;
    const char* menuItem;
    void (MainWindow::*operation)();
  } commands[] = {
      {"LaunchButton",    "mnuLaunch",       &MainWindow::Launch},
      {"SaveButton",      "mnuSaveExe",      &MainWindow::SaveExecutablePath},
      {"ExitButton",      "mnuExit",         &MainWindow::Quit},
      {"LocationButton",  nullptr,           &MainWindow::LocateExecutable},
      {"ApplyButton",     nullptr,           &MainWindow::ApplyConnection},
      {"ClearButton",     nullptr,           &MainWindow::ClearConnection},
      {"AddButton",       "mnuAdd",          &MainWindow::OpenAddModWindow},
      {"RemoveButton",    "mnuRemove",       &MainWindow::RemoveSelectedMod},
      {nullptr,           "mnuSaveMODs",     &MainWindow::SaveList},
      {"ApplyModsButton", nullptr,           &MainWindow::ApplyMod},
      {"ClearModsButton", nullptr,           &MainWindow::ClearMod},
      {nullptr,           "mnuMinimize",     &MainWindow::MinimizeToNotificationArea},
      {nullptr,           "mnuHelpContents", &MainWindow::OpenHelp},
      {nullptr,           "mnuAbout",        &MainWindow::OpenAboutWindow},
  };
  // clang-format on
  for (const auto& command : commands) {
    if (command.button) {
      connect(findChild<QPushButton*>(QLatin1String(command.button)), &QPushButton::clicked, this,
              command.operation);
    }
    if (command.menuItem) {
      connect(findChild<QAction*>(QLatin1String(command.menuItem)), &QAction::triggered, this,
              command.operation);
    }
  }
}

void MainWindow::ConnectSwitches() {
  const struct {
    QCheckBox* box;
    QString LaunchOptions::*slot;
    QStringView fragment;
  } switches[] = {
      // clang-format off
      {param1Check_, &LaunchOptions::WindowArg,       kWindowSwitch},
      {param2Check_, &LaunchOptions::NoSplashArg,     kNoSplashSwitch},
      {param3Check_, &LaunchOptions::NoPauseArg,      kNoPauseSwitch},
      {param4Check_, &LaunchOptions::ScriptErrorsArg, kScriptErrorsSwitch},
      {hostCheck_,   &LaunchOptions::HostArg,         kHostSwitch},
      // clang-format on
  };
  for (const auto& option : switches) {
    // The fragment follows the box's new state, so the two can never drift apart.
    connect(option.box, &QCheckBox::toggled, this,
            [this, slot = option.slot, fragment = option.fragment](bool checked) {
              options_.*slot = checked ? fragment.toString() : QString();
              RefreshPreview();
            });
  }
}

void MainWindow::Load() {
  options_ = LaunchOptions::StartupDefaults();
  StartupState state = ReadStartupState(dataFolder_);
  if (state.exePath) {
    fileLocationText_->setText(*state.exePath);
    RefreshPreview();
  }
  modNames_->setStringList(std::move(state.modNames));
  if (state.failed) ShowErrorBox(platform_.dialogs);
}

void MainWindow::RefreshPreview() {
  hintLabel_->setText(ComposeCommandLine(fileLocationText_->text(), options_));
}

void MainWindow::ApplyConnection() {
  // The fragments take the boxes' texts even when the warning follows; the preview then keeps
  // its last composition, while a launch already uses them.
  if (!SetConnection(options_, ipText_->text(), portText_->text(), passText_->text())) {
    platform_.dialogs.Tell(MessageKind::kNotice,
                           TwoSentences(kConnectionNeededText, kPasswordOptionalText));
    return;
  }
  RefreshPreview();
}

void MainWindow::ClearConnection() {
  for (QLineEdit* box : {ipText_, portText_, passText_}) box->clear();
  SetConnection(options_, {}, {}, {});
  RefreshPreview();
}

void MainWindow::ApplyMod() {
  const int row = SelectedModRow();
  const QString modName = row < 0 ? QString() : modNames_->index(row).data().toString();
  if (modName.isEmpty()) {
    platform_.dialogs.Tell(MessageKind::kNotice, kNothingSelectedText.toString());
    return;
  }
  options_.ModArg = ValueFragment(kModPrefix, modName);
  RefreshPreview();
}

void MainWindow::ClearMod() {
  options_.ModArg.clear();
  RefreshPreview();
}

void MainWindow::LocateExecutable() {
  // A cancelled dialog leaves the path as it was; only saving writes it to the file.
  if (const std::optional<QString> path = platform_.picker.PickExecutable()) {
    fileLocationText_->setText(*path);
  }
}

void MainWindow::Launch() {
  if (!StartGame(fileLocationText_->text(), options_)) {
    ShowErrorBox(platform_.dialogs);
    return;
  }
  if (closeCheck_->isChecked()) close();
}

void MainWindow::Quit() {
  if (platform_.dialogs.Confirm(kQuitQuestionText.toString())) close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  Unload();
  QMainWindow::closeEvent(event);
}

void MainWindow::Unload() {
  // The launcher ends with its main window, so neither a subform nor the icon may stay behind.
  if (addModWindow_) addModWindow_->close();
  if (aboutWindow_) aboutWindow_->close();
  platform_.notificationArea.RemoveIcon();
}

void MainWindow::MinimizeToNotificationArea() {
  // Hidden with no icon to click, the launcher could never be brought back.
  if (!platform_.notificationArea.IsAvailable()) {
    showMinimized();
    return;
  }
  platform_.notificationArea.ShowIcon(windowIcon(), kRestoreTipText.toString(),
                                      [this] { RestoreFromNotificationArea(); });
  hide();
}

void MainWindow::RestoreFromNotificationArea() {
  show();
  activateWindow();
  platform_.notificationArea.RemoveIcon();
}

void MainWindow::OpenHelp() {
  // Handed to whatever viewer the desktop has for it: the HTML Help viewer on Windows, a CHM
  // viewer such as xchm elsewhere. Without the file, some desktops would show an error of
  // their own; the launcher simply goes on.
  const QString help = QDir(dataFolder_).filePath(QStringLiteral("Kelvor_Launcher_Help.chm"));
  if (QFileInfo(help).isFile()) QDesktopServices::openUrl(QUrl::fromLocalFile(help));
}

void MainWindow::OpenAboutWindow() { ShowSubform(aboutWindow_ = new AboutWindow); }

void MainWindow::SaveExecutablePath() {
  if (!SaveExePath(dataFolder_, fileLocationText_->text())) {
    ShowErrorBox(platform_.dialogs);
    return;
  }
  platform_.dialogs.Tell(MessageKind::kSuccess, kExePathSavedText.toString());
  RefreshPreview();
}

void MainWindow::SaveList() {
  if (!SaveModList(dataFolder_, modNames_->stringList())) {
    ShowErrorBox(platform_.dialogs);
    return;
  }
  platform_.dialogs.Tell(MessageKind::kSuccess, kModListSavedText.toString());
}

void MainWindow::RemoveSelectedMod() {
  if (!platform_.dialogs.Confirm(TwoSentences(kRemoveWarningText, kProceedQuestionText))) return;
  const int row = SelectedModRow();
  if (row < 0) {
    platform_.dialogs.Tell(MessageKind::kNotice, kNothingSelectedText.toString());
    return;
  }
  modNames_->removeRows(row, 1);
  if (!SaveModList(dataFolder_, modNames_->stringList())) {
    ShowErrorBox(platform_.dialogs);
    return;
  }
  platform_.dialogs.Tell(MessageKind::kSuccess, TwoSentences(kModRemovedText, kModListSavedText));
}

void MainWindow::OpenAddModWindow() {
  ShowSubform(addModWindow_ = new AddModWindow(*modNames_, dataFolder_, platform_.dialogs));
}

void MainWindow::ShowSubform(QDialog* subform) {
  // Qt's modality keeps every input from the main window, its title bar's close included, and
  // keeps the subform in front; the main window is greyed as well, to show it is waiting.
  subform->setWindowModality(Qt::ApplicationModal);
  setEnabled(false);
  connect(subform, &QDialog::finished, this, [this] { setEnabled(true); });
  subform->show();
  subform->activateWindow();  // the player types or presses Enter at once
}

int MainWindow::SelectedModRow() const {
  const QModelIndexList selected = list1_->selectionModel()->selectedRows();
  return selected.isEmpty() ? -1 : selected.first().row();
}

}  // namespace kelvor
