#include "core/startup.h"

#include <limits>

#include "core/data_file.h"
#include "launch/exe_path_file.h"

namespace kelvor {

StartupReader::StartupReader(const QString& dataFolder)
    : dataFolder_(dataFolder), modList_(dataFolder) {
  ExePathReading exePath = ReadExePathFile(dataFolder);
  state_.exePath = std::move(exePath.path);
  // A file that holds more than the path read, or no readable path at all, is kept as a
  // copy: a later save replaces it with the path alone.
  if (!exePath.holdsOnlyPath) KeepCopy(ExePathFile(dataFolder));
}

StartupState StartupReader::Finish() {
  ModListReading mods = modList_.Take();
  if (!mods.complete) KeepCopy(ModListFile(dataFolder_));
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
