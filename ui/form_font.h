#pragma once

class QWidget;

namespace kelvor {

// Builds `window` from its Designer form `ui` in the forms' font. The family is Calibri, or
// where that is missing its metric twin Carlito. Designer keeps whole points only, so the
// window and every control drawn at 8.25, 9 or 9.75 points carry the size as the property
// "pointSizeF", which is applied here.
template <typename Form, typename Window>
void SetUpForm(Form& ui, Window* window);

void PrepareFormFont();
void ApplyPointSizes(QWidget* widget);

template <typename Form, typename Window>
void SetUpForm(Form& ui, Window* window) {
  PrepareFormFont();  // before any text is measured in the form's font
  ui.setupUi(window);
  ApplyPointSizes(window);
}

}  // namespace kelvor
