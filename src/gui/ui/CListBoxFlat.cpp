#include "ui/CListBoxFlat.h"

#include "ui/FlatFrame.h"
#include "ui/SkinFont.h"
#include "ui/SkinImages.h"

namespace numsieve::gui {

CListBoxFlat::CListBoxFlat(QWidget *parent)
    : QListWidget(parent)
{
    setFont(skinFont());
    // Lists of a condition hold several picks at once; a click toggles one.
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setStyleSheet(flatFrameStyleSheet(QStringLiteral("QListWidget"),
                                      QColor(SkinColour::flatBorder), Qt::white));
}

} // namespace numsieve::gui
