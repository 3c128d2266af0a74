// The size and font the two spline dialogs are laid out with: 490 by 303
// dialog units of an 8-point "MS Sans Serif", converted to pixels with the
// font's average character size.
#pragma once

#include <QSize>

class QDialog;

// Applies the dialog font and the template size, and centres the dialog
// over its parent (or the screen).
void ApplySplineDialogTemplate(QDialog* dialog);
// The pixel size of a rectangle in dialog units for the dialog's font.
QSize DialogUnitsToPixels(const QDialog* dialog, int width, int height);
