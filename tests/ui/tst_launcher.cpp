#include <qpa/qwindowsysteminterface.h>

#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStringListModel>
#include <QTest>
#include <QUrl>

#include "support/files.h"
#include "ui/executable_picker.h"
#include "ui/main_window.h"
#include "ui/message_box.h"

using namespace kelvor;
using Box = MessageBox::Shown;

namespace {

const QString kDefaults = " -noSplash -noPause -showScriptErrors";
const QString kOops = "Oops! Something's gone wrong!";
const QString kNone = "Nothing was selected!";
const QString kRemove = "This will remove the selected item!\n\nDo you want to proceed?";

// A box as the player sees it: plain text under the launcher's title, OK or else Yes and No.
Box Shown(QMessageBox::Icon icon, const QString& text, const QString& over = "Main") {
  const auto buttons = icon == QMessageBox::Question
                           ? QMessageBox::Yes | QMessageBox::No
                           : QMessageBox::StandardButtons(QMessageBox::Ok);
  return {over,         "Kelvor Launcher",
          text,         icon,
          buttons,      buttons & QMessageBox::Yes ? QMessageBox::Yes : QMessageBox::Ok,
          Qt::PlainText};
}
Box Error(const QString& over = "Main") { return Shown(QMessageBox::Critical, kOops, over); }
Box Notice(const QString& text, const QString& over = "Main") {
  return Shown(QMessageBox::Warning, text, over);
}
Box Success(const QString& text, const QString& over = "Main") {
  return Shown(QMessageBox::Information, text, over);
}

}  // namespace

// The launcher's windows, driven as a player drives them, over real files and a stand-in game.
// Each scenario starts in a folder of its own, with the game "Dravik 2/Dravik2.exe" saved in
// appSet, the mods "a", "", "my mod" and "b", and the main window open over them.
class LauncherTest : public QObject {
  Q_OBJECT

 public slots:
  void openUrl(const QUrl& url) { opened_.append(url); }  // in place of the desktop's viewer

 private slots:
  void initTestCase();
  void cleanupTestCase() { QDesktopServices::unsetUrlHandler("file"); }
  void init();
  void cleanup();
  void startUp();
  void formInvariants();
  void switchesAndServer();
  void launchHandsEachValueOverWhole();
  void failedStartsStartNothing();
  void pickAndSavePath();
  void modCommands();
  void addModWindow();
  void subformsKeepTheMainWindowWaiting();
  void quitAndHelp();
  void notificationArea();

 private:
  void start(const QByteArray& appSet, const QByteArray& modDta);
  template <typename Control = QWidget>
  Control* find(const QString& name);
  void click(const QString& name);
  void closeFromTitleBar(QWidget* window);
  void activateNext();
  void press(const QKeySequence& keys) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keySequence(focus ? focus : QApplication::activeWindow(), keys);
  }
  void type(const QString& box, const QString& text) {
    find<QLineEdit>(box)->clear();
    QTest::keyClicks(find<QLineEdit>(box), text);
  }
  void selectMod(int row);
  void pickNext(const QString& path) { ExecutablePicker::setNextFileName(path); }
  QList<Box> shownBoxes() { return std::exchange(MessageBox::shownBoxes(), {}); }
  QString preview() { return find<QLabel>("HintLabel")->text(); }
  QStringList mods() {
    return qobject_cast<QStringListModel*>(find<QListView>("List1")->model())->stringList();
  }
  QByteArray fileBytes(const QString& name) { return testing::ReadBytes(dir_->filePath(name)); }
  QStringList firstGame();
  QSystemTrayIcon* icon() { return window_->findChild<QSystemTrayIcon*>(); }
  bool greyed() { return !window_->centralWidget()->isEnabled(); }
  QString game() { return QDir::toNativeSeparators(dir_->filePath("Dravik 2/Dravik2.exe")); }

  std::unique_ptr<QTemporaryDir> dir_;
  QPointer<MainWindow> window_;  // gone once the launcher has unloaded it
  QList<QUrl> opened_;
};

void LauncherTest::initTestCase() {
  MessageBox::setRecording(true);
  MainWindow::setNotificationAreaForTests(true);
  QDesktopServices::setUrlHandler("file", this, "openUrl");
}

void LauncherTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  QDir(dir_->path()).mkpath("Dravik 2");
  QDir(dir_->path()).mkpath("records");
  QFile::copy(KELVOR_FAKE_GAME_PATH, game());
  // Another where the path cut at its blank, as a shell would cut it, would find one.
  QFile::copy(KELVOR_FAKE_GAME_PATH,
              dir_->filePath("Dravik") + QString(KELVOR_FAKE_GAME_PATH).section("fake_game", 1));
  qputenv("KELVOR_GAME_RECORDS", QFile::encodeName(dir_->filePath("records")));
  QDir::setCurrent(dir_->path());  // the game starts in the launcher's current folder
  start(game().toLocal8Bit() + "\r\n", "a\r\n\r\nmy mod\r\nb\r\n");
}

void LauncherTest::cleanup() {
  delete window_;
  QCOMPARE(shownBoxes(), QList<Box>());  // every scenario checks every box it raised
  QDir::setCurrent(QDir::tempPath());
}

// Starts a main window as the launcher does, over these files (a null array: no file).
void LauncherTest::start(const QByteArray& appSet, const QByteArray& modDta) {
  delete window_;
  for (const auto& [name, bytes] : {std::pair{"appSet", appSet}, {"modDta", modDta}}) {
    QFile::remove(dir_->filePath(name));
    if (!bytes.isNull()) testing::WriteBytes(dir_->filePath(name), bytes);
  }
  window_ = new MainWindow(dir_->path());
  window_->Load();
  window_->show();
  QVERIFY(QTest::qWaitForWindowActive(window_));
}

// The control of that name on the open subform, or else on the main window.
template <typename Control>
Control* LauncherTest::find(const QString& name) {
  QWidget* subform = QApplication::activeModalWidget();
  Control* found = subform ? subform->findChild<Control*>(name) : nullptr;
  if (!found && window_) found = window_->findChild<Control*>(name);
  [&] { QVERIFY2(found, qPrintable("no control named " + name)); }();
  return found;
}

// A menu item runs; a click lands near the control's left edge, where a check box has its box.
void LauncherTest::click(const QString& name) {
  if (auto* item = window_ ? window_->findChild<QAction*>(name) : nullptr) {
    item->trigger();
  } else if (auto* button = find<QAbstractButton>(name)) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
  }
  activateNext();
}

// As the window system sends it when the player clicks the close button of the title bar.
void LauncherTest::closeFromTitleBar(QWidget* window) {
  QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(
      window->windowHandle());
  activateNext();
}

// As a window manager would, activates the window that takes input: a subform, or the main one.
void LauncherTest::activateNext() {
  QWidget* next = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : window_;
  if (next && next->isVisible() && !next->isMinimized() && QApplication::activeWindow() != next) {
    next->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), next);
  }
}

