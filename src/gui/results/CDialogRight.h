#pragma once

#include "core/results/ResultTables.h"

#include <QFont>
#include <QRect>
#include <QStringList>
#include <QWidget>

class QFrame;
class QLabel;
class QScrollBar;

namespace numsieve::gui {

class CDialogNumberInfo;

// The number distribution map: every number of the current view mode as a
// cell coloured by its stage, the stage counts above the cells and the usage
// hints below them. A left click steps a number's stage by hand, a right click
// opens the number information popup. The tables belong to the main window's
// workspace; the map paints them and writes each entry's cell rectangle
// (in panel coordinates, scroll position applied) for hit testing.
class CDialogRight : public QWidget
{
    Q_OBJECT

public:
    static constexpr QSize kSize{609, 637};
    // Height of everything the panel draws: the straight grid and the hints.
    static constexpr int kContentHeight = 886;

    explicit CDialogRight(ResultTables &tables, QWidget *parent = nullptr);

    // The drawn numbers of the selected lottery, oldest first; the popup
    // computes its history from them.
    void setDrawList(const QStringList &draws);
    const QStringList &drawList() const { return m_drawList; }

    // The count lines as painted: one in straight mode, group-three then
    // group-six in group mode. Always recounted from the tables.
    QStringList countLines() const;
    static const QStringList &hintLines();

    // The entry under a point (panel coordinates) among the cells of the view
    // mode, the first one in table order where cells share a border.
    ResultEntry *entryAt(QPoint pos);

    int scrollPosition() const { return m_scroll; }
    int scrollRange() const;
    int lineStep() const;
    int pageStep() const;
    QScrollBar *scrollBar() const { return m_scrollBar; }
    CDialogNumberInfo *numberInfo() const { return m_numberInfo; }
    // A note above the map while the selected lottery has no draws: where to
    // get them, since every history condition needs them. The map moves down
    // to make room for it, so it never covers a cell or the counts; once
    // closed it stays away for the rest of the run.
    QLabel *noDrawsHint() const { return m_noDrawsHint; }
    static const QString kNoDrawsHint;

    // Says beside the counts that the stages were filtered with draws that
    // have changed since (empty text: nothing said).
    void setOutdatedNote(const QString &note);
    QString outdatedNote() const { return m_outdatedNote; }

public Q_SLOTS:
    // Called after every change of stages or of the view mode.
    void repaintMap();
    // A wheel turn of angle delta (120 a notch); away from the user scrolls up.
    void wheelScrolled(int delta);

Q_SIGNALS:
    // A left click stepped a stage.
    void stagesChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void storeCellRects();
    // Places the note and the scroll range after a change of size or note.
    void layOut();
    // Where the map's own coordinates start in the panel: below the note,
    // less the scroll position.
    int offset() const { return m_contentTop - m_scroll; }
    void scrollBy(int step);
    void onScrollAction(int action);
    void onScrollValue(int value);
    QRect contentRect() const;
    // The strip of the count line that covers the entry's table.
    QRect countStrip(const ResultEntry &entry) const;

    ResultTables &m_tables;
    QFont m_cellFont;
    QStringList m_drawList;
    QScrollBar *m_scrollBar = nullptr;
    CDialogNumberInfo *m_numberInfo = nullptr;
    QFrame *m_noDrawsNote = nullptr;
    QLabel *m_noDrawsHint = nullptr;
    bool m_noDrawsClosed = false;
    QString m_outdatedNote;
    int m_contentTop = 0;
    int m_scroll = 0;
    int m_wheelRemainder = 0;
};

} // namespace numsieve::gui
