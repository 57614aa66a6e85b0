#include <qpa/qwindowsysteminterface.h>

#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStringListModel>
#include <QTest>

#include "support/files.h"
#include "ui/executable_picker.h"
#include "ui/main_window.h"
#include "ui/message_box.h"

using namespace kelvor;
using enum QMessageBox::Icon;

namespace {

const QString kDefaults = " -noSplash -noPause -showScriptErrors";

// A message box as the player meets it: its kind, told by its icon, and the window it is over.
struct Box {
  QMessageBox::Icon icon;
  QString over = "Main";
  friend bool operator==(const Box&, const Box&) = default;
};
char* toString(const Box& box) {
  return QTest::toString(box.over + ": " + QMetaEnum::fromType<QMessageBox::Icon>().key(box.icon));
}
const Box kError{Critical}, kRefused{Warning}, kAsked{Question}, kDone{Information};

// The controls of `form` whose caption has an access key or is cut short in the font drawn.
QStringList BadCaptions(const QWidget* form) {
  QStringList bad;
  for (const QWidget* control : form->findChildren<QWidget*>()) {
    const auto* label = qobject_cast<const QLabel*>(control);
    const auto* button = qobject_cast<const QAbstractButton*>(control);
    const QString text = label && !label->wordWrap() ? label->text() : button ? button->text() : "";
    const int margins = qobject_cast<const QCheckBox*>(control) ? 20 : button ? 6 : 0;
    if (text.contains('&') ||
        control->fontMetrics().horizontalAdvance(text) + margins > control->width())
      bad << control->objectName();
  }
  return bad;
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
  void initTestCase() {
    MessageBox::setRecording(true);
    QDesktopServices::setUrlHandler("file", this, "openUrl");
  }
  void cleanupTestCase() { QDesktopServices::unsetUrlHandler("file"); }

  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QDir(dir_->path()).mkpath("Dravik 2");
    QFile::copy(KELVOR_FAKE_GAME_PATH, game());
    qputenv("KELVOR_GAME_RECORDS", QFile::encodeName(dir_->path()));
    QDir::setCurrent(dir_->path());  // the game starts in the launcher's working folder
    MainWindow::setNotificationAreaForTests(true);
    start(game().toLocal8Bit() + "\r\n", "a\r\n\r\nmy mod\r\nb\r\n");
  }

  void cleanup() {
    delete window_;
    QCOMPARE(shownBoxes(), QList<Box>());  // every scenario checks every box it raised
    QDir::setCurrent(QDir::tempPath());
  }

  // Either file that fails is told in one box, and the other is read all the same. Save list
  // saves only over a list file that is there.
  void startUp() {
    start({}, "a, b");
    QCOMPARE(mods(), QStringList({"a", "b"}));
    start("\r\n", {});
    QCOMPARE(preview(), kDefaults);
    click("mnuSaveMODs");
    QCOMPARE(shownBoxes(), QList({kError, kError, kError}));
    QCOMPARE(fileBytes("modDta"), "<missing>");
    start("\r\n", "");  // a first start's files
  }

  // The password is typed unseen; no caption has an access key, and each fits in the font drawn,
  // Calibri or its twin.
  void formInvariants() {
    QCOMPARE(find<QLineEdit>("PassText")->echoMode(), QLineEdit::Password);
    QCOMPARE(BadCaptions(window_), QStringList());
    for (const char* opens : {"mnuAbout", "mnuAdd"}) {
      click(opens);
      QVERIFY(subform());  // it takes all input while it is open
      QCOMPARE(BadCaptions(subform()), QStringList());
      subform()->close();
    }
  }

  // Each switch has its fixed place, whatever the order of the clicks. Apply takes the server
  // boxes as typed, blanks and all, or warns and keeps the line; Clear empties them.
  void switchesAndServer() {
    for (const char* box : {"Param4Check", "HostCheck", "Param2Check", "Param1Check"}) click(box);
    type("PassText", " ");
    click("ApplyButton");
    QCOMPARE(shownBoxes(), QList{kRefused});
    QCOMPARE(preview(), game() + " -window -noPause -host");
    type("IPText", "my server ");
    type("PortText", "abc");
    click("ApplyButton");
    QCOMPARE(preview(),
             game() + " -window -noPause -connect=my server  -port=abc -password=  -host");
    click("ClearButton");
    type("PortText", "1");
    type("IPText", "h");
    click("ApplyButton");  // the password is optional
    QCOMPARE(preview(), game() + " -window -noPause -connect=h -port=1 -host");
  }

  // The game gets each switch as one argument, blanks and shell characters and all, and starts
  // in the launcher's working folder, with what the server boxes held even after a warning.
  void launchHandsEachValueOverWhole() {
    const QString password = "$(touch pwned); `touch pwned` | ' \" && %PATH% ^ \\";
    type("PortText", "1 2");
    type("PassText", password);
    click("ApplyButton");
    QCOMPARE(shownBoxes(), QList{kRefused});
    selectMod(2);
    click("ApplyModsButton");
    click("mnuLaunch");
    QCOMPARE(firstGame(), QStringList({game(), QDir::toNativeSeparators(dir_->path()), "-noSplash",
                                       "-noPause", "-showScriptErrors", "-port=1 2",
                                       "-password=" + password, "-mod=my mod"}));
  }

