// Times opening the 走势图 on a long history with the window on all draws,
// up to its first paint, and the paint of each page while scrolling through
// it, in every tab.
//
//   build/bin/bench_gui_trend [draws]

#include "NoDialogs.h"
#include "gui/analysis/CDialogTrend.h"
#include "gui/analysis/TrendChartView.h"
#include "gui/app/AppServices.h"
#include "core/model/Number.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTabBar>

#include <algorithm>
#include <cstdio>

using namespace numsieve;
using namespace numsieve::gui;
using numsieve::bench::NoDialogs;


int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    Lottery lottery{QStringLiteral("福彩3D"), QStringLiteral("1"), {}};
    QRandomGenerator rng(11);
    for (int i = 0; i < count; ++i)
        lottery.draws.append({QString::number(2000000 + i), numberText(rng.bounded(1000))});
    LotteryRegistry registry;
    registry.append(lottery);
    NoDialogs services;

    QElapsedTimer timer;
    timer.start();
    CDialogTrend trend(services, registry, 0);
    trend.windowBox()->setCurrentIndex(trend.windowBox()->count() - 1);   // 全部
    trend.show();
    (void)trend.chart()->viewport()->grab();
    std::printf("走势图 of %d draws, all of them: open and first paint %.1f ms\n", count,
                double(timer.nsecsElapsed()) / 1e6);

    for (int tab = 0; tab < trend.tabBar()->count(); ++tab) {
        timer.start();
        trend.tabBar()->setCurrentIndex(tab);
        (void)trend.chart()->viewport()->grab();
        const double switchMs = double(timer.nsecsElapsed()) / 1e6;
        QScrollBar *bar = trend.chart()->verticalScrollBar();
        double worst = 0;
        const int pages = 50;
        for (int page = 0; page < pages; ++page) {
            bar->setValue(bar->maximum() - page * bar->pageStep() * 37);
            timer.start();
            (void)trend.chart()->viewport()->grab();
            worst = std::max(worst, double(timer.nsecsElapsed()) / 1e6);
        }
        std::printf("  %s: switch and paint %.1f ms, slowest of %d page paints while scrolling %.1f ms\n",
                    qPrintable(trend.tabBar()->tabText(tab)), switchMs, pages, worst);
    }
    return 0;
}
