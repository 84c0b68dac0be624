#pragma once

#include <QStringList>

namespace numsieve {

// Every list a condition panel offers. The texts are at the same time what a
// scheme file may name, so their bytes and order are fixed.
enum class Vocab {
    Sum,              // 和值 "0".."27"
    SumTail,          // 和尾数
    Average,          // 平均值
    Span,             // 跨度
    Ac,               // AC值 "-1", "0", "1"
    BigSmallShape,    // 大小形态: 8 two-way, then 27 three-way
    BigSmallRatio,    // 大小比: 4 two-way, then 10 three-way
    OddEvenShape,
    OddEvenRatio,
    PrimeShape,
    PrimeRatio,
    Mod3Shape,
    Mod3Ratio,
    NewOldJumpShape,
    NewOldJumpRatio,
    OldDiagonalIsolatedShape,
    OldDiagonalIsolatedRatio,
    Repeat,           // 重复号
    Consecutive,      // 连号
    Interval,         // 间隔号
    StraightPair,     // 直选双码, 300 codes with one open position
    GroupPair,        // 组选双码, 55 digit pairs
};

const QStringList &vocabulary(Vocab vocab);

// The (a, b, c) splits of three in list order: first count descending, then second.
inline constexpr int kThreePartSplits[10][3] = {
    {3, 0, 0}, {2, 1, 0}, {2, 0, 1}, {1, 2, 0}, {1, 1, 1}, {1, 0, 2}, {0, 3, 0}, {0, 2, 1}, {0, 1, 2}, {0, 0, 3},
};

} // namespace numsieve
