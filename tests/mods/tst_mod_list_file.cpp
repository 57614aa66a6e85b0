#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "mods/mod_list_file.h"
#include "support/files.h"

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

QTEST_GUILESS_MAIN(ModListFileTest)
#include "tst_mod_list_file.moc"
