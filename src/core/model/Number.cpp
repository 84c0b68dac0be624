#include "core/model/Number.h"

#include <algorithm>

namespace numsieve {

int sortedForm(int number)
{
    std::array<int, 3> d{number / 100, (number % 100) / 10, number % 10};
    std::ranges::sort(d);
    return numberOf(d[0], d[1], d[2]);
}

GroupKind groupKind(int number)
{
    const Digits d = digitsOf(number);
    if (d.h == d.t && d.t == d.u)
        return GroupKind::Triple;
    if (d.h == d.t || d.t == d.u || d.h == d.u)
        return GroupKind::GroupThree;
    return GroupKind::GroupSix;
}

QString numberText(int number)
{
    return QString::number(number).rightJustified(3, QLatin1Char('0'));
}

const QString &sharedNumberText(int number)
{
    static const std::array<QString, 1000> texts = [] {
        std::array<QString, 1000> all;
        for (int i = 0; i < 1000; ++i)
            all[size_t(i)] = numberText(i);
        return all;
    }();
    return texts[size_t(number)];
}

const std::array<int, 1000> &straightNumbers()
{
    static const std::array<int, 1000> table = [] {
        std::array<int, 1000> t{};
        for (int i = 0; i < 1000; ++i)
            t[i] = i;
        return t;
    }();
    return table;
}

const std::array<int, 90> &groupThreeNumbers()
{
    static const std::array<int, 90> table = [] {
        std::array<int, 90> t{};
        int i = 0;
        for (int a = 0; a <= 8; ++a) {
            for (int b = a + 1; b <= 9; ++b)
                t[i++] = numberOf(a, a, b);
            for (int b = a + 1; b <= 9; ++b)
                t[i++] = numberOf(a, b, b);
        }
        return t;
    }();
    return table;
}

const std::array<int, 120> &groupSixNumbers()
{
    static const std::array<int, 120> table = [] {
        std::array<int, 120> t{};
        int i = 0;
        for (int a = 0; a <= 9; ++a)
            for (int b = a + 1; b <= 9; ++b)
                for (int c = b + 1; c <= 9; ++c)
                    t[i++] = numberOf(a, b, c);
        return t;
    }();
    return table;
}

} // namespace numsieve
