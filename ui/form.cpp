#include "ui/form.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>

namespace kelvor::form {
namespace {

constexpr int kTwipsPerPixel = 15;

}  // namespace

QRect ToPixels(Twips twips) {
  return {twips.left / kTwipsPerPixel, twips.top / kTwipsPerPixel, twips.width / kTwipsPerPixel,
          twips.height / kTwipsPerPixel};
}

QFont ControlFont(qreal points) {
  // Calibri; where it is missing, fontconfig's metric twin Carlito keeps every caption's size.
  QFont font(QStringLiteral("Calibri"));
  font.setPointSizeF(points);
  font.setWeight(QFont::Normal);
  return font;
}

QFont WindowFont() { return ControlFont(8.25); }

void SetCaption(QAbstractButton* control, const QString& caption) { control->setText(caption); }
void SetCaption(QGroupBox* control, const QString& caption) { control->setTitle(caption); }
void SetCaption(QLabel* control, const QString& caption) {
  control->setTextFormat(Qt::PlainText);
  control->setText(caption);
}

void SetUpWindow(QWidget* window, QWidget* clientArea, const char* name, const QString& title,
                 int widthTwips, int heightTwips) {
  window->setObjectName(QString::fromLatin1(name));
  window->setWindowTitle(title);
  window->setWindowIcon(QIcon(QStringLiteral(":/kelvor/launcher-icon.png")));
  window->setFont(WindowFont());
  clientArea->setFixedSize(ToPixels({0, 0, widthTwips, heightTwips}).size());
}

}  // namespace kelvor::form
