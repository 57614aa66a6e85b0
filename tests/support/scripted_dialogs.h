#pragma once

#include <QList>
#include <QString>
#include <functional>

#include "ui/player_dialogs.h"

namespace kelvor::testing {

// Stands in for the real message boxes: records every box in order and answers questions
// from a script, so a test states the player's answers before it clicks.
class ScriptedDialogs final : public PlayerDialogs {
 public:
  struct Shown {
    enum class Kind { kFailure, kNotice, kSuccess, kQuestion } kind;
    QString text;
    friend bool operator==(const Shown&, const Shown&) = default;
  };

  void Tell(MessageKind kind, const QString& text) override {
    shown.append({ToShownKind(kind), text});
    if (onShow) onShow();
  }

  bool Confirm(const QString& question) override {
    shown.append({Shown::Kind::kQuestion, question});
    if (onShow) onShow();
    return answers.isEmpty() ? false : answers.takeFirst();
  }

  QList<Shown> shown;
  QList<bool> answers;           // the player's Yes (true) and No (false), in order
  std::function<void()> onShow;  // runs while a box is "open", to look at the windows then

 private:
  static Shown::Kind ToShownKind(MessageKind kind) {
    switch (kind) {
      case MessageKind::kFailure:
        return Shown::Kind::kFailure;
      case MessageKind::kNotice:
        return Shown::Kind::kNotice;
      case MessageKind::kSuccess:
        return Shown::Kind::kSuccess;
    }
    return Shown::Kind::kFailure;
  }
};

inline ScriptedDialogs::Shown ErrorBox() {
  return {ScriptedDialogs::Shown::Kind::kFailure, QStringLiteral("Oops! Something's gone wrong!")};
}

}  // namespace kelvor::testing
