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
//    Windows program starts through the `wine` found on PATH; a file that only looks like one
//    is refused before anything starts.
// False when nothing was started, with the reason logged.
bool StartGame(const QString& program, const LaunchOptions& options);

// What the file at `path` is to a launch outside Windows, which Windows itself settles there:
//  - Windows: a Windows program, whose DOS header points, inside the file, at a "PE\0\0"
//    signature for a machine Windows runs (x86 or x64);
//  - BrokenWindows: a file that begins with "MZ", as every Windows program does, but is none
//    (a damaged download, another file renamed), which Wine would fail on after the launch;
//  - Other: anything else, for the system to start or refuse (a missing file too).
enum class ProgramKind { Other, Windows, BrokenWindows };
ProgramKind KindOfProgram(const QString& path);

}  // namespace kelvor
