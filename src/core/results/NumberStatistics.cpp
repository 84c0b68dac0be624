#include "core/results/NumberStatistics.h"

#include "core/model/Attributes.h"
#include "core/model/Number.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace numsieve {

namespace {

bool isThreeDigits(const QString &text)
{
    return text.size() == 3 && std::ranges::all_of(text, [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The draw as it is compared in group mode. A text that is not three digits
// gets no group form: letting it through as a number would make "abc" or "12"
// count for 000 or 012, which a straight comparison never does.
QString groupForm(const QString &draw)
{
    if (!isThreeDigits(draw))
        return {};
    return numberText(sortedForm(draw.toInt()));
}

// printf's "%.2f", rounding included.
QString fixed2(float value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", double(value));
    return QString::fromLatin1(buffer);
}

const QString kNone = QStringLiteral("无");
// The chance is the current omission measured in average omissions. When the
// number came out only in the oldest draw (or only in back-to-back draws from
// the start) the average is 0 and the ratio has no finite value while the
// number stays out: it is more overdue than any finite figure could say, and
// "无" would wrongly suggest there is no chance at all.
const QString kUnbounded = QStringLiteral("∞");

QString intOrNone(int value)
{
    return value == 0 ? kNone : QString::number(value);
}

QString floatOrNone(float value)
{
    if (std::isinf(value))
        return kUnbounded;
    return value == 0.0f ? kNone : fixed2(value);
}

} // namespace

NumberStatistics numberStatistics(int number, const QStringList &draws, bool group)
{
    NumberStatistics s;
    s.drawCount = int(draws.size());
    if (draws.isEmpty())
        return s;

    const QString wanted = numberText(group ? sortedForm(number) : number);
    int lastHit = -1;
    for (int i = 0; i < s.drawCount; ++i) {
        const QString &draw = draws.at(i);
        if ((group ? groupForm(draw) : draw) != wanted)
            continue;
        const int gap = i - lastHit - 1;
        ++s.hitCount;
        s.omissionSum += gap;
        s.previousOmission = gap;
        s.maximumOmission = std::max(s.maximumOmission, gap);
        lastHit = i;
    }

    s.hitPercentage = float(s.hitCount) / float(s.drawCount) * 100.0f;
    if (s.hitCount == 0) {
        s.currentOmission = s.drawCount;
        return s;
    }
    s.currentOmission = s.drawCount - lastHit - 1;
    s.averageOmission = float(s.omissionSum) / float(s.hitCount);
    if (s.averageOmission != 0.0f)
        s.chance = float(s.currentOmission) / s.averageOmission;
    else if (s.currentOmission > 0)
        s.chance = std::numeric_limits<float>::infinity();
    return s;
}

QStringList numberInfoLines(int number, const QStringList &draws, bool group)
{
    return numberInfoLines(number, numberStatistics(number, draws, group));
}

QStringList numberInfoLines(int number, const NumberStatistics &s)
{
    const Digits d = digitsOf(number);
    return {
        QStringLiteral("号码　　　　") + numberText(number),
        QStringLiteral("和值　　　　") + QString::number(digitSum(d)),
        QStringLiteral("和尾数　　　") + QString::number(sumTail(d)),
        QStringLiteral("平均值　　　") + QString::number(average(d)),
        QStringLiteral("跨度　　　　") + QString::number(span(d)),
        QStringLiteral("AC值　　　　") + QString::number(acValue(d)),
        QStringLiteral("大小形态　　") + bigSmallShape(d),
        QStringLiteral("大小比　　　") + bigSmallRatio(d),
        QStringLiteral("大中小形态　") + bigMidSmallShape(d),
        QStringLiteral("大中小比　　") + bigMidSmallRatio(d),
        QStringLiteral("最大号　　　") + QString::number(maxDigit(d)),
        QStringLiteral("最小号　　　") + QString::number(minDigit(d)),
        QStringLiteral("奇偶形态　　") + oddEvenShape(d),
        QStringLiteral("奇偶比　　　") + oddEvenRatio(d),
        QStringLiteral("质合形态　　") + primeCompositeShape(d),
        QStringLiteral("质合比　　　") + primeCompositeRatio(d),
        QStringLiteral("除三余形态　") + mod3Shape(d),
        QStringLiteral("除三余比　　") + mod3Ratio(d),
        QStringLiteral("开出次数　　") + QString::number(s.hitCount) + QLatin1Char('(') + fixed2(s.hitPercentage)
            + QStringLiteral("%)"),
        QStringLiteral("本期遗漏　　") + QString::number(s.currentOmission),
        QStringLiteral("上期遗漏　　") + intOrNone(s.previousOmission),
        QStringLiteral("平均遗漏　　") + floatOrNone(s.averageOmission),
        QStringLiteral("最大遗漏　　") + intOrNone(s.maximumOmission),
        QStringLiteral("欲出几率　　") + floatOrNone(s.chance),
    };
}

const std::array<QPoint, kNumberInfoLineCount> &numberInfoPositions()
{
    static const std::array<QPoint, kNumberInfoLineCount> positions{{
        {6, 28},
        {6, 52}, {132, 52},
        {6, 70}, {132, 70},
        {6, 88},
        {6, 112}, {132, 112},
        {6, 130}, {132, 130},
        {6, 148}, {132, 148},
        {6, 166}, {132, 166},
        {6, 184}, {132, 184},
        {6, 202}, {132, 202},
        {6, 226}, {132, 226},
        {6, 244}, {132, 244},
        {6, 262}, {132, 262},
    }};
    return positions;
}

} // namespace numsieve
