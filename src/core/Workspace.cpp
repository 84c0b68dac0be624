#include "Workspace.h"

namespace numsieve {

void Workspace::switchCondition(int code)
{
    if (code >= 1 && code <= kConditionCount) {
        enabled[code] = true;
        markedCondition = code;
        currentConditionButton = code + kConditionCount;
    } else if (code > kConditionCount && code <= 2 * kConditionCount) {
        const int n = code - kConditionCount;
        enabled[n] = false;
        markedCondition = n;
        currentConditionButton = n;
    }
}

void Workspace::updateConditionSwitch(int panel)
{
    switchCondition(conditions.hasContent(panel) ? panel : panel + kConditionCount);
}

void Workspace::clickConditionButton(int k)
{
    if (k < 1 || k > 2 * kConditionCount)
        return;
    const int n = k % kConditionCount == 0 ? kConditionCount : k % kConditionCount;
    markedCondition = n;
    currentConditionButton = k;
    shownConditionPanel = n;
}

void Workspace::chooseSelectionPanel(int panel)
{
    tables.setViewMode(selection.choosePanel(panel));
}

} // namespace numsieve
