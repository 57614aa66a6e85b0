// The launcher, started as a player starts it, draws its main window into the PNG file that
// KELVOR_SCREENSHOT names, and ends. scripts/screenshots runs it over fixed sample files to
// remake the pictures in docs/.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

namespace {

void TakeScreenshot() {
  // Runs once the event loop does, by which time main() has shown the window.
  QTimer::singleShot(0, [] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (qobject_cast<QMainWindow*>(window) && window->isVisible()) {
        const QString file = qEnvironmentVariable("KELVOR_SCREENSHOT");
        if (!window->grab().save(file)) qFatal("Writing %ls failed", qUtf16Printable(file));
        QCoreApplication::quit();
        return;
      }
    }
    qFatal("The main window did not show");
  });
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(TakeScreenshot)
