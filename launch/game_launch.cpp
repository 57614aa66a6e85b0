#include "launch/game_launch.h"

#include <QProcess>

namespace kelvor {

QStringList LaunchArguments(const LaunchOptions& options) {
  QStringList arguments;
  for (QStringView fragment : OrderedFragments(options)) {
    if (!fragment.isEmpty()) arguments.append(fragment.mid(1).toString());
  }
  return arguments;
}

bool StartGame(const QString& program, const LaunchOptions& options) {
  return QProcess::startDetached(program, LaunchArguments(options));
}

}  // namespace kelvor
