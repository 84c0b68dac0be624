#pragma once

#include <QComboBox>

namespace numsieve::gui {

// What every drop-down list of the window shares, whatever it looks like
// closed: the list opens under the box with at most maxVisibleItems rows and
// a scroll bar for the rest, so that every entry is reachable and no list
// runs off the screen; and the box takes the keyboard focus by tab or click
// only, never by a wheel turn that merely passes over it.
void setUpDropDown(QComboBox *box);

// The base of the skinned drop-down lists: set up as above, and a wheel
// turn over the closed box changes its choice only while the box holds a
// focus the user gave it, by a click, a tab or a command. The focus a window
// hands its first control when it is activated is not such a choice: at
// start the lottery selector has it, and a turn meant for the map must not
// change the lottery. Otherwise the box lets the turn go on to its parent,
// which scrolls the map.
class DropDownBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DropDownBox(QWidget *parent = nullptr);

protected:
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool m_focusGiven = false;
};

} // namespace numsieve::gui
