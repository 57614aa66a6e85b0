#pragma once

#include <QString>

#include "core/launch_options.h"

namespace kelvor {

// Starts the game at `program` with the options' fragments, in the launcher's current folder
// and environment, and does not wait for it. Nothing goes through a shell, so nothing in a
// value is read as a command.
//  - On Windows the game gets one command line: its path, quoted when it holds a blank or a
//    tab so that no program at a shorter path can run in its place, followed directly by the
//    fragments exactly as composed. The game reads that line as it was written to.
//  - Elsewhere the game gets the fragments as arguments, each without its leading blank. A
//    Windows program (one that begins with "MZ") starts through the `wine` found on PATH.
// False when nothing was started.
bool StartGame(const QString& program, const LaunchOptions& options);

}  // namespace kelvor
