#pragma once

#include <QString>
#include <QStringList>

namespace numsieve {

// The texts of the advanced condition editor, kept free of widgets so that
// what a click appends can be checked on its own.

// The attribute selector's entries: "号码", "和值", "和尾数", "平均值", "跨度", "AC值".
const QStringList &editorAttributes();
// The period selector's entries: "本期", "前1期" … "前30期".
const QStringList &editorPeriods();
// The position selector's entries: "第一位", "第二位", "第三位".
const QStringList &editorPositions();

// What 添加左边 inserts: 号码[P][Q+1] for the digits of a number, N[P] for
// the other attributes. Out-of-range indexes are clamped to the selectors'
// ranges, so the editor never produces a reference the selectors cannot show.
QString referenceText(int attribute, int period, int position);

// The composed text after appending one token: two blanks separate it from
// what is already there.
QString appendToken(const QString &composed, const QString &token);

} // namespace numsieve
