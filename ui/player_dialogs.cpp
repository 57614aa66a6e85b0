#include "ui/player_dialogs.h"

#include "ui/messages.h"

namespace kelvor {

void ShowErrorBox(PlayerDialogs& dialogs) {
  dialogs.Tell(MessageKind::kFailure, kErrorText.toString());
}

}  // namespace kelvor
