#include "ui/executable_picker.h"

#include <QDir>
#include <QFileDialog>

#include "ui/messages.h"

namespace kelvor {
namespace {

// Set by tests: the next choice to return instead of showing the dialog (an empty inner
// value: the player cancels).
std::optional<std::optional<QString>> nextChoice;

// Where programs are installed on Windows, the player's home folder elsewhere.
QString StartFolder() {
#ifdef Q_OS_WIN
  return QStringLiteral("C:\\Program Files\\");
#else
  return QDir::homePath();
#endif
}

}  // namespace

std::optional<QString> ExecutablePicker::Pick(QWidget* parent) {
  if (nextChoice) return *std::exchange(nextChoice, std::nullopt);
  QFileDialog dialog(parent, kPickerTitleText.toString(), StartFolder(),
                     kPickerFilterText.toString());
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QStringLiteral("exe"));  // "Dravik2" typed finds "Dravik2.exe"
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

void ExecutablePicker::setNextFileName(const QString& path) {
  nextChoice.emplace(path.isNull() ? std::nullopt : std::optional(path));
}

}  // namespace kelvor
