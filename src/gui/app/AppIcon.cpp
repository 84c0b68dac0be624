#include "gui/app/AppIcon.h"

#include "gui/ui/SkinFont.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace numsieve::gui {

QPixmap appIconPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    QLinearGradient back(0, 0, 0, s);
    back.setColorAt(0, QColor(92, 160, 230));
    back.setColorAt(1, QColor(22, 84, 156));
    p.setPen(QPen(QColor(12, 56, 110), s / 32));
    p.setBrush(back);
    p.drawRoundedRect(QRectF(s / 32, s / 32, s - s / 16, s - s / 16), s / 6, s / 6);

    // The sieve: a bowl of crossing strands under the digits.
    QPainterPath bowl;
    bowl.moveTo(s * 0.16, s * 0.58);
    bowl.quadTo(s * 0.5, s * 1.02, s * 0.84, s * 0.58);
    bowl.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(242, 248, 255, 90));
    p.drawPath(bowl);
    p.setClipPath(bowl);
    p.setPen(QPen(QColor(242, 248, 255, 200), s / 40));
    for (qreal x = 0.16; x < 0.86; x += 0.1)
        p.drawLine(QPointF(s * x, s * 0.58), QPointF(s * x, s));
    for (qreal y = 0.64; y < 1.0; y += 0.08)
        p.drawLine(QPointF(0, s * y), QPointF(s, s * y));
    p.setClipping(false);

    // Three digit tiles.
    QFont font = skinFont();
    font.setBold(true);
    font.setPixelSize(qMax(6, int(s * 0.2)));
    p.setFont(font);
    const char16_t *digits[3] = {u"3", u"5", u"7"};
    for (int i = 0; i < 3; ++i) {
        const QRectF tile(s * (0.14 + 0.25 * i), s * 0.2, s * 0.22, s * 0.28);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(242, 248, 255));
        p.drawRoundedRect(tile, s / 24, s / 24);
        p.setPen(QColor(0, 54, 101));
        p.drawText(tile, Qt::AlignCenter, QString::fromUtf16(digits[i]));
    }
    return pixmap;
}

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(appIconPixmap(size));
    return icon;
}

} // namespace numsieve::gui
