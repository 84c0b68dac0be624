#pragma once

#include "gui/selection/CSelectionPanel.h"

#include <array>

namespace numsieve {
class Workspace;
}

namespace numsieve::gui {

class CDigitRowCtrl;

// 直选: one digit row for each of 百位, 十位 and 个位.
class CDialog_Left_Sub1 : public CSelectionPanel
{
    Q_OBJECT

public:
    CDialog_Left_Sub1(Workspace &ws, QWidget *parent = nullptr);

    void refresh() override;

    // 0 百位, 1 十位, 2 个位
    CDigitRowCtrl *row(int position) const { return m_rows.at(std::size_t(position)); }

private:
    Workspace &m_ws;
    std::array<CDigitRowCtrl *, 3> m_rows{};
};

} // namespace numsieve::gui
