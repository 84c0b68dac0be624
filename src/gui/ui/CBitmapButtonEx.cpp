#include "gui/ui/CBitmapButtonEx.h"

#include <QPainter>

namespace numsieve::gui {

CBitmapButtonEx::CBitmapButtonEx(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void CBitmapButtonEx::setImages(const QPixmap &up, const QPixmap &down, const QPixmap &disabled)
{
    m_up = up;
    m_down = down.isNull() ? up : down;
    m_disabled = disabled;
    if (!m_up.isNull())
        setFixedSize(m_up.deviceIndependentSize().toSize());
    update();
}

QPixmap CBitmapButtonEx::currentImage() const
{
    if (!isEnabled() && !m_disabled.isNull())
        return m_disabled;
    if (isDown() || isChecked())
        return m_down;
    return m_up;
}

QSize CBitmapButtonEx::sizeHint() const
{
    return m_up.isNull() ? QSize(16, 16) : m_up.deviceIndependentSize().toSize();
}

void CBitmapButtonEx::paintEvent(QPaintEvent *)
{
    const QPixmap picture = currentImage();
    if (picture.isNull())
        return;
    QPainter p(this);
    p.drawPixmap(0, 0, picture);
}

} // namespace numsieve::gui
