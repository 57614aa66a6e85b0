#pragma once

namespace kelvor {

// Runs the launcher in the QApplication that the caller has made: the desktop's real dialogs,
// picker and notification area, and the main window over the data files beside the
// executable. Returns when the main window is unloaded.
int RunLauncher();

}  // namespace kelvor
