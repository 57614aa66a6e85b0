#include "ui/qt_executable_picker.h"

#include <QApplication>

namespace kelvor {

std::unique_ptr<QFileDialog> BuildExecutableDialog(QWidget* parent) {
  auto dialog = std::make_unique<QFileDialog>(parent);
  dialog->setWindowTitle(QStringLiteral("Locate Dravik2 executable file please..."));
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setNameFilter(QStringLiteral("Dravik 2 (*.exe)"));
  dialog->setDefaultSuffix(QStringLiteral("exe"));  // "Dravik2" typed finds "Dravik2.exe"
  dialog->setDirectory(PickerStartFolder());
  return dialog;
}

std::optional<QString> QtExecutablePicker::PickExecutable() {
  const auto dialog = BuildExecutableDialog(QApplication::activeWindow());
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
  return QDir::toNativeSeparators(dialog->selectedFiles().constFirst());
}

}  // namespace kelvor
