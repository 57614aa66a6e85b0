#include "ui/notification_area.h"

namespace kelvor {

IconAction ActionFor(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::Context:
      return IconAction::kRestore;
    case QSystemTrayIcon::Unknown:
    case QSystemTrayIcon::DoubleClick:
    case QSystemTrayIcon::MiddleClick:
      return IconAction::kNothing;
  }
  return IconAction::kNothing;
}

}  // namespace kelvor
