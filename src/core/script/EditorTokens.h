#pragma once

#include <QString>
#include <QStringList>

namespace numsieve {

// The selectors and buttons of the advanced condition editor, as pure
// functions over the composed text.

// Attribute selector: "号码", "和值", "和尾数", "平均值", "跨度", "AC值".
const QStringList &attributeItems();
// Period selector: "本期", "前1期", …, "前30期".
const QStringList &periodItems();
// Position selector: "第一位", "第二位", "第三位".
const QStringList &positionItems();

// The position selector only means something for 号码.
constexpr bool positionEnabled(int attributeIndex) { return attributeIndex == 0; }

// 添加左边: 号码[P][Q+1] for 号码, N[P] for the other attributes. Returns an
// empty text for indexes outside the selectors.
QString referenceText(int attributeIndex, int periodIndex, int positionIndex);

// Every button appends its token after two blanks, except to an empty text.
QString appendToken(const QString &composed, const QString &token);

} // namespace numsieve
