#include "ui/form.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>

namespace kelvor::form {
namespace {

constexpr int kTwipsPerPixel = 15;

// The forms are drawn for Calibri, which every Windows since Vista has. Elsewhere (Linux, a
// Wine prefix) its metric twin Carlito takes its place at the same widths, so that no caption
// is cut; the launcher carries Carlito for desktops that lack it too, and loads it only then.
bool PrepareFormFont() {
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

QRect ToPixels(Twips twips) {
  return {twips.left / kTwipsPerPixel, twips.top / kTwipsPerPixel, twips.width / kTwipsPerPixel,
          twips.height / kTwipsPerPixel};
}

QFont ControlFont(qreal points) {
  [[maybe_unused]] static const bool prepared = PrepareFormFont();
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
