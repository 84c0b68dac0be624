#pragma once

#include "core/Workspace.h"
#include "core/analysis/Backtest.h"
#include "core/history/Draw.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>

#include <atomic>
#include <thread>

namespace numsieve::gui {

// Whether the scheme's selection gathers no number: such a scheme would be
// "replayed" as no hits, no expectation and a certain chance, figures that
// look like a result and mean nothing.
bool gathersNothing(const Workspace &scheme);

// Replays schemes one after another over the same draws in a thread of its
// own, with its own script worker, so that the window stays responsive and
// the main window's state is never touched: the thread works on copies and
// reports back only through queued calls, which are dropped should the
// runner be gone. cancel() stops at once, also in the middle of a slow
// script condition; the scheme under way then keeps the draws it has done,
// marked cancelled, and the schemes after it are not replayed.
class BacktestRunner : public QObject
{
    Q_OBJECT

public:
    explicit BacktestRunner(QObject *parent = nullptr);
    // Tells a run still going to stop and waits for it.
    ~BacktestRunner() override;

    // Replays each scheme over the last `count` of `draws`; does nothing
    // while a run is going on.
    void start(const QList<Workspace> &schemes, const QList<Draw> &draws, int count);
    void cancel();
    bool isRunning() const { return m_thread.joinable(); }
    bool isCancelling() const { return m_cancel; }
    // Since start().
    qint64 elapsedMs() const { return m_clock.elapsed(); }

Q_SIGNALS:
    // `done` of `total` replayed draws of all the schemes; `scheme` is the
    // one under way, from 0.
    void progressed(int done, int total, int scheme);
    // The run ended, to the end or cancelled: one result for each scheme
    // replayed, in the order given.
    void finished(const QList<numsieve::BacktestResult> &results);

private:
    void finish(const QList<BacktestResult> &results);

    std::thread m_thread;
    QElapsedTimer m_clock;
    std::atomic<bool> m_cancel{false};
};

} // namespace numsieve::gui
