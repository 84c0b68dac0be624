#include "ui/CEditFlat.h"

#include "ui/FlatFrame.h"
#include "ui/SkinFont.h"
#include "ui/SkinImages.h"

namespace numsieve::gui {

CEditFlat::CEditFlat(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setFont(skinFont());
    setTabChangesFocus(true);
    setStyleSheet(flatFrameStyleSheet(QStringLiteral("QPlainTextEdit"),
                                      QColor(SkinColour::flatBorder), Qt::white));
}

} // namespace numsieve::gui
