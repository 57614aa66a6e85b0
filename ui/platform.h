#pragma once

#include "launch/executable_picker.h"
#include "launch/game_launch.h"
#include "ui/help_viewer.h"
#include "ui/notification_area.h"
#include "ui/player_dialogs.h"

namespace kelvor {

// What the main window asks of the desktop. The program hands in the real ones; tests hand
// in stand-ins that script the player and record what was asked.
struct Platform {
  PlayerDialogs& dialogs;
  ExecutablePicker& picker;
  GameStarter& starter;
  NotificationArea& notificationArea;
  HelpViewer& help;
};

}  // namespace kelvor
