#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "launch/exe_path_file.h"
#include "mods/mod_list_file.h"
#include "support/files.h"

using namespace kelvor::testing;

// The data files below the windows: the reading rules, what the writer makes of awkward text,
// and saves that fail or are cut short.
class DataFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();  // the saver, when started as one
  void linesAndNames_data();
  void linesAndNames();
  void failedSaveKeepsTheOldFile_data();
  void failedSaveKeepsTheOldFile();
  void killedMidSaveLeavesAWholeFile();
};

void DataFilesTest::linesAndNames_data() {
  QTest::addColumn<QString>("text");       // written as the line; null: the line is only read
  QTest::addColumn<QByteArray>("line");    // null: the text is refused
  QTest::addColumn<QStringList>("names");  // what the line reads back as
  const QString n(kelvor::kMaxModNameLength, u'n');
  // clang-format off
  QTest::newRow("empty: no field") << QString() << QByteArray("") << QStringList{};
  QTest::newRow("comma at the end of the file") << QString() << QByteArray("a,") << QStringList{"a", ""};
  QTest::newRow("line of blanks: empty field") << QString() << QByteArray("   \r\nx") << QStringList{"", "x"};
  QTest::newRow("unclosed quote ends with the file") << QString() << QByteArray("\"ab,c") << QStringList{"ab,c"};
  QTest::newRow("unclosed quote ends with its line") << QString() << QByteArray("\"ab\r\nc") << QStringList{"ab", "c"};
  QTest::newRow("LF CR is two line ends") << QString() << QByteArray("x\n\ry") << QStringList{"x", "", "y"};
  QTest::newRow("a leading tab is quoted") << QString("\tx") << QByteArray("\"\tx\"\r\n") << QStringList{"\tx"};
  QTest::newRow("an inner quote as it stands") << QString("The \"Old\" Roads") << QByteArray("The \"Old\" Roads\r\n") << QStringList{"The \"Old\" Roads"};
  QTest::newRow("outside ASCII, in the code page") << QString("Skálholt") << QString("Skálholt\r\n").toLocal8Bit() << QStringList{"Skálholt"};
#ifdef Q_OS_WIN  // an ANSI code page
  QTest::newRow("beyond the code page: refused") << QString("Skálholt — 北") << QByteArray() << QStringList{};
#else
  QTest::newRow("beyond ASCII and Latin-1") << QString("Skálholt — 北") << QByteArray("Sk\xc3\xa1lholt \xe2\x80\x94 \xe5\x8c\x97\r\n") << QStringList{"Skálholt — 北"};
  QTest::newRow("a byte order mark is text") << QChar(0xFEFF) + QString("a") << QByteArray("\xef\xbb\xbf" "a\r\n") << QStringList{QChar(0xFEFF) + QString("a")};
#endif
  QTest::newRow("the longest name") << n << n.toLatin1() + "\r\n" << QStringList{n};
  QTest::newRow("a character the code page lacks") << QString(QChar(0xD800)) << QByteArray() << QStringList{};
  QTest::newRow("a leading quote is taken for quoting") << QString("\"Old\" Roads") << QByteArray("\"Old\" Roads\r\n") << QStringList{"Old"};
  QTest::newRow("a line end splits the name") << QString("a\nb") << QByteArray("a\nb\r\n") << QStringList{"a", "b"};
  // clang-format on
}

// Through both files' writers and readers.
void DataFilesTest::linesAndNames() {
  QFETCH(QString, text);
  QFETCH(QByteArray, line);
  QFETCH(QStringList, names);
  QTemporaryDir dir;
  if (!text.isNull()) {
    QCOMPARE(kelvor::EncodeModList({text}), line.isNull() ? std::nullopt : std::optional(line));
    QCOMPARE(kelvor::SaveExePath(dir.path(), text), !line.isNull());
    if (!line.isNull()) QCOMPARE(kelvor::ReadExePath(dir.path()), names.value(0));
  }
  QCOMPARE(kelvor::ParseModList(line).names, names);
  WriteBytes(kelvor::ExePathFile(dir.path()), QByteArray(kelvor::kMaxExePathLength + 1, 'x'));
  QCOMPARE(kelvor::ReadExePath(dir.path()), std::nullopt);  // a path no system takes
}

