#pragma once

#include <QString>

#include "core/launch_options.h"

namespace kelvor {

// Starts the game at `program` with the options' arguments, in the launcher's current folder,
// and does not wait for it. The program and each argument are handed over apart, never
// through a shell: a blank in the path can never make a shorter path the program, and nothing
// in a value is read as a command. False when nothing was started.
bool StartGame(const QString& program, const LaunchOptions& options);

}  // namespace kelvor
