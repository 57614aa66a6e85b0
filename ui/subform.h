#pragma once

class QDialog;

namespace kelvor {

// Makes `window` one of the launcher's small subforms: an ownerless tool window with no
// taskbar entry, a close button and nothing to resize, deleted when it closes.
void MakeSubform(QDialog* window);

}  // namespace kelvor
