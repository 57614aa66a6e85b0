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
using enum QMessageBox::Icon;

namespace {

const QString kDefaults = " -noSplash -noPause -showScriptErrors";

struct Box {
  QMessageBox::Icon icon;
  QString text;
  QString over = "Main";  // the window it was shown over
  friend bool operator==(const Box&, const Box&) = default;
};
char* toString(const Box& box) { return QTest::toString(box.over + ": " + box.text); }
const Box kError{Critical, "Oops! Something's gone wrong!"};
const Box kNoServer{
    Warning, "IP address and Port number must be defined as minimum!\n\nPassword is optional."};
const Box kNothingSelected{Warning, "Nothing was selected!"};
const Box kRemove{Question, "This will remove the selected item!\n\nDo you want to proceed?"};

// The controls of `form` whose captions are cut short in the font they are drawn with.
QStringList CutCaptions(const QWidget* form) {
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

// The controls that Tab visits, from the one that has the keyboard until one comes round again.
QStringList TabOrder() {
  QStringList order;
  for (QWidget* at = QApplication::focusWidget(); !order.contains(at->objectName());
       at = QApplication::focusWidget()) {
    order.append(at->objectName());
    QTest::keyClick(at, Qt::Key_Tab);
  }
  return order;
}

}  // namespace

// The launcher's windows, driven as a player drives them, over real files and a stand-in game.
// Each scenario starts in a folder of its own, with "Dravik 2/Dravik2.exe" saved as the game,
// the mods "a", "", "my mod" and "b", and the main window open over them.
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
  void applyMod();
  void removeMod();
  void addModWindow();
  void subformsKeepTheMainWindowWaiting();
  void helpBesideTheLauncher();
  void quitSavesNothing();
  void notificationArea();
  void withoutNotificationAreaItMinimises();

 private:
  void start(const QByteArray& appSet, const QByteArray& modDta);
  void click(const QString& name);
  void closeFromTitleBar(QWidget* window);
  void activateNext();
  void press(const QKeySequence& keys) {
    QWidget* focus = QApplication::focusWidget();
    [&] { QVERIFY2(focus, "no control has the keyboard"); }();
    if (focus) QTest::keySequence(focus, keys);
  }
  void type(const QString& name, const QString& text) {
    QLineEdit* box = find<QLineEdit>(name);
    box->clear();
    QTest::keyClicks(box, text);
  }
  void selectMod(int row);
  void choosePath(const QString& path) {  // a null path cancels the file dialog
    ExecutablePicker::setNextFileName(path);
    click("LocationButton");
  }
  QList<Box> shownBoxes();
  QStringList firstGame();
  QString preview() { return find<QLabel>("HintLabel")->text(); }
  QStringList mods() {
    return qobject_cast<QStringListModel*>(find<QListView>("List1")->model())->stringList();
  }
  QByteArray fileBytes(const QString& name) { return testing::ReadBytes(dir_->filePath(name)); }
  QString game() { return QDir::toNativeSeparators(dir_->filePath("Dravik 2/Dravik2.exe")); }
  QSystemTrayIcon* icon() { return window_->findChild<QSystemTrayIcon*>(); }
  bool greyed() { return !window_->centralWidget()->isEnabled(); }
  QWidget* subform() { return QApplication::activeModalWidget(); }

  // The control of that name on the open subform, or else on the main window. A missing one
  // fails the scenario, which goes on harmlessly with an unseen stand-in.
  template <typename Control = QWidget>
  Control* find(const QString& name) {
    QWidget* form = subform() ? subform() : window_.data();
    auto* found = form ? form->findChild<Control*>(name) : nullptr;
    [&] { QVERIFY2(found, qPrintable("no control named " + name)); }();
    return found ? found : new Control(&standIns_);
  }

  std::unique_ptr<QTemporaryDir> dir_;
  QPointer<MainWindow> window_;  // gone once the launcher has unloaded it
  QList<QUrl> opened_;
  QWidget standIns_;
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
  qputenv("KELVOR_GAME_RECORDS", QFile::encodeName(dir_->filePath("records")));
  QDir::setCurrent(dir_->path());  // the game starts in the launcher's working folder
  start(game().toLocal8Bit() + "\r\n", "a\r\n\r\nmy mod\r\nb\r\n");
}

void LauncherTest::cleanup() {
  delete window_;
  QCOMPARE(shownBoxes(), QList<Box>());  // every scenario checks every box it raised
  QDir::setCurrent(QDir::tempPath());
}

