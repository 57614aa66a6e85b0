#pragma once

class QWidget;

namespace kelvor {

// Where Calibri is missing, its metric twin Carlito takes its place; once, before any text is
// measured in the forms' font.
void PrepareFormFont();

// Designer keeps whole points only, so a window and each control drawn at 8.25, 9 or 9.75
// points carry the size as the property "pointSizeF"; this gives them their sizes.
void ApplyPointSizes(QWidget* widget);

// Builds `window` from its Designer form `ui`, in the forms' font.
template <typename Form, typename Window>
void SetUpForm(Form& ui, Window* window) {
  PrepareFormFont();
  ui.setupUi(window);
  ApplyPointSizes(window);
}

}  // namespace kelvor
