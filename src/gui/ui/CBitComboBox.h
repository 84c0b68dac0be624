#pragma once

#include "gui/ui/DropDown.h"
#include "gui/ui/SkinImages.h"

#include <QColor>

namespace numsieve::gui {

// A drop-down list painted from pictures: a left end, a middle stretched to
// the width and a drop button at the right end. Items of the open list are
// painted on their own colours, the selected one on the selected colours,
// over a (115, 138, 154) list with a frame. A wheel turn changes the choice
// only while the box has a focus the user gave it.
class CBitComboBox : public DropDownBox
{
    Q_OBJECT

public:
    explicit CBitComboBox(QWidget *parent = nullptr);

    void setParts(const ComboParts &parts);
    const ComboParts &parts() const { return m_parts; }

    void setItemColours(const QColor &selectedBackground, const QColor &selectedText,
                        const QColor &normalBackground, const QColor &normalText);
    QColor selectedBackground() const { return m_selectedBackground; }
    QColor selectedText() const { return m_selectedText; }
    QColor normalBackground() const { return m_normalBackground; }
    QColor normalText() const { return m_normalText; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ComboParts m_parts;
    QColor m_selectedBackground{22, 84, 156};
    QColor m_selectedText{255, 255, 255};
    QColor m_normalBackground{242, 248, 255};
    QColor m_normalText{0, 54, 101};
};

} // namespace numsieve::gui
