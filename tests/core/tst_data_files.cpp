#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "core/data_file.h"
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

// The data files below the windows: what the readers make of hostile files and what they keep
// of them, what the writers make of awkward text, and saves that fail or are cut short.
class DataFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();  // the saver, when started as one
  void readersKeepWhatTheyCannotRead_data();
  void readersKeepWhatTheyCannotRead();
  void writtenTextReadsBack_data();
  void writtenTextReadsBack();
  void failedSaveKeepsTheOldFile_data();
  void failedSaveKeepsTheOldFile();
  void killedMidSaveLeavesAWholeFile();
};

void DataFilesTest::readersKeepWhatTheyCannotRead_data() {
  QTest::addColumn<QString>("file");      // in tests/data; "appset" ones are read as the path
  QTest::addColumn<QStringList>("read");  // the path, or the names; none: the reading failed
  QTest::addColumn<bool>("kept");         // copied whole beside it, as "<file>.bak"
  const QStringList none;
  QTest::newRow("plain") << "appset-plain" << QStringList("C:\\Games\\Dravik 2\\Dravik2.exe")
                         << false;
  QTest::newRow("quoted") << "appset-quoted" << QStringList("C:\\a, b\\Dravik2.exe") << false;
  QTest::newRow("unclosed quote") << "appset-unclosed-quote" << QStringList("unclosed, quote")
                                  << false;
  QTest::newRow("only a line end") << "appset-line-end-only" << QStringList("") << false;
  QTest::newRow("empty: nothing to keep") << "appset-empty" << none << false;
  QTest::newRow("NUL") << "appset-nul" << none << true;
  QTest::newRow("over-long") << "appset-long-line" << none << true;
  QTest::newRow("names") << "moddta-names"
                         << QStringList({"Vallmark", "my mod", "", "a, b", " lead", "trail "})
                         << false;
  QTest::newRow("commas") << "moddta-commas" << QStringList({"a", "b", "", "c", "", "x", "y"})
                          << false;
  QTest::newRow("any line end") << "moddta-mixed-line-ends" << QStringList({"a", "b", "c", "d"})
                                << false;
  QTest::newRow("a NUL line skipped") << "moddta-nul-line" << QStringList({"ok", "after"}) << true;
  QTest::newRow("over the size limit") << "" << none << true;
#ifndef Q_OS_WIN  // bytes that are no UTF-8; the ANSI code pages spell most of them
  QTest::newRow("not UTF-8") << "moddta-invalid-utf8" << QStringList({"ok", "after"}) << true;
#endif
}

// A reader that cannot read its file whole says so, after copying it byte for byte. What it
// reads whole, the writer writes back as the same names.
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
  QCOMPARE(ReadBytes(path + ".bak"), kept ? bytes : QByteArray("<missing>"));
}

void DataFilesTest::writtenTextReadsBack_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QByteArray>("line");  // null: refused
  QTest::newRow("quoted for a comma") << "a, b" << QByteArray("\"a, b\"\r\n");
  QTest::newRow("quoted for a leading tab") << "\tx" << QByteArray("\"\tx\"\r\n");
  QTest::newRow("in the code page") << "Skálholt" << QString("Skálholt\r\n").toLocal8Bit();
  QTest::newRow("no character") << QString(QChar(0xD800)) << QByteArray();
  QTest::newRow("a NUL") << QString(QChar(0)) << QByteArray();
#ifdef Q_OS_WIN  // an ANSI code page
  QTest::newRow("beyond the code page") << "Skálholt — 北" << QByteArray();
#else
  QTest::newRow("a byte order mark") << QChar(0xFEFF) + QString("a")
                                     << QByteArray(
                                            "\xef\xbb\xbf"
                                            "a\r\n");
#endif
}

// Through both writers, then both readers.
void DataFilesTest::writtenTextReadsBack() {
  QFETCH(QString, text);
  QFETCH(QByteArray, line);
  QTemporaryDir dir;
  const std::optional<QString> path = line.isNull() ? std::nullopt : std::optional(text);
  QCOMPARE(SaveExePath(dir.filePath("appSet"), text), path.has_value());
  QCOMPARE(ReadExePath(dir.filePath("appSet")), path);
  QCOMPARE(EncodeModList({text, text}), path ? std::optional(line + line) : std::nullopt);
}

void DataFilesTest::failedSaveKeepsTheOldFile_data() {
  QTest::addColumn<QString>("situation");
  for (const char* situation :
       {"read-only file", "folder not writable", "folder not writable, no file",
        "a directory in its place", "disk full", "text the code page lacks",
        "held open by another program"})
    QTest::newRow(situation) << situation;
}

// Every way a save can fail: it says so, and the old file of either kind stays as it was.
void DataFilesTest::failedSaveKeepsTheOldFile() {
  QFETCH(QString, situation);
  for (const bool modList : {false, true}) {
    QTemporaryDir dir;
    const QString path = dir.filePath("data");
    const QByteArray old = "C:\\Games\\Dravik2.exe\r\n";
    const bool hadFile = !situation.endsWith("no file") && !situation.startsWith("a directory");
    if (hadFile) WriteBytes(path, old);
    if (situation.startsWith("a directory")) QDir().mkdir(path);
    const QFileDevice::Permissions open(0x7777), readOnly(0x5555);  // rwx, r-x for all
    QFile::setPermissions(path, situation == "read-only file" ? readOnly : open);
    QFile::setPermissions(dir.path(), situation.startsWith("folder") ? readOnly : open);
    QFile held(path);  // as an editor or a virus scanner holds it
#ifdef Q_OS_WIN
    if (situation.startsWith("folder") || situation == "disk full")
      QSKIP(
          "on Windows a folder's mode bits bind no one, and no file-size limit plays a full disk");
    if (situation.startsWith("held open")) QVERIFY(held.open(QIODevice::ReadOnly));
#else
    if (situation.startsWith("held open"))
      QSKIP("only Windows keeps an open file from being replaced");
    // File permissions bind the save as they bind a player, though a test may run as root; a
    // file that may grow no more than a few bytes plays a full disk.
    if (getuid() == 0) QVERIFY(seteuid(65534) == 0);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit tiny{situation == "disk full" ? 4 : limit.rlim_cur, limit.rlim_max};
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tiny);
#endif
    QString text(5000, u'n');  // needs more room than the old content
    if (situation == "text the code page lacks") text += QChar(0xD800);
    QVERIFY(modList ? !WriteModList(path, {"a", text}) : !SaveExePath(path, text));
#ifdef Q_OS_UNIX
    setrlimit(RLIMIT_FSIZE, &limit);
    if (getuid() == 0) QVERIFY(seteuid(0) == 0);
#endif
    held.close();
    QFile::setPermissions(dir.path(), open);
    QCOMPARE(ReadBytes(path), hadFile ? old : QByteArray("<missing>"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), hadFile ? 1 : 0);
  }
}

// This program, started again with KELVOR_SAVER set, saves two versions of a list of 100,000
// names in turn without end, "a..." and "b..."; it is killed at random moments, and each time
// the file must hold one version, whole.
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
