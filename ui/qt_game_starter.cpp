#include "ui/qt_game_starter.h"

#include <QProcess>

#ifdef Q_OS_LINUX
#include <spawn.h>
#include <sys/wait.h>

#include <QFile>
#include <thread>
#include <vector>

extern char** environ;
#endif

namespace kelvor {

bool DetachedGameStarter::Start(const QString& program, const QStringList& arguments) {
  // The program and each argument are handed over apart, so a blank in the path can never
  // make a shorter path the program, and nothing in a value is read as a command.
#ifdef Q_OS_LINUX
  // QProcess::startDetached forks the whole launcher twice; posix_spawn starts the game at a
  // fraction of that cost, and still reports a program that cannot run.
  std::vector<QByteArray> strings{QFile::encodeName(program)};
  for (const QString& argument : arguments) strings.push_back(QFile::encodeName(argument));
  std::vector<char*> argv;
  for (QByteArray& string : strings) argv.push_back(string.data());
  argv.push_back(nullptr);

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);  // the game outlives the launcher
  pid_t pid = 0;
  const int error = posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  if (error != 0) return false;
  // Someone must collect the game's exit; after the launcher ends, the system does.
  std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
  return true;
#else
  return QProcess::startDetached(program, arguments);
#endif
}

}  // namespace kelvor
