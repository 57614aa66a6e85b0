#pragma once

#include <QObject>

#include "ui/notification_area.h"

namespace kelvor {

// The icon as a QSystemTrayIcon, a child of this object.
class QtNotificationArea final : public QObject, public NotificationArea {
  Q_OBJECT

 public:
  explicit QtNotificationArea(QObject* parent = nullptr);

  bool IsAvailable() const override;
  void ShowIcon(const QIcon& icon, const QString& tip, std::function<void()> restore) override;
  void RemoveIcon() override;

 private:
  QSystemTrayIcon* icon_ = nullptr;
  std::function<void()> restore_;
};

}  // namespace kelvor
