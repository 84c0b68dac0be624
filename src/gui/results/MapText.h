#pragma once

#include <QFont>
#include <QString>

class QPainter;

namespace numsieve::gui {

// Draws text whose em box starts at top, the way the map and the popup place
// their texts. The baseline sits where SimSun puts it, whatever font the
// fallback picked, so that a tall fallback font does not push the texts into
// the cells below them.
void drawTextAt(QPainter &painter, int left, int top, const QString &text);

} // namespace numsieve::gui
