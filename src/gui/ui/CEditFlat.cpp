#include "gui/ui/CEditFlat.h"

#include "gui/ui/FlatFrame.h"
#include "gui/ui/SkinFont.h"
#include "gui/ui/SkinImages.h"

namespace numsieve::gui {

CEditFlat::CEditFlat(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setFont(skinFont());
    setTabChangesFocus(true);
    // Expressions wrap at the box's width instead of scrolling sideways.
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setStyleSheet(flatFrameStyleSheet(QStringLiteral("QPlainTextEdit"),
                                      QColor(SkinColour::flatBorder), Qt::white));
}

} // namespace numsieve::gui
