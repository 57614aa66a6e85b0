#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "launch/exe_path_file.h"
#include "mods/mod_list_file.h"
#include "support/files.h"
#include "support/hostile_fs.h"

using kelvor::ReadModList;
using namespace kelvor::testing;

class ModListFileTest : public QObject {
  Q_OBJECT

 private slots:
  void readsNamesInFileOrder_data();
  void readsNamesInFileOrder();
  void stopsAtTheFirstFieldThatIsNotAName_data();
  void stopsAtTheFirstFieldThatIsNotAName();
  void missingFileOrDirectoryIsAFailure();
  void writesOneLinePerName_data();
  void writesOneLinePerName();
  void namesReadBack_data();
  void namesReadBack();
  void failedWriteKeepsTheOldList_data();
  void failedWriteKeepsTheOldList();
  void saveNeedsAnExistingFile();
  void killedMidSaveLeavesAWholeList();
};

void ModListFileTest::readsNamesInFileOrder_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QStringList>("names");
  QTest::newRow("empty file: empty list") << QByteArray() << QStringList{};
  QTest::newRow("x, y, z") << QByteArray("x\r\ny\r\nz\r\n") << QStringList{"x", "y", "z"};
  QTest::newRow("last line without line end") << QByteArray("x\r\ny") << QStringList{"x", "y"};
  QTest::newRow("blank line: an empty entry")
      << QByteArray("x\r\n\r\ny\r\n") << QStringList{"x", "", "y"};
  QTest::newRow("comma: two entries")
      << QByteArray("alpha,beta\r\n") << QStringList{"alpha", "beta"};
  QTest::newRow("quoted comma: one entry")
      << QByteArray("\"alpha,beta\"\r\n") << QStringList{"alpha,beta"};
  QTest::newRow("leading blanks dropped")
      << QByteArray("  Vallmark\r\n") << QStringList{"Vallmark"};
  QTest::newRow("duplicates kept, order kept")
      << QByteArray("b\r\na\r\nb\r\n") << QStringList{"b", "a", "b"};
  QTest::newRow("outside ASCII") << QByteArray("Sk\xc3\xa1lholt\r\n")
                                 << QStringList{QString::fromUtf8("Skálholt")};
}

void ModListFileTest::readsNamesInFileOrder() {
  QFETCH(QByteArray, bytes);
  QFETCH(QStringList, names);
  QTemporaryDir dir;
  WriteBytes(kelvor::ModListFile(dir.path()), bytes);
  const kelvor::ModListReading reading = ReadModList(dir.path());
  QVERIFY(reading.complete);
  QCOMPARE(reading.names, names);
}

void ModListFileTest::stopsAtTheFirstFieldThatIsNotAName_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QStringList>("namesBefore");
  QTest::newRow("NUL bytes") << QByteArray("a\r\nb\0c\r\nd\r\n", 11) << QStringList{"a"};
  QTest::newRow("binary garbage") << QByteArray("a\r\n\xff\xd8\xff\xe0") << QStringList{"a"};
  QTest::newRow("a 50 MB single line")
      << QByteArray("a\r\n") + QByteArray(50 << 20, 'm') << QStringList{"a"};
}

void ModListFileTest::stopsAtTheFirstFieldThatIsNotAName() {
  QFETCH(QByteArray, bytes);
  QFETCH(QStringList, namesBefore);
  QTemporaryDir dir;
  WriteBytes(kelvor::ModListFile(dir.path()), bytes);
  const kelvor::ModListReading reading = ReadModList(dir.path());
  QVERIFY(!reading.complete);
  QCOMPARE(reading.names, namesBefore);
  QCOMPARE(ReadBytes(kelvor::ModListFile(dir.path())), bytes);  // reading never changes it
}

void ModListFileTest::missingFileOrDirectoryIsAFailure() {
  QTemporaryDir dir;
  QVERIFY(!ReadModList(dir.path()).complete);
  QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("modDta")));
  const kelvor::ModListReading reading = ReadModList(dir.path());
  QVERIFY(!reading.complete);
  QVERIFY(reading.names.isEmpty());
}

void ModListFileTest::writesOneLinePerName_data() {
  QTest::addColumn<QStringList>("names");
  QTest::addColumn<QByteArray>("bytes");
  QTest::newRow("x, y, z: 9 bytes") << QStringList{"x", "y", "z"} << QByteArray("x\r\ny\r\nz\r\n");
  QTest::newRow("empty list: 0 bytes") << QStringList{} << QByteArray();
  QTest::newRow("an empty name: an empty line")
      << QStringList{"a", "", "b"} << QByteArray("a\r\n\r\nb\r\n");
  QTest::newRow("comma and leading blank quoted")
      << QStringList{"a,b", " c", "d e "} << QByteArray("\"a,b\"\r\n\" c\"\r\nd e \r\n");
}

void ModListFileTest::writesOneLinePerName() {
  QFETCH(QStringList, names);
  QFETCH(QByteArray, bytes);
  QTemporaryDir dir;
  WriteBytes(kelvor::ModListFile(dir.path()), "edited outside the launcher\r\n");
  QVERIFY(kelvor::SaveModList(dir.path(), names));
  QCOMPARE(ReadBytes(kelvor::ModListFile(dir.path())), bytes);
}

