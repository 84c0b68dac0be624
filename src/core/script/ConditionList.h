#pragma once

#include "core/script/ScriptEngine.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <expected>

namespace numsieve {

// The condition list of the advanced condition panel: expressions, each
// followed by ";\r\n", which the user may also edit by hand.

// Trimmed, with every blank " " and ideographic blank "　" removed.
QString cleanExpression(const QString &composed);

// Whether the text holds one of ">", ">=", "<", "<=", "==", "!=". A lone "="
// is an assignment and does not count.
bool hasComparisonOperator(const QString &expression);

// The expressions of a condition list text, in order. Blanks and line breaks
// are removed and ";;" collapses to ";"; a leading ";" yields one empty
// expression, a trailing piece without ";" counts only when it is not empty.
QStringList cutConditionList(const QString &conditionText);

// The largest condition list a run or 添加 accepts. Nobody writes a thousand
// conditions by hand; lists beyond this come from damaged or hostile schemes
// and would only cost minutes and gigabytes before failing anyway.
inline constexpr qsizetype kMaxExpressions = 1000;
inline constexpr qsizetype kMaxConditionListBytes = 1 << 20;

// Whether a condition list is beyond those limits: more than kMaxExpressions
// expressions or more than kMaxConditionListBytes in UTF-8.
bool conditionListTooLarge(const QString &conditionText);

// The condition switch code the panel sends for its list text: 15 (on) when
// the text holds more than blanks, 30 (off) otherwise.
int conditionSwitchCode(const QString &conditionText);

// 添加: checks the composed expression, trial-runs it in a fresh script engine
// of the script worker against the draws (oldest first), all within the time
// limit, and returns the new condition list text, or the message to show (the
// list then stays as it was). An empty composed text leaves the list
// unchanged; a list that would grow past the limits is refused untried.
std::expected<QString, QString> addExpression(const QString &composed, const QString &conditionText,
                                              const QStringList &draws,
                                              std::chrono::milliseconds timeLimit = kDefaultScriptTimeLimit);

} // namespace numsieve
