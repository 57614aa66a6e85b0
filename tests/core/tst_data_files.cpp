#include <QTemporaryDir>
#include <QTest>

#include "launch/exe_path_file.h"
#include "mods/mod_list_file.h"
#include "support/files.h"

#ifdef Q_OS_UNIX
#include <sys/resource.h>

#include <csignal>
#endif

using namespace kelvor;
using namespace kelvor::testing;

// The two data files: hostile files read, and saves that fail.
class DataFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void readersKeepWhatTheyCannotRead_data() {
    QTest::addColumn<QString>("file");      // in tests/data; an "appset" one is read as the path
    QTest::addColumn<QStringList>("read");  // none: the reading failed
    QTest::addColumn<bool>("kept");         // copied beside it as "<file>.bak"
    const QStringList none;
    QTest::newRow("plain") << "appset-plain" << QStringList{"C:\\Games\\Dravik 2\\Dravik2.exe"}
                           << false;
    QTest::newRow("over-long") << "appset-long-line" << none << true;
    QTest::newRow("names")
        << "moddta-names"
        << QStringList{"Vallmark Overhaul 2.0", "my mod", "", "a, b", " lead", "trail "} << false;
    QTest::newRow("any line end") << "moddta-mixed-line-ends" << QStringList{"a", "b", "c", "d"}
                                  << false;
    QTest::newRow("NUL line") << "moddta-nul-line" << QStringList{"ok", "after"} << true;
    QTest::newRow("over the size limit") << "" << none << true;
#ifndef Q_OS_WIN  // the ANSI code pages spell most bytes
    QTest::newRow("not UTF-8") << "moddta-invalid-utf8" << QStringList{"ok", "after"} << true;
#endif
  }

  // What a reader cannot read whole it copies byte for byte; what it reads, writes back the same.
  void readersKeepWhatTheyCannotRead() {
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
    QCOMPARE(ReadBytes(path + ".bak"), kept ? bytes : "<missing>");
  }

  void failedSaveKeepsTheOldFile_data() {
    QTest::addColumn<QString>("situation");
    for (const char* situation : {"read-only file", "disk full", "no such character", "held open"})
      QTest::newRow(situation) << situation;
  }

  // However a save of either file fails, it says so and the old file stays as it was.
  void failedSaveKeepsTheOldFile() {
    QFETCH(QString, situation);
    for (const bool modList : {false, true}) {
      QTemporaryDir dir;
      const QString path = dir.filePath("data");
      WriteBytes(path, "C:\\Games\\Dravik2.exe\r\n");
      if (situation == "read-only file") QFile::setPermissions(path, QFile::ReadOwner);
      QFile held(path);  // as an editor or a virus scanner holds it
#ifdef Q_OS_WIN
      if (situation == "disk full") QSKIP("Windows has no file-size limit");
      if (situation.startsWith("held")) QVERIFY(held.open(QIODevice::ReadOnly));
#else
      if (situation.startsWith("held"))
        QSKIP("only Windows keeps an open file from being replaced");
      // A file that may not grow plays a full disk.
      rlimit limit{};
      getrlimit(RLIMIT_FSIZE, &limit);
      const rlimit tiny{situation == "disk full" ? 4 : limit.rlim_cur, limit.rlim_max};
      signal(SIGXFSZ, SIG_IGN);
      setrlimit(RLIMIT_FSIZE, &tiny);
#endif
      QString text(5000, u'n');
      // No encoding has a lone surrogate; the ANSI code page of a Western Windows has no Chinese.
      if (situation == "no such character")
        text += QSysInfo::productType() == "windows" ? QString("北") : QString(QChar(0xD800));
      QVERIFY(modList ? !WriteModList(path, {"a", text}) : !SaveExePath(path, text));
#ifdef Q_OS_UNIX
      setrlimit(RLIMIT_FSIZE, &limit);
#endif
      held.close();
      QCOMPARE(ReadBytes(path), "C:\\Games\\Dravik2.exe\r\n");
      QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"data"});
    }
  }
};

QTEST_GUILESS_MAIN(DataFilesTest)
#include "tst_data_files.moc"
