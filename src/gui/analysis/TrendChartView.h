#pragma once

#include <QAbstractScrollArea>
#include <QList>

namespace numsieve::gui {

class TrendModel;

// Paints a TrendModel as players read a 走势图: hits as coloured balls with
// their value, other cells their omission in grey, lines joining the hits of
// a group from draw to draw, the statistics at the foot. The header, the
// issue and number columns and the foot stay in place while the body
// scrolls; only the rows in sight are painted, so a history of any length
// scrolls as fast as a short one.
class TrendChartView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit TrendChartView(TrendModel *model, QWidget *parent = nullptr);

    void setShowOmissions(bool show);
    void setShowLines(bool show);
    bool showsOmissions() const { return m_omissions; }
    bool showsLines() const { return m_lines; }
    // Scrolls so that the newest draw is the bottom row in sight.
    void scrollToNewest();
    // The model rows painted last time, first and last (-1 when none).
    int firstPaintedRow() const { return m_paintedFirst; }
    int lastPaintedRow() const { return m_paintedLast; }
    int rowHeight() const { return m_rowHeight; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    void relayout();
    void updateScrollBars();
    QRect cellRect(int row, int valueColumn) const;   // in body coordinates
    int valueColumnAt(int x) const;                    // x in body coordinates

    TrendModel *m_model;
    bool m_omissions = true;
    bool m_lines = true;
    int m_rowHeight = 20;
    int m_headerHeight = 40;
    int m_footHeight = 140;
    int m_issueWidth = 80;
    int m_numberWidth = 44;
    QList<int> m_x;            // left edge of each value column, one past the last at the end
    QList<int> m_groupOf;      // index into the model's groups of each value column
    int m_paintedFirst = -1;
    int m_paintedLast = -1;
};

} // namespace numsieve::gui
