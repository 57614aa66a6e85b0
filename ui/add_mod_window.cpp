#include "ui/add_mod_window.h"

#include <QLineEdit>
#include <QPushButton>

#include "ui/form.h"
#include "ui/subform.h"

namespace kelvor {

using form::Add;
using form::kLargeText;

AddModWindow::AddModWindow(QWidget* parent) : QDialog(parent) {
  MakeSubform(this);
  form::SetUpWindow(this, this, "AddMod", QStringLiteral("Add Mods"), 4575, 975);

  // clang-format off
  text1_ =    Add<QLineEdit>(this, {   "Text1",    {},         "Write here the name for the new item ", {120, 120, 4335, 285}, kLargeText});
  command1_ = Add<QPushButton>(this, { "Command1", "Add Item", "Add new item to the list",              {120, 480, 1335, 375}, kLargeText});
  command2_ = Add<QPushButton>(this, { "Command2", "Close",    "Close this small subform",              {1560, 480, 1335, 375}, kLargeText});
  // clang-format on

  // Enter adds the typed name, unless the focus is on Close, which Enter then presses.
  command1_->setDefault(true);
  setTabOrder(text1_, command1_);
  setTabOrder(command1_, command2_);
  text1_->setFocus();
}

}  // namespace kelvor
