#include "ui/form_font.h"

#include <QFontDatabase>
#include <QWidget>

namespace kelvor {
namespace {

// The forms are drawn for Calibri, which every Windows since Vista has. Elsewhere (Linux, a
// Wine prefix) Carlito takes its place at the same widths, so that no caption is cut; the
// launcher carries Carlito for desktops that lack it too, and loads it only then.
bool UseCalibriOrCarlito() {
  const QString calibri = QStringLiteral("Calibri");
  const QString carlito = QStringLiteral("Carlito");
  if (QFontDatabase::hasFamily(calibri)) return true;
  QFont::insertSubstitution(calibri, carlito);
  if (!QFontDatabase::hasFamily(carlito)) {
    QFontDatabase::addApplicationFont(QStringLiteral(":/kelvor/fonts/Carlito-Regular.ttf"));
  }
  return true;
}

}  // namespace

void PrepareFormFont() { [[maybe_unused]] static const bool prepared = UseCalibriOrCarlito(); }

void ApplyPointSizes(QWidget* widget) {
  if (const QVariant points = widget->property("pointSizeF"); points.isValid()) {
    QFont font = widget->font();
    font.setPointSizeF(points.toDouble());
    widget->setFont(font);
  }
  for (QObject* child : widget->children()) {
    if (child->isWidgetType()) ApplyPointSizes(static_cast<QWidget*>(child));
  }
}

}  // namespace kelvor
