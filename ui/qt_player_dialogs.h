#pragma once

#include "ui/player_dialogs.h"

namespace kelvor {

// Real modal message boxes over whichever launcher window is active.
class QtPlayerDialogs final : public PlayerDialogs {
 public:
  void Tell(MessageKind kind, const QString& text) override;
  bool Confirm(const QString& question) override;
};

}  // namespace kelvor
