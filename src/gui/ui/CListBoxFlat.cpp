#include "gui/ui/CListBoxFlat.h"

#include "gui/ui/FlatFrame.h"
#include "gui/ui/SkinFont.h"
#include "gui/ui/SkinImages.h"

#include <QKeyEvent>

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

QItemSelectionModel::SelectionFlags CListBoxFlat::selectionCommand(const QModelIndex &index,
                                                                  const QEvent *event) const
{
    // Where a click toggles one pick, the arrow keys would only move the
    // focus frame and scroll. As in any list box, the entry they move to
    // becomes the one pick; Ctrl with an arrow still moves without picking.
    if (selectionMode() == MultiSelection && event && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
                return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
            break;
        default: break;
        }
    }
    return QListWidget::selectionCommand(index, event);
}

} // namespace numsieve::gui
