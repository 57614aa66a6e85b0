#include "ui/qt_player_dialogs.h"

#include <QApplication>

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

std::unique_ptr<QMessageBox> BuildBox(QMessageBox::Icon icon, const QString& text,
                                      QMessageBox::StandardButtons buttons,
                                      QMessageBox::StandardButton defaultButton, QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(icon, kAppTitle.toString(), text, buttons, parent);
  box->setTextFormat(Qt::PlainText);  // names and paths are shown as typed, never as markup
  box->setDefaultButton(defaultButton);
  return box;
}

}  // namespace

std::unique_ptr<QMessageBox> BuildMessageBox(MessageKind kind, const QString& text,
                                             QWidget* parent) {
  return BuildBox(IconFor(kind), text, QMessageBox::Ok, QMessageBox::Ok, parent);
}

std::unique_ptr<QMessageBox> BuildQuestionBox(const QString& question, QWidget* parent) {
  return BuildBox(QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No,
                  QMessageBox::Yes, parent);
}

void QtPlayerDialogs::Tell(MessageKind kind, const QString& text) {
  BuildMessageBox(kind, text, QApplication::activeWindow())->exec();
}

bool QtPlayerDialogs::Confirm(const QString& question) {
  return BuildQuestionBox(question, QApplication::activeWindow())->exec() == QMessageBox::Yes;
}

}  // namespace kelvor
