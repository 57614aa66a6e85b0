#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include "support/files.h"
#include "support/player.h"
#include "support/scripted_platform.h"
#include "ui/add_mod_window.h"
#include "ui/main_window.h"

using namespace kelvor::testing;

namespace {

const QString kPath = QStringLiteral("C:\\Games\\Dravik 2\\Dravik2.exe");
const QString kDefaults = QStringLiteral(" -noSplash -noPause -showScriptErrors");
const QStringList kDefaultArguments{"-noSplash", "-noPause", "-showScriptErrors"};
const QString kConnectionWarning = QStringLiteral(
    "notice: IP address and Port number must be defined as minimum!\n\nPassword is optional.");
const QString kNothingSelected = QStringLiteral("notice: Nothing was selected!");

}  // namespace

// The option boxes, the multiplayer and mod buttons, Find..., Launch and Exit, clicked in
// sequences as a player would, with the desktop scripted.
class LaunchCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void clickSequences_data();
  void clickSequences();
  void failedStartKeepsTheLauncherOpen_data();
  void failedStartKeepsTheLauncherOpen();
  void quitting_data();
  void quitting();

 private:
  QString Preview() const { return window_->findChild<QLabel*>("HintLabel")->text(); }
  QString Files() const {
    return ReadBytes(dir_->filePath("appSet")) + '|' + ReadBytes(dir_->filePath("modDta"));
  }

  std::unique_ptr<QTemporaryDir> dir_;
  ScriptedPlatform platform_;
  std::unique_ptr<kelvor::MainWindow> window_;
};

void LaunchCommandsTest::init() {
  StartAfresh(dir_, platform_, window_, kPath.toLatin1() + "\r\n", "a\r\n\r\nmy mod\r\nb\r\n");
}

