#include "core/filter/Predicates.h"

#include "core/model/Attributes.h"

#include <limits>

namespace numsieve {

bool numericEntryEquals(const QString &entry, int value)
{
    bool ok = false;
    const int v = entry.toInt(&ok);
    return ok && v == value;
}

bool straightPairMatches(const QString &code, int number)
{
    const qsizetype star = code.indexOf(u'*');
    if (code.size() != 3 || star < 0)
        return false;
    QString text = numberText(number);
    text[star] = u'*';
    return text == code;
}

bool groupPairMatches(const QString &code, int number)
{
    if (code.size() != 2)
        return false;
    QString text = numberText(number);
    const qsizetype first = text.indexOf(code.at(0));
    if (first < 0)
        return false;
    text.remove(first, 1);
    return text.contains(code.at(1));
}

bool rangeTest(ListMode mode, const std::array<int, 4> &range, Digits d)
{
    const int lo = minDigit(d);
    const int hi = maxDigit(d);
    const bool inside = range[0] <= lo && lo <= range[1] && range[2] <= hi && hi <= range[3];
    return mode == ListMode::Include ? inside : !inside;
}

std::optional<int> readEditNumber(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+'))
        negative = text.at(i++) == u'-';
    long long value = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i)
        value = std::min<long long>(value * 10 + (text.at(i).unicode() - u'0'), std::numeric_limits<int>::max());
    return int(negative ? -value : value);
}

bool omissionRangeTest(ListMode mode, std::optional<int> lo, std::optional<int> hi, int d)
{
    if (!lo && !hi)
        return true;
    const bool include = mode == ListMode::Include;
    if (!hi)
        return include ? d >= *lo : d < *lo;
    const int low = std::min(lo.value_or(-1), *hi);
    const int high = std::max(lo.value_or(-1), *hi);
    return include ? (low <= d && d <= high) : (d < low || d > high);
}

bool historyTest(ListMode mode, int depth, int d)
{
    if (depth <= 0)
        return true;
    return mode == ListMode::Include ? d < depth : d >= depth;
}

} // namespace numsieve
