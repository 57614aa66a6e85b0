#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "launch/exe_path_file.h"
#include "mods/mod_list_file.h"
#include "support/files.h"

using kelvor::ReadModList;
using kelvor::testing::PlaceFile;
using kelvor::testing::ReadBytes;
using kelvor::testing::WriteBytes;

class ModListFileTest : public QObject {
  Q_OBJECT

 private slots:
  void reads_data();
  void reads();
  void writesOneLinePerName_data();
  void writesOneLinePerName();
  void namesReadBack_data();
  void namesReadBack();
  void editsSaveWhatTheListShows_data();
  void editsSaveWhatTheListShows();
  void killedMidSaveLeavesAWholeFile();
};

void ModListFileTest::reads_data() {
  QTest::addColumn<QByteArray>("bytes");  // null: no file; "<dir>": a directory
  QTest::addColumn<QStringList>("names");
  QTest::addColumn<bool>("complete");
  // clang-format off
  QTest::newRow("empty file: empty list") << QByteArray("") << QStringList{} << true;
  QTest::newRow("in file order, duplicates kept") << QByteArray("b\r\na\r\n\r\nb") << QStringList{"b", "a", "", "b"} << true;
  QTest::newRow("a comma splits, quotes keep it") << QByteArray("x,y\r\n\"x,y\"") << QStringList{"x", "y", "x,y"} << true;
  QTest::newRow("missing") << QByteArray() << QStringList{} << false;
  QTest::newRow("a directory") << QByteArray("<dir>") << QStringList{} << false;
  QTest::newRow("NUL bytes: that name left out") << QByteArray("a\r\nb\0c\r\nd", 9) << QStringList{"a", "d"} << false;
  QTest::newRow("binary garbage: left out") << QByteArray("a\r\n\xff\xd8\xff\xe0\r\nb") << QStringList{"a", "b"} << false;
  QTest::newRow("over the size limit: nothing read") << QByteArray("a\r\n") + QByteArray(50 << 20, 'm') + "\r\nb" << QStringList{} << false;
  // clang-format on
}

void ModListFileTest::reads() {
  QFETCH(QByteArray, bytes);
  QFETCH(QStringList, names);
  QFETCH(bool, complete);
  QTemporaryDir dir;
  const QString file = kelvor::ModListFile(dir.path());
  PlaceFile(file, bytes);
  const kelvor::ModListReading reading = ReadModList(dir.path());
  QCOMPARE(reading.names, names);
  QCOMPARE(reading.complete, complete);
  if (!bytes.isNull() && bytes != "<dir>") QCOMPARE(ReadBytes(file), bytes);  // left alone
}

void ModListFileTest::writesOneLinePerName_data() {
  QTest::addColumn<QStringList>("names");
  QTest::addColumn<QByteArray>("bytes");
  // clang-format off
  QTest::newRow("x, y, z: 9 bytes") << QStringList{"x", "y", "z"} << QByteArray("x\r\ny\r\nz\r\n");
  QTest::newRow("empty list: 0 bytes") << QStringList{} << QByteArray("");
  QTest::newRow("an empty name: an empty line") << QStringList{"a", "", "b"} << QByteArray("a\r\n\r\nb\r\n");
  QTest::newRow("comma and leading blank quoted") << QStringList{"a,b", " c", "d "} << QByteArray("\"a,b\"\r\n\" c\"\r\nd \r\n");
  // clang-format on
}

void ModListFileTest::writesOneLinePerName() {
  QFETCH(QStringList, names);
  QFETCH(QByteArray, bytes);
  QTemporaryDir dir;
  QVERIFY(!kelvor::SaveModList(dir.path(), names));  // only over an existing file
  QVERIFY(!QFile::exists(kelvor::ModListFile(dir.path())));
  WriteBytes(kelvor::ModListFile(dir.path()), "edited outside the launcher\r\n");
  QVERIFY(kelvor::SaveModList(dir.path(), names));
  QCOMPARE(ReadBytes(kelvor::ModListFile(dir.path())), bytes);
}

void ModListFileTest::namesReadBack_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QStringList>("readBack");  // empty: the name itself
  // clang-format off
  for (const QString& name : QStringList{"Vallmark, part 2", "  Vallmark", "\tVallmark", "   ", "Vallmark  ", "",
                                          "The \"Old\" Roads", QString::fromUtf8("Skálholt — 北"), QString(10000, u'n'),
                                          QString::fromUtf8("\uFEFFa byte order mark first")}) {
    QTest::addRow("%s", qPrintable(name.left(20))) << name << QStringList{};
  }
  // What the file's format cannot hold:
  QTest::newRow("a leading quote is taken for quoting") << "\"Old\" Roads" << QStringList{"Old"};
  QTest::newRow("a quote after a comma ends the name") << "a,\"b" << QStringList{"a,"};
  QTest::newRow("a line end splits the name") << "a\nb" << QStringList{"a", "b"};
  // clang-format on
}

