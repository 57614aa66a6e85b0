#include "launch/game_launch.h"

namespace kelvor {

QStringList LaunchArguments(const LaunchOptions& options) {
  QStringList arguments;
  for (QStringView fragment : OrderedFragments(options)) {
    if (!fragment.isEmpty()) arguments.append(fragment.mid(1).toString());
  }
  return arguments;
}

}  // namespace kelvor
