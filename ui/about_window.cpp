#include "ui/about_window.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "ui/form.h"
#include "ui/subform.h"

namespace kelvor {

using form::Add;
using form::kLargeText;

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
  MakeSubform(this);
  form::SetUpWindow(this, this, "About", QStringLiteral("About"), 4560, 2175);

  // clang-format off
  auto* picture1 = Add<QLabel>(this, {      "Picture1", {},                              {},                         {120, 120, 1935, 1935}});
  auto* label1 =   Add<QLabel>(this, {      "Label1",   "Dravik2:Vallmark Mod Launcher", {},                         {2160, 120, 2295, 495}});
  auto* label2 =   Add<QLabel>(this, {      "Label2",   "www.kelvor-launcher.example",   {},                         {2160, 840, 2295, 255}});
                   Add<QLabel>(this, {      "Label3",   "Kelvor crew",                   {},                         {2760, 1200, 975, 255}});
                   Add<QLabel>(this, {      "Label4",   "ver. 1.1",                      {},                         {2160, 1800, 615, 255}});
  auto* command1 = Add<QPushButton>(this, { "Command1", "OK",                            "Close this small subform", {3360, 1680, 1095, 375}, kLargeText});
  // clang-format on

  picture1->setPixmap(QPixmap(QStringLiteral(":/kelvor/about-artwork.png")));
  picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  picture1->setAutoFillBackground(true);
  picture1->setBackgroundRole(QPalette::Window);
  label1->setAlignment(Qt::AlignCenter);
  label1->setWordWrap(true);
  label2->setAlignment(Qt::AlignCenter);
  command1->setDefault(true);
  command1->setFocus();
  connect(command1, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace kelvor
