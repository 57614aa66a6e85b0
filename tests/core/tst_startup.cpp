#include <sys/inotify.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include "core/startup.h"
#include "support/files.h"

using kelvor::ReadStartupState;
using kelvor::StartupState;
using namespace kelvor::testing;

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void readsBothFiles_data();
  void readsBothFiles();
  void looksBesideTheProgramNotInTheWorkingFolder();
};

namespace {

const QByteArray kMissing;  // no file
const QByteArray kDirectory = "<dir>";

}  // namespace

void StartupTest::readsBothFiles_data() {
  QTest::addColumn<QByteArray>("appSet");
  QTest::addColumn<QByteArray>("modDta");
  QTest::addColumn<std::optional<QString>>("path");
  QTest::addColumn<QStringList>("names");
  QTest::addColumn<bool>("failed");  // one error box for the whole start-up
  const std::optional<QString> none;
  const QByteArray mods = "Vallmark\r\nSkal\r\n";
  const QStringList names{"Vallmark", "Skal"};
  // clang-format off
  QTest::newRow("both present") << QByteArray("C:\\D2\\Dravik2.exe\r\n") << mods << std::optional<QString>("C:\\D2\\Dravik2.exe") << names << false;
  QTest::newRow("path file missing: mods still read") << kMissing << mods << none << names << true;
  QTest::newRow("path file empty: mods still read") << QByteArray("") << mods << none << names << true;
  QTest::newRow("path file a directory") << kDirectory << mods << none << names << true;
  QTest::newRow("path file binary") << QByteArray("\xff\xfe\0\0", 4) << mods << none << names << true;
  QTest::newRow("only a line end: empty path") << QByteArray("\r\n") << mods << std::optional<QString>("") << names << false;
  QTest::newRow("mod list missing") << QByteArray("g.exe") << kMissing << std::optional<QString>("g.exe") << QStringList{} << true;
  QTest::newRow("mod list a directory") << QByteArray("g.exe") << kDirectory << std::optional<QString>("g.exe") << QStringList{} << true;
  QTest::newRow("mod list with a garbage line") << QByteArray("g.exe") << QByteArray("Vallmark\r\n\0\r\nSkal", 17) << std::optional<QString>("g.exe") << QStringList{"Vallmark", "Skal"} << true;
  QTest::newRow("both missing") << kMissing << kMissing << none << QStringList{} << true;
  // clang-format on
}

void StartupTest::readsBothFiles() {
  QFETCH(QByteArray, appSet);
  QFETCH(QByteArray, modDta);
  QFETCH(std::optional<QString>, path);
  QFETCH(QStringList, names);
  QFETCH(bool, failed);
  QTemporaryDir dir;
  PlaceFile(dir.filePath(QStringLiteral("appSet")), appSet);
  PlaceFile(dir.filePath(QStringLiteral("modDta")), modDta);

  const StartupState state = ReadStartupState(dir.path());
  QCOMPARE(state.exePath, path);
  QCOMPARE(state.modNames.ToStringList(), names);
  QCOMPARE(state.failed, failed);
  QCOMPARE(state.options, kelvor::LaunchOptions::StartupDefaults());
}

// The real launcher, copied into a folder of its own and started from another folder that
// holds decoy files: it must open the files beside itself and never the decoys.
void StartupTest::looksBesideTheProgramNotInTheWorkingFolder() {
  QTemporaryDir programFolder;
  QTemporaryDir workingFolder;
  const QString program = programFolder.filePath(QStringLiteral("kelvor-launcher"));
  QVERIFY(QFile::copy(QStringLiteral(KELVOR_LAUNCHER_PATH), program));
  PlaceFile(programFolder.filePath(QStringLiteral("appSet")), "C:\\D2\\Dravik2.exe\r\n");
  PlaceFile(programFolder.filePath(QStringLiteral("modDta")), "Vallmark\r\n");
  PlaceFile(workingFolder.filePath(QStringLiteral("appSet")), "decoy.exe\r\n");
  PlaceFile(workingFolder.filePath(QStringLiteral("modDta")), "decoy\r\n");

  const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  QVERIFY(watch >= 0);
  const int besideProgram =
      inotify_add_watch(watch, QFile::encodeName(programFolder.path()).constData(), IN_OPEN);
  const int inWorkingFolder =
      inotify_add_watch(watch, QFile::encodeName(workingFolder.path()).constData(), IN_OPEN);

  QProcess launcher;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  launcher.setProcessEnvironment(environment);
  launcher.setWorkingDirectory(workingFolder.path());
  launcher.start(program, {});
  QVERIFY(launcher.waitForStarted());

  QSet<QString> openedBeside;
  QSet<QString> openedInWorkingFolder;
  const QDeadlineTimer deadline(20000);
  while (openedBeside.size() < 2 && !deadline.hasExpired()) {
    alignas(inotify_event) char buffer[4096];
    const ssize_t length = read(watch, buffer, sizeof buffer);
    if (length <= 0) {
      QTest::qWait(20);
      continue;
    }
    for (ssize_t at = 0; at < length;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      const QString name = event->len ? QString::fromLocal8Bit(event->name) : QString();
      if (name == "appSet" || name == "modDta") {
        (event->wd == besideProgram ? openedBeside : openedInWorkingFolder).insert(name);
      }
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  launcher.kill();
  launcher.waitForFinished();
  close(watch);
  Q_UNUSED(inWorkingFolder);

  QCOMPARE(openedBeside, (QSet<QString>{"appSet", "modDta"}));
  QVERIFY(openedInWorkingFolder.isEmpty());
}

QTEST_GUILESS_MAIN(StartupTest)
#include "tst_startup.moc"
