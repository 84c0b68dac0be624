#pragma once

#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QRegion>
#include <QWidget>

class QImage;

namespace numsieve::gui {

// Base of the main window, the panels and the popups: paints a background
// picture at (0, 0), can cut the window's shape out of it, keeps static texts
// transparent over it, and can be dragged by any spot that is not a control.
class CBitmapDialog : public QWidget
{
    Q_OBJECT

public:
    explicit CBitmapDialog(QWidget *parent = nullptr, Qt::WindowFlags flags = {});

    // Takes the picture, turns background drawing on and reapplies the shape.
    void setBackground(const QPixmap &background);
    QPixmap background() const { return m_background; }
    bool hasBackground() const { return !m_background.isNull(); }

    void setDrawBackground(bool on);
    bool drawsBackground() const { return m_drawBackground; }

    // Shaping (off by default): the window keeps only the part of the picture
    // that fits it, less the pixels of the transparent colour inside the four
    // 4 × 4 corner squares. Transparent-coloured pixels elsewhere stay.
    void setShaped(bool on);
    bool isShaped() const { return m_shaped; }
    void setTransparentColour(const QColor &colour);
    QColor transparentColour() const { return m_transparentColour; }

    // Static texts (QLabel children) without a background of their own, on by default.
    void setTransparentStatics(bool on);
    bool hasTransparentStatics() const { return m_transparentStatics; }

    // A left press on the dialog itself moves its window (off by default).
    void setDraggable(bool on) { m_draggable = on; }
    bool isDraggable() const { return m_draggable; }

    // The shape for a picture on a client area of the given size.
    static QRegion shapeRegion(const QImage &picture, QSize client, const QColor &transparent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void childEvent(QChildEvent *event) override;

private:
    void applyShape();
    void styleStatic(QWidget *child) const;

    QPixmap m_background;
    bool m_drawBackground = false;
    bool m_shaped = false;
    QColor m_transparentColour{0, 0, 0};
    bool m_transparentStatics = true;
    bool m_draggable = false;

    // Moving by hand where the platform has no system move (offscreen, some
    // Wayland compositors refuse it without a recent input serial).
    bool m_dragging = false;
    QPoint m_dragStartGlobal;
    QPoint m_dragStartWindow;
};

} // namespace numsieve::gui
