#include "gui/ui/FlatFrame.h"

namespace numsieve::gui {

QString scrollBarStyleSheet()
{
    // Slim light-blue bars without arrow buttons, so that the lists of a
    // condition keep their width for the entries.
    return QStringLiteral(
        "QScrollBar:vertical { background: #eef4fb; width: 12px; margin: 0; border: none; }"
        "QScrollBar:horizontal { background: #eef4fb; height: 12px; margin: 0; border: none; }"
        "QScrollBar::handle { background: #b4cdea; border: 1px solid #94b6de; border-radius: 4px; }"
        "QScrollBar::handle:vertical { min-height: 18px; margin: 1px 2px; }"
        "QScrollBar::handle:horizontal { min-width: 18px; margin: 2px 1px; }"
        "QScrollBar::handle:hover { background: #8fb4e0; }"
        "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: none; }");
}

QString flatFrameStyleSheet(const QString &selector, const QColor &frameColour,
                            const QColor &background)
{
    const QString frame = frameColour.name(QColor::HexRgb);
    const QString back = background.name(QColor::HexRgb);
    return selector + QStringLiteral(" { background: ") + back + QStringLiteral("; border: 1px solid ")
           + frame + QStringLiteral("; padding: 1px; selection-background-color: #2a68b2; selection-color: white; }\n") + selector
           + QStringLiteral(":disabled { color: #969ea8; }\n") + scrollBarStyleSheet();
}

} // namespace numsieve::gui
