#include "gui/ui/CBitmapDialog.h"

#include <QChildEvent>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace numsieve::gui {

CBitmapDialog::CBitmapDialog(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
{
}

void CBitmapDialog::setBackground(const QPixmap &background)
{
    m_background = background;
    m_drawBackground = !background.isNull();
    applyShape();
    update();
}

void CBitmapDialog::setDrawBackground(bool on)
{
    m_drawBackground = on;
    update();
}

void CBitmapDialog::setShaped(bool on)
{
    m_shaped = on;
    applyShape();
}

void CBitmapDialog::setTransparentColour(const QColor &colour)
{
    m_transparentColour = colour;
    applyShape();
}

void CBitmapDialog::setTransparentStatics(bool on)
{
    m_transparentStatics = on;
    for (QObject *child : children())
        if (child->isWidgetType())
            styleStatic(static_cast<QWidget *>(child));
}

QRegion CBitmapDialog::shapeRegion(const QImage &picture, QSize client, const QColor &transparent)
{
    const qreal dpr = picture.devicePixelRatio();
    const QSize logical = (QSizeF(picture.size()) / dpr).toSize();
    const int w = qMin(logical.width(), client.width());
    const int h = qMin(logical.height(), client.height());
    if (w <= 0 || h <= 0)
        return {};
    QRegion region(0, 0, w, h);
    const QRgb key = transparent.rgb();
    // Sample the device pixel at the centre of each logical pixel, so that a
    // high-DPI picture yields the same shape as its 1:1 original.
    auto isKey = [&](int x, int y) {
        const int dx = qMin(picture.width() - 1, int((x + 0.5) * dpr));
        const int dy = qMin(picture.height() - 1, int((y + 0.5) * dpr));
        const QRgb px = picture.pixel(dx, dy);
        return qAlpha(px) == 255 && (px & 0xffffff) == (key & 0xffffff);
    };
    for (int y = 0; y < h; ++y) {
        const bool topOrBottom = y < 4 || y >= logical.height() - 4;
        if (!topOrBottom)
            continue;
        for (int x = 0; x < w; ++x) {
            const bool leftOrRight = x < 4 || x >= logical.width() - 4;
            if (leftOrRight && isKey(x, y))
                region -= QRegion(x, y, 1, 1);
        }
    }
    return region;
}

void CBitmapDialog::applyShape()
{
    if (!m_shaped || m_background.isNull()) {
        clearMask();
        return;
    }
    setMask(shapeRegion(m_background.toImage(), size(), m_transparentColour));
}

void CBitmapDialog::paintEvent(QPaintEvent *event)
{
    if (m_drawBackground && !m_background.isNull()) {
        QPainter p(this);
        p.drawPixmap(0, 0, m_background);
        return;
    }
    QWidget::paintEvent(event);
}

void CBitmapDialog::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_shaped)
        applyShape();
}

void CBitmapDialog::mousePressEvent(QMouseEvent *event)
{
    QWidget::mousePressEvent(event);
    if (!m_draggable || event->button() != Qt::LeftButton)
        return;
    event->accept();
    QWidget *top = window();
    if (QWindow *handle = top->windowHandle(); handle && handle->startSystemMove())
        return;
    m_dragging = true;
    m_dragStartGlobal = event->globalPosition().toPoint();
    m_dragStartWindow = top->pos();
}

void CBitmapDialog::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        window()->move(m_dragStartWindow + event->globalPosition().toPoint() - m_dragStartGlobal);
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void CBitmapDialog::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
    QWidget::mouseReleaseEvent(event);
}

void CBitmapDialog::childEvent(QChildEvent *event)
{
    QWidget::childEvent(event);
    // Polished rather than added: a label's palette is final only once it
    // is polished, and labels made before this dialog's children list is
    // read are polished later anyway.
    if (event->type() == QEvent::ChildPolished && event->child()->isWidgetType())
        styleStatic(static_cast<QWidget *>(event->child()));
}

void CBitmapDialog::styleStatic(QWidget *child) const
{
    if (!qobject_cast<QLabel *>(child))
        return;
    child->setAutoFillBackground(!m_transparentStatics);
    child->setAttribute(Qt::WA_NoSystemBackground, m_transparentStatics);
}

} // namespace numsieve::gui
