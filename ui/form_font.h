#pragma once

class QWidget;

namespace kelvor {

// Where Calibri is missing, its metric twin Carlito takes its place; once, before any text is
// measured in the forms' font.
void PrepareFormFont();

// Applies, to `widget` and every widget inside it, what the forms carry as a dynamic property
// because Designer cannot hold it (each form's own comment says where): "pointSizeF", a
// window's or a control's size in points (8.25, 9 or 9.75, all given so, where Designer keeps
// whole points only).
void ApplyFormProperties(QWidget* widget);

// Builds `window` from its Designer form `ui`, in the forms' font.
template <typename Form, typename Window>
void SetUpForm(Form& ui, Window* window) {
  PrepareFormFont();
  ui.setupUi(window);
  ApplyFormProperties(window);
}

}  // namespace kelvor
