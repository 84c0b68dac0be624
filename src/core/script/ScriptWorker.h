#pragma once

#include "core/filter/ListCondition.h"
#include "core/script/ScriptEvaluator.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <expected>
#include <memory>
#include <mutex>
#include <optional>

class QProcess;

namespace numsieve {

// How long one whole filter run of condition 15 (pre-check and every test)
// may take before it stops with the time-out message.
inline constexpr std::chrono::milliseconds kDefaultFilterBudget{10000};

// The address space the worker may use. QJSEngine grows its heap without any
// bound of its own and some built-ins allocate gigabytes in native code where
// no interrupt reaches them; past this the worker dies and the program says so.
inline constexpr quint64 kScriptMemoryLimit = quint64(1) << 30;

// The executable that evaluates script conditions, beside the program.
QString scriptWorkerProgram();

// Script conditions run in a worker process of their own, started on first
// use and kept for the next requests: a hostile expression can then at most
// exhaust and kill the worker, never the window with its unsaved work or the
// command-line tool. Every request carries a wall-clock deadline; a worker
// that has not answered by then is killed, and a dead worker is started anew
// by the next request.
//
// Requests are synchronous, as the evaluation in the window always was.
class ScriptWorker
{
public:
    // The worker that every runner of the process shares.
    static ScriptWorker &shared();

    ScriptWorker();
    ~ScriptWorker();
    ScriptWorker(const ScriptWorker &) = delete;
    ScriptWorker &operator=(const ScriptWorker &) = delete;

    // The trial run of 添加: the history and the expression's compute text
    // added and run once, all within the time limit. Fails with
    // kExpressionIncomplete, or with the time-out or worker message.
    std::expected<void, QString> trial(const QString &expression, const QStringList &draws,
                                       std::chrono::milliseconds timeLimit);

    // The pre-check of a filter run; the worker keeps the prepared engine for
    // the tests that follow, until the next pre-check or trial. Returns the
    // run's number, which its tests name, and whether the run's verdicts are
    // the same however often a number is asked. Only the newest draws the
    // expressions can see need to be given. With `ask`, a run whose verdicts
    // are repeatable answers those numbers in the same exchange.
    struct Prepared {
        quint64 run = 0;
        bool repeatable = false;
        std::optional<QList<bool>> verdicts;
    };
    std::expected<Prepared, QString> prepare(const QString &conditionText, const QStringList &draws, EvaluationWay way,
                                             std::chrono::milliseconds timeLimit,
                                             std::chrono::steady_clock::time_point deadline,
                                             const QList<int> *ask = nullptr, ListMode mode = ListMode::Include);

    // The verdicts for the numbers, tested in order in the engine prepared
    // for that run. A run whose engine is gone (another run was prepared
    // since, or the worker restarted) gets kAdvancedIncomplete.
    std::expected<QList<bool>, QString> test(quint64 run, const QList<int> &numbers, ListMode mode,
                                             std::chrono::steady_clock::time_point deadline);

    // Ends the worker; the next request starts a new one.
    void stop();

    // A request still waiting when the flag is set is given up at once: the
    // worker is ended and the request fails. For a run the user cancels.
    void abandonWhen(const std::atomic<bool> *flag) { m_abandon = flag; }

private:
    std::expected<QByteArray, QString> request(const QByteArray &payload,
                                               std::chrono::steady_clock::time_point deadline);
    bool ensureRunning();

    std::mutex m_mutex;
    std::unique_ptr<QProcess> m_process;
    quint64 m_lastRun = 0;
    const std::atomic<bool> *m_abandon = nullptr;
};

// The worker's side: answers requests from standard input on standard output
// until the input ends. Returns the process exit status.
int serveScriptRequests();

} // namespace numsieve
