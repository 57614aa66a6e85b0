#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStringListModel>
#include <QTest>

#include "support/launcher.h"
#include "ui/about_window.h"
#include "ui/add_mod_window.h"
#include "ui/main_window.h"

using namespace kelvor::testing;

// Walks the three windows control by control against one table of what the player must see.
class LayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();
  void controls_data();
  void controls();
  void windows_data();
  void windows();
  void tabOrderAndFirstFocus_data();
  void tabOrderAndFirstFocus();
  void mainMenus();

 private:
  QWidget* Window(const QString& name) const;

  ScriptedDialogs dialogs_;
  ScriptedPicker picker_;
  ScriptedNotificationArea tray_;
  QStringListModel modNames_;
  std::unique_ptr<kelvor::MainWindow> main_;
  QPointer<kelvor::AddModWindow> addMod_;
  QPointer<kelvor::AboutWindow> about_;
};

void LayoutTest::initTestCase() {
  main_ =
      std::make_unique<kelvor::MainWindow>(QString(), kelvor::Platform{dialogs_, picker_, tray_});
  addMod_ = new kelvor::AddModWindow(modNames_, QString(), dialogs_);
  about_ = new kelvor::AboutWindow;
  for (QWidget* window : {static_cast<QWidget*>(main_.get()), static_cast<QWidget*>(addMod_),
                          static_cast<QWidget*>(about_)}) {
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
  }
}

void LayoutTest::cleanupTestCase() {
  delete addMod_;
  delete about_;
}

QWidget* LayoutTest::Window(const QString& name) const {
  if (name == "AddMod") return addMod_;
  if (name == "About") return about_;
  return main_.get();
}

