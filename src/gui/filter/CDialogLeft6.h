#pragma once

#include "gui/filter/ConditionPanel.h"

namespace numsieve::gui {

class CComboBoxFlat;

// Condition 6, 大小: big/small shape and ratio lists and the range of the
// smallest and the largest digit.
class CDialogLeft6 : public ConditionPanel
{
    Q_OBJECT

public:
    CDialogLeft6(Workspace &ws, MessageHandler &mainWindow, QWidget *parent = nullptr);

    void refresh() override;

private:
    CComboBoxFlat *m_combos[4] = {};
};

} // namespace numsieve::gui
