#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace kelvor {

// The small window in which the player types new mod names. It is created afresh for every
// opening and deletes itself when closed.
class AddModWindow final : public QDialog {
  Q_OBJECT

 public:
  explicit AddModWindow(QWidget* parent = nullptr);

 private:
  QLineEdit* text1_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
};

}  // namespace kelvor