void DataFilesTest::failedSaveKeepsTheOldFile_data() {
  QTest::addColumn<QString>("file");
  QTest::addColumn<QString>("situation");
  for (const char* file : {"appSet", "modDta"}) {
    for (const char* situation :
         {"read-only file", "folder not writable", "folder not writable, no file",
          "a directory in its place", "disk full", "text the code page lacks",
          "held open by another program"}) {
      QTest::addRow("%s: %s", file, situation) << file << situation;
    }
  }
}

// Every way a save can fail: the save says so, and the old file stays exactly as it was.
void DataFilesTest::failedSaveKeepsTheOldFile() {
  QFETCH(QString, file);
  QFETCH(QString, situation);
  QTemporaryDir dir;
  const QString path = dir.filePath(file);
  const QByteArray old = "C:\\Games\\Dravik2.exe\r\n";
  QString text(5000, u'n');  // needs more room than the old content
  if (situation == "text the code page lacks") text += QChar(0xD800);
  const bool hadFile = !situation.endsWith("no file") && !situation.startsWith("a directory");
  hadFile ? WriteBytes(path, old)
          : PlaceFile(path, situation.endsWith("no file") ? QByteArray() : "<dir>");
  const QFileDevice::Permissions open(0x7777), readOnly(0x5555);  // rwx, r-x for all
  QFile::setPermissions(path, readOnly);
  QFile::setPermissions(dir.path(), situation.startsWith("folder not writable") ? readOnly : open);
  if (situation != "read-only file") QFile::setPermissions(path, open);
  QFile held(path);  // as an editor or a virus scanner holds it
#ifdef Q_OS_WIN
  if (situation.startsWith("folder not writable") || situation == "disk full")
    QSKIP("on Windows a folder's mode bits bind no one, and no file-size limit plays a full disk");
  if (situation.startsWith("held open")) QVERIFY(held.open(QIODevice::ReadOnly));
#else
  if (situation.startsWith("held open"))
    QSKIP("only Windows keeps an open file from being replaced");
#endif
  {
#ifdef Q_OS_UNIX
    PlayerLimits player(situation == "disk full");
#endif
    QVERIFY(file == "appSet" ? !kelvor::SaveExePath(dir.path(), text)
                             : !kelvor::WriteModList(dir.path(), {"a", text, "b"}));
  }
  held.close();
  QFile::setPermissions(dir.path(), open);
  QCOMPARE(QFileInfo(path).isDir(), situation.startsWith("a directory"));
  QCOMPARE(ReadBytes(path), hadFile ? old : QByteArray("<missing>"));
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
           hadFile ? QStringList{file} : QStringList{});
}

// This program, started again with KELVOR_SAVER set, saves two versions of a list of 100,000
// names in turn without end, "a..." and "b..."; it is killed at random moments, and each time
// the file must hold one version, whole.
void DataFilesTest::killedMidSaveLeavesAWholeFile() {
  QTemporaryDir dir;
  for (int kill = qEnvironmentVariable("KELVOR_KILLS", "100").toInt(); kill > 0; --kill) {
    QProcess saver;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KELVOR_SAVER"), dir.path());
    saver.setProcessEnvironment(environment);
    saver.start(QCoreApplication::applicationFilePath(), {});
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(kelvor::ModListFile(dir.path())), 20000);
    QThread::usleep(QRandomGenerator::global()->bounded(20000u));
    saver.kill();
    saver.waitForFinished();
    const QStringList names = kelvor::ReadModList(dir.path()).names;
    QVERIFY(names.size() == 100'000 && names.first() == names.last());
  }
}

void DataFilesTest::initTestCase() {
  for (int round = 0; qEnvironmentVariableIsSet("KELVOR_SAVER"); ++round) {
    const QStringList names(100'000, QString(20, round % 2 ? u'a' : u'b'));
    QVERIFY(kelvor::WriteModList(qEnvironmentVariable("KELVOR_SAVER"), names));
  }
}

QTEST_GUILESS_MAIN(DataFilesTest)
#include "tst_data_files.moc"
