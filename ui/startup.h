#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kelvor {

// What the main window starts from, read from the data files beside the launcher.
struct StartupState {
  std::optional<QString> exePath;  // nothing when the path file could not be read
  QStringList modNames;            // every name that could be read
  bool failed = false;             // either file failed: the player is told once
};

// Reads the path file, then the mod list, each opened, read and closed in turn. The mod list
// is read even when the path file fails, so that a later save of the list never overwrites
// names that were simply not loaded. A data file that is there but could not be read is
// first copied beside itself ("appSet.bak", "modDta.bak"), so that its bytes outlive the next save.
StartupState ReadStartupState(const QString& dataFolder);

}  // namespace kelvor
