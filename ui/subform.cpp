#include "ui/subform.h"

#include <QDialog>

namespace kelvor {

void MakeSubform(QDialog* window) {
  window->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setSizeGripEnabled(false);
}

}  // namespace kelvor
