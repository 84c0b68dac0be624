#include "gui/analysis/AnalysisCharts.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>

#include <cmath>

namespace numsieve::gui {

namespace {

// A tick step of 1, 2 or 5 times a power of ten giving at most `ticks` steps.
double tickStep(double span, int ticks)
{
    const double rough = std::max(span / ticks, 1.0);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0})
        if (factor * power >= rough)
            return factor * power;
    return 10 * power;
}

} // namespace

QValueAxis *stepAxis(int steps)
{
    auto *axis = new QValueAxis;
    axis->setTitleText(QStringLiteral("回测第几期"));
    axis->setRange(0.5, steps + 0.5);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(tickStep(steps, 10));
    axis->setLabelFormat(QStringLiteral("%d"));
    return axis;
}

QValueAxis *countAxis(const QString &title, double max)
{
    auto *axis = new QValueAxis;
    axis->setTitleText(title);
    // At least 10: labels of one digit leave the vertical title no room.
    const double top = std::max(10.0, max);
    const double step = tickStep(top, 5);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(step);
    axis->setRange(0, std::ceil(top / step) * step);
    axis->setLabelFormat(QStringLiteral("%d"));
    return axis;
}

QChart *newChart(const QString &title)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    return chart;
}

void replaceChart(QChartView *view, QChart *chart)
{
    QChart *old = view->chart();
    view->setChart(chart);
    delete old;
}

CumulativeHits cumulativeHitSeries(const BacktestResult &result, const QColor &hitColor, const QColor &expectedColor)
{
    CumulativeHits lines{new QLineSeries, new QLineSeries, 0};
    lines.hits->append(0, 0);
    lines.expected->append(0, 0);
    int hits = 0;
    double chance = 0;
    for (int i = 0; i < result.last(); ++i) {
        hits += result.steps.at(i).hit ? 1 : 0;
        chance += result.steps.at(i).chance;
        lines.hits->append(i + 1, hits);
        lines.expected->append(i + 1, chance);
    }
    lines.hits->setPen(QPen(hitColor, 2));
    QPen dashed(expectedColor, 2);
    dashed.setStyle(Qt::DashLine);
    lines.expected->setPen(dashed);
    lines.top = std::max<double>(hits, chance);
    return lines;
}

void addLines(QChart *chart, const QList<QLineSeries *> &lines, int steps, const QString &title, double top)
{
    QValueAxis *x = stepAxis(std::max(steps, 1));
    x->setRange(0, std::max(steps, 1));
    QValueAxis *y = countAxis(title, top);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QLineSeries *series : lines) {
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
    }
}

} // namespace numsieve::gui
