#include "gui/results/MapText.h"

#include <QPaintDevice>
#include <QPainter>

namespace numsieve::gui {

namespace {

// SimSun's ascent in em.
constexpr double kBaselineInEm = 0.86;

} // namespace

void drawTextAt(QPainter &painter, int left, int top, const QString &text)
{
    const QFont &font = painter.font();
    double em = font.pixelSize();
    if (em <= 0) {
        const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
        em = font.pointSizeF() * dpi / 72.0;
    }
    painter.drawText(QPointF(left, top + qRound(em * kBaselineInEm)), text);
}

} // namespace numsieve::gui
