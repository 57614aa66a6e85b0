#include "launch/game_launch.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QtEndian>

#include "core/failure_report.h"

#ifndef Q_OS_WIN
#include <unistd.h>

#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTimer>
#endif

namespace kelvor {
namespace {

// "kelvor.launch": why the game could not start, one warning for each failed launch.
Q_LOGGING_CATEGORY(lcLaunch, "kelvor.launch", QtWarningMsg)

// Logs why the game could not start, and returns that line.
QString LaunchFailure(const QString& game, const QString& reason) {
  const QString line = QStringLiteral("Starting the game \"%1\" failed: %2")
                           .arg(QDir::toNativeSeparators(game), reason);
  FailureReport::Add(lcLaunch(), line);
  return line;
}

// Starts the prepared process without waiting for it; the failure, with Qt's reason, when it
// could not.
QString StartDetached(QProcess& process, const QString& game) {
  if (!process.startDetached()) return LaunchFailure(game, process.errorString());
  qCDebug(lcLaunch, "Started the game \"%s\"", qUtf8Printable(QDir::toNativeSeparators(game)));
  return {};
}

}  // namespace

ProgramKind KindOfProgram(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.read(2) != "MZ") return ProgramKind::Other;
  // The DOS header's last field, at 0x3C, is where the file's PE header begins: its signature,
  // then the machine the program was built for.
  const QByteArray field = file.seek(0x3C) ? file.read(4) : QByteArray();
  if (field.size() != 4 || !file.seek(qFromLittleEndian<quint32>(field.constData()))) {
    return ProgramKind::BrokenWindows;
  }
  const QByteArray header = file.read(6);
  if (header.size() != 6 || !header.startsWith(QByteArrayView("PE\0\0", 4))) {
    return ProgramKind::BrokenWindows;
  }
  constexpr quint16 kX86 = 0x014C, kX64 = 0x8664;
  const quint16 machine = qFromLittleEndian<quint16>(header.constData() + 4);
  return machine == kX86 || machine == kX64 ? ProgramKind::Windows : ProgramKind::BrokenWindows;
}

namespace {

#ifdef Q_OS_WIN

void StartChosenGame(const QString& program, const LaunchOptions& options, QObject*,
                     const StartSettled& settled) {
  const QString fragments = ComposeCommandLine({}, options);
  const bool quoted = program.contains(u' ') || program.contains(u'\t');
  QString line = (quoted ? QChar(u'"') + program + QChar(u'"') : program) + fragments;
  QProcess process;
  process.setProgram(program);
  // The fragments alone are what Qt hands over when the game asks to run elevated.
  process.setNativeArguments(fragments);
  // Qt puts blanks of its own between the program and its native arguments; the game gets the
  // line as composed instead, with the one blank its first fragment begins with.
  process.setCreateProcessArgumentsModifier([&line](QProcess::CreateProcessArguments* arguments) {
    arguments->arguments = reinterpret_cast<wchar_t*>(line.data());
  });
  settled(StartDetached(process, program));
}

#else

// The last line that Wine wrote to `log`, from its last 4 KiB, or an empty one.
QString LastLine(QFile& log) {
  log.seek(qMax<qint64>(0, log.size() - 4096));
  const QList<QByteArray> lines = log.readAll().trimmed().split('\n');
  return QString::fromLocal8Bit(lines.last().trimmed());
}

// A start through Wine, watched for kWineWatchTime: Wine's own start succeeds even when the
// game's does not. Wine says why on its standard output or error, both of which go to a file,
// not to a pipe: Wine may write on long after the launcher has gone, and a pipe with no reader
// would end it. The file is unlinked once the watch is over, so nothing is left behind.
void StartThroughWine(const QString& wine, const QString& game, const QStringList& arguments,
                      QObject* context, const StartSettled& settled) {
  auto* log = new QTemporaryFile(QDir::tempPath() + QStringLiteral("/kelvor-launcher-XXXXXX.log"));
  if (!log->open()) {
    const QString reason = log->errorString();
    delete log;
    return settled(LaunchFailure(
        game, QStringLiteral("no file could be made in \"%1\" to hear what Wine says: %2")
                  .arg(QDir::toNativeSeparators(QDir::tempPath()), reason)));
  }
  // Never deleted while it runs: QProcess's destructor would end the game.
  auto* process = new QProcess;
  process->setProgram(wine);
  process->setArguments(arguments);
  process->setStandardInputFile(QProcess::nullDevice());
  process->setStandardOutputFile(log->fileName(), QIODevice::Append);
  process->setStandardErrorFile(log->fileName(), QIODevice::Append);
  // A session of its own, as a detached start gets: the game keeps running when the terminal
  // the launcher was started from closes.
  process->setChildProcessModifier([] { ::setsid(); });
  process->start();
  if (!process->waitForStarted()) {
    const QString reason = process->errorString();
    delete process;
    delete log;
    return settled(LaunchFailure(game, reason));
  }
  qCDebug(lcLaunch, "Started the game \"%s\" through Wine", qUtf8Printable(game));
  // A game that ends, in the watch or long after it, needs its process no more.
  QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);

  // The watch belongs to `context`, and ends with it; the game never does.
  auto* watch = new QTimer(context);
  log->setParent(watch);
  const auto over = [=](const QString& failure) {
    delete watch;
    settled(failure);
  };
  QObject::connect(watch, &QTimer::timeout, [=] { over({}); });
  QObject::connect(process, &QProcess::finished, watch, [=](int code, QProcess::ExitStatus status) {
    if (status == QProcess::NormalExit && code == 0) return over({});
    const QString said = LastLine(*log);
    const QString silent =
        status == QProcess::CrashExit
            ? QStringLiteral("Wine crashed, saying nothing")
            : QStringLiteral("Wine ended with exit status %1, saying nothing").arg(code);
    over(LaunchFailure(game, said.isEmpty() ? silent : said));
  });
  watch->setSingleShot(true);
  watch->start(kWineWatchTime);
}

void StartChosenGame(const QString& program, const LaunchOptions& options, QObject* context,
                     const StartSettled& settled) {
  QStringList arguments;
  for (QStringView fragment : OrderedFragments(options)) {
    if (!fragment.isEmpty()) arguments.append(fragment.mid(1).toString());
  }
  switch (KindOfProgram(program)) {
    case ProgramKind::Other:
      break;
    case ProgramKind::BrokenWindows:
      // Wine would start, fail on it, and leave the launcher believing the game had started.
      return settled(LaunchFailure(program, QStringLiteral("it begins as a Windows program does, "
                                                           "but is no program that Windows runs: "
                                                           "a damaged download, or another file "
                                                           "renamed")));
    case ProgramKind::Windows: {
      // A Windows game runs here only through Wine, which then hands it each argument whole.
      const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
      if (wine.isEmpty()) {
        return settled(LaunchFailure(program, QStringLiteral("it is a Windows program, and no "
                                                             "wine is on PATH to start it "
                                                             "(Debian's package wine)")));
      }
      return StartThroughWine(wine, program, QStringList{program} + arguments, context, settled);
    }
  }
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  settled(StartDetached(process, program));
}

#endif

}  // namespace

void StartGame(const QString& program, const LaunchOptions& options, QObject* context,
               StartSettled settled) {
  // Said in the player's words, not Qt's, and before Qt's file engine could warn of its own
  // about the empty name.
  if (program.isEmpty()) {
    return settled(LaunchFailure(program, QStringLiteral("no game is chosen yet: choose its "
                                                         "executable with \"Find...\", then "
                                                         "save it with \"Save...\"")));
  }
  StartChosenGame(program, options, context, settled);
}

}  // namespace kelvor
