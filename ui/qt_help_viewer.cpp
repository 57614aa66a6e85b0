#include "ui/qt_help_viewer.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace kelvor {

void QtHelpViewer::OpenHelp(const QString& path) {
  // A missing file would only make some desktops show an error of their own.
  if (!QFileInfo(path).isFile()) return;
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace kelvor
