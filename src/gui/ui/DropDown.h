#pragma once

#include <QtCore/qnamespace.h>

class QComboBox;

namespace numsieve::gui {

// What every drop-down list of the window shares, whatever it looks like
// closed: the list opens under the box with at most maxVisibleItems rows and
// a scroll bar for the rest, so that every entry is reachable and no list
// runs off the screen; and the box takes the keyboard focus by tab or click
// only, never by a wheel turn that merely passes over it.
void setUpDropDown(QComboBox *box);

// Whether a wheel turn over a closed box may change its choice: only while
// the box holds a focus the user gave it, by a click, a tab or a command.
// The focus a window hands its first control when it is activated is not
// such a choice: at start the lottery selector has it, and a turn meant for
// the map must not change the lottery. Otherwise the box lets the turn go
// on to its parent, which scrolls the map.
class WheelFocus
{
public:
    void focusIn(Qt::FocusReason reason);
    void focusOut(Qt::FocusReason reason);
    bool allowsWheel(const QComboBox *box) const;

private:
    bool m_given = false;
};

} // namespace numsieve::gui
