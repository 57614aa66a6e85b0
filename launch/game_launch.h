#pragma once

#include <QString>
#include <QStringList>

#include "core/launch_options.h"

namespace kelvor {

// Starts the game and does not wait for it. The main window is given one, so that tests can
// record a launch instead of running a program.
class GameStarter {
 public:
  virtual ~GameStarter() = default;

  // Starts `program` in the launcher's current folder. Each argument reaches the game as one
  // argument, blanks and all; no shell ever reads them. False when nothing was started.
  virtual bool Start(const QString& program, const QStringList& arguments) = 0;
};

// The arguments of a launch: every fragment that is set, in the command line's order, each
// without the blank that separates it there.
QStringList LaunchArguments(const LaunchOptions& options);

}  // namespace kelvor
