#include "ui/main_window.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QStringListModel>
#include <QStyle>
#include <QStyleFactory>
#include <QUrl>
#include <algorithm>

#include "core/failure_report.h"
#include "core/file_names.h"
#include "launch/exe_path_file.h"
#include "launch/game_launch.h"
#include "mods/mod_list_file.h"
#include "ui/add_mod_window.h"
#include "ui/executable_picker.h"
#include "ui/form_font.h"
#include "ui/message_box.h"
#include "ui/messages.h"
#include "ui/version.h"
#include "ui_about_window.h"
#include "ui_main_window.h"

namespace kelvor {

MainWindow::MainWindow(const QString& folder)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      ui_(std::make_unique<Ui::Main>()),
      files_(folder),
      helpFile_(folder + QStringLiteral("/" KELVOR_HELP_NAME)),
      modNames_(new QStringListModel(this)) {
  SetUpForm(*ui_, this);
  setWindowTitle(kAppTitle.toString());  // the boxes' title too
  // Designer's separators have no names: the menus' are space0, space1 and on, in their order.
  int separators = 0;
  for (const QAction* menu : ui_->menubar->actions()) {
    for (QAction* item : menu->menu()->actions()) {
      if (item->isSeparator()) item->setObjectName(QStringLiteral("space%1").arg(separators++));
    }
  }
  // One "*" for each character of the password. A style sheet fixes the font its control has
  // when it is set, so it is set here, once the form's sizes have reached the box.
  ui_->PassText->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
  ui_->List1->setModel(modNames_);
  ui_->FileLocationText->setMaxLength(static_cast<int>(kMaxExePathLength));  // as the file keeps
  // Enter presses the focused button, as Space does, the way Windows' own buttons answer it.
  for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(true);
  // The controls sit in their frames as if each frame's caption stood on its top border, as
  // the classic Windows frame draws it; every other control keeps the desktop's own look. A Qt
  // built without that style leaves the frames in the application's.
  if (QStyle* frameStyle = QStyleFactory::create(QStringLiteral("Windows"))) {
    frameStyle->setParent(this);
    for (QGroupBox* frame : findChildren<QGroupBox*>()) frame->setStyle(frameStyle);
  }
  // The preview's context menu copies the line, as players paste it into a shortcut or a
  // script: the part selected with the mouse, or else all of it, blanks and all.
  auto* copy = new QAction(kCopyText.toString(), ui_->HintLabel);
  connect(copy, &QAction::triggered, this, [label = ui_->HintLabel] {
    QGuiApplication::clipboard()->setText(label->hasSelectedText() ? label->selectedText()
                                                                   : label->text());
  });
  ui_->HintLabel->addAction(copy);
  // The window is as large as its menu bar and its client area, and the player cannot resize it.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  setAttribute(Qt::WA_DeleteOnClose);

  ConnectSwitch(ui_->Param1Check, &LaunchOptions::WindowArg, kWindowSwitch);
  ConnectSwitch(ui_->Param2Check, &LaunchOptions::NoSplashArg, kNoSplashSwitch);
  ConnectSwitch(ui_->Param3Check, &LaunchOptions::NoPauseArg, kNoPauseSwitch);
  ConnectSwitch(ui_->Param4Check, &LaunchOptions::ScriptErrorsArg, kScriptErrorsSwitch);
  ConnectSwitch(ui_->HostCheck, &LaunchOptions::HostArg, kHostSwitch);
  // A button and a menu item that do the same thing run one operation.
  connect(ui_->LaunchButton, &QPushButton::clicked, this, &MainWindow::Launch);
  connect(ui_->mnuLaunch, &QAction::triggered, this, &MainWindow::Launch);
  connect(ui_->SaveButton, &QPushButton::clicked, this, &MainWindow::SaveExecutablePath);
  connect(ui_->mnuSaveExe, &QAction::triggered, this, &MainWindow::SaveExecutablePath);
  connect(ui_->ExitButton, &QPushButton::clicked, this, &MainWindow::Quit);
  connect(ui_->mnuExit, &QAction::triggered, this, &MainWindow::Quit);
  connect(ui_->AddButton, &QPushButton::clicked, this, &MainWindow::OpenAddModWindow);
  connect(ui_->mnuAdd, &QAction::triggered, this, &MainWindow::OpenAddModWindow);
  connect(ui_->RemoveButton, &QPushButton::clicked, this, &MainWindow::RemoveSelectedMod);
  connect(ui_->mnuRemove, &QAction::triggered, this, &MainWindow::RemoveSelectedMod);
  connect(ui_->LocationButton, &QPushButton::clicked, this, &MainWindow::LocateExecutable);
  connect(ui_->ApplyButton, &QPushButton::clicked, this, &MainWindow::ApplyConnection);
  connect(ui_->ClearButton, &QPushButton::clicked, this, &MainWindow::ClearConnection);
  connect(ui_->ApplyModsButton, &QPushButton::clicked, this, &MainWindow::ApplyMod);
  connect(ui_->ClearModsButton, &QPushButton::clicked, this, &MainWindow::ClearMod);
  connect(ui_->mnuSaveMODs, &QAction::triggered, this, &MainWindow::SaveList);
  connect(ui_->mnuMinimize, &QAction::triggered, this, &MainWindow::MinimizeToNotificationArea);
  connect(ui_->mnuHelpContents, &QAction::triggered, this, &MainWindow::OpenHelp);
  connect(ui_->mnuAbout, &QAction::triggered, this, &MainWindow::OpenAboutWindow);
}

MainWindow::~MainWindow() = default;

void MainWindow::ConnectSwitch(QCheckBox* box, QString LaunchOptions::*slot, QStringView fragment) {
  // The fragment follows the box's new state, so the two can never drift apart.
  connect(box, &QCheckBox::toggled, this, [this, slot, fragment](bool checked) {
    options_.*slot = checked ? fragment.toString() : QString();
    RefreshPreview();
  });
}

void MainWindow::Load() {
  options_ = LaunchOptions::StartupDefaults();
  // The mod list is read even when the path file fails, so that a later save of the list
  // never overwrites names that were simply not loaded.
  const FailureReport report;
  const std::optional<QString> exePath = ReadExePath(files_.exePath);
  ModListReading mods = ReadModList(files_.modList);
  if (exePath) {
    ui_->FileLocationText->setText(*exePath);
    RefreshPreview();
  }
  modNames_->setStringList(std::move(mods.names));
  if (!exePath || !mods.complete) MessageBox::Error(this, report.text());
}

void MainWindow::RefreshPreview() {
  ui_->HintLabel->setText(ComposeCommandLine(ui_->FileLocationText->text(), options_));
}

std::array<QLineEdit*, kConnectionFragments.size()> MainWindow::ConnectionBoxes() const {
  std::array boxes = {ui_->IPText, ui_->PortText, ui_->PassText};
  static_assert(std::tuple_size_v<decltype(boxes)> == kConnectionFragments.size(),
                "one multiplayer box for each connection fragment");
  return boxes;
}

void MainWindow::ApplyConnection() {
  std::array<QString, kConnectionFragments.size()> texts;
  std::ranges::transform(ConnectionBoxes(), texts.begin(), &QLineEdit::text);
  // The fragments take the boxes' texts even when the warning follows; the preview then keeps
  // its last composition, while a launch already uses them.
  if (!SetConnection(options_, texts)) {
    MessageBox::Notice(this, TwoSentences(kConnectionNeededText, kPasswordOptionalText));
    return;
  }
  RefreshPreview();
}

void MainWindow::ClearConnection() {
  for (QLineEdit* box : ConnectionBoxes()) box->clear();
  SetConnection(options_, {});
  RefreshPreview();
}

void MainWindow::ApplyMod() {
  const int row = SelectedModRow();
  const QString modName = row < 0 ? QString() : modNames_->index(row).data().toString();
  if (modName.isEmpty()) {
    MessageBox::Notice(this, kNothingSelectedText.toString());
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
  if (const std::optional<QString> path = ExecutablePicker::Pick(this)) {
    ui_->FileLocationText->setText(*path);
  }
}

void MainWindow::Launch() {
  StartGame(ui_->FileLocationText->text(), options_, this, [this](const QString& failure) {
    if (!failure.isEmpty()) return MessageBox::Error(this, failure);
    if (ui_->CloseCheck->isChecked()) close();
  });
}

void MainWindow::Quit() {
  if (MessageBox::Confirm(this, kQuitQuestionText.toString())) close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (icon_) icon_->hide();
  QMainWindow::closeEvent(event);
}

void MainWindow::MinimizeToNotificationArea() {
  // Hidden with no icon to click, the launcher could never be brought back.
  if (!QSystemTrayIcon::isSystemTrayAvailable()) {
    showMinimized();
    return;
  }
  if (!icon_) {
    icon_ = new QSystemTrayIcon(windowIcon(), this);
    icon_->setToolTip(RestoreTipText());
    // Queued: restoring removes the icon, which must not happen inside its own mouse event.
    connect(icon_, &QSystemTrayIcon::activated, this, &MainWindow::OnIconActivated,
            Qt::QueuedConnection);
  }
  icon_->show();
  hide();
}

void MainWindow::OnIconActivated(QSystemTrayIcon::ActivationReason reason) {
  // Pressing the left button or releasing the right one brings the window back; hovering, the
  // rest of a double-click and the middle button do nothing.
  switch (reason) {
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::Context:
      if (icon_->isVisible()) RestoreFromNotificationArea();
      break;
    case QSystemTrayIcon::Unknown:
    case QSystemTrayIcon::DoubleClick:
    case QSystemTrayIcon::MiddleClick:
      break;
  }
}

void MainWindow::RestoreFromNotificationArea() {
  show();
  activateWindow();
  icon_->hide();
}

void MainWindow::OpenHelp() {
  // Handed to whatever viewer the desktop has for it: the HTML Help viewer on Windows, a CHM
  // viewer such as xchm elsewhere. Without the file, some desktops would show an error of
  // their own; the launcher simply goes on.
  if (QFileInfo(helpFile_).isFile()) QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile_));
}

