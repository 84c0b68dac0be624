#include "core/filter/FilterRun.h"

#include "core/Workspace.h"
#include "core/filter/AdvancedCondition.h"

#include <array>
#include <optional>

namespace numsieve {

namespace {

// Stands between the engine and the real runner so that a run asks the runner
// once for all its numbers. Condition 15 is tested last, so which numbers
// reach it does not depend on its answers: a first pass records them in run
// order (answering "holds"), the runner judges the list in one go, and a
// second pass answers from its verdicts.
class BatchedRunner : public AdvancedConditionRunner
{
public:
    std::expected<void, QString> prepare(const QString &, const QStringList &) override { return {}; }
    bool test(int number, ListMode) override
    {
        if (m_answering)
            return m_verdicts[std::size_t(number)];
        m_asked.append(number);
        return true;
    }

    std::optional<QString> judge(AdvancedConditionRunner &runner, ListMode mode)
    {
        const auto verdicts = runner.testMany(m_asked, mode);
        if (!verdicts)
            return verdicts.error();
        for (qsizetype i = 0; i < m_asked.size(); ++i)
            m_verdicts[std::size_t(m_asked[i])] = verdicts->value(i, false);
        m_answering = true;
        return std::nullopt;
    }

private:
    QList<int> m_asked;
    std::array<bool, 1000> m_verdicts{};
    bool m_answering = false;
};

} // namespace

std::expected<void, QString> runFilter(Workspace &ws, AdvancedConditionRunner *runner, OmissionMethod omissionMethod)
{
    gather(ws.selection, ws.tables);
    ws.filteredWith = ws.selectionNumbers;
    ws.drawDigitSets = DrawDigitSets::fromDraws(ws.selectionNumbers);

    const bool advancedOn = ws.enabled[kConditionCount];
    if (advancedOn && runner) {
        auto prepared = runner->prepare(ws.conditions.advanced.conditionText, ws.selectionNumbers);
        if (!prepared)
            return std::unexpected(prepared.error());
    }

    FilterSetup setup;
    setup.conditions = &ws.conditions;
    setup.enabled = ws.enabled;
    setup.toleranceIndex = ws.toleranceIndex;
    setup.draws = &ws.selectionNumbers;
    setup.digitSets = ws.drawDigitSets;
    setup.runner = advancedOn ? runner : nullptr;
    setup.omissionMethod = omissionMethod;
    return filterGathered(ws.tables, setup);
}

std::expected<void, QString> filterGathered(ResultTables &tables, FilterSetup setup)
{
    setup.viewMode = tables.viewMode();
    AdvancedConditionRunner *runner = setup.runner;
    BatchedRunner batched;
    if (runner)
        setup.runner = &batched;
    FilterEngine engine(setup);
    if (runner) {
        tables.forEachInView([&](ResultEntry &e) {
            if (e.stage == ResultStage::Selected)
                engine.passes(e.number);
        });
        // A stopped run keeps nothing it filtered: the fresh selection stays.
        if (const auto aborted = batched.judge(*runner, setup.conditions->advanced.mode))
            return std::unexpected(*aborted);
    }
    tables.promoteFiltered([&](int number) { return engine.passes(number); });
    return {};
}

} // namespace numsieve
