#pragma once

#include <QDialog>

namespace kelvor {

// Names the program, its version and its makers. Created afresh for every opening, with the
// same content each time, and deletes itself when closed.
class AboutWindow final : public QDialog {
  Q_OBJECT

 public:
  explicit AboutWindow(QWidget* parent = nullptr);
};

}  // namespace kelvor
