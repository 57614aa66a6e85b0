#pragma once

#include "launch/game_launch.h"

namespace kelvor {

// Starts the game as a process of its own that outlives the launcher.
class DetachedGameStarter final : public GameStarter {
 public:
  bool Start(const QString& program, const QStringList& arguments) override;
};

}  // namespace kelvor
