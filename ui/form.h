#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

class QAbstractButton;
class QGroupBox;
class QLabel;

namespace kelvor::form {

// Positions and sizes are given in twips, the unit the launcher's forms were drawn in:
// 15 twips make one pixel at 100% scale, and Qt's high-DPI scaling does the rest.
struct Twips {
  int left;
  int top;
  int width;
  int height;
};
QRect ToPixels(Twips twips);

// Every window's own font, and the larger sizes some controls carry.
QFont WindowFont();
QFont ControlFont(qreal points);
inline constexpr qreal kLargeText = 9.75;
inline constexpr qreal kHintText = 9.0;
inline constexpr qreal kWindowText = 0;  // keeps the window's font

// One row of a form's table of controls.
struct Control {
  const char* name;
  QString caption;
  QString tooltip;
  Twips place;
  qreal points = kWindowText;
};

void SetCaption(QAbstractButton* control, const QString& caption);
void SetCaption(QGroupBox* control, const QString& caption);
void SetCaption(QLabel* control, const QString& caption);
inline void SetCaption(QWidget*, const QString&) {}  // controls whose content is data

// Creates the control of the row inside `container`.
template <typename Widget>
Widget* Add(QWidget* container, const Control& row) {
  auto* control = new Widget(container);
  control->setObjectName(QString::fromLatin1(row.name));
  SetCaption(control, row.caption);
  control->setToolTip(row.tooltip);
  control->setGeometry(ToPixels(row.place));
  if (row.points != kWindowText) control->setFont(ControlFont(row.points));
  return control;
}

// Names `window`, gives it its title, the launcher icon and the window font, and fixes its
// client area (the window itself, or the part below a menu bar) to the size in twips.
void SetUpWindow(QWidget* window, QWidget* clientArea, const char* name, const QString& title,
                 int widthTwips, int heightTwips);

}  // namespace kelvor::form
