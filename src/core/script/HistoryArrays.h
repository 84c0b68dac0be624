#pragma once

#include <QString>
#include <QList>
#include <QStringList>

namespace numsieve {

// The script texts the advanced conditions are evaluated with. Twelve arrays
// (six Chinese names and their short aliases) hold, at index k = 1 to 30, the
// k-th most recent draw; index 0 stands for the tested number and holds -1
// until a compute text assigns it.

inline constexpr int kHistoryDepth = 30;

// The twelve declarations, each followed by "\n", from the draws (oldest first;
// the newest 30 are used, newest first).
QString historyText(const QStringList &draws);

// "function compute(){…}" returning 1 when the expression holds: without a
// tested number (index 0 keeps its placeholder), and with one.
QString computeText(const QString &expression);
QString computeText(const QString &expression, int number);

// The five values besides the digits that the arrays hold for a number, in
// array order: sum, sum modulo 10, average, span, AC value.
struct ScriptAttributes {
    int h, t, u, sum, tail, average, span, ac;
};
ScriptAttributes scriptAttributes(int number);

// The values the arrays hold for the draws (oldest first) at index 1 to 30:
// the newest 30, newest first.
QList<ScriptAttributes> historyAttributes(const QStringList &draws);

// A draw's number text read as a decimal integer the way the C runtime does:
// leading blanks, an optional sign, the digits up to the first other character.
int drawValue(const QString &text);

} // namespace numsieve
