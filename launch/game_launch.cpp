#include "launch/game_launch.h"

#include <QProcess>

#ifndef Q_OS_WIN
#include <QFile>
#include <QStandardPaths>
#endif

namespace kelvor {

#ifdef Q_OS_WIN

bool StartGame(const QString& program, const LaunchOptions& options) {
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
  return process.startDetached();
}

#else

namespace {

// Every Windows program begins with these two bytes, whatever its name.
bool IsWindowsProgram(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) && file.read(2) == "MZ";
}

}  // namespace

bool StartGame(const QString& program, const LaunchOptions& options) {
  QStringList arguments;
  for (QStringView fragment : OrderedFragments(options)) {
    if (!fragment.isEmpty()) arguments.append(fragment.mid(1).toString());
  }
  if (!IsWindowsProgram(program)) return QProcess::startDetached(program, arguments);
  // A Windows game runs here only through Wine, which then hands it each argument whole.
  const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
  if (wine.isEmpty()) return false;
  arguments.prepend(program);
  return QProcess::startDetached(wine, arguments);
}

#endif

}  // namespace kelvor
