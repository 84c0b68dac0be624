#pragma once

#include "core/analysis/Backtest.h"

#include <QColor>
#include <QList>
#include <QString>

class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;

namespace numsieve::gui {

// The pieces the charts of the back-test and the scheme comparison share.

inline const QColor kHitColor(214, 48, 39);
inline const QColor kExpectedColor(110, 110, 110);

// The x axis: draw k of the run at k (1..n).
QValueAxis *stepAxis(int steps);
// A y axis from 0 with round ticks up to at least `max`.
QValueAxis *countAxis(const QString &title, double max);
QChart *newChart(const QString &title);
// Shows `chart` in the view and deletes the one it showed.
void replaceChart(QChartView *view, QChart *chart);

// A back-test's hits added up draw by draw (solid) and what lists of the
// same sizes catch by chance (dashed), both from 0 before the first draw.
struct CumulativeHits {
    QLineSeries *hits = nullptr;
    QLineSeries *expected = nullptr;
    double top = 0;   // the larger of the two at the end
};
CumulativeHits cumulativeHitSeries(const BacktestResult &result, const QColor &hitColor, const QColor &expectedColor);

// Adds the lines to the chart over the steps 0..steps, with a y axis of `title`.
void addLines(QChart *chart, const QList<QLineSeries *> &lines, int steps, const QString &title, double top);

} // namespace numsieve::gui
