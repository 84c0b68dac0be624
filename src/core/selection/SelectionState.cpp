#include "core/selection/SelectionState.h"

#include "core/Messages.h"
#include "core/results/NumberListFile.h"
#include "core/results/ResultTables.h"

#include <bitset>

namespace numsieve {

ViewMode SelectionState::viewModeOfPanel(int panel) const
{
    switch (panel) {
    case 2: return ViewMode::Group;
    case 3: return bankerType == SelectionType::Straight ? ViewMode::Straight : ViewMode::Group;
    case 4: return baseType == SelectionType::Straight ? ViewMode::Straight : ViewMode::Group;
    default: return ViewMode::Straight;
    }
}

ViewMode SelectionState::choosePanel(int panel)
{
    if (panel >= 1 && panel <= 4)
        m_activePanel = panel;
    return viewModeOfPanel(m_activePanel);
}

std::expected<void, QString> SelectionState::toggleBanker(int digit)
{
    if (!m_banker.isSelected(digit) && m_banker.count() >= 2)
        return std::unexpected(msg::kTooManyBankers);
    m_banker.toggle(digit);
    return {};
}

std::expected<void, QString> SelectionState::setBanker(const DigitRow &row)
{
    if (row.count() > 2)
        return std::unexpected(msg::kTooManyBankers);
    m_banker = row;
    return {};
}

QString SelectionState::baseLabel() const
{
    return msg::kBaseCountLabel.arg(baseList(baseType).size());
}

std::expected<void, QString> SelectionState::importBaseFile(const QString &path)
{
    QStringList &list = baseList(baseType);
    list.clear();
    auto numbers = readNumberListFile(path);
    if (!numbers)
        return std::unexpected(numbers.error());
    list = withoutRepeats(*numbers);
    return {};
}

namespace {

using NumberSet = std::bitset<1000>;

void markStraight(ResultTables &tables, const NumberSet &candidates)
{
    tables.reset(TableId::Straight);
    for (ResultEntry &e : tables.straight())
        if (candidates.test(e.number))
            e.stage = ResultStage::Selected;
}

// Group entries are marked when their sorted form is among the candidates'
// sorted forms.
void markGroupBySortedForm(ResultTables &tables, const NumberSet &sortedCandidates)
{
    tables.reset(TableId::GroupThree);
    tables.reset(TableId::GroupSix);
    for (TableId id : {TableId::GroupThree, TableId::GroupSix})
        for (ResultEntry &e : tables.table(id))
            if (sortedCandidates.test(e.number))
                e.stage = ResultStage::Selected;
}

void gatherPositional(const SelectionState &s, ResultTables &tables)
{
    NumberSet candidates;
    for (int h : s.hundreds.digits())
        for (int t : s.tens.digits())
            for (int u : s.units.digits())
                candidates.set(numberOf(h, t, u));
    markStraight(tables, candidates);
}

void gatherGroupDigits(const SelectionState &s, ResultTables &tables)
{
    NumberSet sorted;
    if (s.groupDigits.count() >= 2) {
        for (int n = 0; n < 1000; ++n) {
            const Digits d = digitsOf(n);
            if (s.groupDigits.isSelected(d.h) && s.groupDigits.isSelected(d.t) && s.groupDigits.isSelected(d.u))
                sorted.set(sortedForm(n));
        }
    }
    markGroupBySortedForm(tables, sorted);
}

void gatherBankerDrag(const SelectionState &s, ResultTables &tables)
{
    NumberSet generated;
    const QList<int> bankers = s.banker().digits();
    const QList<int> drags = s.drag.digits();
    auto addArrangements = [&](int a, int b, int c) {
        for (int n : {numberOf(a, b, c), numberOf(a, c, b), numberOf(b, a, c), numberOf(b, c, a), numberOf(c, a, b),
                      numberOf(c, b, a)})
            generated.set(n);
    };
    if (bankers.size() == 1) {
        for (int x : drags)
            for (int y : drags)
                addArrangements(bankers[0], x, y);
    } else if (bankers.size() == 2) {
        for (int d : drags)
            addArrangements(bankers[0], bankers[1], d);
    }
    if (s.bankerType == SelectionType::Straight) {
        markStraight(tables, generated);
        return;
    }
    NumberSet sorted;
    for (int n = 0; n < 1000; ++n)
        if (generated.test(n))
            sorted.set(sortedForm(n));
    markGroupBySortedForm(tables, sorted);
}

void gatherBase(const SelectionState &s, ResultTables &tables)
{
    const QStringList &lines = s.baseList(s.baseType);
    if (s.baseType == SelectionType::Straight) {
        NumberSet candidates;
        for (const QString &line : lines) {
            bool ok = false;
            const int n = line.toInt(&ok);
            if (ok && line.size() == 3 && n >= 0 && line == numberText(n))
                candidates.set(n);
        }
        markStraight(tables, candidates);
        return;
    }
    // Group-three entries match a line whose sorted characters equal them;
    // group-six entries a line of three different digits that all occur in them.
    NumberSet sortedGroupThree;
    NumberSet sortedGroupSix;
    for (const QString &line : lines) {
        bool ok = false;
        const int n = line.toInt(&ok);
        if (!ok || line.size() != 3 || line != numberText(n))
            continue;
        if (groupKind(n) == GroupKind::GroupSix)
            sortedGroupSix.set(sortedForm(n));
        sortedGroupThree.set(sortedForm(n));
    }
    tables.reset(TableId::GroupThree);
    tables.reset(TableId::GroupSix);
    for (ResultEntry &e : tables.groupThree())
        if (sortedGroupThree.test(e.number))
            e.stage = ResultStage::Selected;
    for (ResultEntry &e : tables.groupSix())
        if (sortedGroupSix.test(e.number))
            e.stage = ResultStage::Selected;
}

} // namespace

void gather(const SelectionState &selection, ResultTables &tables)
{
    switch (selection.activePanel()) {
    case 1: gatherPositional(selection, tables); break;
    case 2: gatherGroupDigits(selection, tables); break;
    case 3: gatherBankerDrag(selection, tables); break;
    case 4: gatherBase(selection, tables); break;
    default: break;
    }
}

} // namespace numsieve
