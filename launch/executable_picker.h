#pragma once

#include <QString>
#include <optional>

namespace kelvor {

// Asks the player for the game's executable. The main window is given one, so that tests
// can script the player's choice instead of driving a file dialog.
class ExecutablePicker {
 public:
  virtual ~ExecutablePicker() = default;

  // The full path of the file the player chose, or nothing when the player cancelled.
  virtual std::optional<QString> PickExecutable() = 0;
};

// The folder the picker opens in at every use: where programs are installed on Windows, the
// player's home folder elsewhere.
QString PickerStartFolder();

}  // namespace kelvor
