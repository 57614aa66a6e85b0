#include <QApplication>

#include "ui/main_window.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

int main(int argc, char* argv[]) {
#ifdef Q_OS_WIN
  // Before anything can load a DLL: system DLLs come from System32 alone, never from the
  // launcher's folder (a Downloads folder may hold anything), the working folder or PATH. The
  // system DLLs that Windows would look for beside the program are bound only at their first
  // call (cmake/delay-load.cmake), which comes after this line.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
#endif
  QApplication app(argc, argv);
#ifndef Q_OS_WIN
  // Plugins come from the system's Qt alone. Qt would also load one from a plugin folder such
  // as imageformats/ beside the launcher, which players unpack wherever their browser saved it.
  // (The Windows build has every plugin linked in, and its Qt loads none from disk.)
  QCoreApplication::removeLibraryPath(QCoreApplication::applicationDirPath());
#endif
  // The data files and the help live beside the launcher, wherever it was started from.
  auto* window = new kelvor::MainWindow(QCoreApplication::applicationDirPath());
  // Closing a hidden window is no "last window closed" to Qt, so the launcher quits itself
  // once its main window is gone, however it was closed.
  QObject::connect(window, &QObject::destroyed, &app, &QCoreApplication::quit);
  window->Load();
  window->show();
  return QApplication::exec();
}