void LauncherTest::selectMod(int row) {
  auto* list = find<QListView>("List1");
  list->clearSelection();
  const QRect cell = list->visualRect(list->model()->index(row, 0));
  if (cell.isValid()) QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

// The first game started, as the stand-in recorded it: program, working folder, arguments.
// A game that should not have started would be recorded before it.
QStringList LauncherTest::firstGame() {
  const QDir records(dir_->filePath("records"));
  const auto games = [&] { return records.entryList({"*[0-9]"}, QDir::Files, QDir::Time); };
  [&] { QTRY_VERIFY_WITH_TIMEOUT(!games().isEmpty(), 10000); }();
  if (games().isEmpty()) return {};
  QStringList game = QString::fromLocal8Bit(fileBytes("records/" + games().last())).split('\n');
  return game.mid(0, game.size() - 1);
}

// What the window shows of the files it starts from; a failure of either is told in one box,
// and the list is read even when the path file fails.
void LauncherTest::startUp() {
  QCOMPARE(find<QLineEdit>("FileLocationText")->text(), game());
  QCOMPARE(preview(), game() + kDefaults);
  QCOMPARE(mods(), QStringList({"a", "", "my mod", "b"}));
  start({}, "a, b");
  QCOMPARE(preview(), kOops);
  QCOMPARE(mods(), QStringList({"a", "b"}));
  start("\r\n", {});
  QCOMPARE(preview(), kDefaults);
  start({}, {});
  QCOMPARE(shownBoxes(), QList({Error(), Error(), Error()}));
  start("\r\n", "");  // a first start's files
}

// The controls of `form` whose captions are cut short in the font they are drawn with.
static QStringList CutCaptions(const QWidget* form) {
  QStringList cut;
  for (const QWidget* control : form->findChildren<QWidget*>()) {
    const auto* label = qobject_cast<const QLabel*>(control);
    const auto* button = qobject_cast<const QAbstractButton*>(control);
    const QString text = label && !label->wordWrap() ? label->text() : button ? button->text() : "";
    const int margins = qobject_cast<const QCheckBox*>(control) ? 20 : button ? 6 : 0;
    if (control->fontMetrics().horizontalAdvance(text) + margins > control->width())
      cut << control->objectName();
  }
  return cut;
}

// What no table of the forms shows: Tab through every control once, frame by frame; a password
// typed unseen; no access keys; every caption whole in the font drawn, Calibri or its twin.
void LauncherTest::formInvariants() {
  QStringList order;
  for (QWidget* at = QApplication::focusWidget(); !order.contains(at->objectName());
       at = QApplication::focusWidget()) {
    order.append(at->objectName());
    QTest::keyClick(at, Qt::Key_Tab);
  }
  QCOMPARE(order.join(' '),
           "Param1Check Param2Check Param3Check Param4Check IPText PortText "
           "PassText HostCheck ApplyButton ClearButton SaveButton LocationButton "
           "List1 AddButton RemoveButton ApplyModsButton ClearModsButton "
           "ExitButton CloseCheck LaunchButton");
  QCOMPARE(find<QLineEdit>("PassText")->echoMode(), QLineEdit::Password);
  QCOMPARE(CutCaptions(window_), QStringList());
  for (const char* opens : {"mnuAbout", "mnuAdd"}) {
    click(opens);
    QVERIFY(QApplication::activeModalWidget());  // a subform takes all input while it is open
    QCOMPARE(CutCaptions(QApplication::activeModalWidget()), QStringList());
    QApplication::activeModalWidget()->close();
  }
  for (const QObject* control : window_->findChildren<QObject*>())
    QVERIFY(!control->property("text").toString().contains('&'));
}

// Each switch has its fixed place, whatever the order of the clicks. Apply takes the server
// boxes as typed, or warns and keeps the preview; Clear empties them and nothing else.
void LauncherTest::switchesAndServer() {
  click("Param2Check");
  QCOMPARE(preview(), game() + " -noPause -showScriptErrors");
  for (const char* box : {"Param4Check", "HostCheck", "Param1Check", "Param2Check"}) click(box);
  type("PassText", " ");  // a password of one blank is one all the same
  click("ApplyButton");
  QCOMPARE(shownBoxes(), QList{Notice("IP address and Port number must be defined as minimum!"
                                      "\n\nPassword is optional.")});
  QCOMPARE(preview(), game() + " -window -noSplash -noPause -host");
  type("IPText", "my server ");
  type("PortText", "abc");
  click("ApplyButton");
  QCOMPARE(preview(), game() +
                          " -window -noSplash -noPause -connect=my server  -port=abc "
                          "-password=  -host");
  click("ClearButton");
  QCOMPARE(find<QLineEdit>("IPText")->text() + find<QLineEdit>("PassText")->text(), "");
  QCOMPARE(preview(), game() + " -window -noSplash -noPause -host");
  type("IPText", "h");
  type("PortText", "1");
  click("ApplyButton");  // the password is optional
  QCOMPARE(preview(), game() + " -window -noSplash -noPause -connect=h -port=1 -host");
}

// The game gets each switch as one argument, blanks and shell characters included, in the
// launcher's working folder, with what the server boxes held even after a warning.
void LauncherTest::launchHandsEachValueOverWhole() {
  start(fileBytes("appSet"), "$(touch pwned) & x");
  const QString password = "$(touch pwned); `touch pwned` | ' \" && %PATH% ^ \\";
  type("PortText", "1 2");
  type("PassText", password);
  click("ApplyButton");
  QCOMPARE(shownBoxes().size(), 1);  // no address
  selectMod(0);
  click("ApplyModsButton");
  click("mnuLaunch");
  QCOMPARE(firstGame(), QStringList({game(), QDir::toNativeSeparators(dir_->path()), "-noSplash",
                                     "-noPause", "-showScriptErrors", "-port=1 2",
                                     "-password=" + password, "-mod=$(touch pwned) & x"}));
  QVERIFY(!QFile::exists("pwned"));
}

// A path that starts nothing is an error and starts no game, and the launcher stays despite
// "Close after launch"; the first game recorded is the next launch that works, and then it closes.
void LauncherTest::failedStartsStartNothing() {
  click("CloseCheck");
  for (const QString& path : {dir_->filePath("Dravik 2"), dir_->filePath("modDta"), game() + "x"}) {
    pickNext(path);
    click("LocationButton");
    click("LaunchButton");
    QCOMPARE(shownBoxes(), QList{Error()});
    QVERIFY(window_->isVisible());
  }
  pickNext(game());
  click("LocationButton");
  click("LaunchButton");
  QCOMPARE(firstGame().first(), game());
  QTRY_VERIFY(!window_);
}

// A picked path shows in its box at once and in the preview once saved, quoted in the file for
// its comma. A cancelled pick changes nothing, nor does a failed save.
void LauncherTest::pickAndSavePath() {
  pickNext(" D:\\a, b.exe ");
  click("LocationButton");
  pickNext(QString());
  click("LocationButton");
  QCOMPARE(preview(), game() + kDefaults);
  click("SaveButton");
  QCOMPARE(shownBoxes(), QList{Success("Executable file location saved!")});
  QCOMPARE(fileBytes("appSet"), "\" D:\\a, b.exe \"\r\n");
  QCOMPARE(preview(), " D:\\a, b.exe " + kDefaults);
  QFile::setPermissions("appSet", QFile::ReadOwner);
  press(Qt::CTRL | Qt::Key_S);
  QCOMPARE(shownBoxes(), QList{Error()});
  QCOMPARE(fileBytes("appSet"), "\" D:\\a, b.exe \"\r\n");
}

// The selected name is the last switch; an empty entry or none is nothing to apply. Remove
// asks, takes the entry out and saves; Save list saves only over a list file that is there.
void LauncherTest::modCommands() {
  for (int row : {2, 1, -1}) {
    selectMod(row);
    click("ApplyModsButton");
  }
  QCOMPARE(preview(), game() + kDefaults + " -mod=my mod");
  selectMod(2);
  for (const QKeySequence keys : {Qt::Key_F2, Qt::Key_X, Qt::Key_Return}) press(keys);  // F2 edits?
  QCOMPARE(mods(), QStringList({"a", "", "my mod", "b"}));
  click("ClearModsButton");
  QCOMPARE(preview(), game() + kDefaults);
  selectMod(3);
  MessageBox::setNextAnswer(QMessageBox::No);
  click("RemoveButton");
  selectMod(1);
  click("mnuRemove");
  QCOMPARE(fileBytes("modDta"), "a\r\nmy mod\r\nb\r\n");
  selectMod(-1);
  click("RemoveButton");
  const Box remove = Shown(QMessageBox::Question, kRemove);
  QCOMPARE(shownBoxes(), QList({Notice(kNone), Notice(kNone), remove, remove,
                                Success("Selected item was removed!\n\nMod list saved!"), remove,
                                Notice(kNone)}));
  QFile::remove("modDta");
  click("mnuSaveMODs");
  QCOMPARE(shownBoxes(), QList{Error()});
  QCOMPARE(fileBytes("modDta"), "<missing>");
}

// Add Mods: Enter adds the typed name each time, an empty one is refused, and Close saves the
// whole list, over the old file or, where there is none, after saying it makes one.
void LauncherTest::addModWindow() {
  click("AddButton");
  QCOMPARE(QApplication::focusWidget(), find("Text1"));
  press(Qt::Key_Return);
  type("Text1", "a, 2");
  press(Qt::Key_Return);
  type("Text1", " ");  // a name of one blank is one all the same
  click("Command1");
  QCOMPARE(fileBytes("modDta"), "a\r\n\r\nmy mod\r\nb\r\n");
  click("Command2");
  const QByteArray saved = "a\r\n\r\nmy mod\r\nb\r\n\"a, 2\"\r\n\" \"\r\n";
  QCOMPARE(fileBytes("modDta"), saved);
  QFile::remove("modDta");
  click("mnuAdd");
  click("Command2");
  QCOMPARE(fileBytes("modDta"), saved);
  QCOMPARE(
      shownBoxes(),
      QList({Notice("Field can't be empty!\n\nAny name must be defined!", "AddMod"),
             Success("Mod list saved!", "AddMod"),
             Notice("Core file for the Mod list doesn't exist!\n\nThe new one will be created!",
                    "AddMod"),
             Success("Mod list saved!")}));
}

// While a subform is open the main window waits, greyed, deaf to its title bar and shortcuts.
// A failed Close keeps Add Mods open; its title bar closes it unsaved. Enter closes About.
void LauncherTest::subformsKeepTheMainWindowWaiting() {
  QFile::setPermissions("modDta", QFile::ReadOwner);
  click("AddButton");
  type("Text1", "typed");
  press(Qt::Key_Return);
  closeFromTitleBar(window_);
  press(Qt::CTRL | Qt::Key_M);
  click("Command2");
  QCOMPARE(shownBoxes(), QList{Error("AddMod")});
  QVERIFY(window_ && window_->isVisible() && greyed() && QApplication::activeModalWidget());
  closeFromTitleBar(QApplication::activeModalWidget());
  QVERIFY(!greyed());
  QCOMPARE(mods().last(), "typed");
  QCOMPARE(fileBytes("modDta"), "a\r\n\r\nmy mod\r\nb\r\n");
  click("mnuAbout");
  QVERIFY(greyed());
  press(Qt::Key_Return);
  QTRY_VERIFY(!greyed() && !QApplication::activeModalWidget());
}

// F1 opens the help beside the launcher, if there is one. Exit asks, and No changes nothing;
// Yes, and the title bar's close without a question, unload the window and save nothing.
void LauncherTest::quitAndHelp() {
  click("mnuHelpContents");
  testing::WriteBytes("Kelvor_Launcher_Help.chm", "ITSF");
  press(Qt::Key_F1);
  QCOMPARE(opened_, QList{QUrl::fromLocalFile(dir_->filePath("Kelvor_Launcher_Help.chm"))});
  pickNext("D:\\new.exe");
  click("LocationButton");
  MessageBox::setNextAnswer(QMessageBox::No);
  click("ExitButton");
  QVERIFY(window_->isVisible());
  click("mnuExit");
  const Box quit = Shown(QMessageBox::Question, "Do you really want to quit ?");
  QCOMPARE(shownBoxes(), QList({quit, quit}));
  QTRY_VERIFY(!window_);
  QCOMPARE(fileBytes("appSet"), game().toLocal8Bit() + "\r\n");
  start(fileBytes("appSet"), fileBytes("modDta"));
  closeFromTitleBar(window_);
  QTRY_VERIFY(!window_);
}

// Ctrl+M hides the window behind an icon. The left button's press or the right one's release
// on it restores the window as it was and takes the icon away; other clicks do nothing. Closed
// while hidden, the window unloads with its icon. Without a notification area, it minimises.
void LauncherTest::notificationArea() {
  type("IPText", "10.0.0.1");
  press(Qt::CTRL | Qt::Key_M);
  QCOMPARE(icon()->toolTip(), "Restore Kelvor Launcher");
  for (auto reason : {QSystemTrayIcon::DoubleClick, QSystemTrayIcon::MiddleClick,
                      QSystemTrayIcon::Unknown, QSystemTrayIcon::Trigger}) {
    QVERIFY(window_->isHidden() && icon()->isVisible());
    emit icon()->activated(reason);
    QTest::qWait(10);
  }
  QVERIFY(window_->isVisible() && !icon()->isVisible());
  click("mnuMinimize");
  emit icon()->activated(QSystemTrayIcon::Context);
  QTRY_VERIFY(window_->isVisible() && !icon()->isVisible());
  QCOMPARE(find<QLineEdit>("IPText")->text(), "10.0.0.1");
  click("mnuMinimize");
  QSystemTrayIcon* const hiddenIcon = icon();
  closeFromTitleBar(window_);
  QVERIFY(!hiddenIcon->isVisible());
  QTRY_VERIFY(!window_);
  start(fileBytes("appSet"), fileBytes("modDta"));
  MainWindow::setNotificationAreaForTests(false);
  press(Qt::CTRL | Qt::Key_M);
  MainWindow::setNotificationAreaForTests(true);
  QVERIFY(window_->isMinimized() && !icon());
}

QTEST_MAIN(LauncherTest)
#include "tst_launcher.moc"
