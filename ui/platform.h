#pragma once

#include "launch/executable_picker.h"
#include "ui/notification_area.h"
#include "ui/player_dialogs.h"

namespace kelvor {

// What the main window asks of the desktop through stand-ins of its own: the modal boxes and
// the picker, which a test cannot answer while they wait, and the notification area, which
// the test platform lacks. The program hands in the real ones; tests hand in scripted ones.
struct Platform {
  PlayerDialogs& dialogs;
  ExecutablePicker& picker;
  NotificationArea& notificationArea;
};

}  // namespace kelvor
