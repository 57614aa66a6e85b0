#include <QClipboard>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <algorithm>

#ifndef Q_OS_WIN
#include <csignal>
#endif

#include "launch/game_launch.h"
#include "support/files.h"
#include "support/logs.h"
#include "ui/executable_picker.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/version.h"

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
    FailOnWarningsAbout(dir_->path());  // each failure's warning is expected where it comes
    QDir::setCurrent(dir_->path());     // where the game starts, apart from the game's own folder
    QDir(dir_->path()).mkdir("Games");
    QFile::copy(KELVOR_FAKE_GAME_PATH, game());
    start(game().toLocal8Bit() + "\r\n", "a\r\n\r\nmy mod\r\nb\r\n");
  }

  void cleanup() {
    qputenv("PATH", path_);
    delete window_;
    QCOMPARE(shownBoxes(), Boxes());  // each scenario checks all its boxes
    QDir::setCurrent(QDir::tempPath());
  }

  // Every window as drawn and walked with Tab. The main window keeps its size, and its menus
  // their separators; the preview shows a name as typed, never as markup; About shows the
  // version and closes on Enter.
  void forms() {
    checkForm(
        "Param1Check Param2Check Param3Check Param4Check IPText PortText PassText HostCheck "
        "ApplyButton ClearButton SaveButton LocationButton List1 AddButton RemoveButton "
        "ApplyModsButton ClearModsButton ExitButton CloseCheck LaunchButton");
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    // The menus' separators are the actions named space0 to space4, and no other.
    for (const QAction* action : window_->findChildren<QAction*>())
      QCOMPARE(action->isSeparator(), action->objectName().startsWith("space"));
    QCOMPARE(find<QLabel>("HintLabel")->textFormat(), Qt::PlainText);
    click("mnuAbout");
    QCOMPARE(find<QLabel>("Label4")->text(), "ver. " KELVOR_VERSION);
    checkForm("Command1");
    press(Qt::Key_Return);
    QVERIFY(!subform());
    click("AddButton");
    checkForm("Text1 Command1 Command2");
  }

  // A file that fails is told; the other is read all the same. Save list needs its file, and
  // Launch a game.
  void startUp() {
    ExpectFailureLog("Reading", file("appSet"));
    start({}, "a, b");
    QCOMPARE(find<QListView>("List1")->model()->rowCount(), 2);
    QCOMPARE(preview(), "Oops! Something's gone wrong!");
    ExpectFailureLog("Reading", file("modDta"));
    start("\r\n", {});
    QCOMPARE(preview(), kDefaults);
    ExpectFailureLog("Saving", file("modDta"));
    click("mnuSaveMODs");
    QCOMPARE(shownBoxes(), Boxes({Critical, Critical, Critical}));
    QVERIFY(reasons_[0].contains(QDir::toNativeSeparators(file("appSet"))));
    QVERIFY(reasons_[1].contains(QDir::toNativeSeparators(file("modDta"))));
    QCOMPARE(ReadBytes("modDta"), "<missing>");
    start("\r\n", "");  // a first start's files
    ExpectFailureLog("Starting the game", "");
    click("LaunchButton");
    QCOMPARE(shownBoxes(), Boxes{Critical});
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
    ExpectFailureLog("Starting the game", dir_->path());
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
    qputenv("PATH", dir_->path().toLocal8Bit());  // no Wine: a native game starts by itself
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
    qputenv("PATH", dir_->path().toLocal8Bit());
    ExpectFailureLog("Starting the game", game);
    click("LaunchButton");
    QCOMPARE(shownBoxes(), Boxes{Critical});
    QVERIFY(!gameStart(1));
#endif
  }

  // On Linux a file that begins as a Windows program does but is none is refused before Wine,
  // which would fail on it unseen, could start: the error box, and the launcher stays.
  void damagedWindowsGame() {
#ifdef Q_OS_WIN
    QSKIP("Windows refuses such a file itself");
#else
    useWine("#!/bin/sh\n: >wine-ran\n");
    const QString damaged = file("Games/Damaged.exe");
    QVERIFY(QFile::copy(QFINDTESTDATA("../data/game-mz-text.exe"), damaged));
    click("CloseCheck");
    choosePath(damaged);
    ExpectFailureLog("Starting the game", damaged);
    click("LaunchButton");
    QCOMPARE(shownBoxes(), Boxes{Critical});
    QVERIFY(window_);
    QVERIFY(!QTest::qWaitFor([] { return QFile::exists("wine-ran"); }, 1000));
#endif
  }

  // On Linux a start through Wine is watched. Wine that fails at once is told by its last line,
  // and the launcher stays, "Close after launch" or not. A game that runs on lets the launcher
  // close once the watch is over, and outlives it, Wine writing all the while; nothing of the
  // watch is left behind.
  void watchedWineStart() {
#ifdef Q_OS_WIN
    QSKIP("Windows starts a Windows game itself");
#else
    const QString game = file("Games/Sound.exe");
    QVERIFY(QFile::copy(QFINDTESTDATA("../data/game-pe-x64.exe"), game));
    qputenv("TMPDIR", dir_->filePath("temporary").toLocal8Bit());
    QVERIFY(QDir(dir_->path()).mkdir("temporary"));
    const auto tmpAgain = qScopeGuard([] { qunsetenv("TMPDIR"); });
    click("CloseCheck");
    choosePath(game);

    const QString hint = "as root, please execute \"apt-get install wine32:i386\"";
    useWine(QString("#!/bin/sh\necho 'it looks like wine32 is missing, you should install it.' "
                    ">&2\necho '%1' >&2\nexit 1\n")
                .arg(hint));
    ExpectFailureLog("Starting the game", game);
    click("LaunchButton");
    QTRY_VERIFY_WITH_TIMEOUT(!MessageBox::shownBoxes().isEmpty(), int(kWineWatchTime.count()));
    QCOMPARE(shownBoxes(), Boxes{Critical});
    QVERIFY2(reasons_[0].endsWith(hint), qPrintable(reasons_[0]));
    QVERIFY(window_);

    // Ten seconds at most, whatever befalls the test.
    useWine(
        "#!/bin/sh\necho $$ >wine-pid\nfor i in $(seq 200); do echo 'fixme: on' >&2; sleep 0.05; "
        "done\n");
    QElapsedTimer watched;
    watched.start();
    click("LaunchButton");
    QTRY_VERIFY_WITH_TIMEOUT(!window_, int(kWineWatchTime.count()) + 1000);
    QCOMPARE_GE(watched.elapsed(), kWineWatchTime.count() * 95 / 100);  // a timer's leeway
    const pid_t wine = ReadBytes("wine-pid").trimmed().toInt();
    QVERIFY(wine > 0);
    QTest::qWait(300);
    QCOMPARE(::kill(wine, 0), 0);
    QCOMPARE(QDir(dir_->filePath("temporary")).entryList(QDir::Files), QStringList());
    ::kill(wine, SIGKILL);
#endif
  }

  // The preview copies from its context menu: whole, as composed, trailing blank too, or the
  // part selected with the mouse.
  void copyPreview() {
    type("IPText", "my server");
    type("PortText", "27015");
    type("PassText", "pass word ");
    click("ApplyButton");
    QVERIFY(preview().endsWith("-password=pass word "));
    QGuiApplication::clipboard()->clear();
    QVERIFY(chooseFromContextMenu("HintLabel", "Copy"));
    QCOMPARE(QGuiApplication::clipboard()->text(), preview());
    // Dragged over with the mouse, a part of it.
    QWidget* label = find("HintLabel");
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(1, 8));
    QTest::mouseMove(label, QPoint(60, 8));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(60, 8));
    QVERIFY(chooseFromContextMenu("HintLabel", "Copy"));
    const QString part = QGuiApplication::clipboard()->text();
    QVERIFY2(!part.isEmpty() && part.size() < preview().size() && preview().startsWith(part),
             qPrintable(part));
  }

  // Find... shows a file dialog in which a name typed without ".exe" finds the game, and
  // cancelling leaves the path as it was, even with a file chosen. Qt's own dialog stands in for
  // the desktop's.
  void findDialog() {
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    const auto nativeAgain =
        qScopeGuard([] { QApplication::setAttribute(Qt::AA_DontUseNativeDialogs, false); });
    // Answers the dialog as soon as it is up; true when it came. Whatever modal window is
    // still up after seconds is closed, so that a step that goes wrong fails instead of hanging.
    const auto answer = [&](const QString& typed, bool cancel) {
      bool answered = false;
      QTimer::singleShot(0, [&answered, typed, cancel] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        answered = true;
        dialog->setDirectory(QFileInfo(typed).path());
        dialog->selectFile(QFileInfo(typed).fileName());
        if (cancel) return dialog->reject();
        static_cast<QDialog*>(dialog)->accept();  // Qt's own step when Open is pressed
      });
      QTimer closer;
      connect(&closer, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
      });
      closer.start(5000);
      click("LocationButton");
      return answered;
    };
    // Another copy of the game, so that a path picked shows apart from the one at start.
    QDir(dir_->path()).mkdir("Other");
    const QString other = QDir::toNativeSeparators(dir_->filePath("Other/Dravik 2.exe"));
    QVERIFY(QFile::copy(KELVOR_FAKE_GAME_PATH, other));
    QVERIFY2(answer(dir_->filePath("Other/Dravik 2"), false), "Find... showed no file dialog");
    QCOMPARE(find<QLineEdit>("FileLocationText")->text(), other);
    QVERIFY2(answer(game(), true), "Find... showed no file dialog");
    QCOMPARE(find<QLineEdit>("FileLocationText")->text(), other);
  }

  // A picked path shows in the line once saved; one the file cannot keep is refused, and the box
  // holds none too long for it. Exit asks.
  void pickSaveAndQuit() {
    const QString picked = " D:\\a, b.exe ";
    choosePath(picked);
    QCOMPARE(preview(), game() + kDefaults);
    click("SaveButton");
    QCOMPARE(preview(), picked + kDefaults);
    choosePath("D:\\a\"b, c.exe");
    ExpectFailureLog("Saving", file("appSet"));
    press(Qt::CTRL | Qt::Key_S);
    MessageBox::setNextAnswer(QMessageBox::No);
    click("mnuExit");
    QCOMPARE(preview(), picked + kDefaults);
    QCOMPARE(ReadBytes("appSet"), "\" D:\\a, b.exe \"\r\n");
    choosePath(QString(40'000, u'p'));  // the box takes no longer path than the file keeps
    click("SaveButton");
    click("ExitButton");
    QCOMPARE(shownBoxes(), Boxes({Information, Critical, Question, Information, Question}));
    QTRY_VERIFY(!window_);
  }

  // Apply needs a selected name, not empty; Remove asks first, then removes and saves.
  void modCommands() {
    selectMod(1);  // the empty name
    click("ApplyModsButton");
    QCOMPARE(shownBoxes(), Boxes{Warning});
    selectMod(-1);
    click("ApplyModsButton");
    QCOMPARE(shownBoxes(), Boxes{Warning});
    selectMod(2);
    click("ApplyModsButton");
    QCOMPARE(preview(), game() + kDefaults + " -mod=my mod");
    MessageBox::setNextAnswer(QMessageBox::No);
    click("RemoveButton");
    QCOMPARE(shownBoxes(), Boxes{Question});
    selectMod(-1);
    click("RemoveButton");
    QCOMPARE(shownBoxes(), Boxes({Question, Warning}));
    selectMod(2);
    QTest::keyClick(find("List1"), Qt::Key_F2);
    QVERIFY(!find("List1")->findChild<QLineEdit*>());  // no editor over the name
    click("mnuRemove");
    QCOMPARE(shownBoxes(), Boxes({Question, Information}));
    QCOMPARE(ReadBytes("modDta"), "a\r\n\r\nb\r\n");
  }

  // Add Mods over the greyed main window: Close saves the list and closes, or, with no list
  // file, says so and closes first, and then tells a failed save; Enter adds a name. A name the
  // file cannot keep is refused as it is added, kept for the player to mend, and the list saves as
  // before; a list read whole that the file cannot keep again is refused before a new file is
  // announced.
  void addModWindow() {
    click("AddButton");
    QVERIFY(subform() && greyed());
    click("Command2");
    QCOMPARE(shownBoxes(), Boxes{Information});
    QCOMPARE(boxWindows_, QStringList{"AddMod"});
    QVERIFY(!subform() && !greyed());
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
    ExpectFailureLog("Keeping the mod list in", file("modDta"));
    click("Command1");
    QCOMPARE(shownBoxes(), Boxes{Critical});
    QCOMPARE(find<QLineEdit>("Text1")->text(), "a\"b,c");
    QCOMPARE(window_->findChild<QListView*>("List1")->model()->rowCount(), 6);
    click("Command2");
    QCOMPARE(shownBoxes(), Boxes{Information});
    QVERIFY(!subform());
    QCOMPARE(ReadBytes("modDta"), saved);
    // A folder where the list file would be: the new file is announced, and its failure told.
    QFile::remove("modDta");
    QVERIFY(QDir(dir_->path()).mkdir("modDta"));
    click("AddButton");
    ExpectFailureLog("Saving", file("modDta"));
    click("Command2");
    QCOMPARE(shownBoxes(), Boxes({Warning, Critical}));
    QVERIFY(QDir(dir_->path()).rmdir("modDta"));
    // Lines ended by LF alone, 20 MB in all, which the file would keep only past 20 MB in CR LF.
    start("\r\n", QByteArray(999, 'n').append('\n').repeated(20'971));
    QFile::remove("modDta");
    click("AddButton");
    ExpectFailureLog("Keeping the mod list in", file("modDta"));
    click("Command2");
    QCOMPARE(shownBoxes(), Boxes{Critical});
    QVERIFY(subform() && greyed());
    QCOMPARE(ReadBytes("modDta"), "<missing>");
  }

 private:
  // What the stand-in game wrote of its start.
  struct GameStart {
    QString program;      // the file that ran
    QString folder;       // its working folder
    QString commandLine;  // the line Windows handed it; empty elsewhere
    QStringList arguments;
  };

  // The record the game left in the folder it started in, which is the launcher's, taken away
  // once read; nothing if no game started there in time.
  std::optional<GameStart> gameStart(int seconds = 10) {
    if (!QTest::qWaitFor([] { return QFile::exists("game"); }, seconds * 1000)) return {};
    QStringList lines = QString::fromUtf8(ReadBytes("game")).split('\n');
    QFile::remove("game");
    if (lines.size() < 4 || !lines.last().isEmpty()) return {};
    lines.removeLast();  // what follows the last line end
    return GameStart{lines[0], lines[1], lines[2], lines.mid(3)};
  }

  // A new main window over these two files, as the launcher starts; a null array: no such file.
  void start(const QByteArray& appSet, const QByteArray& modDta) {
    delete window_;
    QFile::remove("appSet");
    QFile::remove("modDta");
    if (!appSet.isNull()) WriteBytes("appSet", appSet);
    if (!modDta.isNull()) WriteBytes("modDta", modDta);
    window_ = new MainWindow(dir_->path());
    window_->Load();
    window_->show();
    window_->activateWindow();  // as a window manager would, where there is none
    QVERIFY(QTest::qWaitForWindowActive(window_));
  }

  // The form as drawn: each control inside its frame and clear of its neighbours, in Calibri or
  // its twin at the form's size, its caption or picture whole; then Tab's way round it.
  void checkForm(const char* tabOrder) {
    QStringList faults;
    const QList<QWidget*> controls = namedControls();
    for (QWidget* control : controls) {
      QWidget* sized = control;  // the nearest widget that carries the form's font size
      while (!sized->property("pointSizeF").isValid()) sized = sized->parentWidget();
      const QFontInfo font(control->font());
      const bool inFormsFont = QStringList{"Calibri", "Carlito"}.contains(font.family()) &&
                               font.pointSizeF() == sized->property("pointSizeF").toDouble();
      const bool inside = control->parentWidget()->rect().contains(control->geometry());
      if (!inside || !inFormsFont || !captionFits(control)) faults << control->objectName();
      for (QWidget* other : controls) {
        if (other != control && other->parentWidget() == control->parentWidget() &&
            other->geometry().intersects(control->geometry()) && control < other) {
          faults << control->objectName() + "/" + other->objectName();
        }
      }
    }
    QCOMPARE(faults.join(' '), QString());
    QStringList order;
    QWidget* at = activeFocus();
    while (at && !order.contains(at->objectName())) {
      order << at->objectName();
      QTest::keyClick(at, Qt::Key_Tab);
      at = activeFocus();
    }
    QCOMPARE(order.join(' '), tabOrder);
  }

  // The controls a form names, not Qt's own parts of them.
  QList<QWidget*> namedControls() {
    QList<QWidget*> controls;
    for (QWidget* control : form()->findChildren<QWidget*>()) {
      const QString name = control->objectName();
      if (!name.isEmpty() && !name.startsWith("qt_") && !control->isWindow()) controls << control;
    }
    return controls;
  }

  // A label that does not wrap and a check box need their size hint's width; a push button
  // its text's width and the style's margins. Other controls show no caption to cut.
  static bool captionFits(QWidget* control) {
    const auto* label = qobject_cast<QLabel*>(control);
    int needed = 0;
    if ((label && !label->wordWrap()) || control->inherits("QCheckBox"))
      needed = control->sizeHint().width();
    if (auto* button = qobject_cast<QPushButton*>(control))
      needed = control->fontMetrics().horizontalAdvance(button->text()) + 12;
    return needed <= control->width();
  }

  // A menu item is triggered; a control is clicked near its top left corner, where a check box
  // has its box.
  void click(const QString& name) {
    if (auto* item = window_->findChild<QAction*>(name))
      item->trigger();
    else
      QTest::mouseClick(find(name), Qt::LeftButton, {}, QPoint(8, 8));
  }

  // The item whose caption begins with `item` chosen from the context menu that a right click
  // opens on the control named `name`; false when there was no such menu or item.
  bool chooseFromContextMenu(const QString& name, const QString& item) {
    auto chosen = std::make_shared<bool>(false);
    QTimer::singleShot(0, [chosen, item] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      for (QAction* action : menu->actions()) {
        if (!*chosen && action->isEnabled() && action->text().remove(u'&').startsWith(item)) {
          *chosen = true;
          action->trigger();
        }
      }
      menu->close();
    });
    QWidget* control = find(name);
    const QPoint at(4, 4);
    QContextMenuEvent opening(QContextMenuEvent::Mouse, at, control->mapToGlobal(at));
    QApplication::sendEvent(control, &opening);  // back once the menu has closed
    QTest::qWait(0);
    return *chosen;
  }

  // Keys pressed where the keyboard is, as a player presses them.
  void press(const QKeySequence& keys) {
    QWidget* at = activeFocus();
    QVERIFY2(at, "no control has the keyboard");
    QTest::keySequence(at, keys);
  }

  void type(const QString& name, const QString& text) {
    find<QLineEdit>(name)->clear();
    QTest::keyClicks(find<QLineEdit>(name), text);
  }

  // Selects the name in `row` as the arrow keys do; -1 selects none.
  void selectMod(int row) {
    auto* list = find<QListView>("List1");
    list->setCurrentIndex(list->model()->index(row, 0));
  }

  // A stand-in for Wine, a shell script with `text`, found on PATH before any other.
  void useWine(const QString& text) {
    WriteBytes(file("wine"), text.toUtf8());
    QVERIFY(QFile::setPermissions(file("wine"), QFile::ReadOwner | QFile::ExeOwner));
    qputenv("PATH", dir_->path().toLocal8Bit() + ':' + path_);  // before any other Wine
  }

  // Find... with the player choosing `path`; a null path cancels the dialog.
  void choosePath(const QString& path) {
    ExecutablePicker::setNextFileName(path);
    click("LocationButton");
  }

  // The kinds of box shown since last asked (NoIcon: one unlike the rest), and where. Beneath
  // its text, an error box tells what failed on which file or game and why, a line each, as the
  // log does (ExpectFailureLog); no other box says more than its text.
  Boxes shownBoxes() {
    Boxes kinds;
    boxWindows_.clear();
    reasons_.clear();
    const QRegularExpression failure(
        QStringLiteral("^[A-Z][a-z ]+ \"(%1[^\"]*)?\" failed: .*\\p{L}{2}")
            .arg(QRegularExpression::escape(QDir::toNativeSeparators(dir_->path()))));
    const auto told = [&](const QString& lines) {
      return std::ranges::all_of(
          lines.split(u'\n'), [&](const QString& line) { return failure.match(line).hasMatch(); });
    };
    for (const MessageBox::Shown& box : std::exchange(MessageBox::shownBoxes(), {})) {
      const auto yes = box.icon == Question ? QMessageBox::Yes : QMessageBox::Ok;
      const bool alike =
          box.title == "Kelvor Launcher" && box.textFormat == Qt::PlainText &&
          (box.icon == Critical ? told(box.informativeText) : box.informativeText.isEmpty());
      kinds.append(alike && box.defaultButton == yes ? box.icon : NoIcon);
      boxWindows_.append(box.parent);
      if (box.icon == Critical) reasons_.append(box.informativeText);
    }
    return kinds;
  }

  // The control named so on the window that takes input.
  template <typename Control = QWidget>
  Control* find(const QString& name) {
    return form()->findChild<Control*>(name);
  }

  // The control with the keyboard in the window that takes input, once that window has it;
  // null when it never gets it.
  QWidget* activeFocus() {
    form()->activateWindow();
    if (!QTest::qWaitFor([&] { return QApplication::activeWindow() == form(); })) return nullptr;
    return QApplication::focusWidget();
  }

  QString preview() { return find<QLabel>("HintLabel")->text(); }
  QString file(const QString& name) { return dir_->filePath(name); }
  QString game() { return QDir::toNativeSeparators(dir_->filePath("Games/Dravik 2.exe")); }
  // The main window waits: neither its controls nor its menus take a click.
  bool greyed() {
    return !window_->centralWidget()->isEnabled() && !window_->menuBar()->isEnabled();
  }
  QWidget* subform() { return QApplication::activeModalWidget(); }
  QWidget* form() { return subform() ? subform() : window_.data(); }

  std::unique_ptr<QTemporaryDir> dir_;
  QPointer<MainWindow> window_;  // null once unloaded
  QStringList boxWindows_;
  const QByteArray path_ = qgetenv("PATH");
  QStringList reasons_;  // beneath each error box's text, as shownBoxes() last found them
};

QTEST_MAIN(LauncherTest)
#include "tst_launcher.moc"
