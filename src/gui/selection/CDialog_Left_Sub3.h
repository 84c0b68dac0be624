#pragma once

#include "gui/app/WindowMessages.h"
#include "gui/selection/CSelectionPanel.h"
#include "core/selection/SelectionState.h"

namespace numsieve {
class Workspace;
}

namespace numsieve::gui {

class AppServices;
class CDigitRowCtrl;
class CSelectionTypePair;

// 胆拖: the 类型 pair, the banker row (at most two digits) and the drag row.
// A 类型 click tells the left control panel, which passes the view mode on.
class CDialog_Left_Sub3 : public CSelectionPanel
{
    Q_OBJECT

public:
    CDialog_Left_Sub3(Workspace &ws, MessageHandler &leftPanel, AppServices &services, QWidget *parent = nullptr);

    void refresh() override;

    CSelectionTypePair *typePair() const { return m_type; }
    CDigitRowCtrl *bankerRow() const { return m_banker; }
    CDigitRowCtrl *dragRow() const { return m_drag; }

private:
    void toggleBanker(int digit);
    void chooseType(SelectionType type);

    Workspace &m_ws;
    MessageHandler &m_leftPanel;
    AppServices &m_services;
    CSelectionTypePair *m_type = nullptr;
    CDigitRowCtrl *m_banker = nullptr;
    CDigitRowCtrl *m_drag = nullptr;
};

} // namespace numsieve::gui
