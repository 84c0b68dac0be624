#pragma once

#include "core/filter/AdvancedCondition.h"
#include "core/script/ExpressionMemo.h"
#include "core/script/ScriptEngine.h"

#include <QJSValue>

#include <chrono>
#include <memory>
#include <optional>

namespace numsieve {

// How the per-number test reaches the script engine.
enum class EvaluationWay {
    // Each expression is compiled once per run into a function; per number one
    // call sets index 0 of the twelve arrays and runs the expressions in order.
    Compiled,
    // Per number and expression a new compute text is added and run, as the
    // engine is driven by its five steps. About fifty times slower.
    Literal,
};

// Condition 15 on a script engine in this process. It is what the script
// worker runs for the program; nothing else should evaluate a user's
// expressions here, since a hostile one can exhaust the memory of the process
// that evaluates it. One evaluator serves one filter run at a time and can be
// used run after run: prepare() starts a fresh engine, except that a run of
// the same expressions as the last one, when they name nothing but the twelve
// arrays, keeps the engine with its compiled functions and only declares the
// history anew. When besides they only read, each at fixed places, their
// outcomes are remembered by the values read (ExpressionMemo) and the engine
// is asked only what no run before has answered.
class ScriptEvaluator : public AdvancedConditionRunner
{
public:
    explicit ScriptEvaluator(EvaluationWay way = EvaluationWay::Compiled,
                             std::chrono::milliseconds timeLimit = kDefaultScriptTimeLimit);
    ~ScriptEvaluator() override;

    std::expected<void, QString> prepare(const QString &conditionText, const QStringList &draws) override;
    bool test(int number, ListMode mode) override;

    // The end of the run's budget: no evaluation of the pre-check or of the
    // tests runs past it, and one that would is stopped as by the watchdog.
    void setDeadline(std::chrono::steady_clock::time_point deadline);

    // Set when an evaluation had to be stopped by the watchdog during the
    // per-number tests: the run must stop and show the message. From then on
    // every number fails without being evaluated (as after a failed prepare).
    std::optional<QString> abortMessage() const override { return m_abortMessage; }
    bool repeatableVerdicts() const override { return m_expressions.isEmpty() || m_plain; }

    const QStringList &expressions() const { return m_expressions; }
    // The way the tests of the prepared run actually take. A run falls back to
    // the literal way when an expression is not a self-contained expression
    // (it closes the compute text's brackets itself), since only the literal
    // way keeps such texts meaning what they mean there.
    EvaluationWay activeWay() const { return m_activeWay; }
    // Whether the compiled run holds only expressions that read, evaluated
    // together in one function with index 0 assigned once per number.
    bool plainExpressions() const { return m_plain; }
    // Whether the run's outcomes come from what earlier runs answered.
    bool remembersOutcomes() const { return !m_memos.empty(); }

private:
    bool compile();
    void rememberOutcomes(const QStringList &draws);
    std::expected<void, QString> prepareRemembered(const QStringList &draws);
    std::expected<ExpressionMemo::Outcome, ScriptFailure> outcome(std::size_t expression, int number);
    bool testRemembered(int number, ListMode mode);
    bool testLiteral(int number, ListMode mode);
    bool testCompiled(int number, ListMode mode);
    void abort();
    std::expected<void, QString> precheck(const QStringList &draws);
    std::expected<void, QString> checkHistory(const QStringList &draws);
    std::expected<void, QString> failPrepare(const QString &message);

    EvaluationWay m_way;
    EvaluationWay m_activeWay;
    std::chrono::milliseconds m_timeLimit;
    bool m_plain = false;
    // The run's expressions name only the twelve arrays and are compiled
    // into one function together.
    bool m_inline = false;
    std::chrono::steady_clock::time_point m_deadline = std::chrono::steady_clock::time_point::max();
    // Declared before the script values so that they are released first.
    std::unique_ptr<ScriptEngine> m_engine;
    QJSValue m_driver;
    QJSValue m_functions;
    // Per expression, when the run remembers outcomes: its function of the
    // tested number's values, and what it answered so far.
    QList<QJSValue> m_memoFunctions;
    std::vector<ExpressionMemo> m_memos;
    QStringList m_memoDraws;
    bool m_memoDrawsDeclared = false;
    QStringList m_expressions;
    QString m_conditionText;
    std::optional<QString> m_abortMessage;
};

} // namespace numsieve
