#include "gui/ui/DropDown.h"

#include "gui/ui/FlatFrame.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QListView>
#include <QPointer>
#include <QProxyStyle>
#include <QScrollBar>
#include <QWheelEvent>

namespace numsieve::gui {

namespace {

// A style that pops the list up over the box ignores maxVisibleItems and
// grows the list to the height of the screen, hides the scroll bar behind
// arrow strips and measures every item for the list's width first, which
// takes a visible moment with a hundred thousand issues. Dropping the list
// under the box avoids all three.
class DropDownStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle *dropDownStyle()
{
    // One instance for all boxes, gone with the application.
    static QPointer<QStyle> style;
    if (!style) {
        style = new DropDownStyle;
        style->setParent(qApp);
    }
    return style;
}

// Opening the list and switching windows move the focus away and back
// without any choice of the user's; they leave the state as it was.
bool passing(Qt::FocusReason reason)
{
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

} // namespace

void setUpDropDown(QComboBox *box)
{
    // The style must be in place before the list is made: the list takes its
    // scroll bar policy from the style the box has at that moment.
    box->setStyle(dropDownStyle());
    box->setFocusPolicy(Qt::StrongFocus);
    QAbstractItemView *view = box->view();
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The skin's slim bar, whose handle stands out from its track.
    view->verticalScrollBar()->setStyleSheet(scrollBarStyleSheet());
    // Rows of one height let the list place a hundred thousand entries
    // without asking each for its size.
    if (auto *list = qobject_cast<QListView *>(view))
        list->setUniformItemSizes(true);
}

DropDownBox::DropDownBox(QWidget *parent)
    : QComboBox(parent)
{
    setUpDropDown(this);
}

void DropDownBox::wheelEvent(QWheelEvent *event)
{
    if (!m_focusGiven || !hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

void DropDownBox::focusInEvent(QFocusEvent *event)
{
    if (!passing(event->reason()))
        m_focusGiven = true;
    QComboBox::focusInEvent(event);
}

void DropDownBox::focusOutEvent(QFocusEvent *event)
{
    if (!passing(event->reason()))
        m_focusGiven = false;
    QComboBox::focusOutEvent(event);
}

} // namespace numsieve::gui
