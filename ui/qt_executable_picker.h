#pragma once

#include <QFileDialog>
#include <memory>

#include "launch/executable_picker.h"

namespace kelvor {

// The Open dialog for the game's executable, built but not shown.
std::unique_ptr<QFileDialog> BuildExecutableDialog(QWidget* parent = nullptr);

// The desktop's Open dialog, modal over whichever launcher window is active.
class QtExecutablePicker final : public ExecutablePicker {
 public:
  std::optional<QString> PickExecutable() override;
};

}  // namespace kelvor
