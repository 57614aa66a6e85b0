#pragma once

#include <QList>
#include <QStringList>
#include <optional>

#include "support/scripted_dialogs.h"
#include "ui/platform.h"

namespace kelvor::testing {

// Stands in for the Open dialog: the player's choice is set before Find... is clicked.
class ScriptedPicker final : public ExecutablePicker {
 public:
  std::optional<QString> PickExecutable() override { return choice; }

  std::optional<QString> choice;  // nothing: the player cancels
};

// Records each launch instead of starting a program.
class RecordingStarter final : public GameStarter {
 public:
  bool Start(const QString& program, const QStringList& arguments) override {
    launches.append(QStringList{program} + arguments);
    return starts;
  }

  QList<QStringList> launches;  // each: the program, then its arguments
  bool starts = true;
};

// A notification area whose icon the test clicks by calling `Click`.
class ScriptedNotificationArea final : public NotificationArea {
 public:
  bool IsAvailable() const override { return available; }
  void ShowIcon(const QIcon& icon, const QString& iconTip, std::function<void()> restore) override {
    if (!shown) ++icons;
    shown = true;
    tip = iconTip;
    iconIsSet = !icon.isNull();
    restore_ = std::move(restore);
  }
  void RemoveIcon() override {
    shown = false;
    ++removals;
  }

  // A click on the icon, as the real area reports it.
  void Click(QSystemTrayIcon::ActivationReason reason) {
    if (shown && ActionFor(reason) == IconAction::kRestore) restore_();
  }

  bool available = true;
  bool shown = false;
  int icons = 0;     // how many times an icon appeared
  int removals = 0;  // how many times the icon was asked to go, shown or not
  QString tip;
  bool iconIsSet = false;

 private:
  std::function<void()> restore_;
};

// Records the help files asked for instead of opening a viewer.
class RecordingHelpViewer final : public HelpViewer {
 public:
  void OpenHelp(const QString& path) override { opened.append(path); }

  QStringList opened;
};

// A whole scripted desktop; `Get` hands it to a main window.
struct ScriptedPlatform {
  ScriptedDialogs dialogs;
  ScriptedPicker picker;
  RecordingStarter starter;
  ScriptedNotificationArea notificationArea;
  RecordingHelpViewer help;

  Platform Get() { return {dialogs, picker, starter, notificationArea, help}; }
  Platform With(GameStarter& realStarter) {
    return {dialogs, picker, realStarter, notificationArea, help};
  }
};

}  // namespace kelvor::testing
