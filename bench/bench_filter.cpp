// Times a whole filter run: 1000 straight candidates, conditions 1 to 14 on
// with everyday lists, 100,000 draws. Condition 1's omission comes once from
// the one-pass index and once from a scan of the draws per number.
//
//   build/bin/bench_filter [draws] [runs]

#include "EverydayScheme.h"
#include "core/Workspace.h"
#include "core/filter/FilterRun.h"
#include "core/model/Number.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace numsieve;
using numsieve::bench::setUp;

namespace {

struct Figures {
    double medianMs;
    double minMs;
    int filtered;
};

Figures measure(Workspace &ws, OmissionMethod method, int runs)
{
    std::vector<double> ms;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        (void)runFilter(ws, nullptr, method);
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::ranges::sort(ms);
    return {ms[ms.size() / 2], ms.front(), ws.tables.counts(TableId::Straight)[1]};
}

} // namespace

int main(int argc, char **argv)
{
    const int drawCount = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 200;

    struct Scenario {
        const char *name;
        bool everyPanel;
        bool oneNeverDrawn;
    };
    const Scenario scenarios[] = {
        {"everyday lists", false, false},
        {"every panel tested (all 容错, tolerance 10)", true, false},
        {"everyday lists, 999 never drawn (omission pass walks every draw)", false, true},
    };
    for (const Scenario &scenario : scenarios) {
        Workspace ws;
        setUp(ws, drawCount, scenario.everyPanel, scenario.oneNeverDrawn);
        int on = 0;
        for (int c = 1; c <= 14; ++c)
            on += ws.enabled[c];
        std::printf("%s: %d draws, 1000 candidates, %d of conditions 1-14 on\n", scenario.name, drawCount, on);
        const Figures index = measure(ws, OmissionMethod::Index, runs);
        std::printf("  one-pass omission index : median %8.3f ms  min %8.3f ms  (%d filtered, %d runs)\n", index.medianMs,
                    index.minMs, index.filtered, runs);
        const Figures scan = measure(ws, OmissionMethod::PerNumberScan, std::max(3, runs / 20));
        std::printf("  per-number draw scan    : median %8.3f ms  min %8.3f ms  (%d filtered, %d runs)\n", scan.medianMs,
                    scan.minMs, scan.filtered, std::max(3, runs / 20));
        if (index.filtered != scan.filtered)
            std::printf("  MISMATCH between the two omission methods\n");
    }
    return 0;
}
