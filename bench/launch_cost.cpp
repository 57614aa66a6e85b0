// The launcher's real launch operation against a bare posix_spawn of the same program, in
// the same process. Prints "<median µs launch> <median µs posix_spawn>".
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/launch_options.h"
#include "launch/game_launch.h"
#include "ui/qt_game_starter.h"

extern char** environ;

namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  if (argc != 3) return 2;
  const QString game = QString::fromLocal8Bit(argv[1]);
  const int rounds = std::atoi(argv[2]);
  const QStringList arguments = kelvor::LaunchArguments(kelvor::LaunchOptions::StartupDefaults());
  std::vector<QByteArray> spawnArgs{argv[1], "-noSplash", "-noPause", "-showScriptErrors"};
  std::vector<char*> spawnArgv;
  for (QByteArray& argument : spawnArgs) spawnArgv.push_back(argument.data());
  spawnArgv.push_back(nullptr);

  kelvor::DetachedGameStarter starter;
  std::vector<double> launches, spawns;
  QElapsedTimer clock;
  for (int round = -1; round < rounds; ++round) {  // round -1 warms both paths up
    clock.start();
    if (!starter.Start(game, arguments)) return 1;
    const double launch = static_cast<double>(clock.nsecsElapsed()) / 1000.0;
    usleep(5000);

    clock.start();
    pid_t pid;
    if (posix_spawn(&pid, argv[1], nullptr, nullptr, spawnArgv.data(), environ) != 0) return 1;
    const double spawn = static_cast<double>(clock.nsecsElapsed()) / 1000.0;
    waitpid(pid, nullptr, 0);
    usleep(5000);  // both games gone before the next round
    if (round >= 0) {
      launches.push_back(launch);
      spawns.push_back(spawn);
    }
  }
  std::printf("%.0f %.0f\n", Median(launches), Median(spawns));
  return 0;
}
