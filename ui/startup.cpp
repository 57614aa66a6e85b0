#include "ui/startup.h"

#include "core/data_file.h"
#include "launch/exe_path_file.h"
#include "mods/mod_list_file.h"

namespace kelvor {

StartupState ReadStartupState(const QString& dataFolder) {
  StartupState state;
  state.exePath = ReadExePath(dataFolder);
  if (!state.exePath) KeepCopy(ExePathFile(dataFolder));

  ModListReading mods = ReadModList(dataFolder);
  if (!mods.complete) KeepCopy(ModListFile(dataFolder));
  state.modNames = std::move(mods.names);

  state.failed = !state.exePath || !mods.complete;
  return state;
}

}  // namespace kelvor
