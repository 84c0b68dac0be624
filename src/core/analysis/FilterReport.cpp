#include "analysis/Backtest.h"
#include "analysis/KnownVerdicts.h"

#include "Workspace.h"
#include "filter/AdvancedCondition.h"
#include "filter/FilterRun.h"

#include <bitset>

namespace numsieve {

namespace {

int countAt(ResultTables &tables, ResultStage stage)
{
    int count = 0;
    tables.forEachInView([&](ResultEntry &e) { count += e.stage == stage ? 1 : 0; });
    return count;
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

    // Condition 15 alone: one run of its own over every candidate.
    std::bitset<1000> advancedPasses;
    const bool advancedOn = w.enabled[kConditionCount];
    if (advancedOn && runner) {
        auto prepared = runner->prepare(w.conditions.advanced.conditionText, w.selectionNumbers);
        const auto verdicts = prepared ? runner->testMany(candidates, w.conditions.advanced.mode)
                                       : std::expected<QList<bool>, QString>(std::unexpected(prepared.error()));
        if (verdicts) {
            for (qsizetype i = 0; i < candidates.size(); ++i)
                if (verdicts->value(i, false))
                    advancedPasses.set(std::size_t(candidates[i]));
        } else {
            report.message = verdicts.error();
        }
    }

    KnownVerdicts alone(advancedPasses);
    FilterSetup setup;
    setup.conditions = &w.conditions;
    setup.enabled = w.enabled;
    setup.toleranceIndex = w.toleranceIndex;
    setup.viewMode = report.viewMode;
    setup.draws = &w.selectionNumbers;
    setup.digitSets = DrawDigitSets::fromDraws(w.selectionNumbers);
    setup.runner = advancedOn ? &alone : nullptr;
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
        report.rows.append(row);
    }

    // The result itself comes from the filter run as the filter command makes it.
    if (auto filtered = runFilter(w, runner); !filtered) {
        report.message = filtered.error();
        return report;
    }
    report.survivors = countAt(w.tables, ResultStage::Filtered);
    if (!intersections.isEmpty()) {
        for (const QStringList &list : intersections)
            w.tables.intersect(list);
        report.intersected = countAt(w.tables, ResultStage::Intersected);
    }
    return report;
}

} // namespace numsieve
