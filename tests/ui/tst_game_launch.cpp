#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "support/files.h"
#include "support/player.h"
#include "support/scripted_platform.h"
#include "ui/main_window.h"
#include "ui/qt_game_starter.h"

using namespace kelvor::testing;

// Real launches through the Launch button: a stand-in game records the program path, the
// working folder and the arguments it was started with.
class GameLaunchTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void gameGetsEachArgumentWhole_data();
  void gameGetsEachArgumentWhole();
  void closeAfterLaunch_data();
  void closeAfterLaunch();
  void twoLaunchesStartTwoGames();

 private:
  void Start(const QString& gamePath, const QByteArray& modDta = "a\r\n");
  QString GameFolder() const { return dir_->filePath(QStringLiteral("Dravik 2")); }
  QString InstallGame(const QString& path) const;
  QList<QStringList> Records() const;

  std::unique_ptr<QTemporaryDir> dir_;
  QString previousFolder_;
  ScriptedPlatform platform_;
  kelvor::DetachedGameStarter starter_;
  std::unique_ptr<kelvor::MainWindow> window_;
};

void GameLaunchTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  QDir(dir_->path()).mkpath(QStringLiteral("records"));
  qputenv("KELVOR_GAME_RECORDS", QFile::encodeName(dir_->filePath(QStringLiteral("records"))));
  // The game starts in the launcher's current folder: here, where a stray "pwned" would land.
  previousFolder_ = QDir::currentPath();
  QDir::setCurrent(dir_->path());
}

void GameLaunchTest::cleanup() {
  window_.reset();
  QDir::setCurrent(previousFolder_);
  QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("pwned"))));
  QVERIFY(!QFile::exists(GameFolder() + QStringLiteral("/pwned")));
}

QString GameLaunchTest::InstallGame(const QString& path) const {
  QDir().mkpath(QFileInfo(path).path());
  if (!QFile::copy(QStringLiteral(KELVOR_FAKE_GAME_PATH), path)) qFatal("cannot install game");
  return path;
}

void GameLaunchTest::Start(const QString& gamePath, const QByteArray& modDta) {
  WriteBytes(dir_->filePath("appSet"), gamePath.toLocal8Bit() + "\r\n");
  WriteBytes(dir_->filePath("modDta"), modDta);
  platform_ = {};
  window_ = StartMainWindow(dir_->path(), platform_.With(starter_));
}

QList<QStringList> GameLaunchTest::Records() const {
  QList<QStringList> records;
  QDir folder(dir_->filePath(QStringLiteral("records")));
  for (const QString& name : folder.entryList({"[0-9]*"}, QDir::Files)) {
    if (name.endsWith(QLatin1String(".part"))) continue;
    QString text = QString::fromLocal8Bit(ReadBytes(folder.filePath(name)));
    text.chop(1);  // the last line end
    records.append(text.split(QLatin1Char('\n')));
  }
  return records;
}

void GameLaunchTest::gameGetsEachArgumentWhole_data() {
  QTest::addColumn<QByteArray>("modDta");
  QTest::addColumn<QStringList>("steps");
  QTest::addColumn<QStringList>("arguments");
  const QString shellish =
      QStringLiteral("$(touch pwned) ; rm x | `touch pwned` ' \" && touch pwned");
  // clang-format off
  QTest::newRow("start-up options") << QByteArray("a\r\n") << QStringList{} << QStringList{"-noSplash", "-noPause", "-showScriptErrors"};
  QTest::newRow("all nine fragments") << QByteArray("Vallmark\r\n") << QStringList{"Param1Check", "IPText=10.0.0.1", "PortText=2302", "PassText=secret", "ApplyButton", "HostCheck", "List1:0", "ApplyModsButton"} << QStringList{"-window", "-noSplash", "-noPause", "-showScriptErrors", "-connect=10.0.0.1", "-port=2302", "-password=secret", "-host", "-mod=Vallmark"};
  QTest::newRow("blanks around a value") << QByteArray(" spaced mod \r\n") << QStringList{"Param2Check", "Param3Check", "Param4Check", "IPText=  10.0.0.1  ", "PortText= 2302", "ApplyButton", "List1:0", "ApplyModsButton"} << QStringList{"-connect=  10.0.0.1  ", "-port= 2302", "-mod=spaced mod "};
  QTest::newRow("shell metacharacters") << shellish.toUtf8() + "\r\n" << QStringList{"Param2Check", "Param3Check", "Param4Check", "IPText=a;b", "PortText=1|2", "PassText=" + shellish, "ApplyButton", "List1:0", "ApplyModsButton"} << QStringList{"-connect=a;b", "-port=1|2", "-password=" + shellish, "-mod=" + shellish};
  // clang-format on
}

