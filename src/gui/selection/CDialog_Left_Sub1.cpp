#include "gui/selection/CDialog_Left_Sub1.h"

#include "core/Workspace.h"
#include "gui/selection/CDigitRowCtrl.h"

namespace numsieve::gui {

CDialog_Left_Sub1::CDialog_Left_Sub1(Workspace &ws, QWidget *parent)
    : CSelectionPanel(parent)
    , m_ws(ws)
{
    setObjectName(QStringLiteral("CDialog_Left_Sub1"));
    const QString captions[] = {QStringLiteral("百位"), QStringLiteral("十位"), QStringLiteral("个位")};
    DigitRow *rows[] = {&ws.selection.hundreds, &ws.selection.tens, &ws.selection.units};
    for (int i = 0; i < 3; ++i) {
        auto *row = new CDigitRowCtrl(captions[i], true, this);
        row->move(10, 12 + 31 * i);
        row->bind(*rows[i]);
        m_rows[std::size_t(i)] = row;
    }
}

void CDialog_Left_Sub1::refresh()
{
    m_rows[0]->showRow(m_ws.selection.hundreds);
    m_rows[1]->showRow(m_ws.selection.tens);
    m_rows[2]->showRow(m_ws.selection.units);
}

} // namespace numsieve::gui
