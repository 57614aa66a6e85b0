#include "ui/launcher.h"

#include <QApplication>
#include <QIcon>

#include "ui/main_window.h"
#include "ui/messages.h"
#include "ui/qt_executable_picker.h"
#include "ui/qt_notification_area.h"
#include "ui/qt_player_dialogs.h"

namespace kelvor {

int RunLauncher() {
  QApplication::setApplicationName(kAppTitle.toString());
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/kelvor/launcher-icon.png")));

  QtPlayerDialogs dialogs;
  QtExecutablePicker picker;
  QtNotificationArea notificationArea;
  // The data files and the help live beside the launcher, wherever it was started from.
  auto* window =
      new MainWindow(QCoreApplication::applicationDirPath(), {dialogs, picker, notificationArea});
  // Closing a hidden window is no "last window closed" to Qt, so the launcher quits itself.
  QObject::connect(window, &QObject::destroyed, qApp, &QCoreApplication::quit);
  window->Load();
  window->show();
  return QApplication::exec();
}

}  // namespace kelvor
