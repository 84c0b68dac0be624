#pragma once

#include "gui/ui/CBitmapDialog.h"

#include <QPoint>
#include <QSize>
#include <QStringList>

class QAbstractButton;

namespace numsieve::gui {

// The small window a right click on the distribution map opens: the digit
// attributes of one number and its history in the current lottery. It is
// created once, hidden, and only moved, refilled and shown again.
class CDialogNumberInfo : public CBitmapDialog
{
    Q_OBJECT

public:
    static constexpr QSize kSize{271, 282};

    explicit CDialogNumberInfo(QWidget *parent = nullptr);

    // Computes the texts for the number over a copy of the draws (oldest
    // first; in group mode a draw counts in any digit order) and shows the
    // window with its top left corner at globalPos, focused.
    void showFor(int number, const QStringList &draws, bool group, QPoint globalPos);
    // The draws changed: an open popup shows the number over the new ones,
    // where it is, without taking the focus.
    void setDraws(const QStringList &draws);

    // The texts painted, in painting order.
    const QStringList &lines() const { return m_lines; }
    int number() const { return m_number; }
    bool isGroup() const { return m_group; }
    QAbstractButton *closeButton() const { return m_closeButton; }

    static QString title();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:

    QStringList m_lines;
    int m_number = 0;
    bool m_group = false;
    QAbstractButton *m_closeButton = nullptr;
};

} // namespace numsieve::gui
