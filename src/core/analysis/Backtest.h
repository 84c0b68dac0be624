#pragma once

#include "core/analysis/ReportFormat.h"
#include "core/filter/ConditionSet.h"
#include "core/history/Draw.h"
#include "core/history/PrizeFile.h"
#include "core/results/ResultTables.h"
#include "core/script/ScriptWorker.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <chrono>
#include <expected>
#include <functional>
#include <optional>

namespace numsieve {

class AdvancedConditionRunner;
class Workspace;

// A short name for each condition (1..15), as reports show them.
QString conditionName(int condition);

// How much the script budget of a back-test grows with each step.
inline constexpr std::chrono::milliseconds kBacktestBudgetPerStep{100};

// One replayed draw: the scheme run with only the draws before it as history.
struct BacktestStep {
    QString issue;
    QString number;          // the drawn number as the draw file holds it
    int survivors = 0;       // size of the list the view mode implies
    double chance = 0;       // probability that a random draw lands in that list
    int groupThree = 0;      // in group view, the 组三 entries of the list
    bool hit = false;        // whether the drawn number did
    // Conditions (1..15, enabled ones only) that the drawn number fails on its
    // own; in group mode tested with its sorted digits.
    std::array<bool, kConditionCount + 1> killedBy{};
};

// What one enabled condition did over the replayed draws.
struct ConditionFigures {
    int condition = 0;       // 1..15
    int kills = 0;           // drawn numbers it rejected on its own
    double meanRemoved = 0;  // mean share of the gathered candidates it rejects on its own
};

struct BacktestResult {
    ViewMode viewMode = ViewMode::Straight;
    int requested = 0;       // the N asked for
    int candidates = 0;      // numbers the selection gathers (the same at every step)
    QList<BacktestStep> steps;              // oldest first
    QList<ConditionFigures> conditions;     // enabled conditions, 1..15 order
    int hits = 0;
    double expectedHits = 0;                // sum of the steps' chances
    double meanSurvivors = 0;
    double lift = 0;                        // hits / expectedHits; 0 when nothing was expected
    double pChance = 1;                     // P(at least `hits` hits by chance)
    bool cancelled = false;
    // Why the run stopped before its last step: a script condition was
    // refused, ran away, outran the run's budget or its worker died. The steps
    // done are kept; the step it stopped at counts for nothing.
    QString message;

    // The lottery's prizes, when they are set: each step's list is then also
    // counted as bought, against what random lists of its sizes would pay.
    std::optional<Prizes> prizes;

    int last() const { return int(steps.size()); }
    double hitRate() const { return steps.isEmpty() ? 0 : double(hits) / double(steps.size()); }
    // Too few expected hits for the comparison with chance to mean anything.
    bool tooFewToJudge() const { return expectedHits < 5; }
};

// Reports progress after each step; setting *cancel stops the run after the
// current step (the result then says cancelled and holds the steps done).
struct BacktestControl {
    std::function<void(int done, int total)> progress;
    const std::atomic<bool> *cancel = nullptr;
    // The time condition 15 may take over all the steps together: this at
    // the start and `scriptBudgetPerStep` more with every step, each step at
    // most the budget of one filter run. The first step that outruns what is
    // left ends the back-test with the time-out message. The ten everyday
    // conditions take about a millisecond a step, so a whole history
    // finishes; a script that runs away or is slow at every step ends within
    // seconds however many steps were asked for.
    std::chrono::milliseconds scriptBudget = kDefaultFilterBudget;
    std::chrono::milliseconds scriptBudgetPerStep = kBacktestBudgetPerStep;
};

// Replays the scheme in `scheme` (selection, conditions, switches, tolerance,
// view mode; its own draws are ignored) over the last `last` of `draws`
// (oldest first): for each of those draws, the whole filter run with only the
// earlier draws as history, then each intersection list in order, exactly as
// one filter command would do it. `last` is clamped to 0..draws.size().
// `runner` evaluates condition 15; it is prepared once per step. When it
// refuses the conditions or has to stop them, the run stops at that step
// with its message, as the filter command would.
BacktestResult runBacktest(const Workspace &scheme, const QList<Draw> &draws, const QList<QStringList> &intersections,
                           int last, AdvancedConditionRunner *runner, const BacktestControl &control = {});

// P(X >= hits) for X the number of successes of independent trials with the
// given probabilities (the Poisson-binomial tail), computed exactly.
double poissonBinomialTail(const QList<double> &probabilities, int hits);

// The current state's filter run taken apart.
struct ReportRow {
    int condition = 0;       // 1..15, enabled ones in the engine's order
    int failing = 0;         // gathered candidates failing it on its own
    int survivors = 0;       // candidates passing it and every row above
};

struct FilterReport {
    ViewMode viewMode = ViewMode::Straight;
    int gathered = 0;                    // candidates after gathering
    QList<ReportRow> rows;
    int survivors = 0;                   // the filter run's result, tolerance included
    std::optional<int> intersected;      // after the intersection lists, when given
    int groupThree = 0;                  // in group view, the 组三 entries of the last of them
    std::optional<Prizes> prizes;        // with them, what the list costs and pays on average
    // The runner's message when condition 15 was refused or had to be
    // stopped: the report then stops after gathering, with no rows and no
    // result, as the filter run does.
    QString message;
    bool stopped() const { return !message.isEmpty(); }
};

// The filter run of the workspace's current state (history: its draws),
// counted condition by condition, condition 15 prepared once for both. The
// workspace is not changed.
FilterReport runFilterReport(const Workspace &ws, const QList<QStringList> &intersections,
                             AdvancedConditionRunner *runner);

// Several schemes replayed over the same draws. The best is the one whose
// hits are least likely by chance; but the best of k tries always looks
// good, so beside its own chance stands the chance that the best of k
// schemes with no skill at all would look at least as good: 1 − (1 − p)^k.
struct SchemeOutcome {
    QString name;
    BacktestResult result;
};
struct SchemeComparison {
    QList<SchemeOutcome> schemes;
    int best = -1;           // index of the scheme with the smallest chance
    double bestByLuck = 1;   // 1 − (1 − that chance)^k
};
SchemeComparison compareSchemes(const QList<SchemeOutcome> &schemes);
double bestOfChance(double smallestChance, int tries);

QString formatBacktest(const BacktestResult &result, ReportFormat format);
QString formatFilterReport(const FilterReport &report, ReportFormat format);
// The rows of a CSV table as lines, without line ends.
QStringList backtestCsvLines(const BacktestResult &result);
QStringList filterReportCsvLines(const FilterReport &report);
// "买下结果：…" with prizes: what the report's list costs as bought once and
// what random lists of its size win on average; empty without prizes or
// when the report stopped.
QString filterReportMoneyText(const FilterReport &report);
QString formatComparison(const SchemeComparison &comparison, ReportFormat format);
QStringList comparisonCsvLines(const SchemeComparison &comparison);

} // namespace numsieve
