#pragma once

#include <QString>
#include <optional>

#include "core/launch_options.h"
#include "mods/mod_list_file.h"

namespace kelvor {

// What the main window starts from: the default switches, the saved path and the saved
// mod names.
struct StartupState {
  LaunchOptions options = LaunchOptions::StartupDefaults();
  std::optional<QString> exePath;  // nothing when the path file could not be read
  ModNames modNames;               // every name that could be read
  bool failed = false;             // either file failed: the player is told once
};

// Start-up's reading, a step at a time: the path at once, then the mod names a batch at a
// time, so that a long list never holds the window up. The mod list is read even when the
// path file fails, so that a later save of the list never overwrites names that were simply
// not loaded. A data file that is there but cannot be read whole is copied beside itself
// (CopyName), so that its bytes outlive the next save.
class StartupReader {
 public:
  explicit StartupReader(const QString& dataFolder);

  const std::optional<QString>& ExePath() const { return state_.exePath; }

  // Reads up to `count` more mod names; true once all are read.
  bool ReadModNames(qsizetype count) { return modList_.ReadNames(count); }

  // The whole state, once ReadModNames has returned true; the reader is spent afterwards.
  StartupState Finish();

 private:
  const QString dataFolder_;
  StartupState state_;
  ModListReader modList_;
};

// Reads both files in `dataFolder` at once.
StartupState ReadStartupState(const QString& dataFolder);

}  // namespace kelvor
