// Times a back-test of the last N draws of a 100,000-draw history against the
// naive way, N separate filter runs over the truncated history, in the same
// run: first with conditions 1 to 14 on with everyday lists, then with ten
// script conditions besides, then those over the last 7,000 draws, as long
// as a whole 福彩3D history. The ways must agree on every step, and the
// back-test must run to its end.
//
//   build/bin/bench_backtest [N] [draws] [long N]

#include "EverydayScheme.h"
#include "core/analysis/Backtest.h"
#include "core/filter/FilterRun.h"
#include "core/script/ScriptConditionRunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <ctime>

using namespace numsieve;

namespace {

// CPU time of this process: on a busy machine a steadier figure than the wall
// clock (the script worker's share is not in it).
double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The naive way: a filter run of its own per step. Returns the survivor
// counts, oldest step first. With `freshEngine` every other run repeats its
// first script condition, which changes no verdict but keeps the worker from
// reusing the engine of the run before, as it could not before it learned to.
QList<int> naiveSurvivors(const Workspace &scheme, const QStringList &numbers, int last,
                          AdvancedConditionRunner *runner, bool freshEngine = false)
{
    QList<int> counts;
    for (qsizetype k = numbers.size() - last; k < numbers.size(); ++k) {
        Workspace w = scheme;
        w.selectionNumbers = numbers.first(k);
        if (freshEngine && k % 2 == 0) {
            const QString text = w.conditions.advanced.conditionText;
            w.conditions.advanced.conditionText = text.left(text.indexOf(QLatin1Char('\n')) + 1) + text;
        }
        counts.append(runFilter(w, runner) ? w.tables.counts(TableId::Straight)[1] : 0);
    }
    return counts;
}

bool measure(const char *name, const Workspace &scheme, const QList<Draw> &draws, const QStringList &numbers,
             int last, AdvancedConditionRunner *runner, bool freshEngine)
{
    QElapsedTimer timer;
    timer.start();
    double cpu = cpuMs();
    const BacktestResult result = runBacktest(scheme, draws, {}, last, runner);
    const double backtestMs = double(timer.nsecsElapsed()) / 1e6;
    const double backtestCpu = cpuMs() - cpu;
    timer.start();
    cpu = cpuMs();
    const QList<int> naive = naiveSurvivors(scheme, numbers, last, runner);
    const double naiveMs = double(timer.nsecsElapsed()) / 1e6;
    const double naiveCpu = cpuMs() - cpu;

    bool agree = result.last() == naive.size() && result.message.isEmpty();
    for (int i = 0; agree && i < naive.size(); ++i)
        agree = result.steps[i].survivors == naive[i];
    std::printf("%s, N = %d over %lld draws: back-test %.0f ms (%.0f ms CPU), naive %.0f ms (%.0f ms CPU), %.1fx; "
                "%d hits, mean %.1f survivors, lift %.2f, p_chance %.3g%s\n",
                name, result.last(), static_cast<long long>(draws.size()), backtestMs, backtestCpu, naiveMs, naiveCpu,
                naiveMs / backtestMs,
                result.hits, result.meanSurvivors, result.lift, result.pChance, agree ? "" : "  MISMATCH");
    if (!result.message.isEmpty())
        std::printf("  the back-test stopped after %d steps: %s\n", result.last(), qPrintable(result.message));
    if (freshEngine) {
        timer.start();
        const QList<int> fresh = naiveSurvivors(scheme, numbers, last, runner, true);
        std::printf("  naive with a fresh script engine per run: %.0f ms, %.1fx%s\n", double(timer.nsecsElapsed()) / 1e6,
                    double(timer.nsecsElapsed()) / 1e6 / backtestMs, fresh == naive ? "" : "  MISMATCH");
        agree = agree && fresh == naive;
    }
    return agree;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int last = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int drawCount = argc > 2 ? std::atoi(argv[2]) : 100000;
    const int longLast = argc > 3 ? std::atoi(argv[3]) : 7000;

    Workspace scheme;
    bench::setUp(scheme, drawCount, false, false);
    QList<Draw> draws;
    for (qsizetype i = 0; i < scheme.selectionNumbers.size(); ++i)
        draws.append({QString::number(2000000 + i), scheme.selectionNumbers[i]});
    const QStringList numbers = scheme.selectionNumbers;

    bool agree = measure("conditions 1-14", scheme, draws, numbers, last, nullptr, false);

    scheme.setAdvancedConditionText(bench::kConditions);
    ScriptConditionRunner runner;
    // The first request starts the worker; neither way should pay for it.
    (void)runner.prepare(bench::kConditions, numbers);
    agree = measure("conditions 1-14 and 10 script conditions", scheme, draws, numbers, last, &runner, true) && agree;
    agree = measure("conditions 1-14 and 10 script conditions", scheme, draws, numbers, longLast, &runner, false) && agree;
    return agree ? 0 : 1;
}