void LayoutTest::controls_data() {
  QTest::addColumn<QString>("window");
  QTest::addColumn<QString>("container");
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("tooltip");
  QTest::addColumn<QRect>("twips");  // left, top, width, height
  QTest::addColumn<qreal>("points");
  QTest::addColumn<QString>("state");

  const auto row = [](const char* window, const char* name, const char* container, const char* kind,
                      const char* caption, const char* tooltip, QRect twips, qreal points,
                      const char* state = "") {
    QTest::addRow("%s/%s", window, name)
        << window << container << kind << caption << tooltip << twips << points << state;
  };
  const qreal win = 8.25;
  const qreal big = 9.75;
  // clang-format off
  row("Main", "Frame1", "", "QGroupBox", "Params", "", {120, 120, 3015, 1815}, win);
  row("Main", "Param1Check", "Frame1", "QCheckBox", "window", "Run in a window mode", {240, 360, 1815, 255}, big, "unchecked");
  row("Main", "Param2Check", "Frame1", "QCheckBox", "noSplash", "Disable all splash screens", {240, 720, 1455, 255}, big, "checked");
  row("Main", "Param3Check", "Frame1", "QCheckBox", "noPause", "Running on background", {240, 1080, 1455, 195}, big, "checked");
  row("Main", "Param4Check", "Frame1", "QCheckBox", "showScriptErrors", "Shows directly on-screen error log", {240, 1440, 2655, 255}, big, "checked");
  row("Main", "Frame2", "", "QGroupBox", "Exe location", "", {3240, 120, 5655, 1095}, win);
  row("Main", "FileLocationText", "Frame2", "QLineEdit", "", "Location of executable file", {120, 240, 5415, 285}, win, "disabled");
  row("Main", "SaveButton", "Frame2", "QPushButton", "Save...", "Save located executable file", {120, 600, 1215, 375}, big);
  row("Main", "LocationButton", "Frame2", "QPushButton", "Find...", "Find executable file", {4320, 600, 1215, 375}, big);
  row("Main", "AppInfoLabel", "Frame2", "QLabel", "EXE file version", "", {1440, 720, 2775, 255}, big, "hidden disabled centred");
  row("Main", "Frame3", "", "QGroupBox", "Multiplayer", "", {120, 2040, 3015, 2895}, win);
  row("Main", "Label1", "Frame3", "QLabel", "Server IP", "", {120, 480, 855, 255}, big);
  row("Main", "IPText", "Frame3", "QLineEdit", "", "Add server IP address here", {1080, 480, 1695, 285}, win);
  row("Main", "Label2", "Frame3", "QLabel", "Port", "", {120, 960, 855, 255}, big);
  row("Main", "PortText", "Frame3", "QLineEdit", "", "Define the port", {1080, 960, 1695, 285}, win);
  row("Main", "Label3", "Frame3", "QLabel", "Password", "", {120, 1440, 855, 255}, big);
  row("Main", "PassText", "Frame3", "QLineEdit", "", "Fill if the password is required", {1080, 1440, 1695, 285}, win, "masked");
  row("Main", "HostCheck", "Frame3", "QCheckBox", "Hosted game", "Hosted and non-dedicated game", {1080, 1800, 1695, 255}, big, "unchecked");
  row("Main", "ApplyButton", "Frame3", "QPushButton", "Apply", "Apply all MP settings ", {240, 2280, 1215, 375}, big);
  row("Main", "ClearButton", "Frame3", "QPushButton", "Clear", "Clear all MP settings ", {1680, 2280, 1095, 375}, big);
  row("Main", "ModsFrame", "", "QGroupBox", "Mods", "", {3240, 1320, 5655, 3615}, win);
  row("Main", "List1", "ModsFrame", "QListView", "", "Mod list", {240, 240, 3855, 3210}, big, "empty");
  row("Main", "AddButton", "ModsFrame", "QPushButton", "<- Add", "Add new Mod item in to the list ", {4200, 240, 1215, 375}, big);
  row("Main", "RemoveButton", "ModsFrame", "QPushButton", "-> Remove", "Remove selected Mod item from the list", {4200, 720, 1215, 375}, big);
  row("Main", "ApplyModsButton", "ModsFrame", "QPushButton", "Apply", "Apply all Mod settings ", {4200, 2520, 1215, 375}, big);
  row("Main", "ClearModsButton", "ModsFrame", "QPushButton", "Clear", "Clear all Mod settings ", {4200, 3000, 1215, 375}, big);
  row("Main", "Frame5", "", "QGroupBox", "Debug", "", {120, 5040, 8775, 1095}, win);
  row("Main", "HintLabel", "Frame5", "QLabel", "Oops! Something's gone wrong!", "Debug log with all currently applied settings", {120, 240, 8535, 735}, 9.0, "wraps");
  row("Main", "Frame4", "", "QGroupBox", "Controls", "", {120, 6240, 8775, 735}, win);
  row("Main", "ExitButton", "Frame4", "QPushButton", "Exit", "Close the launcher", {120, 240, 1215, 375}, big);
  row("Main", "CloseCheck", "Frame4", "QCheckBox", "Close after launch", "Close the launcher after launching the game", {5280, 360, 1815, 255}, big, "unchecked");
  row("Main", "LaunchButton", "Frame4", "QPushButton", "Launch", "Launch the game with applied settings", {7200, 240, 1455, 375}, big);
  row("AddMod", "Text1", "", "QLineEdit", "", "Write here the name for the new item ", {120, 120, 4335, 285}, big);
  row("AddMod", "Command1", "", "QPushButton", "Add Item", "Add new item to the list", {120, 480, 1335, 375}, big, "default");
  row("AddMod", "Command2", "", "QPushButton", "Close", "Close this small subform", {1560, 480, 1335, 375}, big);
  row("About", "Picture1", "", "QLabel", "", "", {120, 120, 1935, 1935}, win, "artwork");
  row("About", "Label1", "", "QLabel", "Dravik2:Vallmark Mod Launcher", "", {2160, 120, 2295, 495}, win, "centred wraps");
  row("About", "Label2", "", "QLabel", "www.kelvor-launcher.example", "", {2160, 840, 2295, 255}, win, "centred");
  row("About", "Label3", "", "QLabel", "Kelvor crew", "", {2760, 1200, 975, 255}, win);
  row("About", "Label4", "", "QLabel", "ver. 1.1", "", {2160, 1800, 615, 255}, win);
  row("About", "Command1", "", "QPushButton", "OK", "Close this small subform", {3360, 1680, 1095, 375}, big, "default");
  // clang-format on
}

