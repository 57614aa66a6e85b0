#include "ui/qt_player_dialogs.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/messages.h"

namespace kelvor {
namespace {

QMessageBox::Icon IconFor(MessageKind kind) {
  switch (kind) {
    case MessageKind::kFailure:
      return QMessageBox::Critical;
    case MessageKind::kNotice:
      return QMessageBox::Warning;
    case MessageKind::kSuccess:
      return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

// Shows a modal box over whichever launcher window is active and returns the button pressed.
QMessageBox::StandardButton Ask(QMessageBox::Icon icon, const QString& text,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton) {
  QMessageBox box(icon, kAppTitle.toString(), text, buttons, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);  // names and paths are shown as typed, never as markup
  box.setDefaultButton(defaultButton);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void QtPlayerDialogs::Tell(MessageKind kind, const QString& text) {
  Ask(IconFor(kind), text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtPlayerDialogs::Confirm(const QString& question) {
  return Ask(QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No,
             QMessageBox::Yes) == QMessageBox::Yes;
}

}  // namespace kelvor