void MainWindow::SaveExecutablePath() {
  const FailureReport report;
  if (!SaveExePath(files_.exePath, ui_->FileLocationText->text())) {
    MessageBox::Error(this, report.text());
    return;
  }
  MessageBox::Success(this, kExePathSavedText.toString());
  RefreshPreview();
}

void MainWindow::SaveList() {
  const FailureReport report;
  if (!SaveModList(files_.modList, modNames_->stringList())) {
    MessageBox::Error(this, report.text());
    return;
  }
  MessageBox::Success(this, kModListSavedText.toString());
}

void MainWindow::RemoveSelectedMod() {
  if (!MessageBox::Confirm(this, TwoSentences(kRemoveWarningText, kProceedQuestionText))) return;
  const int row = SelectedModRow();
  if (row < 0) {
    MessageBox::Notice(this, kNothingSelectedText.toString());
    return;
  }
  modNames_->removeRows(row, 1);
  const FailureReport report;
  if (!SaveModList(files_.modList, modNames_->stringList())) {
    MessageBox::Error(this, report.text());
    return;
  }
  MessageBox::Success(this, TwoSentences(kModRemovedText, kModListSavedText));
}

void MainWindow::OpenAddModWindow() {
  ShowSubform(new AddModWindow(*modNames_, files_.modList, this));
}

void MainWindow::OpenAboutWindow() {
  auto* about = new QDialog(this, Qt::Tool);
  Ui::About form;
  SetUpForm(form, about);
  form.Label4->setText(kVersionPrefix.toString() + QStringLiteral(KELVOR_VERSION));
  form.Command1->setFocus();  // Enter closes it at once
  ShowSubform(about);
}

void MainWindow::ShowSubform(QDialog* subform) {
  // A subform lives until it closes, however it is closed. It is owned by the main window, so
  // that it can never be lost behind another program while the main window waits for it, and
  // Qt's window modality keeps all input from the main window meanwhile: its title bar's
  // close, its menus and its shortcuts. The main window is greyed as well, to show that it
  // waits.
  subform->setAttribute(Qt::WA_DeleteOnClose);
  centralWidget()->setEnabled(false);
  menuBar()->setEnabled(false);
  connect(subform, &QDialog::finished, this, [this] {
    centralWidget()->setEnabled(true);
    menuBar()->setEnabled(true);
  });
  subform->open();
}

int MainWindow::SelectedModRow() const {
  const QModelIndexList selected = ui_->List1->selectionModel()->selectedRows();
  return selected.isEmpty() ? -1 : selected.first().row();
}

}  // namespace kelvor