void LayoutTest::controls() {
  QFETCH(QString, window);
  QFETCH(QString, container);
  QFETCH(QString, kind);
  QFETCH(QString, caption);
  QFETCH(QString, tooltip);
  QFETCH(QRect, twips);
  QFETCH(qreal, points);
  QFETCH(QString, state);
  const QString name = QString::fromLatin1(QTest::currentDataTag()).section(u'/', 1);

  QWidget* control = Window(window)->findChild<QWidget*>(name);
  QVERIFY2(control, qPrintable(name));
  QCOMPARE(control->metaObject()->className(), kind);
  const QWidget* expectedParent = !container.isEmpty()
                                      ? Window(window)->findChild<QWidget*>(container)
                                  : window == "Main" ? main_->centralWidget()
                                                     : Window(window);
  QCOMPARE(control->parentWidget(), expectedParent);
  QCOMPARE(control->toolTip(), tooltip);
  QCOMPARE(control->geometry(),
           QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
  QCOMPARE(control->font().family(), QStringLiteral("Calibri"));
  QCOMPARE(control->font().pointSizeF(), points);
  QCOMPARE(control->font().bold(), false);

  QString shown;
  if (auto* button = qobject_cast<QAbstractButton*>(control)) shown = button->text();
  if (auto* frame = qobject_cast<QGroupBox*>(control)) shown = frame->title();
  if (auto* label = qobject_cast<QLabel*>(control)) {
    shown = label->text();
    QCOMPARE(label->textFormat(), Qt::PlainText);
  }
  if (auto* box = qobject_cast<QLineEdit*>(control)) shown = box->text();
  QCOMPARE(shown, caption);

  QCOMPARE(control->isEnabled(), !state.contains("disabled"));
  QCOMPARE(control->isVisible(), !state.contains("hidden"));
  if (auto* check = qobject_cast<QCheckBox*>(control)) {
    QCOMPARE(check->isChecked(), state == "checked");
  }
  if (auto* button = qobject_cast<QPushButton*>(control)) {
    QCOMPARE(button->isDefault(), state.contains("default"));
  }
  if (auto* label = qobject_cast<QLabel*>(control)) {
    QCOMPARE(label->wordWrap(), state.contains("wraps"));
    if (state.contains("centred")) QCOMPARE(label->alignment(), Qt::AlignCenter);
    if (state.contains("artwork")) QCOMPARE(label->pixmap().size(), QSize(128, 128));
  }
  if (auto* box = qobject_cast<QLineEdit*>(control)) {
    QCOMPARE(box->echoMode(), state == "masked" ? QLineEdit::Password : QLineEdit::Normal);
    if (state == "masked") {
      QCOMPARE(box->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, box),
               int{'*'});
    }
  }
  if (auto* list = qobject_cast<QListView*>(control)) QCOMPARE(list->model()->rowCount(), 0);
}

void LayoutTest::windows_data() {
  QTest::addColumn<QString>("window");
  QTest::addColumn<QString>("title");
  QTest::addColumn<QSize>("clientArea");
  QTest::addColumn<bool>("toolWindow");
  QTest::newRow("Main") << "Main"
                        << "Kelvor Launcher" << QSize(601, 473) << false;
  QTest::newRow("AddMod") << "AddMod"
                          << "Add Mods" << QSize(305, 65) << true;
  QTest::newRow("About") << "About"
                         << "About" << QSize(304, 145) << true;
}

