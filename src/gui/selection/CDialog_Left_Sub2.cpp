#include "gui/selection/CDialog_Left_Sub2.h"

#include "core/Workspace.h"
#include "gui/selection/CDigitRowCtrl.h"

namespace numsieve::gui {

CDialog_Left_Sub2::CDialog_Left_Sub2(Workspace &ws, QWidget *parent)
    : CSelectionPanel(parent)
    , m_ws(ws)
{
    setObjectName(QStringLiteral("CDialog_Left_Sub2"));
    m_row = new CDigitRowCtrl(QStringLiteral("号码"), true, this);
    m_row->move(10, (kSize.height() - CDigitRowCtrl::kHeight) / 2);
    m_row->bind(ws.selection.groupDigits);
}

void CDialog_Left_Sub2::refresh()
{
    m_row->showRow(m_ws.selection.groupDigits);
}

} // namespace numsieve::gui
