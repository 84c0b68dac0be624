#include "core/filter/DrawDigitSets.h"

#include "core/model/Attributes.h"

namespace numsieve {

namespace {

QChar digitChar(int digit) { return QChar(u'0' + digit); }

QString distinctChars(const QString &text)
{
    QString out;
    for (QChar c : text)
        if (!out.contains(c))
            out.append(c);
    return out;
}

// The digits 0 to 9, ascending, for which keep holds.
template<typename Keep>
QString digitsWhere(Keep keep)
{
    QString out;
    for (int v = 0; v <= 9; ++v)
        if (keep(digitChar(v)))
            out.append(digitChar(v));
    return out;
}

const char16_t kNewOldJumpMarks[3] = {u'新', u'旧', u'跳'};
const char16_t kOldDiagonalIsolatedMarks[3] = {u'旧', u'斜', u'孤'};

} // namespace

DrawDigitSets DrawDigitSets::fromDraws(const QStringList &draws)
{
    DrawDigitSets sets;
    const qsizetype n = draws.size();
    if (n == 0) {
        sets.newDigits = digitsWhere([](QChar) { return true; });
    } else if (n == 1) {
        sets.oldDigits = distinctChars(draws.at(0));
        sets.newDigits = digitsWhere([&](QChar c) { return !sets.oldDigits.contains(c); });
    } else {
        const QString &latest = draws.at(n - 1);
        const QString &before = draws.at(n - 2);
        sets.oldDigits = distinctChars(latest);
        for (QChar c : distinctChars(before))
            if (!latest.contains(c))
                sets.jumpDigits.append(c);
        sets.newDigits = digitsWhere([&](QChar c) { return !latest.contains(c) && !before.contains(c); });
    }

    // There is no wrap-around: 0 and 9 have one neighbour each.
    const QString &old = sets.oldDigits;
    sets.diagonalDigits = digitsWhere([&](QChar c) {
        const int v = c.unicode() - u'0';
        return !old.contains(c) && ((v > 0 && old.contains(digitChar(v - 1))) || (v < 9 && old.contains(digitChar(v + 1))));
    });
    sets.isolatedDigits = digitsWhere([&](QChar c) { return !sets.diagonalDigits.contains(c); });
    return sets;
}

int DrawDigitSets::newOldJumpMark(int digit) const
{
    const QChar c = digitChar(digit);
    if (oldDigits.contains(c))
        return 1;
    if (jumpDigits.contains(c))
        return 2;
    return 0;
}

int DrawDigitSets::oldDiagonalIsolatedMark(int digit) const
{
    const QChar c = digitChar(digit);
    if (oldDigits.contains(c))
        return 0;
    if (diagonalDigits.contains(c))
        return 1;
    if (isolatedDigits.contains(c))
        return 2;
    return 0;
}

QString newOldJumpShape(Digits d, const DrawDigitSets &sets)
{
    return classShape(d, kNewOldJumpMarks, [&](int v) { return sets.newOldJumpMark(v); });
}

QString newOldJumpRatio(Digits d, const DrawDigitSets &sets)
{
    return classRatio(d, [&](int v) { return sets.newOldJumpMark(v); });
}

QString oldDiagonalIsolatedShape(Digits d, const DrawDigitSets &sets)
{
    return classShape(d, kOldDiagonalIsolatedMarks, [&](int v) { return sets.oldDiagonalIsolatedMark(v); });
}

QString oldDiagonalIsolatedRatio(Digits d, const DrawDigitSets &sets)
{
    return classRatio(d, [&](int v) { return sets.oldDiagonalIsolatedMark(v); });
}

} // namespace numsieve
