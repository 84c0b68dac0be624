#include "gui/ui/CButtonEx.h"

#include "gui/ui/SkinFont.h"

#include <QBitmap>
#include <QEnterEvent>
#include <QImage>
#include <QPainter>

namespace numsieve::gui {

CButtonEx::CButtonEx(QWidget *parent)
    : QAbstractButton(parent)
{
    setFont(skinFont());
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, false); // hover is tracked by enter/leave, not by style repaints
}

CButtonEx::CButtonEx(const QString &caption, QWidget *parent)
    : CButtonEx(parent)
{
    setText(caption);
}

QPixmap CButtonEx::keyedOut(const QPixmap &picture, const QColor &key)
{
    if (picture.isNull())
        return picture;
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb keyRgb = key.rgb() & 0xffffff;
    bool found = false;
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) == 255 && (line[x] & 0xffffff) == keyRgb) {
                line[x] = 0;
                found = true;
            }
        }
    }
    if (!found)
        return picture;
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(picture.devicePixelRatio());
    return result;
}

void CButtonEx::setImages(const QPixmap &normal, const QPixmap &hover, const QPixmap &pressed)
{
    m_normal = keyedOut(normal);
    m_hoverImage = keyedOut(hover);
    m_pressed = keyedOut(pressed);
    updateGeometry();
    update();
}

QPixmap CButtonEx::image(Look look) const
{
    switch (look) {
    case Look::Hover:
        return m_hoverImage;
    case Look::Pressed:
        return m_pressed;
    case Look::Normal:
        break;
    }
    return m_normal;
}

void CButtonEx::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    update();
}

void CButtonEx::setTextColourEnabled(bool on)
{
    m_textColour = on;
    update();
}

CButtonEx::Look CButtonEx::currentLook() const
{
    if (isDown() || m_active)
        return Look::Pressed;
    if (m_hover)
        return Look::Hover;
    return Look::Normal;
}

QColor CButtonEx::captionColour() const
{
    if (!m_textColour)
        return palette().color(QPalette::ButtonText);
    return (m_hover || m_active) ? QColor(SkinColour::activeText) : QColor(SkinColour::captionText);
}

QSize CButtonEx::sizeHint() const
{
    if (!m_normal.isNull())
        return m_normal.deviceIndependentSize().toSize();
    return fontMetrics().size(Qt::TextSingleLine, text()) + QSize(12, 8);
}

void CButtonEx::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QPixmap picture = image(currentLook());
    if (!picture.isNull())
        p.drawPixmap(0, 0, picture);
    if (!text().isEmpty()) {
        p.setFont(font());
        p.setPen(captionColour());
        p.drawText(contentsRect(), Qt::AlignCenter | Qt::TextSingleLine, text());
    }
}

void CButtonEx::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    if (!m_hover) {
        m_hover = true;
        update();
    }
}

void CButtonEx::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    if (m_hover) {
        m_hover = false;
        update();
    }
}

void CButtonEx::changeEvent(QEvent *event)
{
    QAbstractButton::changeEvent(event);
    // A disabled button never receives the leave event.
    if (event->type() == QEvent::EnabledChange && !isEnabled() && m_hover) {
        m_hover = false;
        update();
    }
}

void CButtonEx::hideEvent(QHideEvent *event)
{
    QAbstractButton::hideEvent(event);
    // The on and off buttons of a condition swap by hiding one another; the
    // hidden one gets no leave event and must not come back highlighted.
    m_hover = false;
}

} // namespace numsieve::gui
