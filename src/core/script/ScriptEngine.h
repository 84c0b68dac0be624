#pragma once

#include <QJSValue>
#include <QString>

#include <chrono>
#include <expected>
#include <memory>

class QJSEngine;

namespace numsieve {

class ScriptWatchdog;

// How long one evaluation may run before the watchdog stops it.
inline constexpr std::chrono::milliseconds kDefaultScriptTimeLimit{2000};

// Why a step of the script engine did not succeed: the script was rejected
// (syntax or run-time error, no such function), or it ran past the time limit.
enum class ScriptFailure { Error, Interrupted };

// The script engine behind the advanced conditions, offering the five steps the
// conditions are written against: create (constructor), prepare, add code, run
// a named function without arguments, release (destructor).
//
// Expressions can reach nothing outside the script: the engine is a bare
// QJSEngine without extensions (no console, no Qt object, no module loading),
// so there is no file or network access. Every evaluation is timed by a
// watchdog, and builtins that would allocate or walk huge arrays and strings
// in native code (where the interrupt flag is never looked at) are capped.
class ScriptEngine
{
public:
    explicit ScriptEngine(std::chrono::milliseconds timeLimit = kDefaultScriptTimeLimit);
    ~ScriptEngine();
    ScriptEngine(const ScriptEngine &) = delete;
    ScriptEngine &operator=(const ScriptEngine &) = delete;

    // Drops every earlier definition and starts from a fresh script context.
    // QJSValues obtained before are invalid afterwards.
    void prepare();

    // Runs the text as global code; declared functions become callable by
    // name, a later declaration replacing an earlier one of the same name.
    std::expected<void, ScriptFailure> addCode(const QString &code);

    // Calls a global function without arguments and converts its result to a
    // 32-bit integer. Fails when no function of that name exists.
    std::expected<int, ScriptFailure> run(const QString &procedure);

    // Compile-once support: evaluates a text to a value, and calls a value
    // obtained that way. Both are timed like the steps above.
    std::expected<QJSValue, ScriptFailure> evaluate(const QString &code);
    std::expected<QJSValue, ScriptFailure> call(const QJSValue &function, const QJSValueList &arguments);

    QJSValue newArray(int length);

    std::chrono::milliseconds timeLimit() const;

    // A moment no evaluation may run past, whatever time it has left: the end
    // of a whole filter run's budget.
    void setDeadline(std::chrono::steady_clock::time_point deadline) { m_deadline = deadline; }

private:
    std::unique_ptr<ScriptWatchdog> m_watchdog;
    std::unique_ptr<QJSEngine> m_engine;
    std::chrono::steady_clock::time_point m_deadline = std::chrono::steady_clock::time_point::max();
};

} // namespace numsieve
