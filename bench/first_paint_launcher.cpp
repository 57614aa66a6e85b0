// The launcher itself, with the probe watching it.
#include "first_paint_probe.h"
#include "ui/launcher.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  FirstPaintProbe probe(app);
  return kelvor::RunLauncher();
}
