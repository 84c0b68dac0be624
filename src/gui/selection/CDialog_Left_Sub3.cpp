#include "gui/selection/CDialog_Left_Sub3.h"

#include "core/Workspace.h"
#include "gui/app/AppServices.h"
#include "gui/selection/CDigitRowCtrl.h"
#include "gui/selection/CSelectionTypePair.h"

namespace numsieve::gui {

CDialog_Left_Sub3::CDialog_Left_Sub3(Workspace &ws, MessageHandler &leftPanel, AppServices &services,
                                     QWidget *parent)
    : CSelectionPanel(parent)
    , m_ws(ws)
    , m_leftPanel(leftPanel)
    , m_services(services)
{
    setObjectName(QStringLiteral("CDialog_Left_Sub3"));
    m_type = new CSelectionTypePair(this);
    m_type->move(10, 14);
    connect(m_type, &CSelectionTypePair::typeClicked, this, &CDialog_Left_Sub3::chooseType);

    m_banker = new CDigitRowCtrl(QStringLiteral("胆码"), false, this);
    m_banker->move(10, 43);
    connect(m_banker, &CDigitRowCtrl::digitClicked, this, &CDialog_Left_Sub3::toggleBanker);

    m_drag = new CDigitRowCtrl(QStringLiteral("拖码"), true, this);
    m_drag->move(10, 74);
    m_drag->bind(ws.selection.drag);
    refresh();
}

void CDialog_Left_Sub3::refresh()
{
    m_type->showType(m_ws.selection.bankerType);
    m_banker->showRow(m_ws.selection.banker());
    m_drag->showRow(m_ws.selection.drag);
}

void CDialog_Left_Sub3::toggleBanker(int digit)
{
    if (auto done = m_ws.selection.toggleBanker(digit); !done) {
        m_services.warn(this, done.error());
        return;
    }
    m_banker->showRow(m_ws.selection.banker());
}

void CDialog_Left_Sub3::chooseType(SelectionType type)
{
    m_ws.selection.bankerType = type;
    m_type->showType(type);
    m_leftPanel.sendMessage(type == SelectionType::Straight ? WM_SUBPANEL_STRAIGHT : WM_SUBPANEL_GROUP);
}

} // namespace numsieve::gui
