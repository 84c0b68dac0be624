#pragma once

#include "core/model/Number.h"

#include <QString>

#include <array>

namespace numsieve {

int digitSum(Digits d);
int sumTail(Digits d);
int average(Digits d);
int span(Digits d);
int maxDigit(Digits d);
int minDigit(Digits d);
// Depends on digit positions: 121 has 1, while 112 and 211 have 0.
int acValue(Digits d);

// Shapes are the marks of H, T, U in positional order; ratios the counts of each
// mark joined by ":". The big/small texts come without their list prefix.
QString bigSmallShape(Digits d);       // 大/小, e.g. "小大大"
QString bigSmallRatio(Digits d);       // "%d:%d" big, small
QString bigMidSmallShape(Digits d);    // 大/中/小
QString bigMidSmallRatio(Digits d);    // "%d:%d:%d" big, middle, small
QString oddEvenShape(Digits d);
QString oddEvenRatio(Digits d);
QString primeCompositeShape(Digits d);
QString primeCompositeRatio(Digits d);
QString mod3Shape(Digits d);           // "%d%d%d"
QString mod3Ratio(Digits d);           // counts of residues 0, 1, 2

// The marks of H, T, U, each picked by the digit's class (0..2).
template<typename ClassOf>
QString classShape(Digits d, const char16_t (&marks)[3], ClassOf classOf)
{
    return QString(QChar(marks[classOf(d.h)])) + QChar(marks[classOf(d.t)]) + QChar(marks[classOf(d.u)]);
}

// "%d:%d:%d" of how many of H, T, U fall in class 0, 1 and 2.
template<typename ClassOf>
QString classRatio(Digits d, ClassOf classOf)
{
    int counts[3] = {0, 0, 0};
    ++counts[classOf(d.h)];
    ++counts[classOf(d.t)];
    ++counts[classOf(d.u)];
    return QString::number(counts[0]) + u':' + QString::number(counts[1]) + u':' + QString::number(counts[2]);
}

inline const QString kTwoWayPrefix = QStringLiteral("[大小] ");
inline const QString kThreeWayPrefix = QStringLiteral("[大中小] ");

// One flag per entry of the 重复号 vocabulary, in its order.
std::array<bool, 6> repeatKinds(Digits d);
// One flag per entry of the 连号 (step 1) or 间隔号 (step 2) vocabulary, in its order.
std::array<bool, 14> stepKinds(Digits d, int step);
inline std::array<bool, 14> consecutiveKinds(Digits d) { return stepKinds(d, 1); }
inline std::array<bool, 14> intervalKinds(Digits d) { return stepKinds(d, 2); }

} // namespace numsieve
