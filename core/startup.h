#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "core/launch_options.h"

namespace kelvor {

// What the main window starts from: the default switches, the saved path and the saved
// mod names.
struct StartupState {
  LaunchOptions options = LaunchOptions::StartupDefaults();
  std::optional<QString> exePath;  // nothing when the path file could not be read
  QStringList modNames;            // every name that could be read
  bool failed = false;             // either file failed: the player is told once
};

// Reads both files in `dataFolder`. The mod list is read even when the path file fails, so
// that a later save of the list never overwrites names that were simply not loaded.
StartupState ReadStartupState(const QString& dataFolder);

}  // namespace kelvor
