#pragma once

#include <QString>

#include <array>

namespace numsieve {

// A number is 0 to 999, read as hundreds, tens and units digit.
struct Digits {
    int h = 0;
    int t = 0;
    int u = 0;
};

enum class GroupKind { Triple, GroupThree, GroupSix };

// Straight (1) works on the straight table, group (2) on the two group tables.
enum class ViewMode { Straight = 1, Group = 2 };

// Any stored value other than 1 acts as group mode.
constexpr ViewMode viewModeFromValue(int value) { return value == 1 ? ViewMode::Straight : ViewMode::Group; }

constexpr Digits digitsOf(int number) { return {number / 100, (number % 100) / 10, number % 10}; }
constexpr int numberOf(int h, int t, int u) { return h * 100 + t * 10 + u; }

// The digits in ascending order, as a number: 930 -> 39, 212 -> 122.
int sortedForm(int number);
GroupKind groupKind(int number);

// "%.3d"
QString numberText(int number);
// The same text, one shared copy per number: a history of a million draws
// then holds a thousand texts, not a million.
const QString &sharedNumberText(int number);

// The three fixed tables, in the order every list, map and run addresses them.
const std::array<int, 1000> &straightNumbers();
const std::array<int, 90> &groupThreeNumbers();
const std::array<int, 120> &groupSixNumbers();

} // namespace numsieve