void ModListFileTest::namesReadBack() {
  QFETCH(QString, name);
  QFETCH(QStringList, readBack);
  QTemporaryDir dir;
  QVERIFY(kelvor::WriteModList(dir.path(), {"before", name, "after"}));
  const kelvor::ModListReading reading = ReadModList(dir.path());
  QVERIFY(reading.complete);
  QCOMPARE(reading.names, QStringList{"before"} +
                              (readBack.isEmpty() ? QStringList{name} : readBack) +
                              QStringList{"after"});
}

void ModListFileTest::editsSaveWhatTheListShows_data() {
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<QStringList>("edits");  // "-N" removes row N, "+name" appends the name
  QTest::addColumn<QStringList>("shown");
  QTest::addColumn<QByteArray>("saved");
  // clang-format off
  QTest::newRow("quoted names are quoted again") << QByteArray("\"x,y\"\r\n\" a\"\r\nz") << QStringList{"-2"} << QStringList{"x,y", " a"} << QByteArray("\"x,y\"\r\n\" a\"\r\n");
  QTest::newRow("any line end saves as CR LF") << QByteArray("a\rb\nc\r\n") << QStringList{} << QStringList{"a", "b", "c"} << QByteArray("a\r\nb\r\nc\r\n");
  QTest::newRow("an unclosed quote saves closed") << QByteArray("\"a,b") << QStringList{"+c"} << QStringList{"a,b", "c"} << QByteArray("\"a,b\"\r\nc\r\n");
  QTest::newRow("non-ASCII among ASCII keeps its place") << QByteArray("a\r\nSk\xc3\xa1l\r\nb\r\n") << QStringList{"-0", "+c"} << QStringList{QString::fromUtf8("Sk\xc3\xa1l"), "b", "c"} << QByteArray("Sk\xc3\xa1l\r\nb\r\nc\r\n");
  QTest::newRow("a removed new name is gone") << QByteArray("a\r\n") << QStringList{"+b", "+c", "-1", "+d"} << QStringList{"a", "c", "d"} << QByteArray("a\r\nc\r\nd\r\n");
  QTest::newRow("every name removed") << QByteArray("a\r\nb") << QStringList{"-1", "-0"} << QStringList{} << QByteArray("");
  // clang-format on
}

// A list read from its file, edited and saved, holds exactly what the player sees.
void ModListFileTest::editsSaveWhatTheListShows() {
  QFETCH(QByteArray, file);
  QFETCH(QStringList, edits);
  QFETCH(QStringList, shown);
  QFETCH(QByteArray, saved);
  QTemporaryDir dir;
  WriteBytes(kelvor::ModListFile(dir.path()), file);
  QStringList names = ReadModList(dir.path()).names;
  for (const QString& edit : edits) {
    if (edit.startsWith(u'-')) names.removeAt(edit.mid(1).toInt());
    if (edit.startsWith(u'+')) names.append(edit.mid(1));
  }
  QCOMPARE(names, shown);
  QVERIFY(kelvor::SaveModList(dir.path(), names));
  QCOMPARE(ReadBytes(kelvor::ModListFile(dir.path())), saved);
}

// A helper saves two versions of a large list and of the path in turn without end; it is
// killed at random moments, and each time both files must be one of their versions, whole.
void ModListFileTest::killedMidSaveLeavesAWholeFile() {
  QTemporaryDir dir;
  QByteArray lists[2];
  for (int v = 0; v < 2; ++v) {
    for (int i = 0; i < 50000; ++i)
      lists[v] += QByteArray::number(v) + "-mod-" + QByteArray::number(i) + "\r\n";
  }
  const QByteArrayList paths = {"C:\\Games\\Dravik2.exe\r\n", "D:\\Other place\\Dravik2.exe\r\n"};
  // 1,000 kills by default; the sanitizer build, ten times slower, sets fewer.
  const int kills = qEnvironmentVariableIsSet("KELVOR_KILLS")
                        ? qEnvironmentVariableIntValue("KELVOR_KILLS")
                        : 1000;
  int partialLists = 0;
  int partialPaths = 0;
  for (int kill = 0; kill < kills; ++kill) {
    QProcess saver;
    saver.start(QStringLiteral(KELVOR_SAVE_LOOP_PATH), {dir.path()});
    QVERIFY(saver.waitForReadyRead(10000));  // it speaks once both files exist
    QThread::usleep(QRandomGenerator::global()->bounded(20000u));
    saver.kill();
    saver.waitForFinished();
    const QByteArray list = ReadBytes(kelvor::ModListFile(dir.path()));
    if (list != lists[0] && list != lists[1]) ++partialLists;
    if (!paths.contains(ReadBytes(kelvor::ExePathFile(dir.path())))) ++partialPaths;
  }
  qInfo("%d kills mid-save: %d partial mod lists, %d partial path files", kills, partialLists,
        partialPaths);
  QCOMPARE(partialLists, 0);
  QCOMPARE(partialPaths, 0);
}

QTEST_GUILESS_MAIN(ModListFileTest)
#include "tst_mod_list_file.moc"
