#include "ui/qt_notification_area.h"

namespace kelvor {

QtNotificationArea::QtNotificationArea(QObject* parent) : QObject(parent) {}

bool QtNotificationArea::IsAvailable() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

void QtNotificationArea::ShowIcon(const QIcon& icon, const QString& tip,
                                  std::function<void()> restore) {
  // Made at the first minimise: most runs never need it, and making it costs start-up time.
  if (!icon_) {
    icon_ = new QSystemTrayIcon(this);
    // Queued: restoring removes the icon, which must not happen inside the icon's own mouse
    // event.
    connect(
        icon_, &QSystemTrayIcon::activated, this,
        [this](QSystemTrayIcon::ActivationReason reason) {
          if (ActionFor(reason) == IconAction::kRestore && icon_->isVisible()) restore_();
        },
        Qt::QueuedConnection);
  }
  restore_ = std::move(restore);
  icon_->setIcon(icon);
  icon_->setToolTip(tip);
  icon_->show();
}

void QtNotificationArea::RemoveIcon() {
  if (icon_) icon_->hide();
}

}  // namespace kelvor
