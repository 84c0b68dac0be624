#include "gui/ui/DialogUnits.h"

namespace numsieve::gui {

namespace {

// units * numerator / 8, rounded half away from zero, in integers so that no
// floating-point error decides a tie.
int scale(int units, int numerator)
{
    const int product = units * numerator;
    return product >= 0 ? (product + 4) / 8 : -((-product + 4) / 8);
}

} // namespace

int dluToPixelsX(int units)
{
    return scale(units, 12); // 1.5 px
}

int dluToPixelsY(int units)
{
    return scale(units, 13); // 1.625 px
}

QPoint dluToPixels(QPoint units)
{
    return {dluToPixelsX(units.x()), dluToPixelsY(units.y())};
}

QSize dluToPixels(QSize units)
{
    return {dluToPixelsX(units.width()), dluToPixelsY(units.height())};
}

QRect dluToPixels(QRect units)
{
    return {dluToPixels(units.topLeft()), dluToPixels(units.size())};
}

} // namespace numsieve::gui
