#include "ui/message_box.h"

#include <QPushButton>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include "ui/messages.h"

namespace kelvor {
namespace {

bool recording = false;
QList<QMessageBox::StandardButton> nextAnswers;
QList<MessageBox::Shown> shown;

}  // namespace

void MessageBox::Error(QWidget* parent, const QString& reasons) {
  Show(parent, QMessageBox::Critical, kErrorText.toString(), QMessageBox::Ok, QMessageBox::Ok,
       reasons);
}

void MessageBox::Notice(QWidget* parent, const QString& text) {
  Show(parent, QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBox::Success(QWidget* parent, const QString& text) {
  Show(parent, QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBox::Confirm(QWidget* parent, const QString& question) {
  return Show(parent, QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No,
              QMessageBox::Yes) == QMessageBox::Yes;
}

void MessageBox::setRecording(bool on) {
  recording = on;
  nextAnswers.clear();
  shown.clear();
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer) { nextAnswers.append(answer); }

QList<MessageBox::Shown>& MessageBox::shownBoxes() { return shown; }

QMessageBox::StandardButton MessageBox::Show(QWidget* parent, QMessageBox::Icon icon,
                                             const QString& text,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton,
                                             const QString& informativeText) {
  QMessageBox box(icon, kAppTitle.toString(), text, buttons, parent);
  box.setTextFormat(Qt::PlainText);  // names and paths are shown as typed, never as markup
  // The informative label takes no text format of its own: Qt's plain-to-rich conversion keeps
  // a name with markup in it as typed there too.
  if (!informativeText.isEmpty()) box.setInformativeText(Qt::convertFromPlainText(informativeText));
  box.setDefaultButton(defaultButton);
  if (!recording) return static_cast<QMessageBox::StandardButton>(box.exec());
  shown.append({parent ? parent->objectName() : QString(), box.windowTitle(), box.text(),
                QTextDocumentFragment::fromHtml(box.informativeText()).toPlainText(), box.icon(),
                box.standardButtons(), box.standardButton(box.defaultButton()), box.textFormat()});
  return nextAnswers.isEmpty() ? shown.last().defaultButton : nextAnswers.takeFirst();
}

}  // namespace kelvor
