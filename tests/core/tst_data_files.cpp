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

// The two data files: hostile files read, and saves that fail or are refused.
class DataFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void readersKeepWhatTheyCannotRead_data() {
    QTest::addColumn<QString>("file");      // in tests/data; an "appset" one is read as the path
    QTest::addColumn<QStringList>("read");  // none: the reading failed
    QTest::addColumn<bool>("kept");         // copied beside it as "<file>.bak"
    const QStringList none;
    const auto row = [](const char* file, const QStringList& read, bool kept) {
      QTest::newRow(*file ? file : "over the size limit") << file << read << kept;
    };
    row("appset-plain", {"C:\\Games\\Dravik 2\\Dravik2.exe"}, false);
    row("appset-quoted", {"C:\\a, b\\Dravik2.exe"}, false);
    row("appset-unclosed-quote", {"unclosed, quote"}, false);
    row("appset-line-end-only", {""}, false);
    row("appset-empty", none, false);
    row("appset-nul", none, true);
    row("appset-long-line", none, true);
    row("appset-binary-garbage", none, true);
    row("moddta-names", {"Vallmark Overhaul 2.0", "my mod", "", "a, b", " lead", "trail "}, false);
    row("moddta-commas", {"a", "b", "", "c", "", "x", "y"}, false);
    row("moddta-stray-quote", {"stray", "next"}, false);
    row("moddta-mixed-line-ends", {"a", "b", "c", "d"}, false);
    row("moddta-nul-line", {"ok", "after"}, true);
    row("moddta-binary-garbage", none, true);
    row("", none, true);  // a list one line over the size limit
#ifndef Q_OS_WIN          // the ANSI code pages spell these bytes otherwise
    row("appset-invalid-utf8", none, true);
    row("moddta-invalid-utf8", {"ok", "after"}, true);
    row("moddta-unicode", {"Déjà vu", "✓"}, false);
#endif
  }

  // What a reader cannot read whole it copies byte for byte; what it reads, writes back the same.
  void readersKeepWhatTheyCannotRead() {
    QFETCH(QString, file);
    QFETCH(QStringList, read);
    QFETCH(bool, kept);
    QTemporaryDir dir;
    const QString path = dir.filePath("data");
    const QByteArray bytes = file.isEmpty() ? QByteArray("mod-name-00000\r\n").repeated(1'310'721)
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

  // At the limits, what is written reads back whole: a path or name of 32,767 characters, a list
  // of 20 MB. One more character or byte is refused, by the writer as by the reader.
  void limits() {
    QTemporaryDir dir;
    const QString longest(32767, u'n');
    QVERIFY(SaveExePath(dir.filePath("path"), longest));
    QCOMPARE(ReadExePath(dir.filePath("path")), longest);
    QVERIFY(WriteModList(dir.filePath("names"), {longest}));
    QCOMPARE(ReadModList(dir.filePath("names")).names, QStringList{longest});
    QStringList largest(1'310'720, "mod-name-00000");  // 16 bytes a line
    QVERIFY(WriteModList(dir.filePath("list"), largest));
    QVERIFY(ReadModList(dir.filePath("list")).names == largest);
    QVERIFY(!EncodeModList(largest << "a"));
  }

  void failedSaveKeepsTheOldFile_data() {
    QTest::addColumn<QString>("text");  // saved as the path, and as a mod name after "a"
    const QString plain(5000, u'n');
    QTest::newRow("read-only file") << plain;
    QTest::newRow("disk full") << plain;
    QTest::newRow("held open") << plain;
    // No encoding has a lone surrogate; the ANSI code page of a Western Windows has no Chinese.
    QTest::newRow("no such character")
        << (QSysInfo::productType() == "windows" ? QString("北") : QString(QChar(0xD800)));
    QTest::newRow("quote in quotes") << "a\"b,c";
    QTest::newRow("leading quote") << "\"a";
    QTest::newRow("line end") << "a\nb";
    QTest::newRow("too long") << QString(32768, u'n');
  }

  // However a save of either file fails, or is refused because the file could not give the text
  // back, it says so and the old file stays as it was.
  void failedSaveKeepsTheOldFile() {
    QFETCH(QString, text);
    const QString situation = QTest::currentDataTag();
    for (const bool modList : {false, true}) {
      QTemporaryDir dir;
      const QString path = dir.filePath("data");
      WriteBytes(path, "C:\\Games\\Dravik2.exe\r\n");
      if (situation == "read-only file") QFile::setPermissions(path, QFile::ReadOwner);
      QFile held(path);  // as an editor or a virus scanner holds it
#ifdef Q_OS_WIN
      if (situation == "disk full") QSKIP("Windows has no file-size limit");
      if (situation == "held open") QVERIFY(held.open(QIODevice::ReadOnly));
#else
      if (situation == "held open") QSKIP("only Windows keeps an open file from being replaced");
      // A file that may not grow plays a full disk.
      rlimit limit{};
      getrlimit(RLIMIT_FSIZE, &limit);
      const rlimit tiny{situation == "disk full" ? 4 : limit.rlim_cur, limit.rlim_max};
      signal(SIGXFSZ, SIG_IGN);
      setrlimit(RLIMIT_FSIZE, &tiny);
#endif
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
