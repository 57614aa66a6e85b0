// The floor: an empty main window in the same toolkit, with the same probe.
#include <QMainWindow>

#include "first_paint_probe.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  FirstPaintProbe probe(app);
  QMainWindow window;
  window.resize(BenchWindowSize());
  window.show();
  return QApplication::exec();
}
