#include "core/Workspace.h"

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

ListCondition *Workspace::panelList(int panel, int list)
{
    const QList<ListCondition *> lists = conditions.lists(panel);
    return list >= 0 && list < lists.size() ? lists.at(list) : nullptr;
}

void Workspace::switchOffIfEmpty(int panel)
{
    if (panel >= 1 && panel <= kConditionCount && !conditions.hasContent(panel))
        switchCondition(panel + kConditionCount);
}

bool Workspace::addEntries(int panel, int list, const QList<int> &availableRows)
{
    ListCondition *c = panelList(panel, list);
    if (!c || !c->add(availableRows))
        return false;
    if (!c->chosen().isEmpty())
        switchCondition(panel);
    return true;
}

bool Workspace::removeEntries(int panel, int list, const QList<int> &chosenRows)
{
    ListCondition *c = panelList(panel, list);
    if (!c || !c->remove(chosenRows))
        return false;
    switchOffIfEmpty(panel);
    return true;
}

bool Workspace::addAllEntries(int panel, int list)
{
    ListCondition *c = panelList(panel, list);
    if (!c)
        return false;
    const bool moved = c->addAll();
    if (!c->chosen().isEmpty())
        switchCondition(panel);
    return moved;
}

bool Workspace::removeAllEntries(int panel, int list)
{
    ListCondition *c = panelList(panel, list);
    if (!c)
        return false;
    const bool moved = c->removeAll();
    switchOffIfEmpty(panel);
    return moved;
}

void Workspace::setListMode(int panel, int pair, ListMode mode)
{
    conditions.setMode(panel, pair, mode);
}

void Workspace::setTolerable(int panel, bool tolerable)
{
    if (panel >= 1 && panel <= kConditionCount)
        conditions.tolerable[std::size_t(panel)] = tolerable;
}

void Workspace::setNumberField(NumberField field, const QString &text)
{
    conditions.number.field(field) = text;
    if (!text.isEmpty())
        switchCondition(1);
    switchOffIfEmpty(1);
}

void Workspace::setRangeCombo(int combo, int index)
{
    if (combo < 0 || combo > 3)
        return;
    conditions.bigSmall.range[std::size_t(combo)] = index;
    if (index != BigSmallConditionState::kDefaultRange[std::size_t(combo)])
        switchCondition(6);
    else
        switchOffIfEmpty(6);
}

void Workspace::setAdvancedConditionText(const QString &text)
{
    conditions.advanced.conditionText = text;
    switchCondition(text.trimmed().isEmpty() ? 15 + kConditionCount : 15);
}

} // namespace numsieve
