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

// A whole scripted desktop; `Get` hands it to a main window.
struct ScriptedPlatform {
  ScriptedDialogs dialogs;
  ScriptedPicker picker;
  RecordingStarter starter;

  Platform Get() { return {dialogs, picker, starter}; }
};

}  // namespace kelvor::testing
