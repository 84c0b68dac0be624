#pragma once

#include "gui/selection/CSelectionPanel.h"

namespace numsieve {
class Workspace;
}

namespace numsieve::gui {

class CDigitRowCtrl;

// 组选: one row of group digits.
class CDialog_Left_Sub2 : public CSelectionPanel
{
    Q_OBJECT

public:
    CDialog_Left_Sub2(Workspace &ws, QWidget *parent = nullptr);

    void refresh() override;

    CDigitRowCtrl *row() const { return m_row; }

private:
    Workspace &m_ws;
    CDigitRowCtrl *m_row = nullptr;
};

} // namespace numsieve::gui
