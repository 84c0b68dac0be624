#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

#include <array>

namespace numsieve {

// The draw history of one number in one lottery, as the number information
// popup shows it. Omission figures count draws.
struct NumberStatistics {
    int drawCount = 0;            // n
    int hitCount = 0;             // m
    float hitPercentage = 0;      // m / n * 100
    int currentOmission = 0;      // draws after the last hit (n when never hit)
    int previousOmission = 0;     // the gap the last hit ended
    int maximumOmission = 0;      // the largest gap
    int omissionSum = 0;          // all gaps up to the last hit
    float averageOmission = 0;    // omissionSum / m
    // currentOmission / averageOmission; +infinity when the average is 0 while
    // the number is out (a single hit in the oldest draw).
    float chance = 0;
};

// draws are the lottery's drawn numbers as texts, oldest first. In group mode
// a draw counts when its digits in any order form the number (321 and 213
// count for 123); the number itself may be given in any digit order then.
// Only well-formed three-digit draw texts can count, in either mode.
NumberStatistics numberStatistics(int number, const QStringList &draws, bool group);

inline constexpr int kNumberInfoLineCount = 24;

// The texts the popup paints, in painting order: the number, its digit
// attributes, then its history. Values of 0 in the last four omission lines
// show as "无"; an unbounded chance shows as "∞".
QStringList numberInfoLines(int number, const QStringList &draws, bool group);
QStringList numberInfoLines(int number, const NumberStatistics &statistics);

// Where each of those texts is painted in the popup (left, top), same order.
const std::array<QPoint, kNumberInfoLineCount> &numberInfoPositions();

} // namespace numsieve
