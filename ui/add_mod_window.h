#pragma once

#include <QDialog>

class QLineEdit;
class QStringListModel;

namespace kelvor {

class PlayerDialogs;

// The small window in which the player types new mod names into the main window's list and
// then saves the whole list. It is created afresh for every opening and deletes itself when
// closed, however it is closed.
class AddModWindow final : public QDialog {
  Q_OBJECT

 public:
  AddModWindow(QStringListModel& modNames, QString dataFolder, PlayerDialogs& dialogs);

 private:
  void AddItem();
  void SaveAndClose();

  QStringListModel& modNames_;
  const QString dataFolder_;
  PlayerDialogs& dialogs_;
  QLineEdit* text1_ = nullptr;
};

}  // namespace kelvor
