#include <QAction>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "core/data_file.h"
#include "support/files.h"
#include "support/hostile_fs.h"
#include "support/player.h"
#include "support/scripted_platform.h"
#include "ui/main_window.h"

using namespace kelvor::testing;

// Each data file in every bad state the launcher may meet, through start-up and a save made
// in the window: the boxes the player sees, and how many of the file's bytes are lost. A
// file the launcher cannot read is kept whole in its copy ("appSet.bak", "modDta.bak").
class FaultsSurvivedTest : public QObject {
  Q_OBJECT

 private slots:
  void nothingIsLost_data();
  void nothingIsLost();
};

namespace {

const QByteArray kPath = "C:\\Games\\Dravik2.exe\r\n";
const QByteArray kList = "Vallmark\r\nmy mod\r\n";

QByteArray Garbage() {
  QByteArray bytes;
  for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 7919 + 13) % 256);
  return bytes;
}

}  // namespace

void FaultsSurvivedTest::nothingIsLost_data() {
  QTest::addColumn<QString>("file");
  QTest::addColumn<QString>("situation");
  QTest::addColumn<QByteArray>("bytes");  // what the file holds; "<dir>": a directory
  const QByteArray hundredMegabytes(100 << 20, 'x');
  for (const char* file : {"appSet", "modDta"}) {
    const QByteArray good = QString(file) == "appSet" ? kPath : kList;
    // clang-format off
    QTest::addRow("%s: read-only file", file) << file << "read-only file" << good;
    QTest::addRow("%s: read-only folder", file) << file << "read-only folder" << good;
    QTest::addRow("%s: a directory in its place", file) << file << "directory" << QByteArray("<dir>");
    QTest::addRow("%s: full disk", file) << file << "full disk" << good;
    QTest::addRow("%s: binary garbage", file) << file << "garbage" << Garbage();
    QTest::addRow("%s: a 100 MB line", file) << file << "long line" << hundredMegabytes + "\r\nb\r\n";
    QTest::addRow("%s: NUL bytes", file) << file << "NUL" << QByteArray("a\0b\r\nc\r\n", 8);
    QTest::addRow("%s: invalid UTF-8", file) << file << "invalid UTF-8" << QByteArray("\xc3\x28 x\r\nc\r\n");
    // clang-format on
  }
}

void FaultsSurvivedTest::nothingIsLost() {
  QFETCH(QString, file);
  QFETCH(QString, situation);
  QFETCH(QByteArray, bytes);
  QTemporaryDir dir;
  QFile::setPermissions(dir.path(), kOpenFolder);
  const QString path = dir.filePath(file);
  const QString other = file == "appSet" ? "modDta" : "appSet";
  const QByteArray otherBytes = file == "appSet" ? kList : kPath;

  std::unique_ptr<FullDisk> fullDisk;
  if (situation == "full disk") {
    fullDisk = std::make_unique<FullDisk>(
        dir.path(), QList<std::pair<QString, QByteArray>>{{file, bytes}, {other, otherBytes}});
  } else {
    PlaceFile(path, bytes);
    WriteBytes(dir.filePath(other), otherBytes);
  }
  if (situation == "read-only file") QFile::setPermissions(path, kReadOnlyFile);

  ScriptedPlatform platform;
  kelvor::MainWindow window(dir.path(), platform.Get());
  window.Load();
  window.show();
  QTRY_VERIFY(window.findChild<QAction*>("mnuSaveMODs")->isEnabled());  // the list is in
  const QStringList atStartUp = platform.dialogs.shown;
  platform.dialogs.shown.clear();

  if (situation == "read-only folder") QFile::setPermissions(dir.path(), kClosedFolder);
  {
    PlayerPermissions player;
    if (file == "appSet") {
      Play(&window, platform.picker, {"pick:D:\\New place\\Dravik2.exe", "SaveButton"});
    } else {
      Play(&window, platform.picker, {"mnuSaveMODs"});
    }
  }
  QFile::setPermissions(dir.path(), kOpenFolder);
  const QStringList atSave = platform.dialogs.shown;

  const QByteArray now = ReadBytes(path);
  const QByteArray copy = ReadBytes(kelvor::CopyName(path));
  const bool kept = bytes == "<dir>" ? QFileInfo(path).isDir() : (now == bytes || copy == bytes);
  const qsizetype lost = kept ? 0 : bytes.size();
  qInfo("%s, %s: start-up shows %s; saving shows %s; bytes lost: %lld", qPrintable(file),
        qPrintable(situation), qPrintable(atStartUp.isEmpty() ? "nothing" : atStartUp.join(", ")),
        qPrintable(atSave.join(", ")), static_cast<long long>(lost));
  QCOMPARE(lost, 0);
}

QTEST_MAIN(FaultsSurvivedTest)
#include "tst_faults_survived.moc"