void LaunchCommandsTest::clickSequences_data() {
  QTest::addColumn<QStringList>("steps");
  QTest::addColumn<QString>("preview");  // after the last step
  QTest::addColumn<QStringList>("shown");
  QTest::addColumn<QStringList>("launch");  // the last launch's program and arguments
  const QString p = kPath;
  const QString d = kDefaults;
  const QStringList a = QStringList{p} + kDefaultArguments;
  const QString w = kConnectionWarning;
  const QString none = kNothingSelected;
  const QString saved = QStringLiteral("success: Executable file location saved!");
  // clang-format off
  QTest::newRow("start-up")                                   << QStringList{} << p + d << QStringList{} << QStringList{};
  QTest::newRow("noSplash off, the others stay")               << QStringList{"Param2Check"} << p + " -noPause -showScriptErrors" << QStringList{} << QStringList{};
  QTest::newRow("window comes first, whenever clicked")        << QStringList{"Param4Check", "Param1Check"} << p + " -window -noSplash -noPause" << QStringList{} << QStringList{};
  QTest::newRow("on and off again restores the line")          << QStringList{"Param1Check", "HostCheck", "Param3Check", "Param1Check", "HostCheck", "Param3Check"} << p + d << QStringList{} << QStringList{};
  QTest::newRow("address and port, no password")               << QStringList{"IPText=10.0.0.1", "PortText=2302", "ApplyButton"} << p + d + " -connect=10.0.0.1 -port=2302" << QStringList{} << QStringList{};
  QTest::newRow("fixed order: connection, host, mod")          << QStringList{"HostCheck", "List1:0", "ApplyModsButton", "IPText=10.0.0.1", "PortText=2302", "PassText=pw", "ApplyButton", "Param1Check", "LaunchButton"} << p + " -window" + d + " -connect=10.0.0.1 -port=2302 -password=pw -host -mod=a" << QStringList{} << QStringList{p, "-window", "-noSplash", "-noPause", "-showScriptErrors", "-connect=10.0.0.1", "-port=2302", "-password=pw", "-host", "-mod=a"};
  QTest::newRow("texts taken as typed, blanks count")          << QStringList{"IPText=my server", "PortText=abc", "PassText= ", "ApplyButton"} << p + d + " -connect=my server -port=abc -password= " << QStringList{} << QStringList{};
  QTest::newRow("only a password: warned, a launch carries it") << QStringList{"PassText=pw", "ApplyButton", "LaunchButton"} << p + d << QStringList{w} << a + QStringList{"-password=pw"};
  QTest::newRow("only an address: warned, preview kept")       << QStringList{"IPText=10.0.0.1", "ApplyButton", "mnuLaunch"} << p + d << QStringList{w} << a + QStringList{"-connect=10.0.0.1"};
  QTest::newRow("boxes emptied by hand, then Apply")           << QStringList{"IPText=h", "PortText=1", "ApplyButton", "IPText=", "PortText=", "ApplyButton", "LaunchButton"} << p + d + " -connect=h -port=1" << QStringList{w} << a;
  QTest::newRow("a warned Apply shows at the next change")     << QStringList{"PassText=pw", "ApplyButton", "Param1Check"} << p + " -window" + d + " -password=pw" << QStringList{w} << QStringList{};
  QTest::newRow("Clear empties the boxes, keeps host and mod") << QStringList{"IPText=h", "PortText=1", "PassText=pw", "ApplyButton", "HostCheck", "List1:3", "ApplyModsButton", "ClearButton", "IPText?=", "PortText?=", "PassText?="} << p + d + " -host -mod=b" << QStringList{} << QStringList{};
  QTest::newRow("mod: nothing selected keeps the applied one") << QStringList{"List1:0", "ApplyModsButton", "List1:-1", "ApplyModsButton"} << p + d + " -mod=a" << QStringList{none} << QStringList{};
  QTest::newRow("mod: an empty entry is nothing")              << QStringList{"List1:1", "ApplyModsButton"} << p + d << QStringList{none} << QStringList{};
  QTest::newRow("mod: the second replaces the first")          << QStringList{"List1:0", "ApplyModsButton", "List1:3", "ApplyModsButton", "LaunchButton"} << p + d + " -mod=b" << QStringList{} << a + QStringList{"-mod=b"};
  QTest::newRow("mod: blanks go in unquoted, one argument")    << QStringList{"List1:2", "ApplyModsButton", "LaunchButton"} << p + d + " -mod=my mod" << QStringList{} << a + QStringList{"-mod=my mod"};
  QTest::newRow("mod: Clear takes it out")                     << QStringList{"List1:0", "ApplyModsButton", "ClearModsButton"} << p + d << QStringList{} << QStringList{};
  QTest::newRow("pick: box only; a launch uses it at once")    << QStringList{"pick:/games/new.exe", "FileLocationText?=/games/new.exe", "LaunchButton"} << p + d << QStringList{} << QStringList{"/games/new.exe"} + kDefaultArguments;
  QTest::newRow("pick: mod Clear recomposes even when empty")  << QStringList{"pick:/games/new.exe", "ClearModsButton"} << "/games/new.exe" + d << QStringList{} << QStringList{};
  QTest::newRow("pick: Save brings the preview up to date")    << QStringList{"pick:/games/new.exe", "SaveButton"} << "/games/new.exe" + d << QStringList{saved} << QStringList{};
  QTest::newRow("cancel before any pick keeps the saved path") << QStringList{"cancel", "FileLocationText?=" + p, "SaveButton"} << p + d << QStringList{saved} << QStringList{};
  QTest::newRow("cancel after a pick keeps the picked path")   << QStringList{"pick:/games/new.exe", "cancel", "FileLocationText?=/games/new.exe"} << p + d << QStringList{} << QStringList{};
  // clang-format on
}

void LaunchCommandsTest::clickSequences() {
  QFETCH(QStringList, steps);
  QFETCH(QString, preview);
  QFETCH(QStringList, shown);
  QFETCH(QStringList, launch);
  const QStringList failed = Play(window_.get(), platform_.picker, steps);
  QVERIFY2(failed.isEmpty(), qPrintable(failed.join('\n')));
  QCOMPARE(Preview(), preview);
  QCOMPARE(platform_.dialogs.shown, shown);
  QCOMPARE(platform_.starter.launches.value(platform_.starter.launches.size() - 1), launch);
  QVERIFY(window_->isVisible());  // "Close after launch" is off
  // Only Save writes the path file.
  const QString saved = steps.contains("SaveButton")
                            ? window_->findChild<QLineEdit*>("FileLocationText")->text()
                            : kPath;
  QCOMPARE(ReadBytes(dir_->filePath("appSet")), saved.toLatin1() + "\r\n");
}

