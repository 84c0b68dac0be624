#pragma once

#include <QAbstractScrollArea>
#include <QList>
#include <QPoint>
#include <QRect>

#include <utility>

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
    // Where the value columns begin, right of the issue and number columns.
    int valuesLeft() const { return m_issueWidth + m_numberWidth; }

    // Wide enough for every column, as tall as the window's standard.
    QSize sizeHint() const override;
    // The whole chart of the window: every column and every row, with the
    // header and the foot, as it would look in a view large enough for it.
    QSize wholeSize() const;
    QImage wholeChart() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    // One painting: the area's parts, its scroll position and the rows and
    // value columns in sight.
    struct Frame {
        int left = 0;      // where the value columns begin
        int width = 0;
        int footTop = 0;
        QRect body;        // the scrolling part, between header and foot
        int hx = 0;
        int vy = 0;
        int firstRow = 0;
        int lastRow = -1;
        int firstColumn = 0;
        int lastColumn = -1;
        QPoint shift;      // from body coordinates to the area's
        QRect place(QRect r) const { return r.translated(shift); }
    };

    // Paints the chart into an area of the given size scrolled to (hx, vy);
    // returns the first and last row painted (-1 when none).
    std::pair<int, int> paintChart(QPainter &p, QSize area, int hx, int vy) const;
    void paintBody(QPainter &p, const Frame &f) const;
    void paintLines(QPainter &p, const Frame &f) const;
    void paintBalls(QPainter &p, const Frame &f) const;
    void paintIssueColumns(QPainter &p, const Frame &f) const;
    void paintHeader(QPainter &p, const Frame &f) const;
    void paintFoot(QPainter &p, const Frame &f) const;
    QString toolTipAt(QPoint pos) const;
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
