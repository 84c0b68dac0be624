#pragma once

#include "core/filter/ListCondition.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <expected>
#include <optional>

namespace numsieve {

// Condition 15 as the filter engine sees it: the script conditions of panel 15,
// prepared once per filter run and then asked for every candidate.
class AdvancedConditionRunner
{
public:
    virtual ~AdvancedConditionRunner() = default;

    // The pre-check of a run: cuts the condition list into expressions and tries
    // each against the draws (oldest first). On failure returns the message the
    // user sees; the run then stops before any number is tested.
    virtual std::expected<void, QString> prepare(const QString &conditionText, const QStringList &draws) = 0;

    // Whether the number (a stored sorted form in group mode) passes the
    // prepared expressions under the panel's include/exclude choice.
    virtual bool test(int number, ListMode mode) = 0;

    // The verdicts of test() for these numbers, asked in this order, or the
    // message that stopped the tests. A runner that evaluates elsewhere
    // answers the whole list at once instead of one number at a time.
    virtual std::expected<QList<bool>, QString> testMany(const QList<int> &numbers, ListMode mode)
    {
        QList<bool> verdicts;
        verdicts.reserve(numbers.size());
        for (int number : numbers) {
            verdicts.append(test(number, mode));
            if (const auto stopped = abortMessage())
                return std::unexpected(*stopped);
        }
        return verdicts;
    }

    // The pre-check and, when the run's verdicts turn out repeatable, the
    // verdicts for `numbers` too (std::nullopt when they are not), in one
    // exchange where the runner evaluates elsewhere: an operation that knows
    // beforehand what it will ask (a back-test step) saves a round trip.
    virtual std::expected<std::optional<QList<bool>>, QString>
    prepareAndTest(const QString &conditionText, const QStringList &draws, const QList<int> &numbers, ListMode mode)
    {
        if (auto prepared = prepare(conditionText, draws); !prepared)
            return std::unexpected(prepared.error());
        if (!repeatableVerdicts())
            return std::optional<QList<bool>>();
        auto verdicts = testMany(numbers, mode);
        if (!verdicts)
            return std::unexpected(verdicts.error());
        return std::optional<QList<bool>>(std::move(*verdicts));
    }

    // Whether the prepared run answers a number the same however often and
    // in whatever order it is asked (its expressions only read), so that one
    // verdict per number serves every question about the run.
    virtual bool repeatableVerdicts() const { return false; }

    // Set when the tests had to be stopped (an expression ran away): the run
    // must not keep what it filtered and shows this message instead.
    virtual std::optional<QString> abortMessage() const { return std::nullopt; }

    // Lets each run prepared from now on spend at most `cap`, pre-check and
    // tests together, when that is less than its own budget; std::nullopt
    // gives the runs their whole budget again. An operation of many runs that
    // shares one budget (a back-test) passes what it has left.
    virtual void capBudget(std::optional<std::chrono::milliseconds> cap) { (void)cap; }
};

} // namespace numsieve
