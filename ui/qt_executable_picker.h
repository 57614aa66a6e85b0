#pragma once

#include "launch/executable_picker.h"

namespace kelvor {

// The desktop's Open dialog, modal over whichever launcher window is active.
class QtExecutablePicker final : public ExecutablePicker {
 public:
  std::optional<QString> PickExecutable() override;
};

}  // namespace kelvor
