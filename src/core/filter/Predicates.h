#pragma once

#include "core/filter/ListCondition.h"
#include "core/model/Number.h"

#include <QString>

#include <algorithm>
#include <array>
#include <optional>

namespace numsieve {

// How a condition list judges a number. Each rule takes a matcher that says
// whether one list entry matches the number; which list it searches and what
// an empty or a full list means differ between the rules. The lists are read
// as held, repeats and foreign entries included: n counts entries, N is the
// size of the list's vocabulary.

// The value-list rule. 包含 searches the AVAILABLE list: the number fails when
// it is among 1..N-1 entries not chosen, so nothing chosen and everything
// chosen both pass. 排除 searches the chosen list and fails everything when
// all N entries are chosen.
template<typename Matches>
bool valueListTest(const ListCondition &c, Matches matches)
{
    const qsizetype vocabSize = c.vocabulary().size();
    if (c.mode() == ListMode::Include) {
        const qsizetype n = c.available().size();
        return !(n >= 1 && n <= vocabSize - 1 && std::ranges::any_of(c.available(), matches));
    }
    const qsizetype n = c.chosen().size();
    if (n == vocabSize)
        return false;
    return !(n >= 1 && n <= vocabSize - 1 && std::ranges::any_of(c.chosen(), matches));
}

// The entry-match rule: only the chosen list is read. 包含 with 1..N-1 entries
// keeps a number that matches one of them; 排除 fails a matching number and,
// with all N chosen, every number.
template<typename Matches>
bool entryMatchTest(const ListCondition &c, Matches matches)
{
    const qsizetype vocabSize = c.vocabulary().size();
    const qsizetype n = c.chosen().size();
    if (c.mode() == ListMode::Include)
        return !(n >= 1 && n <= vocabSize - 1) || std::ranges::any_of(c.chosen(), matches);
    if (n == vocabSize)
        return false;
    return !(n >= 1 && n <= vocabSize - 1 && std::ranges::any_of(c.chosen(), matches));
}

// The rule of the two code lists (直选双码, 组选双码): an empty chosen list
// passes; otherwise 包含 needs a matching code and 排除 forbids one. A full
// list is nothing special here.
template<typename Matches>
bool codeListTest(const ListCondition &c, Matches matches)
{
    if (c.chosen().isEmpty())
        return true;
    const bool any = std::ranges::any_of(c.chosen(), matches);
    return c.mode() == ListMode::Include ? any : !any;
}

// A numeric list entry read as a decimal integer ("-1" is -1); an entry that
// is no integer matches no value.
bool numericEntryEquals(const QString &entry, int value);

// 直选双码: the code equals the number's "%.3d" text with the digit at the
// code's star replaced by "*" ("1*3" matches 103, 113, ..., 193).
bool straightPairMatches(const QString &code, int number);
// 组选双码: the number holds the code's first digit and, after that digit is
// taken away once, the second ("11" needs two 1s). Codes not two long match nothing.
bool groupPairMatches(const QString &code, int number);

// 最大最小号: range = lowest and highest min digit, lowest and highest max digit.
bool rangeTest(ListMode mode, const std::array<int, 4> &range, Digits d);

// A panel 1 edit field: nothing when empty, else its leading integer (0 when
// it does not start with one).
std::optional<int> readEditNumber(const QString &text);
// 遗漏 from lo to hi, either of them possibly not given, for omission d. The
// two bounds may come in either order.
bool omissionRangeTest(ListMode mode, std::optional<int> lo, std::optional<int> hi, int d);
// 历史 with depth N: a depth of 0 or less imposes nothing.
bool historyTest(ListMode mode, int depth, int d);

} // namespace numsieve
