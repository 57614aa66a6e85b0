#include "ui/qt_notification_area.h"

namespace kelvor {

QtNotificationArea::QtNotificationArea(QObject* parent)
    : QObject(parent), icon_(new QSystemTrayIcon(this)) {
  // Queued: restoring removes the icon, which must not happen inside the icon's own mouse
  // event.
  connect(
      icon_, &QSystemTrayIcon::activated, this,
      [this](QSystemTrayIcon::ActivationReason reason) {
        if (ActionFor(reason) == IconAction::kRestore && restore_ && icon_->isVisible()) restore_();
      },
      Qt::QueuedConnection);
}

bool QtNotificationArea::IsAvailable() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

void QtNotificationArea::ShowIcon(const QIcon& icon, const QString& tip,
                                  std::function<void()> restore) {
  restore_ = std::move(restore);
  icon_->setIcon(icon);
  icon_->setToolTip(tip);
  icon_->show();
}

void QtNotificationArea::RemoveIcon() { icon_->hide(); }

}  // namespace kelvor
