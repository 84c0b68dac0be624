#include "filter/ConditionSet.h"

#include <algorithm>

namespace numsieve {

QList<ListCondition *> ConditionSet::lists(int panel)
{
    switch (panel) {
    case 1: return {&number.straightPairs, &number.groupPairs};
    case 2: return {&sum, &sumTail};
    case 3: return {&average};
    case 4: return {&span};
    case 5: return {&ac};
    case 6: return {&bigSmall.shape, &bigSmall.ratio};
    case 7: return {&oddEvenShape, &oddEvenRatio};
    case 8: return {&primeShape, &primeRatio};
    case 9: return {&mod3Shape, &mod3Ratio};
    case 10: return {&newOldJumpShape, &newOldJumpRatio};
    case 11: return {&oldDiagonalShape, &oldDiagonalRatio};
    case 12: return {&repeat};
    case 13: return {&consecutive};
    case 14: return {&interval};
    default: return {};
    }
}

QList<const ListCondition *> ConditionSet::lists(int panel) const
{
    QList<const ListCondition *> out;
    for (ListCondition *l : const_cast<ConditionSet *>(this)->lists(panel))
        out.append(l);
    return out;
}

bool ConditionSet::hasContent(int panel) const
{
    const QList<const ListCondition *> panelLists = lists(panel);
    const bool anyChosen = std::ranges::any_of(panelLists, [](const ListCondition *l) { return !l->chosen().isEmpty(); });
    switch (panel) {
    case 1:
        return anyChosen || !number.omissionFrom.isEmpty() || !number.omissionTo.isEmpty()
               || !number.historyDepth.isEmpty();
    case 6: return anyChosen || bigSmall.range != BigSmallConditionState::kDefaultRange;
    case 15: return !advanced.conditionText.trimmed().isEmpty();
    default: return anyChosen;
    }
}

} // namespace numsieve
