#pragma once

#include "gui/ui/SkinImages.h"

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

namespace numsieve::gui {

// Owner-drawn picture button: a normal, a mouse-over and a pressed picture,
// an "active" mark shown like a press (the condition whose panel is shown),
// and its caption centred on one line over the picture (within the
// contents margins, for pictures with a mark at one end). It paints nothing
// but the picture and the caption, so the parent's background shows through
// wherever the picture is transparent.
class CButtonEx : public QAbstractButton
{
    Q_OBJECT

public:
    enum class Look { Normal, Hover, Pressed };

    explicit CButtonEx(QWidget *parent = nullptr);
    CButtonEx(const QString &caption, QWidget *parent = nullptr);

    // Magenta (255, 0, 255) in a picture is made transparent.
    void setImages(const QPixmap &normal, const QPixmap &hover, const QPixmap &pressed);
    void setImages(const ButtonLooks &looks) { setImages(looks.normal, looks.hover, looks.pressed); }
    QPixmap image(Look look) const;

    void setActive(bool active);
    bool isActive() const { return m_active; }
    bool isHovered() const { return m_hover; }

    // On (default): the caption is dark blue, white while hovered or active.
    // Off: the caption takes the palette's button text colour, for pictures
    // that carry their own text and so have no caption set.
    void setTextColourEnabled(bool on);
    bool isTextColourEnabled() const { return m_textColour; }

    Look currentLook() const;
    QColor captionColour() const;

    QSize sizeHint() const override;

    // The picture with every pixel of the key colour made transparent.
    static QPixmap keyedOut(const QPixmap &picture, const QColor &key = QColor(SkinColour::keyColour));

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QPixmap m_normal;
    QPixmap m_hoverImage;
    QPixmap m_pressed;
    bool m_hover = false;
    bool m_active = false;
    bool m_textColour = true;
};

} // namespace numsieve::gui
