#include "ui/qt_executable_picker.h"

#include <QApplication>
#include <QFileDialog>

namespace kelvor {

std::optional<QString> QtExecutablePicker::PickExecutable() {
  QFileDialog dialog(QApplication::activeWindow());
  dialog.setWindowTitle(QStringLiteral("Locate Dravik2 executable file please..."));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(QStringLiteral("Dravik 2 (*.exe)"));
  dialog.setDefaultSuffix(QStringLiteral("exe"));  // "Dravik2" typed finds "Dravik2.exe"
  dialog.setDirectory(PickerStartFolder());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

}  // namespace kelvor
