#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace kelvor {

// The Open dialog in which the player finds the game's executable, modal over `parent`.
class ExecutablePicker {
 public:
  // The full path of the file the player chose, or nothing when the player cancelled.
  static std::optional<QString> Pick(QWidget* parent);

  // For tests, which cannot drive the desktop's dialog: the next Pick() shows nothing and
  // returns `path` (the player chose it) or, for a null string, nothing (the player cancelled).
  static void setNextFileName(const QString& path);
};

}  // namespace kelvor
