#include <QApplication>

#include "ui/launcher.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  return kelvor::RunLauncher();
}
