#include <QApplication>

#include "ui/main_window.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cstdio>
#include <cstdlib>
#endif

int main(int argc, char* argv[]) {
#ifdef Q_OS_WIN
  // Before anything can load a DLL: system DLLs come from System32 alone, never from the
  // launcher's folder (a Downloads folder may hold anything), the working folder or PATH. The
  // system DLLs that Windows would look for beside the program are bound only at their first
  // call (cmake/delay-load.cmake), which comes after this line.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
#else
  // Started from a text console or over ssh, Qt would abort on finding no display, with a word
  // about its platform plugins; the player is told what is missing instead. The launcher draws on
  // X11, which Wayland desktops offer too, unless a platform is named (the screenshots draw
  // offscreen).
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    std::fputs(
        "kelvor-launcher: there is no display to show its window on (DISPLAY is not set);"
        " start it from a desktop session.\n",
        stderr);
    return EXIT_FAILURE;
  }
#endif
  // The packages players get are linked against a static Qt, which has every plugin it uses
  // built in and loads none from disk, so nothing planted beside the launcher (players unpack
  // it wherever their browser saved it) runs in it. A build against a shared Qt, such as the
  // system's for working on the code, cannot promise that: QApplication loads the platform
  // theme and input method from plugin folders, the launcher's own among them, before any line
  // of ours could stop it.
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
