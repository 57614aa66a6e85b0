#include "ui/add_mod_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>

#include "mods/mod_list_file.h"
#include "ui/form.h"
#include "ui/messages.h"
#include "ui/player_dialogs.h"
#include "ui/subform.h"

namespace kelvor {

using form::Add;
using form::kLargeText;

AddModWindow::AddModWindow(QStringListModel& modNames, QString dataFolder, PlayerDialogs& dialogs)
    : modNames_(modNames), dataFolder_(std::move(dataFolder)), dialogs_(dialogs) {
  MakeSubform(this);
  form::SetUpWindow(this, this, "AddMod", QStringLiteral("Add Mods"), 4575, 975);

  // clang-format off
  text1_ =         Add<QLineEdit>(this, {   "Text1",    {},         "Write here the name for the new item ", {120, 120, 4335, 285}, kLargeText});
  auto* command1 = Add<QPushButton>(this, { "Command1", "Add Item", "Add new item to the list",              {120, 480, 1335, 375}, kLargeText});
  auto* command2 = Add<QPushButton>(this, { "Command2", "Close",    "Close this small subform",              {1560, 480, 1335, 375}, kLargeText});
  // clang-format on

  // Enter adds the typed name, unless the focus is on Close, which Enter then presses.
  command1->setDefault(true);
  setTabOrder(text1_, command1);
  setTabOrder(command1, command2);
  text1_->setFocus();

  connect(command1, &QPushButton::clicked, this, &AddModWindow::AddItem);
  connect(command2, &QPushButton::clicked, this, &AddModWindow::SaveAndClose);
}

void AddModWindow::AddItem() {
  const QString name = text1_->text();
  if (name.isEmpty()) {
    dialogs_.Tell(MessageKind::kNotice, TwoSentences(kEmptyNameText, kNameNeededText));
    return;
  }
  // Taken as typed: blanks, commas and repeats are the player's choice.
  const int row = modNames_.rowCount();
  modNames_.insertRows(row, 1);
  modNames_.setData(modNames_.index(row), name);
}

void AddModWindow::SaveAndClose() {
  // A new file is announced before it is made, and the window's work is done by then.
  if (!ModListFileExists(dataFolder_)) {
    dialogs_.Tell(MessageKind::kNotice, TwoSentences(kModListMissingText, kModListCreatedText));
    close();
  }
  if (!WriteModList(dataFolder_, modNames_.stringList())) {
    ShowErrorBox(dialogs_);
    return;
  }
  dialogs_.Tell(MessageKind::kSuccess, kModListSavedText.toString());
  close();
}

}  // namespace kelvor
