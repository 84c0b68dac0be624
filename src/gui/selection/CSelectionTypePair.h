#pragma once

#include "core/selection/SelectionState.h"

#include <QWidget>

class QLabel;

namespace numsieve::gui {

class CBitmapButtonEx;

// The 类型 radio pair 直选 / 组选 of the banker/drag and base-file panels.
// It shows a type and reports the button clicked; the panel decides.
class CSelectionTypePair : public QWidget
{
    Q_OBJECT

public:
    explicit CSelectionTypePair(QWidget *parent = nullptr);

    void showType(SelectionType type);
    SelectionType shownType() const { return m_type; }

    CBitmapButtonEx *button(SelectionType type) const
    {
        return type == SelectionType::Straight ? m_straight : m_group;
    }

Q_SIGNALS:
    void typeClicked(numsieve::SelectionType type);

private:
    QLabel *m_caption = nullptr;
    CBitmapButtonEx *m_straight = nullptr;
    CBitmapButtonEx *m_group = nullptr;
    SelectionType m_type = SelectionType::Straight;
};

} // namespace numsieve::gui
