#include "core/analysis/Backtest.h"
#include "core/analysis/KnownVerdicts.h"

#include "core/Workspace.h"
#include "core/filter/AdvancedCondition.h"
#include "core/filter/FilterRun.h"
#include "core/model/Number.h"

#include <bitset>

namespace numsieve {

namespace {

int countAt(ResultTables &tables, ResultStage stage, int *groupThree = nullptr)
{
    int count = 0;
    tables.forEachInView([&](ResultEntry &e) {
        if (e.stage != stage)
            return;
        ++count;
        if (groupThree && tables.viewMode() == ViewMode::Group && groupKind(e.number) == GroupKind::GroupThree)
            ++*groupThree;
    });
    return count;
}

// Condition 15 is prepared once, for the filter run and the question "alone"
// together, as one run with one budget. When its verdicts do not depend on
// what it was asked before, its verdicts for every candidate serve the run
// too; otherwise the run's own numbers go first, in run order, as in the
// filter command, and the run is left in w.tables. Returns whether it was.
std::expected<bool, QString> judgeAdvanced(Workspace &w, FilterSetup &setup, AdvancedConditionRunner &runner,
                                           const QList<int> &candidates, std::bitset<1000> &advancedPasses)
{
    if (auto prepared = runner.prepare(w.conditions.advanced.conditionText, w.selectionNumbers); !prepared)
        return std::unexpected(prepared.error());
    bool filtered = false;
    if (!runner.repeatableVerdicts()) {
        setup.runner = &runner;
        if (auto run = filterGathered(w.tables, setup); !run)
            return std::unexpected(run.error());
        filtered = true;
    }
    const auto verdicts = runner.testMany(candidates, w.conditions.advanced.mode);
    if (!verdicts)
        return std::unexpected(verdicts.error());
    for (qsizetype i = 0; i < candidates.size(); ++i)
        if (verdicts->value(i, false))
            advancedPasses.set(std::size_t(candidates[i]));
    return filtered;
}

// Per enabled condition, the candidates it rejects on its own and those left
// by it and every condition above it.
QList<ReportRow> conditionRows(const Workspace &w, const FilterSetup &setup, const QList<int> &candidates)
{
    QList<ReportRow> rows;
    FilterEngine engine(setup);
    QList<int> remaining = candidates;
    for (int c = 1; c <= kConditionCount; ++c) {
        if (!w.enabled[std::size_t(c)])
            continue;
        ReportRow row;
        row.condition = c;
        for (int n : std::as_const(candidates))
            row.failing += engine.conditionPasses(c, n) ? 0 : 1;
        remaining.removeIf([&](int n) { return !engine.conditionPasses(c, n); });
        row.survivors = int(remaining.size());
        rows.append(row);
    }
    return rows;
}

} // namespace

FilterReport runFilterReport(const Workspace &ws, const QList<QStringList> &intersections,
                             AdvancedConditionRunner *runner)
{
    FilterReport report;
    report.viewMode = ws.tables.viewMode();

    Workspace w = ws;
    gather(w.selection, w.tables);
    QList<int> candidates;
    w.tables.forEachInView([&](ResultEntry &e) {
        if (e.stage == ResultStage::Selected)
            candidates.append(e.number);
    });
    report.gathered = int(candidates.size());

    FilterSetup setup;
    setup.conditions = &w.conditions;
    setup.enabled = w.enabled;
    setup.toleranceIndex = w.toleranceIndex;
    setup.viewMode = report.viewMode;
    setup.draws = &w.selectionNumbers;
    setup.digitSets = DrawDigitSets::fromDraws(w.selectionNumbers);

    // Refused or stopped, condition 15 kills nothing: the report stops after
    // gathering, as the filter run does.
    std::bitset<1000> advancedPasses;
    const bool advancedOn = w.enabled[kConditionCount];
    bool filtered = false;
    if (advancedOn && runner) {
        const auto judged = judgeAdvanced(w, setup, *runner, candidates, advancedPasses);
        if (!judged) {
            report.message = judged.error();
            return report;
        }
        filtered = *judged;
    }

    KnownVerdicts alone(advancedPasses);
    setup.runner = advancedOn ? &alone : nullptr;
    report.rows = conditionRows(w, setup, candidates);

    // Verdicts known beforehand cannot stop the run.
    if (!filtered)
        (void)filterGathered(w.tables, setup);
    report.survivors = countAt(w.tables, ResultStage::Filtered, &report.groupThree);
    if (!intersections.isEmpty()) {
        for (const QStringList &list : intersections)
            w.tables.intersect(list);
        report.groupThree = 0;
        report.intersected = countAt(w.tables, ResultStage::Intersected, &report.groupThree);
    }
    return report;
}

} // namespace numsieve