  // A path that starts nothing is an error, and the launcher stays despite "Close after
  // launch"; the first game recorded is the next launch that works, after which it closes.
  void failedStartsStartNothing() {
    click("CloseCheck");
    choosePath(dir_->filePath("Dravik 2"));
    click("LaunchButton");
    QCOMPARE(shownBoxes(), QList{kError});
    QVERIFY(window_->isVisible());
    choosePath(game());
    click("LaunchButton");
    QCOMPARE(firstGame().value(0), game());
    QTRY_VERIFY(!window_);
  }

  // A picked path shows in its box at once and, as it is, in the line once saved: quoted in the
  // file for its comma. A cancelled pick changes nothing, nor does a failed save.
  void pickAndSavePath() {
    choosePath(" D:\\a, b.exe ");
    choosePath(QString());
    QCOMPARE(preview(), game() + kDefaults);
    click("SaveButton");
    QCOMPARE(shownBoxes(), QList{kDone});
    QCOMPARE(preview(), " D:\\a, b.exe " + kDefaults);
    QFile::setPermissions("appSet", QFile::ReadOwner);
    press(Qt::CTRL | Qt::Key_S);
    QCOMPARE(shownBoxes(), QList{kError});
    QCOMPARE(fileBytes("appSet"), "\" D:\\a, b.exe \"\r\n");
  }

  // Apply takes the selected name, which cannot be edited in the list; an empty entry, or none,
  // is nothing to apply. Remove asks first, then takes out the selected name and saves.
  void modCommands() {
    for (int row : {1, -1, 2}) {
      selectMod(row);
      click("ApplyModsButton");
    }
    QCOMPARE(shownBoxes(), QList({kRefused, kRefused}));
    QCOMPARE(preview(), game() + kDefaults + " -mod=my mod");
    MessageBox::setNextAnswer(QMessageBox::No);
    click("RemoveButton");
    selectMod(1);
    press(Qt::Key_F2);
    QCOMPARE(QApplication::focusWidget(), find("List1"));  // no editor opened over the name
    click("mnuRemove");
    QCOMPARE(fileBytes("modDta"), "a\r\nmy mod\r\nb\r\n");
    QCOMPARE(shownBoxes(), QList({kAsked, kAsked, kDone}));
  }

  // Add Mods: Enter adds the name typed each time, blanks and all, and refuses an empty one.
  // Close saves the whole list, saying first when it makes a new list file.
  void addModWindow() {
    click("AddButton");
    press(Qt::Key_Return);
    QCOMPARE(shownBoxes(), QList<Box>({{Warning, "AddMod"}}));
    type("Text1", "a, 2");
    press(Qt::Key_Return);
    type("Text1", " ");
    click("Command1");
    QFile::remove("modDta");
    click("Command2");
    QCOMPARE(fileBytes("modDta"), "a\r\n\r\nmy mod\r\nb\r\n\"a, 2\"\r\n\" \"\r\n");
    QCOMPARE(shownBoxes(), QList<Box>({{Warning, "AddMod"}, kDone}));  // the file is new
  }

  // While a subform is open the main window waits, greyed. A failed Close keeps Add Mods open;
  // its title bar closes it unsaved.
  void subformsKeepTheMainWindowWaiting() {
    QFile::setPermissions("modDta", QFile::ReadOwner);
    click("AddButton");
    type("Text1", "typed");
    press(Qt::Key_Return);
    click("Command2");
    QCOMPARE(shownBoxes(), QList<Box>({{Critical, "AddMod"}}));
    QVERIFY(window_->isVisible() && greyed() && subform());
    closeFromTitleBar(subform());
    QVERIFY(!greyed() && !subform());
    QCOMPARE(mods().last(), "typed");
    QCOMPARE(fileBytes("modDta"), "a\r\n\r\nmy mod\r\nb\r\n");
  }

  // F1 opens the help beside the launcher, if there is one. Exit asks, and No changes nothing;
  // Yes unloads the window and saves nothing.
  void quitAndHelp() {
    click("mnuHelpContents");
    testing::WriteBytes("Kelvor_Launcher_Help.chm", "ITSF");
    press(Qt::Key_F1);
    QCOMPARE(opened_, QList{QUrl::fromLocalFile(dir_->filePath("Kelvor_Launcher_Help.chm"))});
    choosePath("D:\\new.exe");
    MessageBox::setNextAnswer(QMessageBox::No);
    click("ExitButton");
    QVERIFY(window_->isVisible());
    click("mnuExit");
    QCOMPARE(shownBoxes(), QList({kAsked, kAsked}));
    QTRY_VERIFY(!window_);
    QCOMPARE(fileBytes("appSet"), game().toLocal8Bit() + "\r\n");
  }

