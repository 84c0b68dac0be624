#include "core/script/ScriptConditionRunner.h"

#include "core/Messages.h"
#include "core/script/ConditionList.h"
#include "core/script/HistoryArrays.h"

#include <algorithm>

namespace numsieve {

ScriptConditionRunner::ScriptConditionRunner(EvaluationWay way, std::chrono::milliseconds timeLimit,
                                             std::chrono::milliseconds budget)
    : m_worker(&ScriptWorker::shared())
    , m_way(way)
    , m_timeLimit(timeLimit)
    , m_budget(budget)
{
}

ScriptConditionRunner::ScriptConditionRunner(ScriptWorker &worker) : ScriptConditionRunner()
{
    m_worker = &worker;
}

std::expected<void, QString> ScriptConditionRunner::prepare(const QString &conditionText, const QStringList &draws)
{
    if (auto begun = begin(conditionText, draws, nullptr, ListMode::Include); !begun)
        return std::unexpected(begun.error());
    return {};
}

std::expected<std::optional<QList<bool>>, QString>
ScriptConditionRunner::prepareAndTest(const QString &conditionText, const QStringList &draws,
                                      const QList<int> &numbers, ListMode mode)
{
    return begin(conditionText, draws, &numbers, mode);
}

std::expected<std::optional<QList<bool>>, QString> ScriptConditionRunner::begin(const QString &conditionText,
                                                                                const QStringList &draws,
                                                                                const QList<int> *ask, ListMode mode)
{
    m_deadline = std::chrono::steady_clock::now() + std::min(m_budget, m_cap.value_or(m_budget));
    m_abortMessage.reset();
    m_run.reset();
    const auto fail = [this](const QString &message) -> std::expected<std::optional<QList<bool>>, QString> {
        m_abortMessage = message;
        return std::unexpected(message);
    };
    if (conditionListTooLarge(conditionText))
        return fail(msg::kAdvancedTooMany);
    m_empty = cutConditionList(conditionText).isEmpty();
    if (m_empty) {
        if (!ask)
            return std::nullopt;
        return QList<bool>(ask->size(), true);
    }
    m_repeatable = false;
    // The expressions see the newest draws only; a long history need not
    // travel to the worker.
    const QStringList seen = draws.mid(std::max<qsizetype>(0, draws.size() - kHistoryDepth));
    const auto prepared = m_worker->prepare(conditionText, seen, m_way, m_timeLimit, m_deadline, ask, mode);
    if (!prepared)
        return fail(prepared.error());
    m_run = prepared->run;
    m_repeatable = prepared->repeatable;
    return prepared->verdicts;
}

std::expected<QList<bool>, QString> ScriptConditionRunner::testMany(const QList<int> &numbers, ListMode mode)
{
    if (m_abortMessage)
        return std::unexpected(*m_abortMessage);
    if (m_empty)
        return QList<bool>(numbers.size(), true);
    if (!m_run)
        return QList<bool>(numbers.size(), false);
    auto verdicts = m_worker->test(*m_run, numbers, mode, m_deadline);
    if (!verdicts)
        m_abortMessage = verdicts.error();
    return verdicts;
}

bool ScriptConditionRunner::test(int number, ListMode mode)
{
    // One number at a time costs a request each; the filter run asks for all
    // its numbers at once.
    const auto verdicts = testMany({number}, mode);
    return verdicts && verdicts->value(0, false);
}

} // namespace numsieve