void LaunchCommandsTest::failedStartKeepsTheLauncherOpen_data() {
  QTest::addColumn<QString>("command");
  QTest::newRow("Launch button") << "LaunchButton";
  QTest::newRow("Launch menu item") << "mnuLaunch";
}

void LaunchCommandsTest::failedStartKeepsTheLauncherOpen() {
  QFETCH(QString, command);
  Play(window_.get(), platform_.picker, {"CloseCheck", "Param1Check"});
  const QString preview = Preview();
  platform_.starter.starts = false;
  Click(window_.get(), command);
  QCOMPARE(platform_.dialogs.shown, QStringList{kErrorBox});
  QVERIFY(window_->isVisible());
  QCOMPARE(Preview(), preview);

  platform_.starter.starts = true;  // the same launch, once the game can start
  Click(window_.get(), command);
  QCOMPARE(platform_.starter.launches.size(), 2);
  QCOMPARE(platform_.dialogs.shown, QStringList{kErrorBox});  // no question on the way out
  QVERIFY(!window_->isVisible());
}

void LaunchCommandsTest::quitting_data() {
  QTest::addColumn<QString>("command");  // "title bar": the window frame's close
  QTest::addColumn<QList<bool>>("answers");
  QTest::addColumn<QStringList>("shown");
  QTest::addColumn<bool>("closed");
  const QString ask = QStringLiteral("question: Do you really want to quit ?");
  for (const char* command : {"ExitButton", "mnuExit"}) {
    QTest::addRow("%s, Yes", command) << command << QList<bool>{true} << QStringList{ask} << true;
    QTest::addRow("%s, No", command) << command << QList<bool>{false} << QStringList{ask} << false;
  }
  QTest::newRow("title bar, no question") << "title bar" << QList<bool>{} << QStringList{} << true;
  QTest::newRow("title bar with the add-mod window open")
      << "title bar, add-mod open" << QList<bool>{} << QStringList{} << true;
}

void LaunchCommandsTest::quitting() {
  QFETCH(QString, command);
  QFETCH(QList<bool>, answers);
  QFETCH(QStringList, shown);
  QFETCH(bool, closed);
  // Unsaved changes everywhere; none of them may be written on the way out.
  Play(window_.get(), platform_.picker,
       {"Param1Check", "IPText=h", "PortText=1", "ApplyButton", "List1:0", "ApplyModsButton",
        "pick:/games/new.exe", "CloseCheck"});
  const QString files = Files();
  const QString preview = Preview();
  QPointer<QWidget> addMod;
  if (command.endsWith(QLatin1String("add-mod open"))) {
    Click(window_.get(), QStringLiteral("AddButton"));
    for (QWidget* topLevel : QApplication::topLevelWidgets()) {
      if (qobject_cast<kelvor::AddModWindow*>(topLevel)) addMod = topLevel;
    }
    QVERIFY(addMod && addMod->isVisible());
  }

  platform_.dialogs.answers = answers;
  if (command.startsWith(QLatin1String("title bar"))) {
    window_->windowHandle()->close();  // as the window frame asks for it
  } else {
    Click(window_.get(), command);
  }
  QCOMPARE(platform_.dialogs.shown, shown);
  QCOMPARE(window_->isVisible(), !closed);
  QTRY_VERIFY(addMod.isNull());
  QCOMPARE(Files(), files);
  if (!closed) {
    const QStringList failed =
        Play(window_.get(), platform_.picker,
             {"FileLocationText?=/games/new.exe", "IPText?=h", "PortText?=1", "PassText?="});
    QVERIFY2(failed.isEmpty(), qPrintable(failed.join('\n')));
    QCOMPARE(Preview(), preview);
    Click(window_.get(), QStringLiteral("LaunchButton"));  // the options are all still there
    QCOMPARE(platform_.starter.launches.value(0),
             QStringList({"/games/new.exe", "-window", "-noSplash", "-noPause", "-showScriptErrors",
                          "-connect=h", "-port=1", "-mod=a"}));
  }
}

QTEST_MAIN(LaunchCommandsTest)
#include "tst_launch_commands.moc"
