#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace numsieve::gui {

// The window layouts are given in dialog units of an 8-point dialog font:
// one horizontal unit is 1.5 px and one vertical unit 1.625 px. Each value
// is converted on its own and rounded half away from zero, as the dialog
// manager does with the x, y, width and height of a template item, so a
// control keeps the width its template gives wherever it sits.
int dluToPixelsX(int units);
int dluToPixelsY(int units);
QPoint dluToPixels(QPoint units);
QSize dluToPixels(QSize units);
QRect dluToPixels(QRect units);

} // namespace numsieve::gui
