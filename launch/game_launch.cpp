#include "launch/game_launch.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QtEndian>

#include "core/failure_report.h"

#ifndef Q_OS_WIN
#include <QStandardPaths>
#endif

namespace kelvor {
namespace {

// "kelvor.launch": why the game could not start, one warning for each failed launch.
Q_LOGGING_CATEGORY(lcLaunch, "kelvor.launch", QtWarningMsg)

void LogLaunchFailure(const QString& game, const QString& reason) {
  FailureReport::Add(lcLaunch(), QStringLiteral("Starting the game \"%1\" failed: %2")
                                     .arg(QDir::toNativeSeparators(game), reason));
}

// Starts the prepared process without waiting for it; false, with Qt's reason logged, when it
// could not.
bool StartDetached(QProcess& process, const QString& game) {
  if (!process.startDetached()) {
    LogLaunchFailure(game, process.errorString());
    return false;
  }
  qCDebug(lcLaunch, "Started the game \"%s\"", qUtf8Printable(QDir::toNativeSeparators(game)));
  return true;
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

bool StartChosenGame(const QString& program, const LaunchOptions& options) {
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
  return StartDetached(process, program);
}

#else

bool StartChosenGame(const QString& program, const LaunchOptions& options) {
  QStringList arguments;
  for (QStringView fragment : OrderedFragments(options)) {
    if (!fragment.isEmpty()) arguments.append(fragment.mid(1).toString());
  }
  QProcess process;
  process.setProgram(program);
  switch (KindOfProgram(program)) {
    case ProgramKind::Other:
      break;
    case ProgramKind::BrokenWindows:
      // Wine would start, fail on it, and leave the launcher believing the game had started.
      LogLaunchFailure(program, QStringLiteral("it begins as a Windows program does, but is no "
                                               "program that Windows runs: a damaged download, "
                                               "or another file renamed"));
      return false;
    case ProgramKind::Windows: {
      // A Windows game runs here only through Wine, which then hands it each argument whole.
      const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
      if (wine.isEmpty()) {
        LogLaunchFailure(program, QStringLiteral("it is a Windows program, and no wine is on "
                                                 "PATH to start it (Debian's package wine)"));
        return false;
      }
      process.setProgram(wine);
      arguments.prepend(program);
      break;
    }
  }
  process.setArguments(arguments);
  return StartDetached(process, program);
}

#endif

}  // namespace

bool StartGame(const QString& program, const LaunchOptions& options) {
  // Said in the player's words, not Qt's, and before Qt's file engine could warn of its own
  // about the empty name.
  if (program.isEmpty()) {
    LogLaunchFailure(program, QStringLiteral("no game is chosen yet: choose its executable with "
                                             "\"Find...\", then save it with \"Save...\""));
    return false;
  }
  return StartChosenGame(program, options);
}

}  // namespace kelvor
