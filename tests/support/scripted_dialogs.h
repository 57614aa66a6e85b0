#pragma once

#include <QStringList>
#include <functional>

#include "ui/player_dialogs.h"

namespace kelvor::testing {

// Stands in for the real message boxes: records every box as "kind: text", in order, and
// answers questions from a script, so a test states the player's answers before it clicks.
class ScriptedDialogs final : public PlayerDialogs {
 public:
  void Tell(MessageKind kind, const QString& text) override {
    static const char* const kKinds[] = {"failure", "notice", "success"};
    Record(QLatin1String(kKinds[static_cast<int>(kind)]), text);
  }
  bool Confirm(const QString& question) override {
    Record(QLatin1String("question"), question);
    return !answers.isEmpty() && answers.takeFirst();
  }

  QStringList shown;
  QList<bool> answers;           // the player's Yes (true) and No (false), in order
  std::function<void()> onShow;  // runs while a box is "open", to look at the windows then

 private:
  void Record(QLatin1String kind, const QString& text) {
    shown.append(kind + QLatin1String(": ") + text);
    if (onShow) onShow();
  }
};

inline const QString kErrorBox = QStringLiteral("failure: Oops! Something's gone wrong!");

}  // namespace kelvor::testing
