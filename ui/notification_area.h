#pragma once

#include <QIcon>
#include <QString>
#include <QSystemTrayIcon>
#include <functional>

namespace kelvor {

// What a mouse event on the launcher's notification-area icon does.
enum class IconAction { kNothing, kRestore };

// Pressing the left button or releasing the right one brings the window back. Hovering, the
// rest of a double-click and the middle button do nothing.
IconAction ActionFor(QSystemTrayIcon::ActivationReason reason);

// The launcher's one icon in the desktop's notification area. The main window is given one,
// so that tests can click an icon without a desktop around it.
class NotificationArea {
 public:
  virtual ~NotificationArea() = default;

  // False when the desktop has no notification area, where an icon would never be seen.
  virtual bool IsAvailable() const = 0;

  // Shows the icon, or keeps the one shown; `restore` runs when a click asks for the window.
  virtual void ShowIcon(const QIcon& icon, const QString& tip, std::function<void()> restore) = 0;

  // Takes the icon away; without one, nothing happens.
  virtual void RemoveIcon() = 0;
};

}  // namespace kelvor
