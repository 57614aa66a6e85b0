#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "launch/exe_path_file.h"
#include "support/files.h"

using kelvor::ReadExePath;
using kelvor::testing::PlaceFile;
using kelvor::testing::ReadBytes;
using kelvor::testing::WriteBytes;

class ExePathFileTest : public QObject {
  Q_OBJECT

 private slots:
  void savedPathReadsBack_data();
  void savedPathReadsBack();
  void readsTheFirstField_data();
  void readsTheFirstField();
  void saveReplacesTheWholeFile();
};

void ExePathFileTest::savedPathReadsBack_data() {
  QTest::addColumn<QString>("path");
  QTest::newRow("ordinary") << "C:\\Games\\Dravik 2\\Dravik2.exe";
  QTest::newRow("empty") << "";
  QTest::newRow("comma in a folder name") << "/home/p/games, old/Dravik2.exe";
  QTest::newRow("leading blanks and tab") << " \t /opt/Dravik2.exe";
  QTest::newRow("trailing blanks") << "/opt/Dravik2.exe  ";
  QTest::newRow("outside ASCII") << QString::fromUtf8("/home/žaneta/Dravik2.exe");
  QTest::newRow("the longest kept") << QString(kelvor::kMaxExePathLength, u'p');
}

void ExePathFileTest::savedPathReadsBack() {
  QFETCH(QString, path);
  QTemporaryDir dir;
  QVERIFY(kelvor::SaveExePath(dir.path(), path));
  QCOMPARE(ReadExePath(dir.path()), std::optional<QString>(path));
}

void ExePathFileTest::readsTheFirstField_data() {
  QTest::addColumn<QByteArray>("bytes");  // "<dir>": a directory in the file's place
  QTest::addColumn<std::optional<QString>>("path");
  const std::optional<QString> failure;
  // clang-format off
  QTest::newRow("only a line end: an empty path") << QByteArray("\r\n") << std::optional<QString>("");
  QTest::newRow("further lines ignored") << QByteArray("a.exe\nb.exe\r\n") + QByteArray(1 << 20, 'x') << std::optional<QString>("a.exe");
  QTest::newRow("unquoted comma cuts the path") << QByteArray("C:\\a,b.exe\r\n") << std::optional<QString>("C:\\a");
  QTest::newRow("quoted by hand") << QByteArray("  \"C:\\a,b.exe\"\r\n") << std::optional<QString>("C:\\a,b.exe");
  QTest::newRow("missing") << QByteArray() << failure;
  QTest::newRow("0 bytes") << QByteArray("") << failure;
  QTest::newRow("a directory") << QByteArray("<dir>") << failure;
  QTest::newRow("NUL bytes") << QByteArray("C:\\a\0.exe\r\n", 11) << failure;
  QTest::newRow("binary garbage") << QByteArray("\x89PNG\r\n\x1a\n\xff\xfe", 10) << failure;
  QTest::newRow("a 50 MB line") << QByteArray(50 << 20, 'x') << failure;
  QTest::newRow("one character too long") << QByteArray(kelvor::kMaxExePathLength + 1, 'x') << failure;
  // clang-format on
}

void ExePathFileTest::readsTheFirstField() {
  QFETCH(QByteArray, bytes);
  QFETCH(std::optional<QString>, path);
  QTemporaryDir dir;
  const QString file = kelvor::ExePathFile(dir.path());
  PlaceFile(file, bytes);
  QCOMPARE(ReadExePath(dir.path()), path);
  if (!bytes.isNull() && bytes != "<dir>") QCOMPARE(ReadBytes(file), bytes);  // left alone
}

void ExePathFileTest::saveReplacesTheWholeFile() {
  QTemporaryDir dir;
  WriteBytes(kelvor::ExePathFile(dir.path()), "old.exe\r\nsecond line added by hand\r\n");
  QVERIFY(kelvor::SaveExePath(dir.path(), QStringLiteral("new.exe")));
  QVERIFY(kelvor::SaveExePath(dir.path(), QStringLiteral("new.exe")));
  QCOMPARE(ReadBytes(kelvor::ExePathFile(dir.path())), QByteArray("new.exe\r\n"));
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"appSet"});
}

QTEST_GUILESS_MAIN(ExePathFileTest)
#include "tst_exe_path_file.moc"
