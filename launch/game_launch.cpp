#include "launch/game_launch.h"

#include <QProcess>

namespace kelvor {
namespace {

// The arguments of a launch: every fragment that is set, in the command line's order, each
// without the blank that separates it there.
QStringList LaunchArguments(const LaunchOptions& options) {
  QStringList arguments;
  for (QStringView fragment : OrderedFragments(options)) {
    if (!fragment.isEmpty()) arguments.append(fragment.mid(1).toString());
  }
  return arguments;
}

}  // namespace

bool StartGame(const QString& program, const LaunchOptions& options) {
  return QProcess::startDetached(program, LaunchArguments(options));
}

}  // namespace kelvor
