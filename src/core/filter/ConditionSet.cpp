#include "core/filter/ConditionSet.h"

#include <algorithm>
#include <type_traits>

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

QString &NumberConditionState::field(NumberField f)
{
    switch (f) {
    case NumberField::OmissionFrom: return omissionFrom;
    case NumberField::OmissionTo: return omissionTo;
    case NumberField::HistoryDepth: break;
    }
    return historyDepth;
}

const QString &NumberConditionState::field(NumberField f) const
{
    return const_cast<NumberConditionState *>(this)->field(f);
}

namespace {

// The include/exclude choice of a pair that is not a list condition's own.
template<typename Set>
auto *extraMode(Set &set, int panel, int pair)
{
    using Mode = std::conditional_t<std::is_const_v<Set>, const ListMode, ListMode>;
    Mode *none = nullptr;
    if (panel == 1 && pair == 0)
        return &set.number.omissionMode;
    if (panel == 1 && pair == 1)
        return &set.number.historyMode;
    if (panel == 6 && pair == 2)
        return &set.bigSmall.rangeMode;
    if (panel == 15 && pair == 0)
        return &set.advanced.mode;
    return none;
}

// The list condition behind a pair, where the pair belongs to one.
int listOfPair(int panel, int pair) { return panel == 1 ? pair - 2 : pair; }

} // namespace

std::optional<ListMode> ConditionSet::mode(int panel, int pair) const
{
    if (const ListMode *m = extraMode(*this, panel, pair))
        return *m;
    const QList<const ListCondition *> panelLists = lists(panel);
    const int list = listOfPair(panel, pair);
    if (list < 0 || list >= panelLists.size())
        return std::nullopt;
    return panelLists.at(list)->mode();
}

bool ConditionSet::setMode(int panel, int pair, ListMode mode)
{
    if (ListMode *m = extraMode(*this, panel, pair)) {
        *m = mode;
        return true;
    }
    const QList<ListCondition *> panelLists = lists(panel);
    const int list = listOfPair(panel, pair);
    if (list < 0 || list >= panelLists.size())
        return false;
    panelLists.at(list)->setMode(mode);
    return true;
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
