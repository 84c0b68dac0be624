#include "gui/analysis/BacktestRunner.h"

#include "core/script/ScriptConditionRunner.h"
#include "core/selection/SelectionState.h"
#include "core/script/ScriptWorker.h"

#include <algorithm>
#include <chrono>

namespace numsieve::gui {

bool gathersNothing(const Workspace &scheme)
{
    ResultTables gathered = scheme.tables;
    gather(scheme.selection, gathered);
    bool any = false;
    gathered.forEachInView([&](ResultEntry &e) { any = any || e.stage == ResultStage::Selected; });
    return !any;
}

BacktestRunner::BacktestRunner(QObject *parent)
    : QObject(parent)
{
}

BacktestRunner::~BacktestRunner()
{
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
}

void BacktestRunner::start(const QList<Workspace> &schemes, const QList<Draw> &draws, int count)
{
    if (isRunning())
        return;
    m_cancel = false;
    m_clock.start();
    m_thread = std::thread([this, schemes, draws, count] {
        ScriptWorker worker;
        worker.abandonWhen(&m_cancel);
        ScriptConditionRunner runner(worker);
        const int perScheme = std::clamp(count, 0, int(draws.size()));
        const int total = perScheme * int(schemes.size());
        QList<BacktestResult> results;
        for (int scheme = 0; scheme < schemes.size(); ++scheme) {
            BacktestControl control;
            // Thousands of draws a second need not be thousands of repaints.
            auto reported = std::chrono::steady_clock::time_point();
            const int before = scheme * perScheme;
            control.progress = [this, reported, before, total, scheme](int done, int steps) mutable {
                const auto now = std::chrono::steady_clock::now();
                if (done < steps && now - reported < std::chrono::milliseconds(50))
                    return;
                reported = now;
                QMetaObject::invokeMethod(
                    this, [this, done = before + done, total, scheme] { Q_EMIT progressed(done, total, scheme); },
                    Qt::QueuedConnection);
            };
            control.cancel = &m_cancel;
            results.append(runBacktest(schemes.at(scheme), draws, {}, count, &runner, control));
            if (results.last().cancelled)
                break;
        }
        QMetaObject::invokeMethod(
            this, [this, results = std::move(results)] { finish(results); }, Qt::QueuedConnection);
    });
}

void BacktestRunner::cancel()
{
    m_cancel = true;
}

void BacktestRunner::finish(const QList<BacktestResult> &results)
{
    if (m_thread.joinable())
        m_thread.join();
    Q_EMIT finished(results);
}

} // namespace numsieve::gui
