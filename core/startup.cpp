#include "core/startup.h"

#include "launch/exe_path_file.h"
#include "mods/mod_list_file.h"

namespace kelvor {

StartupState ReadStartupState(const QString& dataFolder) {
  StartupState state;
  state.exePath = ReadExePath(dataFolder);
  ModListReading mods = ReadModList(dataFolder);
  state.modNames = std::move(mods.names);
  state.failed = !state.exePath || !mods.complete;
  return state;
}

}  // namespace kelvor