void GameLaunchTest::gameGetsEachArgumentWhole() {
  QFETCH(QByteArray, modDta);
  QFETCH(QStringList, steps);
  QFETCH(QStringList, arguments);
  // A program planted where the path is cut at its blank must never be the one started.
  InstallGame(dir_->filePath(QStringLiteral("Dravik")));
  const QString game = InstallGame(GameFolder() + QStringLiteral("/Dravik2.exe"));
  Start(game, modDta);
  Play(window_.get(), platform_.picker, steps);
  Click(window_.get(), QStringLiteral("LaunchButton"));

  QTRY_COMPARE(Records().size(), 1);
  QCOMPARE(Records().constFirst(), QStringList({game, dir_->path()}) + arguments);
  QCOMPARE(platform_.dialogs.shown, QStringList{});
}

void GameLaunchTest::closeAfterLaunch_data() {
  QTest::addColumn<QString>("path");  // relative to the temporary folder
  QTest::addColumn<bool>("starts");
  QTest::newRow("the game starts: the launcher closes") << "Dravik 2/Dravik2.exe" << true;
  QTest::newRow("empty path") << "" << false;
  QTest::newRow("no such file") << "Dravik 2/missing.exe" << false;
  QTest::newRow("a folder") << "Dravik 2" << false;
  QTest::newRow("a file that may not be run") << "Dravik 2/readme.exe" << false;
  QTest::newRow("a script without an interpreter") << "Dravik 2/script.exe" << false;
}

void GameLaunchTest::closeAfterLaunch() {
  QFETCH(QString, path);
  QFETCH(bool, starts);
  InstallGame(GameFolder() + QStringLiteral("/Dravik2.exe"));
  WriteBytes(GameFolder() + QStringLiteral("/readme.exe"), "MZ");
  WriteBytes(GameFolder() + QStringLiteral("/script.exe"), "touch pwned\n");
  QFile::setPermissions(GameFolder() + QStringLiteral("/script.exe"),
                        QFile::ReadOwner | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
  Start(path.isEmpty() ? QString() : dir_->filePath(path));
  Click(window_.get(), QStringLiteral("CloseCheck"));
  const QString preview = window_->findChild<QLabel*>("HintLabel")->text();
  Click(window_.get(), QStringLiteral("LaunchButton"));

  QCOMPARE(window_->isVisible(), !starts);
  QCOMPARE(platform_.dialogs.shown, starts ? QStringList{} : QStringList{kErrorBox});
  QCOMPARE(window_->findChild<QLabel*>("HintLabel")->text(), preview);
  if (starts) QTRY_COMPARE(Records().size(), 1);
  QTest::qWait(starts ? 0 : 100);  // time for a wrongly started program to leave a trace
  QCOMPARE(Records().size(), starts ? 1 : 0);
}

void GameLaunchTest::twoLaunchesStartTwoGames() {
  Start(InstallGame(GameFolder() + QStringLiteral("/Dravik2.exe")));
  Click(window_.get(), QStringLiteral("LaunchButton"));
  Click(window_.get(), QStringLiteral("mnuLaunch"));
  QTRY_COMPARE(Records().size(), 2);
  QCOMPARE(Records().at(0), Records().at(1));
  QVERIFY(window_->isVisible());
}

QTEST_MAIN(GameLaunchTest)
#include "tst_game_launch.moc"
