#pragma once

#include <QMessageBox>
#include <memory>

#include "ui/player_dialogs.h"

namespace kelvor {

// The box for a message of `kind`, built but not shown.
std::unique_ptr<QMessageBox> BuildMessageBox(MessageKind kind, const QString& text,
                                             QWidget* parent = nullptr);

// The Yes/No question box, Yes the default, built but not shown.
std::unique_ptr<QMessageBox> BuildQuestionBox(const QString& question, QWidget* parent = nullptr);

// Real modal message boxes over whichever launcher window is active.
class QtPlayerDialogs final : public PlayerDialogs {
 public:
  void Tell(MessageKind kind, const QString& text) override;
  bool Confirm(const QString& question) override;
};

}  // namespace kelvor
