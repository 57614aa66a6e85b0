// The floor for a window that shows text: an empty main window holding one label.
#include <QLabel>
#include <QMainWindow>

#include "first_paint_probe.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  FirstPaintProbe probe(app);
  QMainWindow window;
  window.setCentralWidget(new QLabel(QStringLiteral("Kelvor Launcher")));
  window.resize(BenchWindowSize());
  window.show();
  return QApplication::exec();
}
