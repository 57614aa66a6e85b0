#pragma once

#include <QDialog>
#include <memory>

class QStringListModel;
namespace Ui {
class AddMod;
}

namespace kelvor {

// The small window in which the player types new mod names into the main window's list and
// then saves the whole list to `modListFile`.
class AddModWindow final : public QDialog {
  Q_OBJECT

 public:
  AddModWindow(QStringListModel& modNames, const QString& modListFile, QWidget* parent);
  ~AddModWindow() override;

 private:
  void AddItem();
  void SaveAndClose();

  const std::unique_ptr<Ui::AddMod> ui_;
  QStringListModel& modNames_;
  const QString modListFile_;
};

}  // namespace kelvor
