#pragma once

#include <QMainWindow>
#include <QPointer>

#include "core/launch_options.h"
#include "ui/platform.h"

class QCheckBox;
class QDialog;
class QLabel;
class QLineEdit;
class QListView;
class QStringListModel;

namespace kelvor {

class AboutWindow;
class AddModWindow;

// The launcher's main window. It owns the launch options for its whole life, shows the
// command line they make, and runs every command of the launcher.
class MainWindow final : public QMainWindow {
  Q_OBJECT

 public:
  // `dataFolder` holds the path file and the mod list: the launcher's own folder.
  MainWindow(QString dataFolder, Platform platform, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Start-up, run once before the window is first shown: the default switches, the saved
  // path and its preview, the saved mod names. A failure is told in one error box.
  void Load();

  // Shows the command line the current path and options make.
  void RefreshPreview();

 protected:
  // However the window closes, it unloads the same way; nothing is saved on the way out.
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildForm();
  void BuildMenus();
  void ConnectCommands();
  void ConnectSwitches();
  void ApplyConnection();
  void ClearConnection();
  void ApplyMod();
  void ClearMod();
  void LocateExecutable();
  void Launch();
  void Quit();
  void Unload();
  void SaveExecutablePath();
  void SaveList();
  void RemoveSelectedMod();
  void OpenAddModWindow();
  void MinimizeToNotificationArea();
  void RestoreFromNotificationArea();
  void OpenHelp();
  void OpenAboutWindow();

  // While a subform is open the main window takes no input, not even a close from its title
  // bar; it stays in view, greyed.
  void ShowSubform(QDialog* subform);
  int SelectedModRow() const;

  const QString dataFolder_;
  const Platform platform_;
  LaunchOptions options_;

  QCheckBox* param1Check_ = nullptr;
  QCheckBox* param2Check_ = nullptr;
  QCheckBox* param3Check_ = nullptr;
  QCheckBox* param4Check_ = nullptr;
  QLineEdit* fileLocationText_ = nullptr;
  QLineEdit* ipText_ = nullptr;
  QLineEdit* portText_ = nullptr;
  QLineEdit* passText_ = nullptr;
  QCheckBox* hostCheck_ = nullptr;
  QListView* list1_ = nullptr;
  QStringListModel* modNames_ = nullptr;
  QLabel* hintLabel_ = nullptr;
  QCheckBox* closeCheck_ = nullptr;
  QPointer<AddModWindow> addModWindow_;
  QPointer<AboutWindow> aboutWindow_;
};

}  // namespace kelvor
