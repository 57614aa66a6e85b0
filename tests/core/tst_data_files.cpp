#include <QTemporaryDir>
#include <QTest>

#include "core/data_file.h"
#include "launch/exe_path_file.h"
#include "launch/game_launch.h"
#include "mods/mod_list_file.h"
#include "support/files.h"
#include "support/logs.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace kelvor;
using namespace kelvor::testing;
Q_DECLARE_METATYPE(ProgramKind)

// Hostile data files, and saves that fail or are refused.
class DataFilesTest : public QObject {
  Q_OBJECT

 private slots:
  // Every failure is told in the log, and nothing else is.
  void init() { FailOnWarningsAbout(QDir::tempPath()); }

  void readersKeepWhatTheyCannotRead_data() {
    QTest::addColumn<bool>("pathFile");  // read as the path file, or else as the mod list
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("read");  // none: it failed
    QTest::addColumn<bool>("kept");         // copied beside it as "<file>.bak"
    const QString longest(32767, u'n');
    const QStringList largest(1'310'720, "mod-name-00000");  // 20 MB
    // A row of the path file's reader, or of the mod list's; its bytes are the data file so
    // named unless given.
    const auto row = [](bool pathFile, const char* file, QStringList read, bool kept,
                        QByteArray bytes) {
      if (bytes.isNull()) bytes = ReadBytes(QFINDTESTDATA(QString("../data/") + file));
      QTest::newRow(file) << pathFile << bytes << read << kept;
    };
    const auto path = [&](const char* file, QStringList read, bool kept, QByteArray bytes = {}) {
      row(true, file, read, kept, bytes);
    };
    const auto list = [&](const char* file, QStringList read, bool kept, QByteArray bytes = {}) {
      row(false, file, read, kept, bytes);
    };
    path("appset-plain", {"C:\\Games\\Dravik 2\\Dravik2.exe"}, false);
    path("appset-byte-order-mark", {"C:\\Games\\Dravik 2\\Dravik2.exe"}, false);
    path("appset-quoted", {"C:\\a, b\\Dravik2.exe"}, false);
    path("appset-unclosed-quote", {"unclosed, quote"}, false);
    path("appset-line-end-only", {""}, false);
    path("appset-empty", {}, false);
    path("appset-nul", {}, true);
    path("appset-long-line", {}, true);
    path("appset-binary-garbage", {}, true);
    path("appset, over 1 MB", {}, true, "g\r\n" + QByteArray(1 << 20, 'x'));
    path("appset, the longest path", {longest}, false, longest.toLatin1() + "\r\n");
    list("moddta, empty, as at a first start", {}, false, "");
    list("moddta-names",
         {"Vallmark Overhaul 2.0", "my mod", "", "a, b", " lead", "trail ", "\ttab lead"}, false);
    list("moddta-commas", {"a", "b", "", "c", "", "x", "y", "q", "z", "last", ""}, false);
    list("moddta-byte-order-mark", {"Vallmark", "my mod"}, false);  // one on each line
    list("moddta-stray-quote", {"stray", "next", "end"}, false);
    list("moddta-mixed-line-ends", {"a", "b", "c", "d", ""}, false);
    list("moddta-nul-line", {"ok", "after"}, true);
    list("the longest name", {longest}, false, longest.toLatin1() + "\r\n");
    list("the largest list", largest, false, largest.join("\r\n").toLatin1() + "\r\n");
    list("over the largest", {}, true, QByteArray("mod-name-00000\r\n").repeated(1'310'721));
#ifndef Q_OS_WIN  // the ANSI code pages spell these bytes otherwise
    path("appset-invalid-utf8", {}, true);
    list("moddta-binary-garbage", {}, true);
    list("moddta-invalid-utf8", {"ok", "after"}, true);
    list("moddta-unicode", {"Déjà vu", "✓"}, false);
    path("appset, a path in quotes that begins with the byte-order mark's character",
         {QStringLiteral("\uFEFFgame.exe")}, false, "\"\xEF\xBB\xBFgame.exe\"\r\n");
#endif
  }

