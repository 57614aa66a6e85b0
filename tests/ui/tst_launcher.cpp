#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QProcess>
#include <QStyleOptionButton>
#include <QUrl>

#include "support/launcher.h"

using namespace kelvor::testing;

namespace {

QByteArray TestData(const QString& name) { return ReadBytes(QFINDTESTDATA("../data/" + name)); }

// The captions of `form` that its controls cut short in the font they are drawn with, as
// "name: needs N px, has M px".
QStringList CutCaptions(const QWidget* form) {
  QStringList cut;
  for (const QWidget* control : form->findChildren<QWidget*>()) {
    QRect room = control->contentsRect();
    QString caption;
    if (const auto* label = qobject_cast<const QLabel*>(control); label && !label->wordWrap()) {
      caption = label->text();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
      QStyleOptionButton option;
      option.initFrom(button);
      caption = option.text = button->text();
      const bool box = qobject_cast<const QCheckBox*>(button);
      room = button->style()->subElementRect(
          box ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, button);
    }
    const int needs = control->fontMetrics().horizontalAdvance(caption);
    if (needs > room.width())
      cut << QStringLiteral("%1: needs %2 px, has %3 px")
                 .arg(control->objectName())
                 .arg(needs)
                 .arg(room.width());
  }
  return cut;
}

}  // namespace

// The launcher's windows, driven as a player drives them, over real files and a real game.
class LauncherTest : public QObject {
  Q_OBJECT

 public slots:
  void OpenUrl(const QUrl& url) { opened_.append(url); }  // in place of the desktop's viewer

 private slots:
  void scenarios_data();
  void scenarios();
  void formAndHelp();
  void dataFilesLieBesideTheProgram();
  void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

 private:
  QList<QUrl> opened_;
};

