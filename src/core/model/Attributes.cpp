#include "core/model/Attributes.h"

#include <algorithm>
#include <cstdlib>

namespace numsieve {

namespace {

template<typename MarkOf>
QString shapeOf(Digits d, MarkOf markOf)
{
    return QString(markOf(d.h)) + markOf(d.t) + markOf(d.u);
}

QString twoPartRatio(Digits d, bool (*first)(int))
{
    const int n = int(first(d.h)) + int(first(d.t)) + int(first(d.u));
    return QStringLiteral("%1:%2").arg(n).arg(3 - n);
}

bool isBig(int digit) { return digit >= 5; }
bool isOdd(int digit) { return digit % 2 == 1; }
bool isPrime(int digit) { return digit == 1 || digit == 2 || digit == 3 || digit == 5 || digit == 7; }
// 0 big (7-9), 1 middle (3-6), 2 small (0-2)
int threeWayClass(int digit) { return digit >= 7 ? 0 : (digit >= 3 ? 1 : 2); }

} // namespace

int digitSum(Digits d) { return d.h + d.t + d.u; }
int sumTail(Digits d) { return digitSum(d) % 10; }
int average(Digits d) { return (digitSum(d) + 1) / 3; }
int maxDigit(Digits d) { return std::max({d.h, d.t, d.u}); }
int minDigit(Digits d) { return std::min({d.h, d.t, d.u}); }
int span(Digits d) { return maxDigit(d) - minDigit(d); }

int acValue(Digits d)
{
    if (d.t == d.u)
        return d.h == d.t ? -1 : 0;
    return (d.h == d.t || d.t - d.h == d.u - d.t) ? 0 : 1;
}

QString bigSmallShape(Digits d)
{
    return shapeOf(d, [](int v) { return isBig(v) ? u'大' : u'小'; });
}

QString bigSmallRatio(Digits d) { return twoPartRatio(d, isBig); }

QString bigMidSmallShape(Digits d)
{
    static const char16_t marks[3] = {u'大', u'中', u'小'};
    return classShape(d, marks, threeWayClass);
}

QString bigMidSmallRatio(Digits d) { return classRatio(d, threeWayClass); }

QString oddEvenShape(Digits d)
{
    return shapeOf(d, [](int v) { return isOdd(v) ? u'奇' : u'偶'; });
}

QString oddEvenRatio(Digits d) { return twoPartRatio(d, isOdd); }

QString primeCompositeShape(Digits d)
{
    return shapeOf(d, [](int v) { return isPrime(v) ? u'质' : u'合'; });
}

QString primeCompositeRatio(Digits d) { return twoPartRatio(d, isPrime); }

QString mod3Shape(Digits d)
{
    return QStringLiteral("%1%2%3").arg(d.h % 3).arg(d.t % 3).arg(d.u % 3);
}

QString mod3Ratio(Digits d)
{
    return classRatio(d, [](int v) { return v % 3; });
}

std::array<bool, 6> repeatKinds(Digits d)
{
    const bool ht = d.h == d.t;
    const bool hu = d.h == d.u;
    const bool tu = d.t == d.u;
    return {ht && tu, ht || hu || tu, ht, hu, tu, !ht && !hu && !tu};
}

std::array<bool, 14> stepKinds(Digits d, int step)
{
    std::array<int, 3> s{d.h, d.t, d.u};
    std::ranges::sort(s);
    const int gap1 = s[1] - s[0];
    const int gap2 = s[2] - s[1];
    std::array<bool, 14> kinds{};
    if (gap1 == step && gap2 == step) {
        const bool ordered = (d.h - d.t == step && d.t - d.u == step) || (d.h - d.t == -step && d.t - d.u == -step);
        kinds[0] = true;
        kinds[1] = ordered;
        kinds[2] = !ordered;
    } else if (gap1 == step || gap2 == step) {
        kinds[3] = true;
        kinds[4] = std::abs(d.h - d.t) == step;
        kinds[5] = std::abs(d.h - d.u) == step;
        kinds[6] = std::abs(d.t - d.u) == step;
        const GroupKind kind = groupKind(numberOf(d.h, d.t, d.u));
        const int first = kind == GroupKind::GroupThree ? 7 : (kind == GroupKind::GroupSix ? 10 : -1);
        if (first >= 0) {
            kinds[first] = kinds[4];
            kinds[first + 1] = kinds[5];
            kinds[first + 2] = kinds[6];
        }
    } else {
        kinds[13] = true;
    }
    return kinds;
}

} // namespace numsieve
