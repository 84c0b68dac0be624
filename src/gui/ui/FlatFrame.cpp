#include "ui/FlatFrame.h"

namespace numsieve::gui {

QString flatFrameStyleSheet(const QString &selector, const QColor &frameColour,
                            const QColor &background)
{
    const QString frame = frameColour.name(QColor::HexRgb);
    const QString back = background.name(QColor::HexRgb);
    return selector + QStringLiteral(" { background: ") + back + QStringLiteral("; border: 1px solid ")
           + frame + QStringLiteral("; padding: 1px; }\n") + selector
           + QStringLiteral(":disabled { color: #969ea8; }");
}

} // namespace numsieve::gui
