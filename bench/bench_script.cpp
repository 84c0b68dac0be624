// Times a full straight filter run of condition 15 (pre-check plus 1000
// numbers) with ten expressions over thirty draws, compiled once per run
// against the literal way that adds a new compute text per number and
// expression, both in this process; then the compiled run as the program
// makes it, in the script worker (a warm one: it is started once per
// program). Usage: bench_script [compiled runs] [literal runs]
#include "EverydayScheme.h"
#include "core/script/ScriptConditionRunner.h"
#include "core/script/ScriptEvaluator.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace numsieve;
using numsieve::bench::kConditions;

namespace {

// The same with one expression that writes into an array, which takes the
// general compiled form (index 0 assigned before every expression).
const QString kWritingConditions = QString(kConditions).replace(QStringLiteral("AC值[0]>=-1"),
                                                                 QStringLiteral("(hz[29]=hz[0])>=-1"));

struct Figures {
    double millisPerRun;
    int kept;
};

Figures timeRuns(EvaluationWay way, ListMode mode, const QString &conditions, const QStringList &draws, int runs)
{
    std::vector<double> times;
    int kept = 0;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer timer;
        timer.start();
        ScriptEvaluator runner(way);
        if (!runner.prepare(conditions, draws)) {
            std::fprintf(stderr, "pre-check failed\n");
            std::exit(1);
        }
        kept = 0;
        for (int n = 0; n < 1000; ++n)
            kept += runner.test(n, mode) ? 1 : 0;
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], kept};
}

Figures timeWorkerRuns(ListMode mode, const QString &conditions, const QStringList &draws, int runs)
{
    QList<int> numbers;
    for (int n = 0; n < 1000; ++n)
        numbers << n;
    std::vector<double> times;
    int kept = 0;
    for (int r = 0; r <= runs; ++r) {
        QElapsedTimer timer;
        timer.start();
        ScriptConditionRunner runner;
        const auto verdicts = runner.prepare(conditions, draws) ? runner.testMany(numbers, mode)
                                                                : std::unexpected(QStringLiteral("pre-check"));
        if (!verdicts) {
            std::fprintf(stderr, "worker run failed: %s\n", qPrintable(verdicts.error()));
            std::exit(1);
        }
        kept = int(verdicts->count(true));
        // The first run starts the worker.
        if (r > 0)
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], kept};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int compiledRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const int literalRuns = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

    QStringList draws;
    for (int i = 0; i < 30; ++i)
        draws << QString::asprintf("%.3d", (i * 379 + 123) % 1000);

    for (const bool writing : {false, true}) {
        const QString &conditions = writing ? kWritingConditions : kConditions;
        for (ListMode mode : {ListMode::Include, ListMode::Exclude}) {
            const Figures compiled = timeRuns(EvaluationWay::Compiled, mode, conditions, draws, compiledRuns);
            const Figures literal = timeRuns(EvaluationWay::Literal, mode, conditions, draws, literalRuns);
            const Figures worker = timeWorkerRuns(mode, conditions, draws, compiledRuns);
            if (compiled.kept != literal.kept || compiled.kept != worker.kept) {
                std::fprintf(stderr, "the ways disagree: %d, %d, %d\n", compiled.kept, literal.kept, worker.kept);
                return 1;
            }
            std::printf("%s, %s: in the worker %.2f ms/run; in process compiled %.2f ms/run (median of %d), "
                        "literal %.1f ms/run (median of %d), %.0fx; %d numbers kept\n",
                        writing ? "one writes" : "read-only",
                        mode == ListMode::Include ? "include" : "exclude", worker.millisPerRun,
                        compiled.millisPerRun, compiledRuns, literal.millisPerRun, literalRuns,
                        literal.millisPerRun / compiled.millisPerRun, compiled.kept);
        }
    }
    return 0;
}