void ModListFileTest::namesReadBack_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QStringList>("readBack");  // empty: the name itself
  QTest::newRow("comma") << "Vallmark, part 2" << QStringList{};
  QTest::newRow("leading blanks") << "  Vallmark" << QStringList{};
  QTest::newRow("leading tab") << "\tVallmark" << QStringList{};
  QTest::newRow("blanks only") << "   " << QStringList{};
  QTest::newRow("trailing blanks") << "Vallmark  " << QStringList{};
  QTest::newRow("empty") << "" << QStringList{};
  QTest::newRow("a quote inside") << "The \"Old\" Roads" << QStringList{};
  QTest::newRow("outside ASCII") << QString::fromUtf8("Skálholt — 北") << QStringList{};
  QTest::newRow("10,000 characters") << QString(10000, u'n') << QStringList{};
  // What the file's format cannot hold:
  QTest::newRow("a leading quote is taken for quoting") << "\"Old\" Roads" << QStringList{"Old"};
  QTest::newRow("a quote after a comma ends the name") << "a,\"b" << QStringList{"a,"};
  QTest::newRow("a line end splits the name") << "a\nb" << QStringList{"a", "b"};
}

void ModListFileTest::namesReadBack() {
  QFETCH(QString, name);
  QFETCH(QStringList, readBack);
  if (readBack.isEmpty()) readBack = {name};
  QTemporaryDir dir;
  const QStringList names{"before", name, "after"};
  QVERIFY(kelvor::WriteModList(dir.path(), names));
  const kelvor::ModListReading reading = ReadModList(dir.path());
  QVERIFY(reading.complete);
  QCOMPARE(reading.names, QStringList{"before"} + readBack + QStringList{"after"});
}

void ModListFileTest::failedWriteKeepsTheOldList_data() {
  QTest::addColumn<QString>("situation");
  QTest::newRow("read-only file") << "read-only file";
  QTest::newRow("folder not writable") << "folder not writable";
  QTest::newRow("a directory named modDta") << "directory";
  QTest::newRow("disk full") << "disk full";
  QTest::newRow("a name the code page cannot hold") << "unencodable";
}

void ModListFileTest::failedWriteKeepsTheOldList() {
  QFETCH(QString, situation);
  QTemporaryDir dir;
  const QString folder = dir.path();
  const QString file = kelvor::ModListFile(folder);
  const QByteArray old = "Vallmark\r\nSkal\r\n";
  QStringList names(500, QStringLiteral("a new name long enough to need a second disk block"));
  QFile::setPermissions(folder, kOpenFolder);

  std::unique_ptr<FullDisk> fullDisk;
  if (situation == "disk full") {
    fullDisk = std::make_unique<FullDisk>(folder, QStringLiteral("modDta"), old);
  } else if (situation == "directory") {
    QVERIFY(QDir(folder).mkdir(QStringLiteral("modDta")));
  } else {
    WriteBytes(file, old);
  }
  if (situation == "read-only file") QFile::setPermissions(file, kReadOnlyFile);
  if (situation == "folder not writable") QFile::setPermissions(folder, kClosedFolder);
  if (situation == "unencodable") names.append(QString(QChar(0xDC00)));

  {
    PlayerPermissions player;
    QVERIFY(!kelvor::WriteModList(folder, names));
  }
  QFile::setPermissions(folder, kOpenFolder);
  if (situation == "directory") {
    QVERIFY(QFileInfo(file).isDir());
  } else {
    QCOMPARE(ReadBytes(file), old);
  }
}

void ModListFileTest::saveNeedsAnExistingFile() {
  QTemporaryDir dir;
  QVERIFY(!kelvor::SaveModList(dir.path(), {"a"}));
  QVERIFY(!QFile::exists(kelvor::ModListFile(dir.path())));
  QVERIFY(kelvor::WriteModList(dir.path(), {"a"}));  // creating is WriteModList's alone
  QVERIFY(kelvor::SaveModList(dir.path(), {"b"}));
  QCOMPARE(ReadBytes(kelvor::ModListFile(dir.path())), QByteArray("b\r\n"));
}

// A helper saves two large lists (and two paths) in turn without end; it is killed at random
// moments, and every time each file must be one of its two versions, whole.
void ModListFileTest::killedMidSaveLeavesAWholeList() {
  QTemporaryDir dir;
  QVERIFY(kelvor::WriteModList(dir.path(), {}));
  QByteArray versions[2];
  for (int v = 0; v < 2; ++v) {
    for (int i = 0; i < 50000; ++i)
      versions[v] += QByteArray::number(v) + "-mod-name-" + QByteArray::number(i) + "\r\n";
  }
  const QByteArray paths[2] = {"C:\\Games\\Dravik2.exe\r\n", "D:\\Other place\\Dravik2.exe\r\n"};

  int kills = 0;
  for (int round = 0; round < 60; ++round) {
    QProcess saver;
    saver.start(QStringLiteral(KELVOR_SAVE_LOOP_PATH), {dir.path()});
    QVERIFY(saver.waitForReadyRead(10000));  // it says when its first save is done
    QThread::usleep(QRandomGenerator::global()->bounded(20000u));
    saver.kill();
    saver.waitForFinished();
    ++kills;
    const QByteArray list = ReadBytes(kelvor::ModListFile(dir.path()));
    QVERIFY2(list == versions[0] || list == versions[1], qPrintable(QString::number(list.size())));
    const QByteArray path = ReadBytes(kelvor::ExePathFile(dir.path()));
    QVERIFY(path == paths[0] || path == paths[1]);
  }
  QCOMPARE(kills, 60);
}

QTEST_GUILESS_MAIN(ModListFileTest)
#include "tst_mod_list_file.moc"