// Opens a main window as the launcher does, over these files (a null array: no file).
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

// A menu item runs; a click lands near the control's left edge, where a check box has its box.
void LauncherTest::click(const QString& name) {
  if (auto* item = window_ ? window_->findChild<QAction*>(name) : nullptr)
    item->trigger();
  else if (QWidget* control = find(name))
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(8, control->height() / 2));
  activateNext();
}

// As the window system sends it when the player clicks the close button of the title bar.
void LauncherTest::closeFromTitleBar(QWidget* window) {
  QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(
      window->windowHandle());
  activateNext();
}

// As a window manager does, activates the window that takes input: a subform, or the main one.
void LauncherTest::activateNext() {
  QWidget* next = subform() ? subform() : window_.data();
  if (!next || !next->isVisible() || next->isMinimized()) return;
  next->activateWindow();
  QTRY_COMPARE(QApplication::activeWindow(), next);
}

void LauncherTest::selectMod(int row) {
  auto* list = find<QListView>("List1");
  list->clearSelection();
  const QRect cell = list->visualRect(list->model()->index(row, 0));
  if (cell.isValid()) QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

// The boxes shown since the last look. Each has the launcher's title and plain text, and OK
// alone or else Yes and No, Yes the default.
QList<Box> LauncherTest::shownBoxes() {
  QList<Box> boxes;
  for (const MessageBox::Shown& box : std::exchange(MessageBox::shownBoxes(), {})) {
    const bool question = box.icon == Question;
    [&] {
      QCOMPARE(box.title, "Kelvor Launcher");
      QCOMPARE(box.textFormat, Qt::PlainText);
      QCOMPARE(box.buttons, question ? QMessageBox::Yes | QMessageBox::No
                                     : QMessageBox::StandardButtons(QMessageBox::Ok));
      QCOMPARE(box.defaultButton, question ? QMessageBox::Yes : QMessageBox::Ok);
    }();
    boxes.append({box.icon, box.text, box.parent});
  }
  return boxes;
}

// The first game started, as the stand-in recorded it: program, working folder, arguments.
// A game that should not have started would come first.
QStringList LauncherTest::firstGame() {
  const QDir records(dir_->filePath("records"));
  const auto games = [&] { return records.entryList({"*[0-9]"}, QDir::Files, QDir::Time); };
  [&] { QTRY_VERIFY_WITH_TIMEOUT(!games().isEmpty(), 10000); }();
  if (games().isEmpty()) return {};
  return QString::fromLocal8Bit(fileBytes("records/" + games().last()).chopped(1)).split('\n');
}

// A failure of either file is told in one box, and the list is read even when the path fails.
void LauncherTest::startUp() {
  QCOMPARE(preview(), game() + kDefaults);
  QCOMPARE(mods(), QStringList({"a", "", "my mod", "b"}));
  start({}, "a, b");
  QCOMPARE(mods(), QStringList({"a", "b"}));
  start("\r\n", {});
  QCOMPARE(preview(), kDefaults);
  QCOMPARE(shownBoxes(), QList({kError, kError}));
  start("\r\n", "");  // a first start's files
}

// Tab visits every control once, frame by frame; the password is typed unseen; no caption has
// an access key, and each fits in the font drawn, Calibri or its twin.
void LauncherTest::formInvariants() {
  QCOMPARE(TabOrder().join(' '),
           "Param1Check Param2Check Param3Check Param4Check IPText PortText PassText HostCheck "
           "ApplyButton ClearButton SaveButton LocationButton List1 AddButton RemoveButton "
           "ApplyModsButton ClearModsButton ExitButton CloseCheck LaunchButton");
  QCOMPARE(find<QLineEdit>("PassText")->echoMode(), QLineEdit::Password);
  QCOMPARE(CutCaptions(window_), QStringList());
  for (const char* opens : {"mnuAbout", "mnuAdd"}) {
    click(opens);
    QVERIFY(subform());  // it takes all input while it is open
    QCOMPARE(CutCaptions(subform()), QStringList());
    subform()->close();
  }
  for (const QObject* control : window_->findChildren<QObject*>())
    QVERIFY(!control->property("text").toString().contains('&'));
}

// Each switch has its fixed place, whatever the order of the clicks. Apply takes the server
// boxes as typed, blanks and all, or warns and keeps the line; Clear empties them.
void LauncherTest::switchesAndServer() {
  for (const char* box : {"Param4Check", "HostCheck", "Param2Check", "Param1Check"}) click(box);
  type("PassText", " ");
  click("ApplyButton");
  QCOMPARE(shownBoxes(), QList{kNoServer});
  QCOMPARE(preview(), game() + " -window -noPause -host");
  type("IPText", "my server ");
  type("PortText", "abc");
  click("ApplyButton");
  QCOMPARE(preview(), game() + " -window -noPause -connect=my server  -port=abc -password=  -host");
  click("ClearButton");
  type("PortText", "1");
  type("IPText", "h");
  click("ApplyButton");  // the password is optional
  QCOMPARE(preview(), game() + " -window -noPause -connect=h -port=1 -host");
}

// The game gets each switch as one argument, blanks and shell characters and all, and starts in
// the launcher's working folder, with what the server boxes held even after a warning.
void LauncherTest::launchHandsEachValueOverWhole() {
  start(fileBytes("appSet"), "$(touch pwned) & x");
  const QString password = "$(touch pwned); `touch pwned` | ' \" && %PATH% ^ \\";
  type("PortText", "1 2");
  type("PassText", password);
  click("ApplyButton");
  QCOMPARE(shownBoxes(), QList{kNoServer});
  selectMod(0);
  click("ApplyModsButton");
  click("mnuLaunch");
  QCOMPARE(firstGame(), QStringList({game(), QDir::toNativeSeparators(dir_->path()), "-noSplash",
                                     "-noPause", "-showScriptErrors", "-port=1 2",
                                     "-password=" + password, "-mod=$(touch pwned) & x"}));
}

// A path that starts nothing is an error, and the launcher stays despite "Close after launch";
// the first game recorded is the next launch that works, after which the launcher closes.
void LauncherTest::failedStartsStartNothing() {
  click("CloseCheck");
  for (const QString& path : {dir_->filePath("Dravik 2"), dir_->filePath("modDta"), game() + "x"}) {
    choosePath(path);
    click("LaunchButton");
    QCOMPARE(shownBoxes(), QList{kError});
    QVERIFY(window_->isVisible());
  }
  choosePath(game());
  click("LaunchButton");
  QCOMPARE(firstGame().value(0), game());
  QTRY_VERIFY(!window_);
}

// A picked path shows in its box at once and, as it is, in the line once saved: quoted in the
// file for its comma. A cancelled pick changes nothing, nor does a failed save.
void LauncherTest::pickAndSavePath() {
  choosePath(" D:\\a, b.exe ");
  choosePath(QString());
  QCOMPARE(preview(), game() + kDefaults);
  click("SaveButton");
  QCOMPARE(shownBoxes(), QList<Box>({{Information, "Executable file location saved!"}}));
  QCOMPARE(preview(), " D:\\a, b.exe " + kDefaults);
  QFile::setPermissions("appSet", QFile::ReadOwner);
  press(Qt::CTRL | Qt::Key_S);
  QCOMPARE(shownBoxes(), QList{kError});
  QCOMPARE(fileBytes("appSet"), "\" D:\\a, b.exe \"\r\n");
}

// The selected name becomes the last switch; an empty entry, or none, is nothing to apply. The
// names cannot be edited in the list.
void LauncherTest::applyMod() {
  for (int row : {2, 1, -1}) {
    selectMod(row);
    click("ApplyModsButton");
  }
  QCOMPARE(shownBoxes(), QList({kNothingSelected, kNothingSelected}));
  QCOMPARE(preview(), game() + kDefaults + " -mod=my mod");
  selectMod(2);
  press(Qt::Key_F2);
  QCOMPARE(QApplication::focusWidget(), find("List1"));  // no editor opened over the name
  click("ClearModsButton");
  QCOMPARE(preview(), game() + kDefaults);
}

// Remove asks first, then takes out the selected name and saves. Save list saves only over a
// list file that is there.
void LauncherTest::removeMod() {
  selectMod(3);
  MessageBox::setNextAnswer(QMessageBox::No);
  click("RemoveButton");
  selectMod(1);
  click("mnuRemove");
  QCOMPARE(fileBytes("modDta"), "a\r\nmy mod\r\nb\r\n");
  selectMod(-1);
  click("RemoveButton");
  const Box removed{Information, "Selected item was removed!\n\nMod list saved!"};
  QCOMPARE(shownBoxes(), QList({kRemove, kRemove, removed, kRemove, kNothingSelected}));
  QFile::remove("modDta");
  click("mnuSaveMODs");
  QCOMPARE(shownBoxes(), QList{kError});
  QCOMPARE(fileBytes("modDta"), "<missing>");
}

// Add Mods: Enter adds the name typed each time, blanks and all, and refuses an empty one.
// Close saves the whole list, saying first when it makes a new list file.
void LauncherTest::addModWindow() {
  click("AddButton");
  QCOMPARE(QApplication::focusWidget(), find("Text1"));
  press(Qt::Key_Return);
  type("Text1", "a, 2");
  press(Qt::Key_Return);
  type("Text1", " ");
  click("Command1");
  QFile::remove("modDta");
  click("Command2");
  QCOMPARE(fileBytes("modDta"), "a\r\n\r\nmy mod\r\nb\r\n\"a, 2\"\r\n\" \"\r\n");
  QCOMPARE(shownBoxes(),
           QList<Box>({{Warning, "Field can't be empty!\n\nAny name must be defined!", "AddMod"},
                       {Warning,
                        "Core file for the Mod list doesn't exist!\n\nThe new one will be created!",
                        "AddMod"},
                       {Information, "Mod list saved!"}}));
}

// While a subform is open the main window waits, greyed, deaf to its title bar and shortcuts.
// A failed Close keeps Add Mods open; its title bar closes it unsaved.
void LauncherTest::subformsKeepTheMainWindowWaiting() {
  QFile::setPermissions("modDta", QFile::ReadOwner);
  click("AddButton");
  type("Text1", "typed");
  press(Qt::Key_Return);
  closeFromTitleBar(window_);
  press(Qt::CTRL | Qt::Key_M);
  click("Command2");
  QCOMPARE(shownBoxes(), QList<Box>({{Critical, kError.text, "AddMod"}}));
  QVERIFY(window_->isVisible() && greyed() && subform());
  closeFromTitleBar(subform());
  QVERIFY(!greyed() && !subform());
  QCOMPARE(mods().last(), "typed");
  QCOMPARE(fileBytes("modDta"), "a\r\n\r\nmy mod\r\nb\r\n");
}

// F1 opens the help beside the launcher, if there is one; where there is none, nothing opens.
void LauncherTest::helpBesideTheLauncher() {
  click("mnuHelpContents");
  testing::WriteBytes("Kelvor_Launcher_Help.chm", "ITSF");
  press(Qt::Key_F1);
  QCOMPARE(opened_, QList{QUrl::fromLocalFile(dir_->filePath("Kelvor_Launcher_Help.chm"))});
}

// Exit asks, and No changes nothing; Yes, or the title bar's close without a question, unloads
// the window and saves nothing.
void LauncherTest::quitSavesNothing() {
  choosePath("D:\\new.exe");
  MessageBox::setNextAnswer(QMessageBox::No);
  click("ExitButton");
  QVERIFY(window_->isVisible());
  click("mnuExit");
  const Box quit{Question, "Do you really want to quit ?"};
  QCOMPARE(shownBoxes(), QList({quit, quit}));
  QTRY_VERIFY(!window_);
  QCOMPARE(fileBytes("appSet"), game().toLocal8Bit() + "\r\n");
  start(fileBytes("appSet"), fileBytes("modDta"));
  closeFromTitleBar(window_);
  QTRY_VERIFY(!window_);
}

// Ctrl+M hides the window behind an icon. A double-click does not restore it: its first press
// has. Closed while hidden, the window unloads with its icon.
void LauncherTest::notificationArea() {
  press(Qt::CTRL | Qt::Key_M);
  QCOMPARE(icon()->toolTip(), "Restore Kelvor Launcher");
  emit icon()->activated(QSystemTrayIcon::DoubleClick);
  QCoreApplication::processEvents();
  QVERIFY(window_->isHidden());
  emit icon()->activated(QSystemTrayIcon::Context);
  QTRY_VERIFY(window_->isVisible() && !icon()->isVisible());
  click("mnuMinimize");
  QSystemTrayIcon* const hiddenIcon = icon();
  closeFromTitleBar(window_);
  QVERIFY(!hiddenIcon->isVisible());
}

// Where there is no notification area, Ctrl+M minimises the window: hidden without an icon, it
// could never be brought back.
void LauncherTest::withoutNotificationAreaItMinimises() {
  MainWindow::setNotificationAreaForTests(false);
  press(Qt::CTRL | Qt::Key_M);
  MainWindow::setNotificationAreaForTests(true);
  QVERIFY(window_->isMinimized() && !icon());
}

QTEST_MAIN(LauncherTest)
#include "tst_launcher.moc"