  // Ctrl+M minimises the window where there is no notification area, or else hides it behind an
  // icon that restores it. Closed hidden, without a question, it unloads with its icon.
  void notificationArea() {
    MainWindow::setNotificationAreaForTests(false);
    press(Qt::CTRL | Qt::Key_M);
    QVERIFY(window_->isMinimized());
    MainWindow::setNotificationAreaForTests(true);
    window_->showNormal();
    press(Qt::CTRL | Qt::Key_M);
    QSystemTrayIcon* const icon = window_->findChild<QSystemTrayIcon*>();
    emit icon->activated(QSystemTrayIcon::Context);
    QTRY_VERIFY(window_->isVisible() && !icon->isVisible());
    click("mnuMinimize");
    closeFromTitleBar(window_);
    QVERIFY(!icon->isVisible());
    QTRY_VERIFY(!window_);
  }

 private:
  // Opens a main window as the launcher does, over these files (a null array: no file).
  void start(const QByteArray& appSet, const QByteArray& modDta) {
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
  void click(const QString& name) {
    if (auto* item = window_ ? window_->findChild<QAction*>(name) : nullptr)
      item->trigger();
    else if (QWidget* control = find(name))
      QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(8, control->height() / 2));
  }

  // As the window system sends it when the player clicks the close button of the title bar.
  void closeFromTitleBar(QWidget* window) {
    QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(
        window->windowHandle());
  }

  // Keys go where the keyboard is, once the window that takes input (a subform, or else the
  // main window) is active, as a window manager makes it.
  void press(const QKeySequence& keys) {
    QWidget* window = subform() ? subform() : window_.data();
    if (window && window->isVisible() && !window->isMinimized()) {
      window->activateWindow();
      QTRY_COMPARE(QApplication::activeWindow(), window);
    }
    QWidget* focus = QApplication::focusWidget();
    [&] { QVERIFY2(focus, "no control has the keyboard"); }();
    if (focus) QTest::keySequence(focus, keys);
  }

  void type(const QString& name, const QString& text) {
    auto* box = find<QLineEdit>(name);
    box->clear();
    QTest::keyClicks(box, text);
  }

  void selectMod(int row) {
    auto* list = find<QListView>("List1");
    list->clearSelection();
    const QRect cell = list->visualRect(list->model()->index(row, 0));
    if (cell.isValid()) QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
  }

  void choosePath(const QString& path) {  // a null path cancels the file dialog
    ExecutablePicker::setNextFileName(path);
    click("LocationButton");
  }

  // The boxes shown since the last look. Each has the launcher's title and plain text, and its
  // default button is Yes for a question, else OK.
  QList<Box> shownBoxes() {
    QList<Box> boxes;
    for (const MessageBox::Shown& box : std::exchange(MessageBox::shownBoxes(), {})) {
      [&] {
        QCOMPARE(box.title, "Kelvor Launcher");
        QCOMPARE(box.textFormat, Qt::PlainText);
        QCOMPARE(box.defaultButton, box.icon == Question ? QMessageBox::Yes : QMessageBox::Ok);
      }();
      boxes.append({box.icon, box.parent});
    }
    return boxes;
  }

  // The first game started, as the stand-in recorded it: program, working folder, arguments.
  // A game that should not have started would come first.
  QStringList firstGame() {
    const auto games = [&] { return QDir().entryList({"*[0-9]"}, QDir::Files, QDir::Time); };
    [&] { QTRY_VERIFY_WITH_TIMEOUT(!games().isEmpty(), 10000); }();
    const QByteArray record = fileBytes(games().value(games().size() - 1));
    return QString::fromLocal8Bit(record.chopped(1)).split('\n');
  }

  // The control of that name on the open subform, or else on the main window. A missing one
  // fails the scenario, which goes on harmlessly with an unseen stand-in.
  template <typename Control = QWidget>
  Control* find(const QString& name) {
    QWidget* form = subform() ? subform() : window_.data();
    auto* found = form ? form->findChild<Control*>(name) : nullptr;
    [&] { QVERIFY2(found, qPrintable("no control named " + name)); }();
    return found ? found : new Control(&standIns_);
  }

  QString preview() { return find<QLabel>("HintLabel")->text(); }
  QStringList mods() {
    return qobject_cast<QStringListModel*>(find<QListView>("List1")->model())->stringList();
  }
  QByteArray fileBytes(const QString& name) { return testing::ReadBytes(dir_->filePath(name)); }
  QString game() { return QDir::toNativeSeparators(dir_->filePath("Dravik 2/Dravik2.exe")); }
  bool greyed() { return !window_->centralWidget()->isEnabled(); }
  QWidget* subform() { return QApplication::activeModalWidget(); }

  std::unique_ptr<QTemporaryDir> dir_;
  QPointer<MainWindow> window_;  // gone once the launcher has unloaded it
  QList<QUrl> opened_;
  QWidget standIns_;
};

QTEST_MAIN(LauncherTest)
#include "tst_launcher.moc"
