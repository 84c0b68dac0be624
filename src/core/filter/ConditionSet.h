#pragma once

#include "core/filter/ListCondition.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace numsieve {

constexpr int kConditionCount = 15;

// Panel 1's three edit boxes.
enum class NumberField { OmissionFrom = 0, OmissionTo = 1, HistoryDepth = 2 };

// Panel 1: omission range, recent history and the two code lists.
struct NumberConditionState {
    ListMode omissionMode = ListMode::Include;
    ListMode historyMode = ListMode::Include;
    QString omissionFrom;   // digits only, empty when not given
    QString omissionTo;
    QString historyDepth;
    QString &field(NumberField f);
    const QString &field(NumberField f) const;
    ListCondition straightPairs{Vocab::StraightPair};
    ListCondition groupPairs{Vocab::GroupPair};
};

// Panel 6: big/small shape and ratio, and the max/min digit range.
struct BigSmallConditionState {
    ListCondition shape{Vocab::BigSmallShape};
    ListCondition ratio{Vocab::BigSmallRatio};
    ListMode rangeMode = ListMode::Include;
    // lowest min digit, highest min digit, lowest max digit, highest max digit
    std::array<int, 4> range{0, 9, 0, 9};
    static constexpr std::array<int, 4> kDefaultRange{0, 9, 0, 9};
};

// Panel 15: the advanced script conditions.
struct AdvancedConditionState {
    ListMode mode = ListMode::Include;
    QString conditionText;  // the accepted expressions, each ending in ";\r\n"
    QString expression;     // the expression being composed
    std::array<int, 3> selectors{0, 0, 0};
};

// Everything the fifteen condition panels hold. Panels are numbered 1 to 15 in
// the order the filter engine runs them.
class ConditionSet
{
public:
    std::array<bool, kConditionCount + 1> tolerable{};   // index 1..15 (容错)

    NumberConditionState number;                                   // 1
    ListCondition sum{Vocab::Sum};                                 // 2
    ListCondition sumTail{Vocab::SumTail};                         // 2
    ListCondition average{Vocab::Average};                         // 3
    ListCondition span{Vocab::Span};                               // 4
    ListCondition ac{Vocab::Ac};                                   // 5
    BigSmallConditionState bigSmall;                               // 6
    ListCondition oddEvenShape{Vocab::OddEvenShape};               // 7
    ListCondition oddEvenRatio{Vocab::OddEvenRatio};               // 7
    ListCondition primeShape{Vocab::PrimeShape};                   // 8
    ListCondition primeRatio{Vocab::PrimeRatio};                   // 8
    ListCondition mod3Shape{Vocab::Mod3Shape};                     // 9
    ListCondition mod3Ratio{Vocab::Mod3Ratio};                     // 9
    ListCondition newOldJumpShape{Vocab::NewOldJumpShape};         // 10
    ListCondition newOldJumpRatio{Vocab::NewOldJumpRatio};         // 10
    ListCondition oldDiagonalShape{Vocab::OldDiagonalIsolatedShape}; // 11
    ListCondition oldDiagonalRatio{Vocab::OldDiagonalIsolatedRatio}; // 11
    ListCondition repeat{Vocab::Repeat};                           // 12
    ListCondition consecutive{Vocab::Consecutive};                 // 13
    ListCondition interval{Vocab::Interval};                       // 14
    AdvancedConditionState advanced;                               // 15

    // The list conditions of a panel, top to bottom (panel 15 has none).
    QList<ListCondition *> lists(int panel);
    QList<const ListCondition *> lists(int panel) const;

    // Whether the panel has content, the rule that switches its condition on or off.
    bool hasContent(int panel) const;

    // The include/exclude choices of a panel, top to bottom: panel 1 遗漏, 历史,
    // 直选双码, 组选双码; panel 6 大小形态, 大小比, 最大最小号; the list panels
    // one per list; panel 15 one. Nothing for a pair the panel does not have.
    std::optional<ListMode> mode(int panel, int pair) const;
    // Returns false, changing nothing, for a pair the panel does not have.
    bool setMode(int panel, int pair, ListMode mode);
};

} // namespace numsieve
