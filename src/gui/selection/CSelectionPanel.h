#pragma once

#include "gui/ui/CBitmapDialog.h"

#include <QPoint>
#include <QSize>

class QLabel;

namespace numsieve::gui {

// Common ground of the four selection panels hosted under the tabs of the
// left control panel: the size, the tab-page background that joins the
// active tab, and the dark-blue static texts.
class CSelectionPanel : public CBitmapDialog
{
    Q_OBJECT

public:
    static constexpr QSize kSize{404, 108};
    static constexpr QPoint kPlace{2, 73};

    explicit CSelectionPanel(QWidget *parent = nullptr);

    // Shows again what the workspace holds (after a scheme was loaded).
    virtual void refresh() = 0;

protected:
    QLabel *addLabel(const QString &text, QPoint at);
};

// A static text in the panels' dark blue.
QLabel *makeSkinLabel(QWidget *parent, const QString &text, QPoint at);

} // namespace numsieve::gui
