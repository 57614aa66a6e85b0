#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include "support/files.h"
#include "ui/executable_picker.h"
#include "ui/main_window.h"
#include "ui/message_box.h"

using namespace kelvor;
using namespace kelvor::testing;
using enum QMessageBox::Icon;
using Boxes = QList<QMessageBox::Icon>;

const QString kDefaults = " -noSplash -noPause -showScriptErrors";

// Each scenario: a folder of its own, the stand-in game "Games/Dravik 2.exe" in it, and the mods
// "a", "", "my mod", "b".
class LauncherTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { MessageBox::setRecording(true); }

  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(dir_->path());  // where the game starts, apart from the game's own folder
    QDir(dir_->path()).mkdir("Games");
    QFile::copy(KELVOR_FAKE_GAME_PATH, game());
    start(game().toLocal8Bit() + "\r\n", "a\r\n\r\nmy mod\r\nb\r\n");
  }

  void cleanup() {
    delete window_;
    QCOMPARE(shownBoxes(), Boxes());  // each scenario checks all its boxes
    QDir::setCurrent(QDir::tempPath());
  }

  // Every window as drawn and walked with Tab; About shows the version.
  void forms() {
    checkForm(
        "Param1Check Param2Check Param3Check Param4Check IPText PortText PassText HostCheck "
        "ApplyButton ClearButton SaveButton LocationButton List1 AddButton RemoveButton "
        "ApplyModsButton ClearModsButton ExitButton CloseCheck LaunchButton");
    click("mnuAbout");
    QCOMPARE(find<QLabel>("Label4")->text(), "ver. " KELVOR_VERSION);
    checkForm("Command1");
    press(Qt::Key_Return);
    click("AddButton");  // About has closed
    checkForm("Text1 Command1 Command2");
    click("Command2");
    QCOMPARE(shownBoxes(), Boxes{Information});
    QVERIFY(!subform() && !greyed());
  }

  // A file that fails is told; the other is read all the same. Save list needs its file.
  void startUp() {
    start({}, "a, b");
    QCOMPARE(find<QListView>("List1")->model()->rowCount(), 2);
    QCOMPARE(preview(), "Oops! Something's gone wrong!");
    start("\r\n", {});
    QCOMPARE(preview(), kDefaults);
    click("mnuSaveMODs");
    QCOMPARE(shownBoxes(), Boxes({Critical, Critical, Critical}));
    QCOMPARE(ReadBytes("modDta"), "<missing>");
    start("\r\n", "");  // a first start's files
  }

  // Each switch in its place while its box is checked; Apply warns without address or port.
  void switchesAndServer() {
    for (auto box : {"Param4Check", "HostCheck", "Param2Check", "Param1Check", "Param3Check"})
      click(box);
    type("PortText", "1");
    click("ApplyButton");
    QCOMPARE(preview(), game() + " -window -host");
    type("IPText", "my server ");
    type("PortText", "abc");
    type("PassText", " ");
    QCOMPARE(find<QLineEdit>("PassText")->displayText(), "*");
    click("ApplyButton");
    for (const char* box : {"Param3Check", "Param2Check", "Param4Check"}) click(box);
    selectMod(0);
    click("ApplyModsButton");
    const QString switches = game() + " -window" + kDefaults;
    QCOMPARE(preview(), switches + " -connect=my server  -port=abc -password=  -host -mod=a");
    click("ClearButton");
    QCOMPARE(preview(), switches + " -host -mod=a");
    click("ClearModsButton");
    QCOMPARE(preview(), switches + " -host");
    type("IPText", "h");
    click("ApplyButton");  // the port was cleared
    type("PortText", "1");
    click("ApplyButton");  // the password, cleared too, is optional
    QCOMPARE(preview(), switches + " -connect=h -port=1 -host");
    QCOMPARE(shownBoxes(), Boxes({Warning, Warning}));
  }

  // A failed start keeps the launcher. Enter on Launch starts the game in the launcher's folder
  // with the line the preview shows: on Windows that line itself, the path quoted, and
  // elsewhere each fragment one argument. Nothing in a value is read by a shell.
  void launch() {
    const QString password = "$(x) `x` | ' p w\"x\\y\\ %PATH% ^& \"a b\"\\";
    const QString mod = "Vall \"mark\" \\ end\\";
    start(game().toLocal8Bit() + "\r\n", mod.toLocal8Bit() + "\r\n");
    // Windows would run this one for the path cut at its blank, were the path not quoted.
    QFile::copy(KELVOR_FAKE_GAME_PATH, dir_->filePath("Games/Dravik.exe"));
    click("CloseCheck");
    choosePath(dir_->path());
    click("mnuLaunch");
    choosePath(game());
    type("PortText", "1 2");
    type("PassText", password);
    click("ApplyButton");
    selectMod(0);
    click("ApplyModsButton");
    const QString fragments = kDefaults + " -port=1 2 -password=" + password + " -mod=" + mod;
    QCOMPARE(preview(), game() + fragments);
    find("LaunchButton")->setFocus();
    press(Qt::Key_Return);
    const std::optional<GameStart> started = gameStart();
    QVERIFY(started);
    QCOMPARE(started->program, game());
    QCOMPARE(started->folder, QDir::toNativeSeparators(dir_->path()));
#ifdef Q_OS_WIN
    QCOMPARE(started->commandLine, '"' + game() + '"' + fragments);
#else
    QCOMPARE(started->arguments,
             QStringList({"-noSplash", "-noPause", "-showScriptErrors", "-port=1 2",
                          "-password=" + password, "-mod=" + mod}));
#endif
    QTRY_VERIFY(!window_);
    QCOMPARE(shownBoxes(), Boxes({Critical, Warning}));
  }

  // On Linux a Windows game starts through the Wine on PATH, which hands it each fragment as one
  // argument; with no Wine there, the launch fails like any other.
  void windowsGameThroughWine() {
#if defined(Q_OS_WIN)
    QSKIP("Windows runs a Windows game itself");
#elif !defined(KELVOR_WINDOWS_GAME_PATH)
    QSKIP("no mingw-w64 compiler was found to build the Windows stand-in game");
#else
    const QString game = dir_->filePath("My Games/Dravik 2.exe");
    QDir(dir_->path()).mkdir("My Games");
    QVERIFY(QFile::copy(KELVOR_WINDOWS_GAME_PATH, game));
    choosePath(game);
    type("PassText", "a \"b\"\\");
    type("IPText", "10.0.0.1");
    type("PortText", "27015");
    click("ApplyButton");
    click("LaunchButton");
    const std::optional<GameStart> started = gameStart(180);  // a new Wine prefix is made first
    QVERIFY(started);
    QCOMPARE(started->program, QString("Z:" + game).replace('/', '\\'));  // Wine's drive for /
    QCOMPARE(started->arguments,
             QStringList({"-noSplash", "-noPause", "-showScriptErrors", "-connect=10.0.0.1",
                          "-port=27015", "-password=a \"b\"\\"}));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", dir_->path().toLocal8Bit());
    click("LaunchButton");
    qputenv("PATH", path);
    QCOMPARE(shownBoxes(), Boxes{Critical});
    QVERIFY(!gameStart(1));
#endif
  }

  // A picked path shows in the line once saved; one the file cannot keep is refused. Exit asks.
  void pickSaveAndQuit() {
    const QString picked = " D:\\a, b.exe ";
    choosePath(picked);
    choosePath(QString());
    QCOMPARE(preview(), game() + kDefaults);
    click("SaveButton");
    QCOMPARE(preview(), picked + kDefaults);
    choosePath("D:\\a\"b, c.exe");
    press(Qt::CTRL | Qt::Key_S);
    MessageBox::setNextAnswer(QMessageBox::No);
    click("mnuExit");
    QCOMPARE(preview(), picked + kDefaults);
    QCOMPARE(ReadBytes("appSet"), "\" D:\\a, b.exe \"\r\n");
    click("ExitButton");
    QCOMPARE(shownBoxes(), Boxes({Information, Critical, Question, Question}));
    QTRY_VERIFY(!window_);
  }

  // Apply needs a selected name, not empty; Remove asks first, then removes and saves.
  void modCommands() {
    for (int row : {1, -1, 2}) {
      selectMod(row);
      click("ApplyModsButton");
    }
    QCOMPARE(preview(), game() + kDefaults + " -mod=my mod");
    MessageBox::setNextAnswer(QMessageBox::No);
    click("RemoveButton");
    selectMod(-1);
    click("RemoveButton");
    selectMod(0);
    QTest::keyClick(find("List1"), Qt::Key_F2);
    QVERIFY(!find("List1")->findChild<QLineEdit*>());  // no editor over the name
    click("mnuRemove");
    QCOMPARE(ReadBytes("modDta"), "\r\nmy mod\r\nb\r\n");
    QCOMPARE(shownBoxes(),
             Boxes({Warning, Warning, Question, Question, Warning, Question, Information}));
  }

  // Add Mods over the greyed main window: Enter adds a name, Close saves or refuses and stays.
  void addModWindow() {
    const QByteArray saved = "a\r\n\r\nmy mod\r\nb\r\n\"a, 2\"\r\n\" \"\r\n";
    QFile::remove("modDta");
    click("mnuAdd");
    press(Qt::Key_Return);
    type("Text1", "a, 2");
    press(Qt::Key_Return);
    type("Text1", " ");
    click("Command1");
    click("Command2");
    QCOMPARE(shownBoxes(), Boxes({Warning, Warning, Information}));
    QCOMPARE(boxWindows_, QStringList({"AddMod", "AddMod", "Main"}));
    QCOMPARE(ReadBytes("modDta"), saved);
    click("AddButton");
    type("Text1", "a\"b,c");
    click("Command1");
    click("Command2");
    QCOMPARE(shownBoxes(), Boxes{Critical});
    QVERIFY(subform() && greyed());
    QCOMPARE(ReadBytes("modDta"), saved);
  }

 private:
  // What the stand-in game wrote of its start.
  struct GameStart {
    QString program;      // the file that ran
    QString folder;       // its working folder
    QString commandLine;  // the line Windows handed it; empty elsewhere
    QStringList arguments;
  };

  // The record of the game's start, taken away once read; nothing if no game started in time.
  std::optional<GameStart> gameStart(int seconds = 10) {
    if (!QTest::qWaitFor([] { return QFile::exists("game"); }, seconds * 1000)) return {};
    QStringList lines = QString::fromUtf8(ReadBytes("game")).split('\n');
    QFile::remove("game");
    if (lines.size() < 4 || !lines.last().isEmpty()) return {};
    lines.removeLast();  // what follows the last line end
    return GameStart{lines[0], lines[1], lines[2], lines.mid(3)};
  }

  void start(const QByteArray& appSet, const QByteArray& modDta) {  // a null array: no file
    delete window_;
    QFile::remove("appSet"), QFile::remove("modDta");
    if (!appSet.isNull()) WriteBytes("appSet", appSet);
    if (!modDta.isNull()) WriteBytes("modDta", modDta);
    window_ = new MainWindow(dir_->path());
    window_->Load();
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_));
  }

  // The form as drawn: each control inside its frame, in Calibri or its twin at the form's size,
  // caption or picture whole; then Tab's way.
  void checkForm(const char* tabOrder) {
    QStringList faults;
    for (QWidget* control : form()->findChildren<QWidget*>()) {
      const QString name = control->objectName();
      if (name.isEmpty() || name.startsWith("qt_") || control->isWindow()) continue;
      QWidget* sized = control;  // the nearest sized
      while (!sized->property("pointSizeF").isValid()) sized = sized->parentWidget();
      const QFontInfo font(control->font());
      const auto* label = qobject_cast<QLabel*>(control);
      const bool hinted = (label && !label->wordWrap()) || control->inherits("QCheckBox");
      int needed = hinted ? control->sizeHint().width() : 0;
      if (auto* button = qobject_cast<QPushButton*>(control))  // and the style's margins
        needed = control->fontMetrics().horizontalAdvance(button->text()) + 12;
      if (!control->parentWidget()->rect().contains(control->geometry()) ||
          needed > control->width() || !QStringList{"Calibri", "Carlito"}.contains(font.family()) ||
          font.pointSizeF() != sized->property("pointSizeF").toDouble())
        faults << name;
    }
    QCOMPARE(faults.join(' '), QString());
    QStringList order;
    for (QWidget* at; (at = activeFocus()) && !order.contains(at->objectName());) {
      order << at->objectName();
      QTest::keyClick(at, Qt::Key_Tab);
    }
    QCOMPARE(order.join(' '), tabOrder);
  }

  void click(const QString& name) {  // a menu item runs; a click lands on a check box's box
    if (auto* item = window_->findChild<QAction*>(name))
      item->trigger();
    else
      QTest::mouseClick(find(name), Qt::LeftButton, {}, QPoint(8, 8));
  }

  void press(const QKeySequence& keys) { QTest::keySequence(activeFocus(), keys); }

  void type(const QString& name, const QString& text) {
    find<QLineEdit>(name)->clear();
    QTest::keyClicks(find<QLineEdit>(name), text);
  }

  void selectMod(int row) {  // as the arrow keys do; -1 selects none
    auto* list = find<QListView>("List1");
    list->setCurrentIndex(list->model()->index(row, 0));
  }

  void choosePath(const QString& path) {  // a null path: cancelled
    ExecutablePicker::setNextFileName(path);
    click("LocationButton");
  }

  // The kinds of box shown since last asked (NoIcon: one unlike the rest), and where.
  Boxes shownBoxes() {
    Boxes kinds;
    boxWindows_.clear();
    for (const MessageBox::Shown& box : std::exchange(MessageBox::shownBoxes(), {})) {
      const auto yes = box.icon == Question ? QMessageBox::Yes : QMessageBox::Ok;
      const bool alike = box.title == "Kelvor Launcher" && box.textFormat == Qt::PlainText;
      kinds.append(alike && box.defaultButton == yes ? box.icon : NoIcon);
      boxWindows_.append(box.parent);
    }
    return kinds;
  }

  template <typename Control = QWidget>  // on the window that takes input
  Control* find(const QString& name) {
    return form()->findChild<Control*>(name);
  }

  QWidget* activeFocus() {
    form()->activateWindow();
    [&] { QTRY_COMPARE(QApplication::activeWindow(), form()); }();
    return QApplication::focusWidget();
  }

  QString preview() { return find<QLabel>("HintLabel")->text(); }
  QString game() { return QDir::toNativeSeparators(dir_->filePath("Games/Dravik 2.exe")); }
  bool greyed() { return !window_->centralWidget()->isEnabled(); }
  QWidget* subform() { return QApplication::activeModalWidget(); }
  QWidget* form() { return subform() ? subform() : window_.data(); }

  std::unique_ptr<QTemporaryDir> dir_;
  QPointer<MainWindow> window_;  // null once unloaded
  QStringList boxWindows_;
};

QTEST_MAIN(LauncherTest)
#include "tst_launcher.moc"
