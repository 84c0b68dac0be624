#include "gui/selection/CSelectionPanel.h"

#include "gui/ui/SkinFont.h"
#include "gui/ui/SkinImages.h"

#include <QLabel>

namespace numsieve::gui {

CSelectionPanel::CSelectionPanel(QWidget *parent)
    : CBitmapDialog(parent)
{
    setFont(skinFont());
    setBackground(SkinImages::tabPageBackground(kSize));
    setGeometry(QRect(kPlace, kSize));
}

QLabel *CSelectionPanel::addLabel(const QString &text, QPoint at)
{
    return makeSkinLabel(this, text, at);
}

QLabel *makeSkinLabel(QWidget *parent, const QString &text, QPoint at)
{
    auto *label = new QLabel(text, parent);
    label->setFont(skinFont());
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(SkinColour::captionText));
    label->setPalette(palette);
    label->move(at);
    label->adjustSize();
    return label;
}

} // namespace numsieve::gui
