#pragma once

#include "gui/ui/SkinImages.h"

#include <QAbstractButton>
#include <QPixmap>

namespace numsieve::gui {

// A plain picture button: an up and a down picture and, optionally, a
// disabled one; it takes the size of its up picture. Used for the bottom
// command buttons, the tabs, the include/exclude pairs, the 容错 box and
// the move buttons, whose pictures carry their own text.
class CBitmapButtonEx : public QAbstractButton
{
    Q_OBJECT

public:
    explicit CBitmapButtonEx(QWidget *parent = nullptr);

    void setImages(const QPixmap &up, const QPixmap &down, const QPixmap &disabled = {});
    void setImages(const BitmapLooks &looks) { setImages(looks.up, looks.down, looks.disabled); }

    // The picture shown now: down while pressed, disabled (when given) while
    // disabled, otherwise up.
    QPixmap currentImage() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_up;
    QPixmap m_down;
    QPixmap m_disabled;
};

} // namespace numsieve::gui
