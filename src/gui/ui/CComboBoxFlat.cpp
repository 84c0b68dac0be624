#include "gui/ui/CComboBoxFlat.h"

#include "gui/ui/SkinFont.h"
#include "gui/ui/SkinImages.h"

#include <QPainter>
#include <QStyle>

namespace numsieve::gui {

CComboBoxFlat::CComboBoxFlat(QWidget *parent)
    : DropDownBox(parent)
{
    setFont(skinFont());
}

QRect CComboBoxFlat::dropButtonRect() const
{
    const int w = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return QRect(width() - 2 - w, 2, w, height() - 4);
}

void CComboBoxFlat::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QColor frame(SkinColour::flatBorder);
    p.fillRect(rect(), Qt::white);

    const QRect button = dropButtonRect();
    QRect textRect = rect().adjusted(4, 2, 0, -2);
    textRect.setRight(button.left() - 2);
    p.setFont(font());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               fontMetrics().elidedText(currentText(), Qt::ElideRight, textRect.width()));

    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(isEnabled() ? frame : QColor(190, 196, 204));
    const QPointF c = QRectF(button).center();
    p.drawPolygon(QPolygonF({c + QPointF(-4, -2), c + QPointF(4, -2), c + QPointF(0, 2.5)}));

    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(frame);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace numsieve::gui