void LauncherTest::scenarios_data() {
  QTest::addColumn<QByteArray>("appSet");  // null: no file; "<dir>": a folder
  QTest::addColumn<QByteArray>("modDta");
  QTest::addColumn<QStringList>("steps");  // the player's steps and the checks between them
  QTest::addColumn<QStringList>("shown");  // every message box, in order
  const auto row = [](const char* name, const QByteArray& appSet, const QByteArray& modDta,
                      const QStringList& steps, const QStringList& shown = {}) {
    QTest::newRow(name) << appSet << modDta << steps << shown;
  };
  const QByteArray plain = TestData("appset-plain");
  const QByteArray names = TestData("moddta-names");
  const QByteArray mods = "a\r\n\r\nmy mod\r\nb\r\n";
  const QByteArray game = "<game>\r\n";
  const QString p = "C:\\Games\\Dravik 2\\Dravik2.exe";
  const QString d = " -noSplash -noPause -showScriptErrors";
  const QString ok = "mods?=Vallmark|my mod||a, b| lead|trail ";
  const QString oops = "HintLabel?=Oops! Something's gone wrong!";
  const QString error = "failure: Oops! Something's gone wrong!";
  const QString warning =
      "notice: IP address and Port number must be defined as minimum!\n\nPassword is optional.";
  const QString nothing = "notice: Nothing was selected!";
  const QString remove = "question: This will remove the selected item!\n\nDo you want to proceed?";
  const QString removed = "success: Selected item was removed!\n\nMod list saved!";
  const QString listSaved = "success: Mod list saved!";
  const QString pathSaved = "success: Executable file location saved!";
  // clang-format off
  // Start-up: what the window shows, and a file it could not read kept whole as a copy.
  row("both files", plain, names, {"FileLocationText?=" + p, "HintLabel?=" + p + d, ok, "appSet.bak?=<missing>", "modDta.bak?=<missing>"});
  row("path: readable, however written", " \t\"<b>C:\\a, b</b>.exe\"\r\nsecond\r\n" + QByteArray(200'000, 'x'), "<i>m</i>", {"HintLabel?=<b>C:\\a, b</b>.exe" + d, "mods?=<i>m</i>", "appSet.bak?=<missing>"});
  row("path: only a line end", TestData("appset-line-end-only"), names, {"FileLocationText?=", "HintLabel?=" + d});
  row("path file missing: the list still read", {}, names, {"FileLocationText?=", oops, ok, "pick:D:\\new.exe", "SaveButton", "appSet?=D:\\new.exe\\r\\n"}, {error, pathSaved});
  row("path file empty", TestData("appset-empty"), names, {oops, ok, "appSet.bak?=<missing>"}, {error});
  row("path file a folder", "<dir>", names, {oops, ok, "SaveButton"}, {error, error});
  row("path file binary: kept", TestData("appset-binary-garbage"), names, {oops, ok, "appSet.bak?=<kept>", "pick:D:\\new.exe", "mnuSaveExe", "appSet?=D:\\new.exe\\r\\n", "appSet.bak?=<kept>"}, {error, pathSaved});
#ifndef Q_OS_WIN  // bytes that are no UTF-8; the ANSI code pages spell most of them
  row("path file not text: kept", TestData("appset-invalid-utf8"), names, {oops, "appSet.bak?=<kept>"}, {error});
  row("path over-long: kept", TestData("appset-long-line"), names, {oops, "appSet.bak?=<kept>"}, {error});
  row("mod list missing: Save list creates none", plain, {}, {"HintLabel?=" + p + d, "mods?=", "mnuSaveMODs", "modDta?=<missing>"}, {error, error});
  row("mod list a folder", plain, "<dir>", {"mods?=", "modDta.bak?=<missing>"}, {error});
  row("mod list: a NUL line left out, kept", plain, TestData("moddta-nul-line"), {"mods?=ok|after", "modDta.bak?=<kept>", "mnuSaveMODs", "modDta?=ok\\r\\nafter\\r\\n", "modDta.bak?=<kept>"}, {error, listSaved});
  row("mod list: not text, kept", plain, TestData("moddta-invalid-utf8"), {"mods?=ok|after", "modDta.bak?=<kept>"}, {error});
#endif
  row("mod list: an over-long name, kept", plain, "a\r\n" + QByteArray(40'000, 'm') + "\r\nb", {"mods?=a|b", "modDta.bak?=<kept>"}, {error});
  row("mod list over the size limit, kept", plain, QByteArray("mod-name-000000\n").repeated(1310721), {"mods?=", "modDta.bak?=<kept>"}, {error});
  row("both unreadable: one box", TestData("appset-nul"), TestData("moddta-binary-garbage"), {oops, "appSet.bak?=<kept>", "modDta.bak?=<kept>"}, {error});
  row("any line end saves as CR LF", plain, TestData("moddta-mixed-line-ends"), {"mods?=a|b|c|d", "mnuSaveMODs", "modDta?=a\\r\\nb\\r\\nc\\r\\nd\\r\\n"}, {listSaved});
  row("commas and quotes", plain, TestData("moddta-commas"), {"mods?=a|b||c||x|y", "mnuSaveMODs", "modDta?=a\\r\\nb\\r\\n\\r\\nc\\r\\n\\r\\nx\\r\\ny\\r\\n"}, {listSaved});
  row("text beyond ASCII saves as read", plain, TestData("moddta-unicode"), {"mnuSaveMODs", "modDta?=<kept>"}, {listSaved});
  row("a name beyond ASCII that the code page spells", plain, "", {"AddButton", "Text1=Déjà vu", "key:Return", "Command2", "modDta?=Déjà vu\\r\\n"}, {listSaved + " (over AddMod)"});
#ifdef Q_OS_WIN
  row("a name the code page cannot spell: refused", plain, "a\r\n", {"AddButton", "Text1=北", "key:Return", "Command2", "modDta?=<kept>", "title bar:sub", "mods?=a|北"}, {error + " (over AddMod)"});
#endif

  // Options and launches: the preview after the steps, and what the game received.
  row("start-up, launched", game, mods, {"HintLabel?=<game>" + d, "LaunchButton", "game?=-noSplash|-noPause|-showScriptErrors"});
  row("noSplash off, the others stay", game, mods, {"Param2Check", "HintLabel?=<game> -noPause -showScriptErrors", "game?=-"});
  row("window first, whenever clicked", game, mods, {"Param4Check", "Param1Check", "mnuLaunch", "HintLabel?=<game> -window -noSplash -noPause", "game?=-window|-noSplash|-noPause"});
  row("on and off again restores the line", game, mods, {"Param1Check", "HostCheck", "Param3Check", "Param1Check", "HostCheck", "Param3Check", "HintLabel?=<game>" + d});
  row("all nine, in the fixed order", game, mods, {"HostCheck", "List1:0", "ApplyModsButton", "IPText=10.0.0.1", "PortText=2302", "PassText=pw", "ApplyButton", "Param1Check", "LaunchButton", "HintLabel?=<game> -window" + d + " -connect=10.0.0.1 -port=2302 -password=pw -host -mod=a", "game?=-window|-noSplash|-noPause|-showScriptErrors|-connect=10.0.0.1|-port=2302|-password=pw|-host|-mod=a"});
  row("texts as typed, blanks count", game, mods, {"Param2Check", "Param3Check", "Param4Check", "IPText=my server ", "PortText=abc", "PassText= ", "ApplyButton", "LaunchButton", "HintLabel?=<game> -connect=my server  -port=abc -password= ", "game?=-connect=my server |-port=abc|-password= "});
  row("shell characters reach the game inert", game, "$(touch pwned) & x\r\n", {"Param2Check", "Param3Check", "Param4Check", "IPText=a;b", "PortText=1|2", "PassText=$(touch pwned); `touch pwned` | ' \" && %PATH% ^ \\", "ApplyButton", "List1:0", "ApplyModsButton", "LaunchButton", "game?=-connect=a;b|-port=1|2|-password=$(touch pwned); `touch pwned` | ' \" && %PATH% ^ \\|-mod=$(touch pwned) & x", "pwned?=<missing>"});
  row("only a password: warned, a launch carries it", game, mods, {"PassText=pw", "ApplyButton", "HintLabel?=<game>" + d, "LaunchButton", "game?=-noSplash|-noPause|-showScriptErrors|-password=pw"}, {warning});
  row("a warned Apply shows at the next change", game, mods, {"IPText=h", "ApplyButton", "Param1Check", "HintLabel?=<game> -window" + d + " -connect=h"}, {warning});
  row("boxes emptied by hand, then Apply", game, mods, {"IPText=h", "PortText=1", "ApplyButton", "IPText=", "PortText=", "ApplyButton", "HintLabel?=<game>" + d + " -connect=h -port=1", "mnuLaunch", "game?=-noSplash|-noPause|-showScriptErrors"}, {warning});
  row("Clear empties the boxes, keeps host and mod", game, mods, {"IPText=h", "PortText=1", "PassText=pw", "ApplyButton", "HostCheck", "List1:3", "ApplyModsButton", "ClearButton", "IPText?=", "PortText?=", "PassText?=", "HintLabel?=<game>" + d + " -host -mod=b"});
  row("mod: nothing selected keeps the applied one", game, mods, {"List1:0", "ApplyModsButton", "List1:-1", "ApplyModsButton", "HintLabel?=<game>" + d + " -mod=a"}, {nothing});
  row("mod: an empty entry is nothing to apply", game, mods, {"List1:1", "ApplyModsButton", "HintLabel?=<game>" + d}, {nothing});
  row("mod: the second replaces the first, Clear takes it out", game, mods, {"List1:0", "ApplyModsButton", "List1:2", "ApplyModsButton", "LaunchButton", "game?=-noSplash|-noPause|-showScriptErrors|-mod=my mod", "ClearModsButton", "HintLabel?=<game>" + d});
  row("pick: the box at once, the preview at the next change", game, mods, {"pick:D:\\new.exe", "FileLocationText?=D:\\new.exe", "HintLabel?=<game>" + d, "ClearModsButton", "HintLabel?=D:\\new.exe" + d, "appSet?=<kept>"});
  row("pick: a launch uses the new path", game, mods, {"pick:./records", "LaunchButton", "game?=-"}, {error});
  row("pick and save: quoted, read back, previewed", game, mods, {"pick:D:\\a, b.exe", "cancel", "FileLocationText?=D:\\a, b.exe", "SaveButton", "appSet?=\"D:\\a, b.exe\"\\r\\n", "HintLabel?=D:\\a, b.exe" + d}, {pathSaved});
  row("failed start: the launcher stays, then closes", "\r\n", mods, {"CloseCheck", "LaunchButton", "window?=shown", "pick:<game>.missing", "mnuLaunch", "pick:./records", "LaunchButton", "pick:./modDta", "LaunchButton", "window?=shown", "game?=-", "pick:game", "LaunchButton", "window?=closed", "game?=-noSplash|-noPause|-showScriptErrors"}, {error, error, error, error});

  // The mod list's commands.
  row("remove: Yes removes and saves", game, mods, {"List1:0", "ApplyModsButton", "List1:2", "yes", "RemoveButton", "mods?=a||b", "modDta?=a\\r\\n\\r\\nb\\r\\n", "HintLabel?=<game>" + d + " -mod=a"}, {remove, removed});
  row("remove an empty entry", game, mods, {"List1:1", "yes", "mnuRemove", "mods?=a|my mod|b"}, {remove, removed});
  row("remove: No", game, mods, {"List1:3", "no", "RemoveButton", "mods?=a||my mod|b", "modDta?=<kept>"}, {remove});
  row("remove: nothing selected", game, mods, {"yes", "mnuRemove", "mods?=a||my mod|b"}, {remove, nothing});
  row("remove: file gone, the list still changes", game, mods, {"delete:modDta", "List1:0", "yes", "RemoveButton", "mods?=|my mod|b", "modDta?=<missing>"}, {remove, error});
  row("add: Enter adds, twice; Close saves", game, mods, {"AddButton", "window?=greyed", "Text1=Vallmark", "key:Return", "key:Return", "Command2", "window?=shown", "mods?=a||my mod|b|Vallmark|Vallmark", "modDta?=a\\r\\n\\r\\nmy mod\\r\\nb\\r\\nVallmark\\r\\nVallmark\\r\\n"}, {listSaved + " (over AddMod)"});
  row("add: commas and blanks, with Add Item", game, mods, {"mnuAdd", "Text1=new, one", "Command1", "Text1= ", "@Command1", "key:Return", "Command2", "modDta?=a\\r\\n\\r\\nmy mod\\r\\nb\\r\\n\"new, one\"\\r\\n\" \"\\r\\n"}, {listSaved + " (over AddMod)"});
  row("add: empty text refused", game, mods, {"AddButton", "key:Return", "window?=greyed", "mods?=a||my mod|b"}, {"notice: Field can't be empty!\n\nAny name must be defined! (over AddMod)"});
  row("add: Enter on Close saves and closes", game, mods, {"AddButton", "Text1=x", "@Command2", "key:Return", "window?=shown", "mods?=a||my mod|b"}, {listSaved + " (over AddMod)"});
  row("add: file gone: told, closed, saved", game, mods, {"delete:modDta", "AddButton", "Text1=x", "key:Return", "Command2", "window?=shown", "modDta?=a\\r\\n\\r\\nmy mod\\r\\nb\\r\\nx\\r\\n"}, {"notice: Core file for the Mod list doesn't exist!\n\nThe new one will be created! (over AddMod)", listSaved});
  row("add: a failed save keeps the window for a retry", game, mods, {"read-only:modDta", "AddButton", "Text1=x", "key:Return", "Command2", "window?=greyed", "modDta?=<kept>", "writable:modDta", "Command2", "window?=shown", "mods?=a||my mod|b|x"}, {error + " (over AddMod)", listSaved + " (over AddMod)"});
  row("add: its title bar closes without saving", game, mods, {"AddButton", "Text1=x", "key:Return", "title bar:sub", "window?=shown", "mods?=a||my mod|b|x", "modDta?=<kept>"});
  row("add: the main window takes nothing meanwhile", game, mods, {"AddButton", "Text1=typed", "key:Return", "title bar", "key:Ctrl+M", "window?=greyed", "tray?=", "Command2", "window?=shown", "modDta?=a\\r\\n\\r\\nmy mod\\r\\nb\\r\\ntyped\\r\\n"}, {listSaved + " (over AddMod)"});
  row("About: OK, Enter, Escape, title bar", game, mods, {"mnuAbout", "window?=greyed", "Label4?=ver. 1.1", "title bar", "window?=greyed", "Command1", "window?=shown", "mnuAbout", "key:Return", "mnuAbout", "key:Escape", "mnuAbout", "title bar:sub", "window?=shown"});

  // Quitting, and the notification area.
  row("Exit, Yes: nothing saved", game, mods, {"Param1Check", "pick:D:\\new.exe", "List1:0", "yes", "ExitButton", "window?=closed", "appSet?=<kept>", "modDta?=<kept>"}, {"question: Do you really want to quit ?"});
  row("Exit, No: all as it was", game, mods, {"IPText=h", "PortText=1", "ApplyButton", "no", "mnuExit", "window?=shown", "IPText?=h", "HintLabel?=<game>" + d + " -connect=h -port=1"}, {"question: Do you really want to quit ?"});
  row("title bar: no question", game, mods, {"title bar", "window?=closed"});
  row("title bar while hidden: unloaded, icon gone", game, mods, {"key:Ctrl+M", "title bar", "window?=closed", "tray?="});
  row("minimise and restore twice, all kept", game, mods, {"Param1Check", "IPText=10.0.0.1", "key:Ctrl+M", "window?=hidden", "tray?=Restore Kelvor Launcher", "tray:Trigger", "window?=shown", "tray?=", "mnuMinimize", "tray:Context", "window?=shown", "IPText?=10.0.0.1", "HintLabel?=<game> -window" + d});
  row("other icon clicks do nothing", game, mods, {"key:Ctrl+M", "tray:DoubleClick", "tray:MiddleClick", "tray:Unknown", "window?=hidden", "tray?=Restore Kelvor Launcher"});
  row("unloads take the icon away", game, mods, {"CloseCheck", "key:Ctrl+M", "mnuLaunch", "window?=closed", "tray?="});
  row("no notification area: minimised", game, mods, {"tray:none", "key:Ctrl+M", "tray?=", "window?=minimized"});
  // clang-format on
}

void LauncherTest::scenarios() {
  QFETCH(QByteArray, appSet);
  QFETCH(QByteArray, modDta);
  QFETCH(QStringList, steps);
  QFETCH(QStringList, shown);
  Launcher launcher(appSet, modDta);
  const QStringList failed = launcher.Play(steps);
  QVERIFY2(failed.isEmpty(), qPrintable(failed.join(u'\n')));
  QCOMPARE(launcher.dialogs.shown, shown);
}

// What the form's own table cannot show: a window the player cannot resize, Tab moving
// through every control once, a password typed unseen, and no accelerators in captions; and
// help, which opens the file beside the launcher, if there is one, in the desktop's viewer.
void LauncherTest::formAndHelp() {
  Launcher launcher("g.exe\r\n", "");
  QWidget* window = launcher.window.get();
  QCOMPARE(window->minimumSize(), window->maximumSize());
  QCOMPARE(launcher.Find<QLineEdit>("PassText")->echoMode(), QLineEdit::Password);
  QStringList visited;
  for (QWidget* at = QApplication::focusWidget(); !visited.contains(at->objectName());
       at = QApplication::focusWidget()) {
    visited.append(at->objectName());
    QTest::keyClick(at, Qt::Key_Tab);
  }
  QCOMPARE(visited.size(), 20);  // every control that takes the focus; the path box does not
  QCOMPARE(visited.first() + visited.last(), QStringLiteral("Param1CheckLaunchButton"));
  for (const QObject* control : window->findChildren<QObject*>())
    QVERIFY2(!control->property("text").toString().contains(u'&'),
             qPrintable(control->objectName()));
  QVERIFY2(CutCaptions(window).isEmpty(), qPrintable(CutCaptions(window).join(", ")));
  for (const char* opens : {"mnuAbout", "AddButton"}) {
    launcher.Play({opens});
    const QStringList cut = CutCaptions(QApplication::activeModalWidget());
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(", ")));
    launcher.Play({"title bar:sub"});
  }
  QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "OpenUrl");
  launcher.Play({"mnuHelpContents"});  // no help file: nothing happens
  WriteBytes(launcher.Path("Kelvor_Launcher_Help.chm"), "ITSF");
  launcher.Play({"@IPText", "key:F1"});
  QCOMPARE(opened_, QList<QUrl>{QUrl::fromLocalFile(launcher.Path("Kelvor_Launcher_Help.chm"))});
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
#ifdef Q_OS_WIN
  process.start(program, {"-platform", "windows"});  // the launcher carries no other
#else
  process.start(program, {});
#endif
  QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(programFolder.filePath("modDta.bak")), 20000);
  process.kill();
  process.waitForFinished();
  QCOMPARE(ReadBytes(programFolder.filePath("appSet.bak")), TestData("appset-nul"));
  QCOMPARE(QDir(workingFolder.path()).entryList(QDir::Files), QStringList({"appSet", "modDta"}));
}

QTEST_MAIN(LauncherTest)
#include "tst_launcher.moc"
