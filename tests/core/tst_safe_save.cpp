#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "launch/exe_path_file.h"
#include "mods/mod_list_file.h"
#include "support/files.h"
#include "support/hostile_fs.h"

using namespace kelvor::testing;

// Every way a save of either data file can fail: the save says so and the old file stays
// exactly as it was.
class SafeSaveTest : public QObject {
  Q_OBJECT

 private slots:
  void failedSaveKeepsTheOldFile_data();
  void failedSaveKeepsTheOldFile();
};

void SafeSaveTest::failedSaveKeepsTheOldFile_data() {
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

void SafeSaveTest::failedSaveKeepsTheOldFile() {
  QFETCH(QString, file);
  QFETCH(QString, situation);
  QTemporaryDir dir;
  const QString folder = dir.path();
  const QString path = dir.filePath(file);
  const QByteArray old = "C:\\Games\\Dravik2.exe\r\n";
  // Long enough to need a disk block more than the old content.
  QString text = QString(5000, u'n');
  if (situation == "text the code page lacks") text += QChar(0xD800);  // a lone surrogate
  QFile::setPermissions(folder, kOpenFolder);

  std::unique_ptr<FullDisk> fullDisk;
  if (situation == "disk full") {
    fullDisk = std::make_unique<FullDisk>(folder, file, old);
  } else if (situation == "a directory in its place") {
    QDir().mkdir(path);
  } else if (!situation.endsWith("no file")) {
    WriteBytes(path, old);
  }
  if (situation == "read-only file") QFile::setPermissions(path, kReadOnlyFile);
  if (situation.startsWith("folder not writable")) QFile::setPermissions(folder, kClosedFolder);

  {
    PlayerPermissions player;
    QVERIFY(file == "appSet" ? !kelvor::SaveExePath(folder, text)
                             : !kelvor::WriteModList(folder, {"a", text, "b"}));
  }
  QFile::setPermissions(folder, kOpenFolder);
  if (situation == "a directory in its place") {
    QVERIFY(QFileInfo(path).isDir());
  } else {
    QCOMPARE(ReadBytes(path), situation.endsWith("no file") ? QByteArray("<missing>") : old);
  }
  QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".")),
           QStringList{});  // no temporary file left
}

QTEST_GUILESS_MAIN(SafeSaveTest)
#include "tst_safe_save.moc"
