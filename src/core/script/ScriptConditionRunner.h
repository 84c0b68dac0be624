#pragma once

#include "core/filter/AdvancedCondition.h"
#include "core/script/ScriptEvaluator.h"
#include "core/script/ScriptWorker.h"

#include <chrono>
#include <optional>

namespace numsieve {

// Condition 15 as the window and numsieve-cli run it: evaluated by a script
// worker (ScriptWorker::shared() unless another is given; a worker serves the
// thread that first used it), one request for the pre-check and one for all
// the numbers of a run. A run has a budget for both together; past it, or
// when the worker dies, the run stops with the message saying which. Lists
// beyond the limits are refused before the worker sees them.
class ScriptConditionRunner : public AdvancedConditionRunner
{
public:
    explicit ScriptConditionRunner(EvaluationWay way = EvaluationWay::Compiled,
                                   std::chrono::milliseconds timeLimit = kDefaultScriptTimeLimit,
                                   std::chrono::milliseconds budget = kDefaultFilterBudget);
    explicit ScriptConditionRunner(ScriptWorker &worker);

    std::expected<void, QString> prepare(const QString &conditionText, const QStringList &draws) override;
    std::expected<std::optional<QList<bool>>, QString> prepareAndTest(const QString &conditionText,
                                                                      const QStringList &draws,
                                                                      const QList<int> &numbers,
                                                                      ListMode mode) override;
    bool test(int number, ListMode mode) override;
    std::expected<QList<bool>, QString> testMany(const QList<int> &numbers, ListMode mode) override;
    std::optional<QString> abortMessage() const override { return m_abortMessage; }
    bool repeatableVerdicts() const override { return m_empty || m_repeatable; }
    void capBudget(std::optional<std::chrono::milliseconds> cap) override { m_cap = cap; }

private:
    std::expected<std::optional<QList<bool>>, QString> begin(const QString &conditionText, const QStringList &draws,
                                                             const QList<int> *ask, ListMode mode);

    ScriptWorker *m_worker;
    EvaluationWay m_way;
    std::chrono::milliseconds m_timeLimit;
    std::chrono::milliseconds m_budget;
    std::optional<std::chrono::milliseconds> m_cap;
    std::chrono::steady_clock::time_point m_deadline;
    bool m_empty = true;
    bool m_repeatable = false;
    std::optional<quint64> m_run;
    std::optional<QString> m_abortMessage;
};

} // namespace numsieve
