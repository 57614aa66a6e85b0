#include "ui/add_mod_window.h"

#include <QStringListModel>

#include "core/failure_report.h"
#include "mods/mod_list_file.h"
#include "ui/form_font.h"
#include "ui/message_box.h"
#include "ui/messages.h"
#include "ui_add_mod_window.h"

namespace kelvor {

AddModWindow::AddModWindow(QStringListModel& modNames, const QString& modListFile, QWidget* parent)
    : QDialog(parent, Qt::Tool),
      ui_(std::make_unique<Ui::AddMod>()),
      modNames_(modNames),
      modListFile_(modListFile) {
  SetUpForm(*ui_, this);
  ui_->Text1->setMaxLength(static_cast<int>(kMaxModNameLength));  // as the list file keeps
  ui_->Text1->setFocus();                                         // the player types at once
  connect(ui_->Command1, &QPushButton::clicked, this, &AddModWindow::AddItem);
  connect(ui_->Command2, &QPushButton::clicked, this, &AddModWindow::SaveAndClose);
}

AddModWindow::~AddModWindow() = default;

void AddModWindow::AddItem() {
  const QString name = ui_->Text1->text();
  if (name.isEmpty()) {
    MessageBox::Notice(this, TwoSentences(kEmptyNameText, kNameNeededText));
    return;
  }
  // Taken as typed: blanks, commas and repeats are the player's choice. A name the list file
  // could not keep is refused here, where the player can still mend it, so that it never
  // blocks a later save of the list.
  const FailureReport report;
  if (!CanKeepModList(modListFile_, modNames_.stringList() << name)) {
    MessageBox::Error(this, report.text());
    return;
  }
  const int row = modNames_.rowCount();
  modNames_.insertRows(row, 1);
  modNames_.setData(modNames_.index(row), name);
}

void AddModWindow::SaveAndClose() {
  // A new file is announced before it is made, and the window's work is done by then; a list
  // the file could not keep announces nothing and keeps the window.
  const QStringList names = modNames_.stringList();
  const FailureReport report;
  if (!CanKeepModList(modListFile_, names)) {
    MessageBox::Error(this, report.text());
    return;
  }
  if (!ModListFileExists(modListFile_)) {
    MessageBox::Notice(this, TwoSentences(kModListMissingText, kModListCreatedText));
    accept();
  }
  if (!WriteModList(modListFile_, names)) {
    MessageBox::Error(this, report.text());
    return;
  }
  // Over this window, or over the main window once this one has closed.
  MessageBox::Success(isVisible() ? this : parentWidget(), kModListSavedText.toString());
  accept();
}

}  // namespace kelvor
