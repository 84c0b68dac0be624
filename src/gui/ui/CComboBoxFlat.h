#pragma once

#include "gui/ui/DropDown.h"

namespace numsieve::gui {

// A drop-down list drawn flat: white face, a (136, 172, 213) frame with a
// white line inside, and a white drop area as wide as a scroll bar with the
// arrow in the frame colour. A wheel turn changes the choice only while the
// box has a focus the user gave it.
class CComboBoxFlat : public DropDownBox
{
    Q_OBJECT

public:
    explicit CComboBoxFlat(QWidget *parent = nullptr);

    // The drop area at the right end.
    QRect dropButtonRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace numsieve::gui
