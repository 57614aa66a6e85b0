#include "ui/form_font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QWidget>

namespace kelvor {
namespace {

// The forms are drawn for Calibri, which every Windows since Vista has. Elsewhere (Linux, a
// Wine prefix) its metric twin Carlito takes its place at the same widths, so that no caption
// is cut: the system's, where fontconfig already puts it in Calibri's place, or else the copy
// the launcher carries. Resolving the font here costs nothing the first text would not.
void UseCalibriOrCarlito() {
  const QString family = QFontInfo(QFont(QStringLiteral("Calibri"))).family();
  if (family == QLatin1String("Calibri") || family == QLatin1String("Carlito")) return;
  QFont::insertSubstitution(QStringLiteral("Calibri"), QStringLiteral("Carlito"));
  QFontDatabase::addApplicationFont(QStringLiteral(":/kelvor/fonts/Carlito-Regular.ttf"));
}

}  // namespace

void PrepareFormFont() {
  [[maybe_unused]] static const bool prepared = (UseCalibriOrCarlito(), true);
}

void ApplyFormProperties(QWidget* widget) {
  // Each widget's own size, set after its parent's, wins over the one it inherits.
  if (const QVariant points = widget->property("pointSizeF"); points.isValid()) {
    QFont font = widget->font();
    font.setPointSizeF(points.toDouble());
    widget->setFont(font);
  }
  for (QObject* child : widget->children()) {
    if (child->isWidgetType()) ApplyFormProperties(static_cast<QWidget*>(child));
  }
}

}  // namespace kelvor
