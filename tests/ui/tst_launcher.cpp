#include <qpa/qwindowsysteminterface.h>

#include <QDesktopServices>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "launch/exe_path_file.h"
#include "mods/mod_list_file.h"
#include "support/launcher.h"
#include "ui/about_window.h"
#include "ui/add_mod_window.h"
#include "ui/qt_player_dialogs.h"

using namespace kelvor::testing;

namespace {

const QString kDefaults = QStringLiteral(" -noSplash -noPause -showScriptErrors");
const QStringList kDefaultArguments{"-noSplash", "-noPause", "-showScriptErrors"};
const QString kWarning = QStringLiteral(
    "notice: IP address and Port number must be defined as minimum!\n\nPassword is optional.");
const QString kNothing = QStringLiteral("notice: Nothing was selected!");
const QString kRemove =
    QStringLiteral("question: This will remove the selected item!\n\nDo you want to proceed?");
const QString kRemoved = QStringLiteral("success: Selected item was removed!\n\nMod list saved!");
const QString kListSaved = QStringLiteral("success: Mod list saved!");
const QString kPathSaved = QStringLiteral("success: Executable file location saved!");
const QString kQuit = QStringLiteral("question: Do you really want to quit ?");
const QByteArray kMods = "a\r\n\r\nmy mod\r\nb\r\n";

QByteArray TestData(const QString& name) { return ReadBytes(QFINDTESTDATA("../data/" + name)); }

// Replaces "<game>" by the stand-in game's path.
QString WithGame(QString text, const Launcher& launcher) {
  return text.replace(QLatin1String("<game>"), launcher.Game());
}

// Receives the files the desktop would open, in place of a real viewer.
class UrlRecorder : public QObject {
  Q_OBJECT

 public slots:
  void Open(const QUrl& url) { opened.append(url); }

 public:
  QList<QUrl> opened;
};

}  // namespace

// The launcher's windows, driven as a player drives them, over real files and a real game.
class LauncherTest : public QObject {
  Q_OBJECT

 private slots:
  void startUp_data();
  void startUp();
  void clickSequences_data();
  void clickSequences();
  void failedLaunchKeepsTheLauncherOpen_data();
  void failedLaunchKeepsTheLauncherOpen();
  void modCommands_data();
  void modCommands();
  void addModWindow_data();
  void addModWindow();
  void subformsTakeAllInputFromTheMainWindow_data();
  void subformsTakeAllInputFromTheMainWindow();
  void quitting_data();
  void quitting();
  void notificationArea_data();
  void notificationArea();
  void helpOpensTheFileBesideTheLauncher();
  void formInvariants();
  void questionBoxAnswersFromTheKeyboard();
  void dataFilesLieBesideTheProgram();
};

