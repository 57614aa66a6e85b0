#include <QApplication>
#include <QIcon>

#include "ui/main_window.h"
#include "ui/messages.h"
#include "ui/qt_player_dialogs.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(kelvor::kAppTitle.toString());
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/kelvor/launcher-icon.png")));

  kelvor::QtPlayerDialogs dialogs;
  // The data files live beside the launcher, wherever it was started from.
  kelvor::MainWindow window(QCoreApplication::applicationDirPath(), dialogs);
  window.Load();
  window.show();
  return QApplication::exec();
}
