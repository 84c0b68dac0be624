// Times building the 走势图 of a long history, every group, and the foot
// statistics of every column over all draws, as the window does on opening.
//
//   build/bin/bench_trend [draws]

#include "analysis/TrendTable.h"
#include "model/Number.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>

using namespace numsieve;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 100000;
    QRandomGenerator rng(7);
    QList<Draw> draws;
    draws.reserve(count);
    for (int i = 0; i < count; ++i)
        draws.append({QString::number(2000000 + i), numberText(rng.bounded(1000))});
    (void)trendColumns();   // the classes of 000-999, worked out once per program

    double best = 1e9, bestStats = 1e9;
    long long checksum = 0;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer timer;
        timer.start();
        const TrendTable table(draws);
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
        timer.start();
        for (int c = 0; c < int(trendColumns().size()); ++c)
            checksum += table.stats(c, 0).maxOmission;
        bestStats = std::min(bestStats, double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("走势图 of %d draws, %lld columns: table %.1f ms, foot statistics over all draws %.1f ms "
                "(best of 5; checksum %lld)\n",
                count, static_cast<long long>(trendColumns().size()), best, bestStats, checksum);
    return 0;
}
