#pragma once

#include <QMainWindow>
#include <QSystemTrayIcon>
#include <memory>

#include "core/data_file.h"
#include "core/launch_options.h"

class QCheckBox;
class QDialog;
class QLineEdit;
class QStringListModel;
namespace Ui {
class Main;
}

namespace kelvor {

// The launcher's main window. It owns the launch options for its whole life, shows the
// command line they make, and runs every command of the launcher. Closing it, however it is
// closed, unloads it: it deletes itself, and the program ends with it.
class MainWindow final : public QMainWindow {
  Q_OBJECT

 public:
  // `folder` holds the two data files and the help: the launcher's own folder.
  explicit MainWindow(const QString& folder);
  ~MainWindow() override;

  // Start-up, run once before the window is first shown: the default switches, the saved
  // path and its preview, the saved mod names. A failure is told in one error box.
  void Load();

 protected:
  // Nothing is saved on the way out, and the icon goes with the window.
  void closeEvent(QCloseEvent* event) override;

 private:
  // Shows the command line the current path and options make.
  void RefreshPreview();
  void ConnectSwitch(QCheckBox* box, QString LaunchOptions::*slot, QStringView fragment);
  // The multiplayer boxes, in the order of the connection fragments they fill.
  std::array<QLineEdit*, kConnectionFragments.size()> ConnectionBoxes() const;
  void ApplyConnection();
  void ClearConnection();
  void ApplyMod();
  void ClearMod();
  void LocateExecutable();
  void Launch();
  void Quit();
  void SaveExecutablePath();
  void SaveList();
  void RemoveSelectedMod();
  void OpenAddModWindow();
  void OpenAboutWindow();
  void MinimizeToNotificationArea();
  void OnIconActivated(QSystemTrayIcon::ActivationReason reason);
  void RestoreFromNotificationArea();
  void OpenHelp();

  // Shows a subform over the window, which waits for it, greyed.
  void ShowSubform(QDialog* subform);
  int SelectedModRow() const;

  // Only this window's own source sees the form's generated code.
  const std::unique_ptr<Ui::Main> ui_;
  const DataFiles files_;
  const QString helpFile_;
  LaunchOptions options_;
  QStringListModel* modNames_;
  QSystemTrayIcon* icon_ = nullptr;  // made at the first minimise, which most runs never reach
};

}  // namespace kelvor
