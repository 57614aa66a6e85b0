#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "launch/exe_path_file.h"
#include "support/files.h"
#include "support/hostile_fs.h"

using kelvor::ReadExePath;
using kelvor::SaveExePath;
using namespace kelvor::testing;

class ExePathFileTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void savedPathReadsBack_data();
  void savedPathReadsBack();
  void readsTheFirstFieldOnly_data();
  void readsTheFirstFieldOnly();
  void refusesFilesThatHoldNoPath_data();
  void refusesFilesThatHoldNoPath();
  void saveReplacesTheWholeFile();
  void failedSaveKeepsTheOldFile_data();
  void failedSaveKeepsTheOldFile();

 private:
  QString appSet() const { return kelvor::ExePathFile(dir_->path()); }
  std::unique_ptr<QTemporaryDir> dir_;
};

void ExePathFileTest::init() { dir_ = std::make_unique<QTemporaryDir>(); }

void ExePathFileTest::savedPathReadsBack_data() {
  QTest::addColumn<QString>("path");
  QTest::newRow("ordinary") << "C:\\Games\\Dravik 2\\Dravik2.exe";
  QTest::newRow("empty") << "";
  QTest::newRow("comma in a folder name") << "/home/p/games, old/Dravik2.exe";
  QTest::newRow("leading blanks") << "  /opt/Dravik2.exe";
  QTest::newRow("leading tab") << "\t/opt/Dravik2.exe";
  QTest::newRow("trailing blanks") << "/opt/Dravik2.exe  ";
  QTest::newRow("outside ASCII") << QString::fromUtf8("/home/žaneta/Dravik2.exe");
  QTest::newRow("longest kept") << QString(kelvor::kMaxExePathLength, u'p');
}

void ExePathFileTest::savedPathReadsBack() {
  QFETCH(QString, path);
  QVERIFY(SaveExePath(dir_->path(), path));
  QCOMPARE(ReadExePath(dir_->path()), std::optional<QString>(path));
}

void ExePathFileTest::readsTheFirstFieldOnly_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("path");
  QTest::newRow("only a line end: an empty path") << QByteArray("\r\n") << "";
  QTest::newRow("second line ignored") << QByteArray("a.exe\r\nb.exe\r\n") << "a.exe";
  QTest::newRow("no line end") << QByteArray("a.exe") << "a.exe";
  QTest::newRow("unquoted comma cuts the path") << QByteArray("C:\\a,b.exe\r\n") << "C:\\a";
  QTest::newRow("quotes written by hand") << QByteArray("\"C:\\a,b.exe\"\r\n") << "C:\\a,b.exe";
  QTest::newRow("blanks before the path") << QByteArray("   C:\\a.exe\r\n") << "C:\\a.exe";
  QTest::newRow("LF line ends") << QByteArray("a.exe\nb\n") << "a.exe";
  QTest::newRow("a long second line")
      << QByteArray("a.exe\r\n") + QByteArray(1 << 20, 'x') << "a.exe";
}

void ExePathFileTest::readsTheFirstFieldOnly() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, path);
  WriteBytes(appSet(), bytes);
  QCOMPARE(ReadExePath(dir_->path()), std::optional<QString>(path));
}

void ExePathFileTest::refusesFilesThatHoldNoPath_data() {
  QTest::addColumn<QByteArray>("bytes");  // empty with makeDirectory: no file at all
  QTest::addColumn<bool>("makeDirectory");
  QTest::newRow("missing") << QByteArray("<none>") << false;
  QTest::newRow("0 bytes") << QByteArray() << false;
  QTest::newRow("a directory in its place") << QByteArray() << true;
  QTest::newRow("NUL bytes") << QByteArray("C:\\a\0.exe\r\n", 11) << false;
  QTest::newRow("binary garbage") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18)
                                  << false;
  QTest::newRow("a 50 MB single line") << QByteArray(50 << 20, 'x') << false;
  QTest::newRow("one character too long")
      << QByteArray(kelvor::kMaxExePathLength + 1, 'x') << false;
}

void ExePathFileTest::refusesFilesThatHoldNoPath() {
  QFETCH(QByteArray, bytes);
  QFETCH(bool, makeDirectory);
  if (makeDirectory) {
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("appSet")));
  } else if (bytes != "<none>") {
    WriteBytes(appSet(), bytes);
  }
  QCOMPARE(ReadExePath(dir_->path()), std::nullopt);
  if (!makeDirectory && bytes != "<none>") QCOMPARE(ReadBytes(appSet()), bytes);  // left alone
}

void ExePathFileTest::saveReplacesTheWholeFile() {
  WriteBytes(appSet(), "old.exe\r\nsecond line added by hand\r\n");
  QVERIFY(SaveExePath(dir_->path(), QStringLiteral("new.exe")));
  QVERIFY(SaveExePath(dir_->path(), QStringLiteral("new.exe")));
  QCOMPARE(ReadBytes(appSet()), QByteArray("new.exe\r\n"));
  QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden),
           QStringList{QStringLiteral("appSet")});  // no temporary file left behind
}

void ExePathFileTest::failedSaveKeepsTheOldFile_data() {
  QTest::addColumn<QString>("situation");
  QTest::newRow("read-only file") << "read-only file";
  QTest::newRow("folder not writable") << "folder not writable";
  QTest::newRow("folder not writable, no file yet") << "folder not writable, no file";
  QTest::newRow("a directory in its place") << "directory";
  QTest::newRow("disk full") << "disk full";
  QTest::newRow("text the code page cannot hold") << "unencodable";
}

void ExePathFileTest::failedSaveKeepsTheOldFile() {
  QFETCH(QString, situation);
  const QByteArray old = "C:\\Games\\Dravik2.exe\r\n";
  QString newPath = QStringLiteral("/a/new/path/to/Dravik2.exe");
  const QString folder = dir_->path();
  QFile::setPermissions(folder, kOpenFolder);

  std::unique_ptr<FullDisk> fullDisk;
  if (situation == "disk full") {
    fullDisk = std::make_unique<FullDisk>(folder, QStringLiteral("appSet"), old);
  } else if (situation == "directory") {
    QVERIFY(QDir(folder).mkdir(QStringLiteral("appSet")));
  } else if (situation != "folder not writable, no file") {
    WriteBytes(appSet(), old);
  }
  if (situation == "read-only file") QFile::setPermissions(appSet(), kReadOnlyFile);
  if (situation.startsWith("folder not writable")) QFile::setPermissions(folder, kClosedFolder);
  if (situation == "unencodable") newPath = QString(QChar(0xD800));  // a lone surrogate

  {
    PlayerPermissions player;
    QVERIFY(!SaveExePath(folder, newPath));
  }
  QFile::setPermissions(folder, kOpenFolder);
  if (situation == "directory") {
    QVERIFY(QFileInfo(appSet()).isDir());
  } else if (situation == "folder not writable, no file") {
    QVERIFY(!QFile::exists(appSet()));
  } else {
    QCOMPARE(ReadBytes(appSet()), old);
  }
  fullDisk.reset();
}

QTEST_GUILESS_MAIN(ExePathFileTest)
#include "tst_exe_path_file.moc"
