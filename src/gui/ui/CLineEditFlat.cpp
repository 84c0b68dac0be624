#include "gui/ui/CLineEditFlat.h"

#include "gui/ui/FlatFrame.h"
#include "gui/ui/SkinFont.h"
#include "gui/ui/SkinImages.h"

#include <QRegularExpressionValidator>

namespace numsieve::gui {

CLineEditFlat::CLineEditFlat(int maxLength, QWidget *parent)
    : QLineEdit(parent)
{
    setFont(skinFont());
    setMaxLength(maxLength);
    // Pasted text goes through the validator too, so nothing but digits
    // ever reaches the predicates that read this box.
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    setStyleSheet(flatFrameStyleSheet(QStringLiteral("QLineEdit"), QColor(SkinColour::flatBorder),
                                      Qt::white));
}

} // namespace numsieve::gui
