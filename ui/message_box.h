#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

namespace kelvor {

// The modal boxes through which the windows talk to the player, each under the launcher's
// title and over the window that asks.
//
// Tests cannot answer a real modal box, so they switch to recording: each box is then made as
// for the player but, instead of waiting, kept in shownBoxes() and answered with the next of
// the answers set beforehand, or else with its default button.
class MessageBox {
 public:
  // The one box for every failure, with the reasons beneath its text (a FailureReport's); the
  // launcher goes on afterwards.
  static void Error(QWidget* parent, const QString& reasons);
  // An input refused, or something to know before going on.
  static void Notice(QWidget* parent, const QString& text);
  // What the player asked for was done.
  static void Success(QWidget* parent, const QString& text);
  // A yes/no question, Yes the default; true for Yes.
  static bool Confirm(QWidget* parent, const QString& question);

  // What a box showed the player.
  struct Shown {
    QString parent;  // the object name of the window it showed over
    QString title;
    QString text;
    QString informativeText;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
    Qt::TextFormat textFormat;
  };

  static void setRecording(bool recording);
  static void setNextAnswer(QMessageBox::StandardButton answer);
  static QList<Shown>& shownBoxes();

 private:
  static QMessageBox::StandardButton Show(QWidget* parent, QMessageBox::Icon icon,
                                          const QString& text, QMessageBox::StandardButtons buttons,
                                          QMessageBox::StandardButton defaultButton,
                                          const QString& informativeText = {});
};

}  // namespace kelvor
