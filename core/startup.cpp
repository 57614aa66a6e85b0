#include "core/startup.h"

#include <limits>

#include "launch/exe_path_file.h"

namespace kelvor {

StartupReader::StartupReader(const QString& dataFolder) : modList_(dataFolder) {
  state_.exePath = ReadExePath(dataFolder);
}

StartupState StartupReader::Finish() {
  ModListReading mods = modList_.Take();
  state_.modNames = std::move(mods.names);
  state_.failed = !state_.exePath || !mods.complete;
  return std::move(state_);
}

StartupState ReadStartupState(const QString& dataFolder) {
  StartupReader reader(dataFolder);
  while (!reader.ReadModNames(std::numeric_limits<qsizetype>::max())) {
  }
  return reader.Finish();
}

}  // namespace kelvor