void LauncherTest::startUp_data() {
  QTest::addColumn<QByteArray>("appSet");  // null: no file; "<dir>": a folder
  QTest::addColumn<QByteArray>("modDta");
  QTest::addColumn<QString>("pathBox");
  QTest::addColumn<QStringList>("mods");
  QTest::addColumn<QStringList>("kept");  // the copies made of files start-up could not read
  QTest::addColumn<bool>("box");
  const QByteArray plain = TestData("appset-plain");
  const QByteArray names = TestData("moddta-names");
  const QString path = QStringLiteral("C:\\Games\\Dravik 2\\Dravik2.exe");
  const QStringList listed{"Vallmark", "my mod", "", "a, b", " lead", "trail "};
  const QByteArray huge(200'000, 'x');
  // clang-format off
  QTest::newRow("both read") << plain << names << path << listed << QStringList{} << false;
  QTest::newRow("markup shown as typed") << QByteArray("<b>g</b>.exe") << QByteArray("<i>m</i>") << "<b>g</b>.exe" << QStringList{"<i>m</i>"} << QStringList{} << false;
  QTest::newRow("path: no line end, blanks, quotes, a second line") << QByteArray(" \t\"C:\\a, b.exe\"\r\nsecond\r\n") + huge << names << "C:\\a, b.exe" << listed << QStringList{} << false;
  QTest::newRow("path: only a line end") << TestData("appset-line-end-only") << names << "" << listed << QStringList{} << false;
  QTest::newRow("path file missing: the list still read") << QByteArray() << names << "-" << listed << QStringList{} << true;
  QTest::newRow("path file empty") << TestData("appset-empty") << names << "-" << listed << QStringList{} << true;
  QTest::newRow("path file a folder") << QByteArray("<dir>") << names << "-" << listed << QStringList{} << true;
  QTest::newRow("path file binary") << TestData("appset-binary-garbage") << names << "-" << listed << QStringList{"appSet"} << true;
  QTest::newRow("path file NUL") << TestData("appset-nul") << names << "-" << listed << QStringList{"appSet"} << true;
  QTest::newRow("path file not UTF-8") << TestData("appset-invalid-utf8") << names << "-" << listed << QStringList{"appSet"} << true;
  QTest::newRow("path over-long") << TestData("appset-long-line") << names << "-" << listed << QStringList{"appSet"} << true;
  QTest::newRow("mod list missing") << plain << QByteArray() << path << QStringList{} << QStringList{} << true;
  QTest::newRow("mod list a folder") << plain << QByteArray("<dir>") << path << QStringList{} << QStringList{} << true;
  QTest::newRow("mod list: a NUL line left out") << plain << TestData("moddta-nul-line") << path << QStringList{"ok", "after"} << QStringList{"modDta"} << true;
  QTest::newRow("mod list: not UTF-8") << plain << TestData("moddta-invalid-utf8") << path << QStringList{"ok", "after"} << QStringList{"modDta"} << true;
  QTest::newRow("mod list: an over-long line") << plain << QByteArray("a\r\n") + QByteArray(40'000, 'm') + "\r\nb" << path << QStringList{"a", "b"} << QStringList{"modDta"} << true;
  QTest::newRow("mod list over the size limit") << plain << QByteArray("<huge>") << path << QStringList{} << QStringList{"modDta"} << true;
  QTest::newRow("both unreadable") << TestData("appset-nul") << TestData("moddta-binary-garbage") << "-" << QStringList{} << QStringList{"appSet", "modDta"} << true;
  // clang-format on
}

// What start-up shows, and that no byte of either file is lost: a file start-up could not
// read is copied beside itself before a save replaces it.
void LauncherTest::startUp() {
  QFETCH(QByteArray, appSet);
  QFETCH(QByteArray, modDta);
  QFETCH(QString, pathBox);  // "-": the path file failed
  QFETCH(QStringList, mods);
  QFETCH(QStringList, kept);
  QFETCH(bool, box);
  if (modDta == "<huge>") {  // one byte over the limit, of names
    modDta = QByteArray("mod-name-000000\n").repeated(1'310'721).left(20 * 1024 * 1024 + 1);
  }
  Launcher launcher(appSet, modDta);
  QCOMPARE(launcher.dialogs.shown, box ? QStringList{kErrorBox} : QStringList{});
  QCOMPARE(launcher.Text("FileLocationText"), pathBox == "-" ? QString() : pathBox);
  QCOMPARE(launcher.Text("HintLabel"),
           pathBox == "-" ? QStringLiteral("Oops! Something's gone wrong!") : pathBox + kDefaults);
  QCOMPARE(launcher.Mods(), mods);
  for (const char* file : {"appSet", "modDta"}) {
    const QByteArray bytes = QString(file) == "appSet" ? appSet : modDta;
    QCOMPARE(launcher.Bytes(QString(file) + ".bak"),
             kept.contains(file) ? bytes : QByteArray("<missing>"));
  }

  // Saving works after a failed read, and saves what the window shows.
  launcher.dialogs.shown.clear();
  launcher.Play({"pick:D:\\new.exe", "SaveButton", "mnuSaveMODs"});
  const bool folders = appSet == "<dir>" || modDta == "<dir>";
  QCOMPARE(launcher.dialogs.shown.contains(kErrorBox), folders || modDta.isNull());
  if (appSet != "<dir>") QCOMPARE(kelvor::ReadExePath(launcher.dir.path()), "D:\\new.exe");
  if (!folders && !modDta.isNull()) QCOMPARE(kelvor::ReadModList(launcher.dir.path()).names, mods);
}

void LauncherTest::clickSequences_data() {
  QTest::addColumn<QStringList>("steps");
  QTest::addColumn<QString>("preview");  // after the last step
  QTest::addColumn<QStringList>("shown");
  QTest::addColumn<QStringList>("launched");  // the game's arguments; "-": no game started
  const QString g = QStringLiteral("<game>");
  const QString d = kDefaults;
  const QStringList a = kDefaultArguments;
  const QStringList none{"-"};
  const QString shellish = QStringLiteral("$(touch pwned); `touch pwned` | ' \" && %PATH% ^ \\");
  // clang-format off
  QTest::newRow("start-up, launched")                         << QStringList{"LaunchButton"} << g + d << QStringList{} << a;
  QTest::newRow("noSplash off, the others stay")               << QStringList{"Param2Check"} << g + " -noPause -showScriptErrors" << QStringList{} << none;
  QTest::newRow("window comes first, whenever clicked")        << QStringList{"Param4Check", "Param1Check", "mnuLaunch"} << g + " -window -noSplash -noPause" << QStringList{} << QStringList{"-window", "-noSplash", "-noPause"};
  QTest::newRow("on and off again restores the line")          << QStringList{"Param1Check", "HostCheck", "Param3Check", "Param1Check", "HostCheck", "Param3Check"} << g + d << QStringList{} << none;
  QTest::newRow("all nine, in the fixed order")                << QStringList{"HostCheck", "List1:0", "ApplyModsButton", "IPText=10.0.0.1", "PortText=2302", "PassText=pw", "ApplyButton", "Param1Check", "LaunchButton"} << g + " -window" + d + " -connect=10.0.0.1 -port=2302 -password=pw -host -mod=a" << QStringList{} << QStringList{"-window"} + a + QStringList{"-connect=10.0.0.1", "-port=2302", "-password=pw", "-host", "-mod=a"};
  QTest::newRow("texts as typed, blanks count")                << QStringList{"IPText=my server ", "PortText=abc", "PassText= ", "ApplyButton", "LaunchButton"} << g + d + " -connect=my server  -port=abc -password= " << QStringList{} << a + QStringList{"-connect=my server ", "-port=abc", "-password= "};
  QTest::newRow("shell characters reach the game inert")       << QStringList{"IPText=a;b", "PortText=1|2", "PassText=" + shellish, "ApplyButton", "LaunchButton"} << g + d + " -connect=a;b -port=1|2 -password=" + shellish << QStringList{} << a + QStringList{"-connect=a;b", "-port=1|2", "-password=" + shellish};
  QTest::newRow("only a password: warned, a launch carries it") << QStringList{"PassText=pw", "ApplyButton", "LaunchButton"} << g + d << QStringList{kWarning} << a + QStringList{"-password=pw"};
  QTest::newRow("boxes emptied by hand, then Apply")           << QStringList{"IPText=h", "PortText=1", "ApplyButton", "IPText=", "PortText=", "ApplyButton", "LaunchButton"} << g + d + " -connect=h -port=1" << QStringList{kWarning} << a;
  QTest::newRow("a warned Apply shows at the next change")     << QStringList{"PassText=pw", "ApplyButton", "Param1Check"} << g + " -window" + d + " -password=pw" << QStringList{kWarning} << none;
  QTest::newRow("Clear empties the boxes, keeps host and mod") << QStringList{"IPText=h", "PortText=1", "PassText=pw", "ApplyButton", "HostCheck", "List1:3", "ApplyModsButton", "ClearButton", "IPText?=", "PortText?=", "PassText?="} << g + d + " -host -mod=b" << QStringList{} << none;
  QTest::newRow("mod: nothing selected keeps the applied one") << QStringList{"List1:0", "ApplyModsButton", "List1:-1", "ApplyModsButton"} << g + d + " -mod=a" << QStringList{kNothing} << none;
  QTest::newRow("mod: an empty entry is nothing to apply")     << QStringList{"List1:1", "ApplyModsButton"} << g + d << QStringList{kNothing} << none;
  QTest::newRow("mod: the second replaces the first")          << QStringList{"List1:0", "ApplyModsButton", "List1:2", "ApplyModsButton", "LaunchButton"} << g + d + " -mod=my mod" << QStringList{} << a + QStringList{"-mod=my mod"};
  QTest::newRow("mod: Clear takes it out")                     << QStringList{"List1:0", "ApplyModsButton", "ClearModsButton"} << g + d << QStringList{} << none;
  QTest::newRow("pick: the box only; a launch uses it")        << QStringList{"pick:/nowhere/new.exe", "FileLocationText?=/nowhere/new.exe", "LaunchButton"} << g + d << QStringList{kErrorBox} << none;
  QTest::newRow("pick: the next recompose shows it")           << QStringList{"pick:/nowhere/new.exe", "ClearModsButton"} << "/nowhere/new.exe" + d << QStringList{} << none;
  QTest::newRow("pick and save: preview up to date")           << QStringList{"pick:/nowhere/new.exe", "SaveButton"} << "/nowhere/new.exe" + d << QStringList{kPathSaved} << none;
  QTest::newRow("Ctrl+S saves too, cancel keeps the path")     << QStringList{"pick:/nowhere/a, b.exe", "cancel", "FileLocationText?=/nowhere/a, b.exe", "mnuSaveExe"} << "/nowhere/a, b.exe" + d << QStringList{kPathSaved} << none;
  // clang-format on
}

void LauncherTest::clickSequences() {
  QFETCH(QStringList, steps);
  QFETCH(QString, preview);
  QFETCH(QStringList, shown);
  QFETCH(QStringList, launched);
  Launcher launcher("<game>\r\n", kMods);
  const QStringList failed = launcher.Play(steps);
  QVERIFY2(failed.isEmpty(), qPrintable(failed.join('\n')));
  QCOMPARE(launcher.Text("HintLabel"), WithGame(preview, launcher));
  QCOMPARE(launcher.dialogs.shown, shown);
  if (launched != QStringList{"-"}) {
    QTRY_COMPARE(launcher.Games().size(), 1);
    QCOMPARE(launcher.Games().first(),
             QStringList({launcher.Game(), launcher.dir.path()}) + launched);
  }
  QTest::qWait(launched == QStringList{"-"} ? 50 : 0);  // time for a wrong start to show
  QCOMPARE(launcher.Games().size(), launched == QStringList{"-"} ? 0 : 1);
  QVERIFY(!QFile::exists(launcher.Path("pwned")));
  QVERIFY(launcher.window->isVisible());
  // Only Save writes the path file, and what it writes reads back as the box's text.
  QCOMPARE(kelvor::ReadExePath(launcher.dir.path()),
           shown.contains(kPathSaved) ? launcher.Text("FileLocationText") : launcher.Game());
}

void LauncherTest::failedLaunchKeepsTheLauncherOpen_data() {
  QTest::addColumn<QString>("path");  // in the launcher's folder
  QTest::newRow("empty path") << "";
  QTest::newRow("no such file") << "Dravik 2/missing.exe";
  QTest::newRow("a folder") << "Dravik 2";
  QTest::newRow("a file that may not run") << "Dravik 2/readme.txt";
}

// With "Close after launch" set, a failed start shows the error box and keeps the launcher
// open; the same launch, once the game can start, closes it without a question.
void LauncherTest::failedLaunchKeepsTheLauncherOpen() {
  QFETCH(QString, path);
  Launcher launcher("", kMods);
  WriteBytes(launcher.Path("Dravik 2/readme.txt"), "MZ");
  launcher.Play({"CloseCheck", "Param1Check"});
  if (!path.isEmpty()) launcher.Play({"pick:" + launcher.Path(path)});
  const QString preview = launcher.Text("HintLabel");
  launcher.dialogs.shown.clear();
  launcher.Play({"LaunchButton"});
  QCOMPARE(launcher.dialogs.shown, QStringList{kErrorBox});
  QVERIFY(launcher.window->isVisible());
  QCOMPARE(launcher.Text("HintLabel"), preview);

  launcher.Play({"pick:game", "mnuLaunch"});
  QCOMPARE(launcher.dialogs.shown, QStringList{kErrorBox});
  QVERIFY(!launcher.window->isVisible());
  QTRY_COMPARE(launcher.Games().size(), 1);
}

void LauncherTest::modCommands_data() {
  QTest::addColumn<QStringList>("steps");
  QTest::addColumn<QList<bool>>("answers");
  QTest::addColumn<bool>("fileMissing");
  QTest::addColumn<QStringList>("shown");
  QTest::addColumn<QStringList>("mods");
  QTest::addColumn<QByteArray>("file");
  const QStringList all{"a", "", "my mod", "b"};
  const QByteArray same = "edited elsewhere\r\n";
  // clang-format off
  QTest::newRow("save list")                  << QStringList{"mnuSaveMODs"} << QList<bool>{} << false << QStringList{kListSaved} << all << kMods;
  QTest::newRow("save list, file missing")    << QStringList{"mnuSaveMODs"} << QList<bool>{} << true << QStringList{kErrorBox} << all << QByteArray("<missing>");
  QTest::newRow("remove: Yes removes, saves") << QStringList{"List1:2", "RemoveButton"} << QList<bool>{true} << false << QStringList{kRemove, kRemoved} << QStringList{"a", "", "b"} << QByteArray("a\r\n\r\nb\r\n");
  QTest::newRow("remove an empty entry")      << QStringList{"List1:1", "mnuRemove"} << QList<bool>{true} << false << QStringList{kRemove, kRemoved} << QStringList{"a", "my mod", "b"} << QByteArray("a\r\nmy mod\r\nb\r\n");
  QTest::newRow("remove the last")            << QStringList{"List1:3", "mnuRemove"} << QList<bool>{true} << false << QStringList{kRemove, kRemoved} << QStringList{"a", "", "my mod"} << QByteArray("a\r\n\r\nmy mod\r\n");
  QTest::newRow("remove: No")                 << QStringList{"List1:0", "RemoveButton"} << QList<bool>{false} << false << QStringList{kRemove} << all << same;
  QTest::newRow("remove: nothing selected")   << QStringList{"List1:-1", "RemoveButton"} << QList<bool>{true} << false << QStringList{kRemove, kNothing} << all << same;
  QTest::newRow("remove: file missing")       << QStringList{"List1:0", "RemoveButton"} << QList<bool>{true} << true << QStringList{kRemove, kErrorBox} << QStringList{"", "my mod", "b"} << QByteArray("<missing>");
  // clang-format on
}

void LauncherTest::modCommands() {
  QFETCH(QStringList, steps);
  QFETCH(QList<bool>, answers);
  QFETCH(bool, fileMissing);
  QFETCH(QStringList, shown);
  QFETCH(QStringList, mods);
  QFETCH(QByteArray, file);
  Launcher launcher("g.exe\r\n", kMods);
  WriteBytes(launcher.Path("modDta"), "edited elsewhere\r\n");
  if (fileMissing) QFile::remove(launcher.Path("modDta"));
  launcher.Play({"List1:0", "ApplyModsButton"});
  const QString preview = launcher.Text("HintLabel");
  launcher.dialogs.answers = answers;
  launcher.Play(steps);
  QCOMPARE(launcher.dialogs.shown, shown);
  QCOMPARE(launcher.Mods(), mods);
  QCOMPARE(launcher.Bytes("modDta"), file);
  QCOMPARE(launcher.Text("HintLabel"), preview);  // the applied mod stays applied
}

void LauncherTest::addModWindow_data() {
  QTest::addColumn<QStringList>("keys");   // "text" typed, "@Name" focuses, "Enter", "Close"
  QTest::addColumn<QString>("file");       // "rw", "missing" or "read-only"
  QTest::addColumn<QStringList>("shown");  // each with whether the add-mod window was open
  QTest::addColumn<QStringList>("mods");   // added to the list
  QTest::addColumn<QByteArray>("saved");   // added to the file, if any was saved
  const QString missing = QStringLiteral(
      "notice: Core file for the Mod list doesn't exist!\n\nThe new one will be created! [open]");
  // clang-format off
  QTest::newRow("Enter adds, twice; Close saves")  << QStringList{"Vallmark", "Enter", "Enter", "Close"} << "rw" << QStringList{kListSaved + " [open]"} << QStringList{"Vallmark", "Vallmark"} << QByteArray("Vallmark\r\nVallmark\r\n");
  QTest::newRow("Add Item takes commas, blanks") << QStringList{"new, one", "@Command1", "Enter", " ", "@Text1", "Enter", "Close"} << "rw" << QStringList{kListSaved + " [open]"} << QStringList{"new, one", " "} << QByteArray("\"new, one\"\r\n\" \"\r\n");
  QTest::newRow("empty text refused")             << QStringList{"Enter"} << "rw" << QStringList{"notice: Field can't be empty!\n\nAny name must be defined! [open]"} << QStringList{} << QByteArray();
  QTest::newRow("Enter on Close saves and closes") << QStringList{"x", "@Command2", "Enter"} << "rw" << QStringList{kListSaved + " [open]"} << QStringList{} << QByteArray();
  QTest::newRow("file missing: told, closed, then saved") << QStringList{"x", "Enter", "Close"} << "missing" << QStringList{missing, kListSaved + " [closed]"} << QStringList{"x"} << QByteArray("x\r\n");
  QTest::newRow("read-only file: stays open, retried") << QStringList{"x", "Enter", "Close", "Close"} << "read-only" << QStringList{kErrorBox + " [open]", kListSaved + " [open]"} << QStringList{"x"} << QByteArray("x\r\n");
  // clang-format on
}

void LauncherTest::addModWindow() {
  QFETCH(QStringList, keys);
  QFETCH(QString, file);
  QFETCH(QStringList, shown);
  QFETCH(QStringList, mods);
  QFETCH(QByteArray, saved);
  Launcher launcher("g.exe\r\n", kMods);
  if (file == "missing") QFile::remove(launcher.Path("modDta"));
  if (file == "read-only") QFile::setPermissions(launcher.Path("modDta"), QFile::ReadOwner);
  launcher.Play({"AddButton"});
  const QPointer<kelvor::AddModWindow> addMod = Launcher::Showing<kelvor::AddModWindow>();
  QVERIFY(addMod && QTest::qWaitForWindowActive(addMod));
  QVERIFY(!launcher.window->isEnabled());
  launcher.dialogs.onShow = [&] {
    launcher.dialogs.shown.last() += addMod && addMod->isVisible() ? " [open]" : " [closed]";
    if (file == "read-only")
      QFile::setPermissions(launcher.Path("modDta"), QFile::ReadOwner | QFile::WriteOwner);
  };
  for (const QString& key : keys) {
    if (key == "Enter") {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    } else if (key == "Close") {
      QTest::mouseClick(addMod->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    } else if (key.startsWith('@')) {
      addMod->findChild<QWidget*>(key.mid(1))->setFocus();
    } else {
      addMod->findChild<QLineEdit*>("Text1")->setText(key);
    }
  }
  QCOMPARE(launcher.dialogs.shown, shown);
  QCOMPARE(launcher.Mods(), QStringList({"a", "", "my mod", "b"}) + mods);
  QCOMPARE(launcher.Bytes("modDta"), kMods + saved);
  const bool closed = shown.last().startsWith(kListSaved);
  QTRY_COMPARE(addMod.isNull(), closed);
  QCOMPARE(launcher.window->isEnabled(), closed);
}

void LauncherTest::subformsTakeAllInputFromTheMainWindow_data() {
  QTest::addColumn<QString>("open");
  QTest::addColumn<QString>("closeBy");
  QTest::newRow("add-mod, its Close") << "mnuAdd"
                                      << "Command2";
  QTest::newRow("add-mod, its title bar") << "AddButton"
                                          << "title bar";
  QTest::newRow("About, OK") << "mnuAbout"
                             << "Command1";
  QTest::newRow("About, Enter") << "mnuAbout"
                                << "Enter";
  QTest::newRow("About, Escape") << "mnuAbout"
                                 << "Escape";
}

// While a subform is open the main window is greyed and takes nothing, not even a close from
// its title bar; the subform has the keys. Each opening is a fresh window.
void LauncherTest::subformsTakeAllInputFromTheMainWindow() {
  QFETCH(QString, open);
  QFETCH(QString, closeBy);
  Launcher launcher("g.exe\r\n", kMods);
  for (int opening = 1; opening <= 2; ++opening) {
    launcher.Play({open});
    QPointer<QDialog> subform = Launcher::Showing<kelvor::AddModWindow>();
    if (!subform) subform = Launcher::Showing<kelvor::AboutWindow>();
    QVERIFY(subform && QTest::qWaitForWindowActive(subform));
    QVERIFY(!launcher.window->isEnabled());
    if (auto* text1 = subform->findChild<QLineEdit*>("Text1")) {
      QCOMPARE(text1->text(), QString());
      QTest::keyClicks(QApplication::focusWidget(), "typed");
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    } else {
      QCOMPARE(subform->findChild<QLabel*>("Label4")->text(), QStringLiteral("ver. 1.1"));
    }

    QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(
        launcher.window->windowHandle());
    QTest::keyClick(launcher.window.get(), Qt::Key_M, Qt::ControlModifier);
    QVERIFY(launcher.window->isVisible());
    QVERIFY(subform->isVisible());

    if (closeBy == "title bar") {
      subform->windowHandle()->close();
    } else if (closeBy == "Enter" || closeBy == "Escape") {
      QTest::keyClick(QApplication::focusWidget(),
                      closeBy == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
    } else {
      QTest::mouseClick(subform->findChild<QPushButton*>(closeBy), Qt::LeftButton);
    }
    QTRY_VERIFY(subform.isNull());
    QVERIFY(launcher.window->isEnabled());
  }
  const QByteArray added = closeBy == "Command2" && open != "mnuAbout" ? "typed\r\ntyped\r\n" : "";
  QCOMPARE(launcher.Bytes("modDta"), kMods + added);
  QCOMPARE(launcher.dialogs.shown.size(), added.isEmpty() ? 0 : 2);
}

void LauncherTest::quitting_data() {
  QTest::addColumn<QString>("command");  // "title bar": the window frame's close
  QTest::addColumn<QList<bool>>("answers");
  QTest::addColumn<QStringList>("shown");
  QTest::newRow("Exit, Yes") << "ExitButton" << QList<bool>{true} << QStringList{kQuit};
  QTest::newRow("Exit, No") << "ExitButton" << QList<bool>{false} << QStringList{kQuit};
  QTest::newRow("menu Exit, Yes") << "mnuExit" << QList<bool>{true} << QStringList{kQuit};
  QTest::newRow("title bar, no question") << "title bar" << QList<bool>{} << QStringList{};
}

void LauncherTest::quitting() {
  QFETCH(QString, command);
  QFETCH(QList<bool>, answers);
  QFETCH(QStringList, shown);
  Launcher launcher("g.exe\r\n", kMods);
  // Unsaved changes everywhere; none of them may be written on the way out.
  const QStringList changes{"Param1Check", "IPText=h",        "PortText=1",          "ApplyButton",
                            "List1:0",     "ApplyModsButton", "pick:/games/new.exe", "mnuMinimize"};
  launcher.Play(changes);
  launcher.tray.Click(QSystemTrayIcon::Trigger);
  const QString preview = launcher.Text("HintLabel");
  launcher.dialogs.answers = answers;
  if (command == "title bar") {
    QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(
        launcher.window->windowHandle());
  } else {
    launcher.Play({command});
  }
  const bool closed = answers.value(0, true);
  QCOMPARE(launcher.dialogs.shown, shown);
  QCOMPARE(launcher.window->isVisible(), !closed);
  QCOMPARE(launcher.tray.removals, closed ? 2 : 1);  // every unload takes the icon away
  QCOMPARE(launcher.Bytes("appSet") + launcher.Bytes("modDta"), "g.exe\r\n" + kMods);
  if (!closed) {
    QCOMPARE(launcher.Text("HintLabel"), preview);
    QCOMPARE(launcher.Play({"FileLocationText?=/games/new.exe", "IPText?=h", "PassText?="}),
             QStringList{});
  }
}

void LauncherTest::notificationArea_data() {
  QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
  QTest::addColumn<bool>("restores");
  QTest::newRow("left button pressed") << QSystemTrayIcon::Trigger << true;
  QTest::newRow("right button released") << QSystemTrayIcon::Context << true;
  QTest::newRow("double-click") << QSystemTrayIcon::DoubleClick << false;
  QTest::newRow("middle button") << QSystemTrayIcon::MiddleClick << false;
  QTest::newRow("anything else") << QSystemTrayIcon::Unknown << false;
}

// Hidden behind the icon and back, twice, with every setting as it was; without a
// notification area the window is minimised the ordinary way.
void LauncherTest::notificationArea() {
  QFETCH(QSystemTrayIcon::ActivationReason, reason);
  QFETCH(bool, restores);
  Launcher launcher("g.exe\r\n", kMods);
  launcher.Play({"Param1Check", "IPText=10.0.0.1", "PortText=2302", "ApplyButton", "List1:2",
                 "ApplyModsButton", "pick:/games/new.exe", "CloseCheck"});
  const QString preview = launcher.Text("HintLabel");
  for (int round = 1; round <= 2; ++round) {
    QTest::keyClick(launcher.window.get(), Qt::Key_M, Qt::ControlModifier);
    QVERIFY(!launcher.window->isVisible());
    QVERIFY(launcher.tray.shown);
    QCOMPARE(launcher.tray.tip, QStringLiteral("Restore Kelvor Launcher"));
    launcher.tray.Click(reason);
    QCOMPARE(launcher.window->isVisible(), restores);
    QCOMPARE(launcher.tray.shown, !restores);
    if (!restores) return;
    QCOMPARE(launcher.Text("HintLabel"), preview);
    QCOMPARE(launcher.Play({"FileLocationText?=/games/new.exe", "IPText?=10.0.0.1"}),
             QStringList{});
  }
  QVERIFY(launcher.Find<QCheckBox>("CloseCheck")->isChecked());
  QCOMPARE(launcher.Find<QListView>("List1")->currentIndex().row(), 2);

  launcher.tray.available = false;
  launcher.Play({"mnuMinimize"});
  QVERIFY(launcher.window->isVisible());
  QTRY_VERIFY(launcher.window->isMinimized());
  QVERIFY(launcher.dialogs.shown.isEmpty());
}

void LauncherTest::helpOpensTheFileBesideTheLauncher() {
  UrlRecorder viewer;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &viewer, "Open");
  Launcher launcher("g.exe\r\n", kMods);
  const QString help = launcher.Path("Kelvor_Launcher_Help.chm");
  launcher.Play({"mnuHelpContents"});  // no file yet: nothing happens
  WriteBytes(help, "ITSF");
  launcher.Find<QLineEdit>("IPText")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
  launcher.Play({"mnuHelpContents"});
  QCOMPARE(viewer.opened, QList<QUrl>(2, QUrl::fromLocalFile(help)));
  QVERIFY(launcher.window->isEnabled());
  QVERIFY(launcher.dialogs.shown.isEmpty());
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

// What the form's own table cannot show: a window the player cannot resize, Tab moving
// through every control once, a password typed unseen, and no accelerators in captions.
void LauncherTest::formInvariants() {
  Launcher launcher("g.exe\r\n", kMods);
  QWidget* window = launcher.window.get();
  QCOMPARE(window->minimumSize(), window->maximumSize());
  QCOMPARE(launcher.Find<QLineEdit>("PassText")->echoMode(), QLineEdit::Password);
  QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Param1Check"));
  QStringList visited;
  for (int step = 0; step < 30 && !visited.contains(QApplication::focusWidget()->objectName());
       ++step) {
    visited.append(QApplication::focusWidget()->objectName());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  QCOMPARE(visited.size(), 20);  // every control that takes the focus; the path box does not
  QCOMPARE(visited.last(), QStringLiteral("LaunchButton"));
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
    QVERIFY2(!button->text().contains('&'), qPrintable(button->text()));
  for (QAction* item : window->findChildren<QAction*>())
    QVERIFY2(!item->text().contains('&'), qPrintable(item->text()));
}

void LauncherTest::questionBoxAnswersFromTheKeyboard() {
  kelvor::QtPlayerDialogs dialogs;
  for (const auto& [key, yes] : {std::pair{Qt::Key_Return, true}, {Qt::Key_Escape, false}}) {
    QTimer::singleShot(0, [key = key] {
      QTRY_VERIFY(QApplication::activeModalWidget());
      QTest::keyClick(QApplication::activeModalWidget(), key);
    });
    QCOMPARE(dialogs.Confirm(QStringLiteral("Do you really want to quit ?")), yes);
  }
}

// The real launcher, copied into a folder of its own and started from another folder that
// holds unreadable decoy files: it reads, and copies, only the files beside itself.
void LauncherTest::dataFilesLieBesideTheProgram() {
  QTemporaryDir programFolder;
  QTemporaryDir workingFolder;
  const QString program = programFolder.filePath(QFileInfo(KELVOR_LAUNCHER_PATH).fileName());
  QVERIFY(QFile::copy(QStringLiteral(KELVOR_LAUNCHER_PATH), program));
  for (const QString& folder : {programFolder.path(), workingFolder.path()}) {
    WriteBytes(folder + "/appSet", TestData("appset-nul"));
    WriteBytes(folder + "/modDta", TestData("moddta-nul-line"));
  }
  QProcess process;
  process.setWorkingDirectory(workingFolder.path());
  process.start(program, {});
  QVERIFY(process.waitForStarted());
  QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(programFolder.filePath("modDta.bak")), 20000);
  process.kill();
  process.waitForFinished();
  QCOMPARE(ReadBytes(programFolder.filePath("appSet.bak")), TestData("appset-nul"));
  QCOMPARE(QDir(workingFolder.path()).entryList(QDir::Files), QStringList({"appSet", "modDta"}));
}

QTEST_MAIN(LauncherTest)
#include "tst_launcher.moc"