  // What a reader cannot read whole it keeps, and logs; what it reads, it writes back the same.
  void readersKeepWhatTheyCannotRead() {
    QFETCH(bool, pathFile);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, read);
    QFETCH(bool, kept);
    QTemporaryDir dir;
    const QString path = dir.filePath("data"), again = dir.filePath("again");
    WriteBytes(path, bytes);
    if (pathFile ? read.isEmpty() : kept) ExpectFailureLog("Reading", path);
    if (pathFile) {
      const std::optional<QString> exePath = ReadExePath(path);
      QCOMPARE(exePath, read.isEmpty() ? std::nullopt : std::optional(read.first()));
      QVERIFY(!exePath || (SaveExePath(again, *exePath) && ReadExePath(again) == exePath));
    } else {
      const ModListReading reading = ReadModList(path);
      QCOMPARE(reading.names, read);
      QCOMPARE(reading.complete, !kept);
      QVERIFY(WriteModList(again, read) && ReadModList(again).names == read);
    }
    QCOMPARE(ReadBytes(path + ".bak"), kept ? bytes : "<missing>");
  }

  // A copy that cannot be made aside is told in the log beside the reading's own failure.
  void copyAsideFails() {
    QTemporaryDir dir;
    const QString path = dir.filePath("modDta");
    WriteBytes(path, QByteArray("ok\r\n\0\r\n", 7));
    QVERIFY(QDir(dir.path()).mkdir("modDta.bak"));
    ExpectFailureLog("Reading", path);
    ExpectFailureLog("Copying aside", path);
    QVERIFY(!ReadModList(path).complete);
  }

  void namesInLogLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("logged");
    QTest::newRow("a Windows path") << "C:\\My Games\\x.exe"
                                    << "\"C:\\My Games\\x.exe\"";
    QTest::newRow("line ends and a tab") << "a\r\nb\tc"
                                         << "\"a\\x0d\\x0ab\\x09c\"";
    QTest::newRow("100 characters") << QString(100, u'n') << '"' + QString(100, u'n') + '"';
    QTest::newRow("over 100 characters")
        << QString(101, u'n') << '"' + QString(100, u'n') + "\"...";
  }

  // A name or path in a log line shows as the player typed it, and keeps the line one and short.
  void namesInLogLines() {
    QFETCH(QString, text);
    QFETCH(QString, logged);
    QCOMPARE(QuotedForLog(text), logged);
  }

  // A file the writer cannot open is refused.
  void refusedWrites() {
    const QString unreachable = QDir::tempPath() + "/no such folder/modDta";
    ExpectFailureLog("Saving", unreachable);
    QVERIFY(!WriteModList(unreachable, {}));
  }

  // A list hidden, or marked as the system's own, counts as absent: Save list refuses it whole.
  void markedListCountsAsAbsent() {
    if (QSysInfo::productType() != "windows") QSKIP("only Windows marks a file as the system's");
#ifdef Q_OS_WIN
    for (const DWORD mark : {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM}}) {
      QTemporaryDir dir;
      const QString path = dir.filePath("modDta");
      WriteBytes(path, "a\r\n");
      QVERIFY(ModListFileExists(path));
      const auto name = reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16());
      QVERIFY(SetFileAttributesW(name, mark));
      QVERIFY(!ModListFileExists(path));
      ExpectFailureLog("Saving", path);
      QVERIFY(!SaveModList(path, {"b"}));
      QCOMPARE(ReadBytes(path), "a\r\n");
    }
#endif
  }

  // However a save fails, it says so, the log tells why, and the old file stays as it was.
  void failedSaveKeepsTheOldFile() {
    for (const QString situation : {"read-only file", "held open"}) {
      if (situation == "held open" && QSysInfo::productType() != "windows") continue;
      for (const bool modList : {false, true}) {
        QTemporaryDir dir;
        const QString path = dir.filePath("data");
        WriteBytes(path, "C:\\Games\\Dravik2.exe\r\n");
        if (situation == "read-only file") QFile::setPermissions(path, QFile::ReadOwner);
        QFile held(path);  // as a virus scanner would
        if (situation == "held open") QVERIFY(held.open(QIODevice::ReadOnly));
        ExpectFailureLog("Saving", path);
        QVERIFY(modList ? !WriteModList(path, {"a", "b"}) : !SaveExePath(path, "b"));
        held.close();
        QCOMPARE(ReadBytes(path), "C:\\Games\\Dravik2.exe\r\n");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"data"});
      }
    }
  }

  void refusedText_data() {
    QTest::addColumn<QString>("text");  // saved as the path, and as a name after "a"
    // No code page has a lone surrogate, nor a Western Windows one Chinese.
    QTest::newRow("no such character")
        << (QSysInfo::productType() == "windows" ? QString("北") : QString(QChar(0xD800)));
    QTest::newRow("leading quote") << "\"a";
    QTest::newRow("line end") << "a\nb";
    QTest::newRow("too long") << QString(32768, u'n');
  }

  // What the files cannot keep is refused, where it could be saved, and the log tells why.
  void refusedText() {
    QFETCH(QString, text);
    const QTemporaryDir dir;
    const QString path = dir.filePath("data");
    for (const bool modList : {false, true}) {
      ExpectFailureLog("Saving", path);
      QVERIFY(modList ? !WriteModList(path, {"a", text}) : !SaveExePath(path, text));
    }
  }

  void programKinds_data() {
    QTest::addColumn<ProgramKind>("kind");
    QTest::newRow("appset-plain") << ProgramKind::Other;
    QTest::newRow("game-mz-text.exe") << ProgramKind::BrokenWindows;  // too short for a header
    QTest::newRow("game-pe-outside.exe") << ProgramKind::BrokenWindows;
    QTest::newRow("game-pe-cut.exe") << ProgramKind::BrokenWindows;
    QTest::newRow("game-ne.exe") << ProgramKind::BrokenWindows;                // a 16-bit program
    QTest::newRow("game-pe-bad-signature.exe") << ProgramKind::BrokenWindows;  // for x64 else
    QTest::newRow("game-pe-arm64.exe") << ProgramKind::BrokenWindows;
    QTest::newRow("game-pe-x86.exe") << ProgramKind::Windows;
    QTest::newRow("game-pe-x64.exe") << ProgramKind::Windows;
  }

  // A file that begins as a Windows program does is one only when its header, inside the file,
  // names a machine Windows runs; Wine is never handed anything else.
  void programKinds() {
    QFETCH(ProgramKind, kind);
    QCOMPARE(KindOfProgram(QFINDTESTDATA(QString("../data/") + QTest::currentDataTag())), kind);
  }
};

QTEST_GUILESS_MAIN(DataFilesTest)
#include "tst_data_files.moc"
