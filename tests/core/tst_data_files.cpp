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
  const auto read = [](const char* name, const QByteArray& line, const QStringList& names) {
    QTest::newRow(name) << QString() << line << names;
  };
  const auto written = [](const char* name, const QString& text, const QByteArray& line,
                          const QStringList& names) {
    QTest::newRow(name) << text << line << names;
  };
  const QString n(kelvor::kMaxModNameLength, u'n');
  // clang-format off
  read("empty: no field", "", {});
  read("comma at the end of the file", "a,", {"a", ""});
  read("blanks at the end kept", "x  \r\ny\t", {"x  ", "y\t"});
  read("line of blanks: empty field", "   \r\nx", {"", "x"});
  read("after a closing quote: dropped", "\"ab\"cd,e\r\n\"f\" g\r\nh", {"ab", "e", "f", "h"});
  read("quote inside an unquoted field kept", "ab\"c,d", {"ab\"c", "d"});
  read("unclosed quote ends with the file", "\"ab,c", {"ab,c"});
  read("unclosed quote ends with its line", "\"ab\r\nc", {"ab", "c"});
  read("lone LF and lone CR end lines", "x\ny\rz", {"x", "y", "z"});
  read("LF CR is two line ends", "x\n\ry", {"x", "", "y"});
  written("a leading tab is quoted", "\tx", "\"\tx\"\r\n", {"\tx"});
  written("an inner quote as it stands", "The \"Old\" Roads", "The \"Old\" Roads\r\n", {"The \"Old\" Roads"});
  written("outside ASCII, in the code page", QString::fromUtf8("Skálholt — 北"), "Sk\xc3\xa1lholt \xe2\x80\x94 \xe5\x8c\x97\r\n", {QString::fromUtf8("Skálholt — 北")});
  written("a byte order mark is text", QChar(0xFEFF) + QString("a"), "\xef\xbb\xbf" "a\r\n", {QChar(0xFEFF) + QString("a")});
  written("the longest name", n, n.toLatin1() + "\r\n", {n});
  written("a character the code page lacks", QString(QChar(0xD800)), {}, {});
  written("a leading quote is taken for quoting", "\"Old\" Roads", "\"Old\" Roads\r\n", {"Old"});
  written("a line end splits the name", "a\nb", "a\nb\r\n", {"a", "b"});
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
          "a directory in its place", "disk full", "text the code page lacks"}) {
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
  if (situation.startsWith("a directory")) QDir().mkdir(path);
  if (!situation.endsWith("no file") && !situation.startsWith("a directory")) WriteBytes(path, old);
  const QFileDevice::Permissions open(0x7777), readOnly(0x5555);  // rwx, r-x for all
  QFile::setPermissions(path, readOnly);
  QFile::setPermissions(dir.path(), situation.startsWith("folder not writable") ? readOnly : open);
  if (situation != "read-only file") QFile::setPermissions(path, open);
  {
    PlayerLimits player(situation == "disk full");
    QVERIFY(file == "appSet" ? !kelvor::SaveExePath(dir.path(), text)
                             : !kelvor::WriteModList(dir.path(), {"a", text, "b"}));
  }
  QFile::setPermissions(dir.path(), open);
  if (situation.startsWith("a directory")) QVERIFY(QFileInfo(path).isDir());
  QCOMPARE(ReadBytes(path), QFileInfo(path).isFile() ? old : QByteArray("<missing>"));
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
           QFileInfo(path).isFile() ? QStringList{file} : QStringList{});
}

// A helper saves two versions of a list of 100,000 names in turn without end; it is killed at
// random moments, and each time the file must hold one version, whole.
void DataFilesTest::killedMidSaveLeavesAWholeFile() {
  QTemporaryDir dir;
  for (int kill = qEnvironmentVariable("KELVOR_KILLS", "100").toInt(); kill > 0; --kill) {
    QProcess saver;
    saver.start(QStringLiteral(KELVOR_SAVE_LOOP_PATH), {dir.path()});
    QVERIFY(saver.waitForReadyRead(10000));  // it speaks once the file exists
    QThread::usleep(QRandomGenerator::global()->bounded(20000u));
    saver.kill();
    saver.waitForFinished();
    const kelvor::ModListReading list = kelvor::ReadModList(dir.path());
    QVERIFY(list.complete && list.names.size() == 100'000);
    QVERIFY(list.names.first().front() == list.names.last().front());  // "v-mod-i", one v
  }
}

QTEST_GUILESS_MAIN(DataFilesTest)
#include "tst_data_files.moc"
