#pragma once

#include "gui/filter/ConditionPanel.h"

namespace numsieve::gui {

class CLineEditFlat;

// Condition 1, 号码: omission range, recent history and the two code lists.
class CDialogLeft1 : public ConditionPanel
{
    Q_OBJECT

public:
    CDialogLeft1(Workspace &ws, MessageHandler &mainWindow, QWidget *parent = nullptr);

    void refresh() override;

private:
    CLineEditFlat *m_edits[3] = {};
};

} // namespace numsieve::gui
