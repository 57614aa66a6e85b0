#include "launch/executable_picker.h"

#include <QDir>

namespace kelvor {

QString PickerStartFolder() {
#ifdef Q_OS_WIN
  return QStringLiteral("C:\\Program Files\\");
#else
  return QDir::homePath();
#endif
}

}  // namespace kelvor