void LayoutTest::windows() {
  QFETCH(QString, window);
  QFETCH(QString, title);
  QFETCH(QSize, clientArea);
  QFETCH(bool, toolWindow);
  QWidget* w = Window(window);
  QCOMPARE(w->objectName(), window);
  QCOMPARE(w->windowTitle(), title);
  QVERIFY(!w->windowIcon().isNull());
  QCOMPARE(w->windowIcon().availableSizes().value(0), QSize(128, 128));
  QCOMPARE(w->font().family(), QStringLiteral("Calibri"));
  QCOMPARE(w->font().pointSizeF(), 8.25);
  // Calibri itself, or where it is missing its metric twin, so every caption keeps its size.
  QVERIFY2(QStringList({"Calibri", "Carlito"}).contains(QFontInfo(w->font()).family()),
           qPrintable(QFontInfo(w->font()).family()));
  QCOMPARE(w->minimumSize(), w->maximumSize());  // the player cannot resize it
  const QWidget* client = window == "Main" ? static_cast<QMainWindow*>(w)->centralWidget() : w;
  QCOMPARE(client->size(), clientArea);
  QCOMPARE(w->windowType() == Qt::Tool, toolWindow);
  if (toolWindow) QVERIFY(w->testAttribute(Qt::WA_DeleteOnClose));
  if (toolWindow) QVERIFY(!w->parentWidget());  // no owner
}

void LayoutTest::tabOrderAndFirstFocus_data() {
  QTest::addColumn<QString>("window");
  QTest::addColumn<QStringList>("order");
  QTest::newRow("Main") << "Main"
                        << QStringList{
                               "Param1Check",     "Param2Check", "Param3Check",  "Param4Check",
                               "IPText",          "PortText",    "PassText",     "HostCheck",
                               "ApplyButton",     "ClearButton", "SaveButton",   "LocationButton",
                               "List1",           "AddButton",   "RemoveButton", "ApplyModsButton",
                               "ClearModsButton", "ExitButton",  "CloseCheck",   "LaunchButton"};
  QTest::newRow("AddMod") << "AddMod" << QStringList{"Text1", "Command1", "Command2"};
  QTest::newRow("About") << "About" << QStringList{"Command1"};
}

void LayoutTest::tabOrderAndFirstFocus() {
  QFETCH(QString, window);
  QFETCH(QStringList, order);
  QWidget* w = Window(window);
  w->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(w));
  QCOMPARE(w->focusWidget()->objectName(), order.first());

  QStringList walked;
  QWidget* at = w->focusWidget();
  do {
    walked.append(at->objectName());
    QTest::keyClick(at, Qt::Key_Tab);
    at = w->focusWidget();
  } while (at && at->objectName() != order.first() && walked.size() <= order.size());
  QCOMPARE(walked, order);
}

void LayoutTest::mainMenus() {
  QStringList entries;
  for (QAction* menuAction : main_->menuBar()->actions()) {
    QMenu* menu = menuAction->menu();
    entries.append(menu->objectName() + u'=' + menu->title());
    for (QAction* item : menu->actions()) {
      QVERIFY(item->isEnabled() && item->isVisible() && !item->isChecked());
      entries.append(QStringLiteral("  %1=%2 %3")
                         .arg(item->objectName(),
                              item->isSeparator() ? QStringLiteral("-") : item->text(),
                              item->shortcut().toString()));
    }
  }
  const QStringList expected = {"mnuFile=File",
                                "  mnuLaunch=Launch ",
                                "  space0=- ",
                                "  mnuSaveExe=Save *.exe Ctrl+S",
                                "  space1=- ",
                                "  mnuMinimize=Minimize Ctrl+M",
                                "  space2=- ",
                                "  mnuExit=Exit ",
                                "mnuMods=Mods",
                                "  mnuAdd=<- Add ",
                                "  mnuRemove=-> Remove ",
                                "  space3=- ",
                                "  mnuSaveMODs=Save list ",
                                "mnuHelp=Help",
                                "  mnuHelpContents=Help Contents F1",
                                "  space4=- ",
                                "  mnuAbout=About "};
  QCOMPARE(entries, expected);
  for (const QString& entry : entries) QVERIFY2(!entry.contains(u'&'), qPrintable(entry));
}

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
