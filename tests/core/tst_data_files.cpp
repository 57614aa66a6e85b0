#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "launch/exe_path_file.h"
#include "mods/mod_list_file.h"
#include "support/files.h"

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#endif

using namespace kelvor;
using namespace kelvor::testing;

// The two data files: hostile files read, saves that fail, and saves cut short.
class DataFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();  // the saver, when started as one
  void readersKeepWhatTheyCannotRead_data();
  void readersKeepWhatTheyCannotRead();
  void failedSaveKeepsTheOldFile_data();
  void failedSaveKeepsTheOldFile();
  void killedMidSaveLeavesAWholeFile();
};

void DataFilesTest::readersKeepWhatTheyCannotRead_data() {
  QTest::addColumn<QString>("file");      // in tests/data; an "appset" one is read as the path
  QTest::addColumn<QStringList>("read");  // none: the reading failed
  QTest::addColumn<bool>("kept");         // copied beside it as "<file>.bak"
  const QStringList none;
  QTest::newRow("plain") << "appset-plain" << QStringList{"C:\\Games\\Dravik 2\\Dravik2.exe"}
                         << false;
  QTest::newRow("quoted") << "appset-quoted" << QStringList{"C:\\a, b\\Dravik2.exe"} << false;
  QTest::newRow("NUL") << "appset-nul" << none << true;
  QTest::newRow("over-long") << "appset-long-line" << none << true;
  QTest::newRow("names") << "moddta-names"
                         << QStringList{"Vallmark", "my mod", "", "a, b", " lead", "trail "}
                         << false;
  QTest::newRow("any line end") << "moddta-mixed-line-ends" << QStringList{"a", "b", "c", "d"}
                                << false;
  QTest::newRow("NUL line") << "moddta-nul-line" << QStringList{"ok", "after"} << true;
  QTest::newRow("over the size limit") << "" << none << true;
#ifndef Q_OS_WIN  // the ANSI code pages spell most bytes
  QTest::newRow("not UTF-8") << "moddta-invalid-utf8" << QStringList{"ok", "after"} << true;
#endif
}

// What a reader cannot read whole it copies byte for byte; what it reads, writes back the same.
void DataFilesTest::readersKeepWhatTheyCannotRead() {
  QFETCH(QString, file);
  QFETCH(QStringList, read);
  QFETCH(bool, kept);
  QTemporaryDir dir;
  const QString path = dir.filePath("data");
  const QByteArray bytes = file.isEmpty() ? QByteArray("mod-name-000000\n").repeated(1'310'721)
                                          : ReadBytes(QFINDTESTDATA("../data/" + file));
  WriteBytes(path, bytes);
  if (file.startsWith("appset")) {
    QCOMPARE(ReadExePath(path), read.isEmpty() ? std::nullopt : std::optional(read.first()));
  } else {
    const ModListReading reading = ReadModList(path);
    QCOMPARE(reading.names, read);
    QCOMPARE(reading.complete, !kept);
    QVERIFY(WriteModList(dir.filePath("again"), read));
    QCOMPARE(ReadModList(dir.filePath("again")).names, read);
  }
  QCOMPARE(ReadBytes(path + ".bak"), kept ? bytes : "<missing>");
}

void DataFilesTest::failedSaveKeepsTheOldFile_data() {
  QTest::addColumn<QString>("situation");
  for (const char* situation : {"read-only file", "folder not writable", "disk full",
                                "no such character", "a NUL", "held open by another program"})
    QTest::newRow(situation) << situation;
}

// However a save of either file fails, it says so and the old file stays as it was.
void DataFilesTest::failedSaveKeepsTheOldFile() {
  QFETCH(QString, situation);
  for (const bool modList : {false, true}) {
    QTemporaryDir dir;
    const QString path = dir.filePath("data");
    WriteBytes(path, "C:\\Games\\Dravik2.exe\r\n");
    const QFileDevice::Permissions open(0x7777), readOnly(0x5555);  // rwx, r-x for all
    QFile::setPermissions(path, situation == "read-only file" ? readOnly : open);
    QFile::setPermissions(dir.path(), situation.startsWith("folder") ? readOnly : open);
    QFile held(path);  // as an editor or a virus scanner holds it
#ifdef Q_OS_WIN
    if (situation.startsWith("folder") || situation == "disk full")
      QSKIP("Windows ignores a folder's mode bits and has no file-size limit");
    if (situation.startsWith("held")) QVERIFY(held.open(QIODevice::ReadOnly));
#else
    if (situation.startsWith("held")) QSKIP("only Windows keeps an open file from being replaced");
    // A test may run as root, whom no mode binds; a file that may not grow plays a full disk.
    if (getuid() == 0) QVERIFY(seteuid(65534) == 0);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit tiny{situation == "disk full" ? 4 : limit.rlim_cur, limit.rlim_max};
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tiny);
#endif
    QString text(5000, u'n');
    // No encoding has a lone surrogate; the ANSI code page of a Western Windows has no Chinese.
    if (situation == "no such character")
      text += QSysInfo::productType() == "windows" ? QString("北") : QString(QChar(0xD800));
    if (situation == "a NUL") text += QChar(0);
    QVERIFY(modList ? !WriteModList(path, {"a", text}) : !SaveExePath(path, text));
#ifdef Q_OS_UNIX
    setrlimit(RLIMIT_FSIZE, &limit);
    if (getuid() == 0) QVERIFY(seteuid(0) == 0);
#endif
    held.close();
    QFile::setPermissions(dir.path(), open);
    QCOMPARE(ReadBytes(path), "C:\\Games\\Dravik2.exe\r\n");
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"data"});
  }
}

// Started again with KELVOR_SAVER set, this program saves 100,000 names of "a" and of "b" in
// turn; killed at random moments, it must leave one list or the other, whole.
void DataFilesTest::killedMidSaveLeavesAWholeFile() {
  QTemporaryDir dir;
  const QString file = dir.filePath("modDta");
  for (int kill = qEnvironmentVariable("KELVOR_KILLS", "100").toInt(); kill > 0; --kill) {
    QProcess saver;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KELVOR_SAVER", file);
    saver.setProcessEnvironment(environment);
    saver.start(QCoreApplication::applicationFilePath(), {});
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file), 20000);
    QThread::usleep(QRandomGenerator::global()->bounded(20000u));
    saver.kill();
    saver.waitForFinished();
    const QStringList names = ReadModList(file).names;
    QVERIFY(names.size() == 100'000 && names.first() == names.last());
  }
}

void DataFilesTest::initTestCase() {
  for (int round = 0; qEnvironmentVariableIsSet("KELVOR_SAVER"); ++round) {
    const QStringList names(100'000, QString(20, round % 2 ? u'a' : u'b'));
    QVERIFY(WriteModList(qEnvironmentVariable("KELVOR_SAVER"), names));
  }
}

QTEST_GUILESS_MAIN(DataFilesTest)
#include "tst_data_files.moc"
