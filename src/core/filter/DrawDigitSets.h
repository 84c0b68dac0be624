#pragma once

#include "core/model/Number.h"

#include <QString>
#include <QStringList>

namespace numsieve {

// The digit sets the 新旧跳 and 旧斜孤 marks are taken from, derived from the
// latest two draws. Each set is a string of digit characters: the old and jump
// sets in order of first occurrence in their draw, the others ascending.
struct DrawDigitSets {
    QString newDigits;
    QString oldDigits;      // shared by both families: the latest draw's digits
    QString jumpDigits;
    QString diagonalDigits;
    QString isolatedDigits;

    // draws oldest first, as the selected lottery holds them
    static DrawDigitSets fromDraws(const QStringList &draws);

    bool operator==(const DrawDigitSets &) const = default;

    // 0 新, 1 旧, 2 跳: the index of the mark in 新旧跳 order.
    int newOldJumpMark(int digit) const;
    // 0 旧, 1 斜, 2 孤: the index of the mark in 旧斜孤 order.
    int oldDiagonalIsolatedMark(int digit) const;
};

QString newOldJumpShape(Digits d, const DrawDigitSets &sets);
QString newOldJumpRatio(Digits d, const DrawDigitSets &sets);                 // "%d:%d:%d" new, old, jump
QString oldDiagonalIsolatedShape(Digits d, const DrawDigitSets &sets);
QString oldDiagonalIsolatedRatio(Digits d, const DrawDigitSets &sets);        // old, diagonal, isolated

} // namespace numsieve
