#pragma once

#include <QColor>
#include <QString>

namespace numsieve::gui {

// The style sheet of a flat box: a 1-px frame in frameColour and, inside it,
// a 1-px line of the background colour (the padding takes the background),
// so that the text never touches the frame.
QString flatFrameStyleSheet(const QString &selector, const QColor &frameColour,
                            const QColor &background);

// The slim scroll bars of the flat boxes.
QString scrollBarStyleSheet();

} // namespace numsieve::gui
