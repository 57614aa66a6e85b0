#pragma once

#include <QString>
#include <chrono>
#include <functional>

#include "core/launch_options.h"

class QObject;

namespace kelvor {

// Called once a start has settled: with why the game did not start, or with nothing when it
// started.
using StartSettled = std::function<void(const QString& failure)>;

// How long a start through Wine is watched. Wine's own start succeeds even when the game's does
// not: a 32-bit game where only 64-bit Wine is installed, say, makes it print why and end within
// a second. A game still running after this is left to itself.
inline constexpr std::chrono::milliseconds kWineWatchTime{3000};

// Starts the game at `program` with the options' fragments, in the launcher's current folder
// and environment. Nothing goes through a shell, so nothing in a value is read as a command. The
// game is never waited on beyond the watch, and never ended: it outlives the launcher.
//  - On Windows the game gets one command line: its path, quoted when it holds a blank or a
//    tab so that no program at a shorter path can run in its place, followed directly by the
//    fragments exactly as composed. The game reads that line as it was written to.
//  - Elsewhere the game gets the fragments as arguments, each without its leading blank. A
//    Windows program starts through the `wine` found on PATH; a file that only looks like one
//    is refused before anything starts.
// `settled` runs at once, but for a start through Wine: then when Wine ends with a failure,
// telling Wine's last line, or once the watch is over. It never runs once `context` is gone.
// Each failure is logged too.
void StartGame(const QString& program, const LaunchOptions& options, QObject* context,
               StartSettled settled);

// What the file at `path` is to a launch outside Windows, which Windows itself settles there:
//  - Windows: a Windows program, whose DOS header points, inside the file, at a "PE\0\0"
//    signature for a machine Windows runs (x86 or x64);
//  - BrokenWindows: a file that begins with "MZ", as every Windows program does, but is none
//    (a damaged download, another file renamed), which Wine would fail on after the launch;
//  - Other: anything else, for the system to start or refuse (a missing file too).
enum class ProgramKind { Other, Windows, BrokenWindows };
ProgramKind KindOfProgram(const QString& path);

}  // namespace kelvor
