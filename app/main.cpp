#include <QApplication>

#include "ui/main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // The data files and the help live beside the launcher, wherever it was started from.
  auto* window = new kelvor::MainWindow(QCoreApplication::applicationDirPath());
  // Closing a hidden window is no "last window closed" to Qt, so the launcher quits itself
  // once its main window is gone, however it was closed.
  QObject::connect(window, &QObject::destroyed, &app, &QCoreApplication::quit);
  window->Load();
  window->show();
  return QApplication::exec();
}
