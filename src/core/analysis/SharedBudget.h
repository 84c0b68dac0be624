#pragma once

#include "core/Messages.h"
#include "core/filter/AdvancedCondition.h"

#include <chrono>

namespace numsieve {

// Condition 15 over a whole back-test: every call to the runner is timed
// against one budget that starts at `base` and grows by `perStep` at every
// step, and each step's run may spend only what is left, at most the budget
// of a run of its own. Ordinary conditions use a small part of the growth,
// so however many steps are asked for they finish; a step that outruns what
// is left ends the back-test.
class SharedBudget : public AdvancedConditionRunner
{
public:
    SharedBudget(AdvancedConditionRunner &runner, std::chrono::milliseconds base, std::chrono::milliseconds perStep)
        : m_runner(runner)
        , m_left(base)
        , m_perStep(perStep)
    {
    }
    ~SharedBudget() override { m_runner.capBudget(std::nullopt); }
    SharedBudget(const SharedBudget &) = delete;
    SharedBudget &operator=(const SharedBudget &) = delete;

    void beginStep() { m_left += m_perStep; }

private:
    template<typename Call>
    auto timed(Call call)
    {
        const auto start = std::chrono::steady_clock::now();
        auto outcome = call();
        m_left -= std::chrono::steady_clock::now() - start;
        return outcome;
    }

public:
    // Whether anything is left for the next run; the runner is told how much.
    bool capped()
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_left);
        if (left <= std::chrono::milliseconds(0))
            return false;
        m_runner.capBudget(left);
        return true;
    }

    std::expected<void, QString> prepare(const QString &conditionText, const QStringList &draws) override
    {
        if (!capped())
            return std::unexpected(msg::kAdvancedTimeout);
        return timed([&] { return m_runner.prepare(conditionText, draws); });
    }
    std::expected<std::optional<QList<bool>>, QString> prepareAndTest(const QString &conditionText,
                                                                      const QStringList &draws,
                                                                      const QList<int> &numbers,
                                                                      ListMode mode) override
    {
        if (!capped())
            return std::unexpected(msg::kAdvancedTimeout);
        return timed([&] { return m_runner.prepareAndTest(conditionText, draws, numbers, mode); });
    }
    bool test(int number, ListMode mode) override { return timed([&] { return m_runner.test(number, mode); }); }
    std::expected<QList<bool>, QString> testMany(const QList<int> &numbers, ListMode mode) override
    {
        return timed([&] { return m_runner.testMany(numbers, mode); });
    }
    bool repeatableVerdicts() const override { return m_runner.repeatableVerdicts(); }
    std::optional<QString> abortMessage() const override { return m_runner.abortMessage(); }

private:
    AdvancedConditionRunner &m_runner;
    std::chrono::steady_clock::duration m_left;
    std::chrono::steady_clock::duration m_perStep;
};

} // namespace numsieve
