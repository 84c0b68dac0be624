#pragma once

#include "core/Workspace.h"
#include "gui/analysis/AnalysedLottery.h"
#include "core/analysis/Backtest.h"

#include <QDialog>
#include <QList>

class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace numsieve::gui {

class BacktestRunner;

// What 方案回测 and 方案对比 share: which draws 开始 replays (回测期数 of the
// lottery's newest), the progress bar with the status that says how far the
// run is and about how long it has left, and 取消, which stops it at once. The
// run goes on in the background (BacktestRunner); closing while it goes on
// stops it first and closes once it has stopped.
class ReplayDialog : public QDialog
{
    Q_OBJECT

public:
    ~ReplayDialog() override;

    QSpinBox *countBox() const { return m_count; }
    QPushButton *startButton() const { return m_start; }
    QPushButton *cancelButton() const { return m_cancelButton; }
    QProgressBar *progressBar() const { return m_progress; }
    QLabel *statusLabel() const { return m_status; }
    // Which lottery and which issues 开始 replays.
    QLabel *rangeLabel() const { return m_range; }
    bool isRunning() const;

    // The status while a run goes on: `done` of `total` draws after
    // `elapsedMs`, with the time left once there is enough to go by.
    static QString progressText(int done, int total, qint64 elapsedMs);

    // 取消
    void cancel();

public Q_SLOTS:
    // While a run goes on, closing waits for it to stop.
    void reject() override;

Q_SIGNALS:
    // A run ended (to the end or cancelled) and what it leaves is shown.
    void runFinished();

protected:
    // `noDraws` is what the status says where the lottery has none.
    ReplayDialog(const AnalysedLottery &lottery, const QString &noDraws, QWidget *parent);

    // 回测期数, 开始, the progress bar and 取消, for the dialog's layout.
    QHBoxLayout *controls() const { return m_controls; }
    // The figures and charts scroll as one, vertically, so that the dialog
    // fits a short screen with its buttons in view.
    static QScrollArea *scrollingBody(QWidget *body);
    // Replays the schemes over the last 回测期数 draws, one after another.
    void startRun(const QList<Workspace> &schemes);
    // Enables what may be used while a run goes on or not.
    virtual void setRunning(bool running);
    // The status while the scheme `scheme` (from 0) is replayed.
    virtual QString progressStatus(int done, int total, int scheme) const;
    // Shows what a run leaves, also one stopped by closing: one result for
    // each scheme replayed, the last one cancelled when the run was.
    virtual void showRun(const QList<BacktestResult> &results) = 0;

    const AnalysedLottery m_lottery;

private:
    void showProgress(int done, int total, int scheme);
    void finish(const QList<BacktestResult> &results);

    BacktestRunner *m_runner = nullptr;
    bool m_closeWhenDone = false;
    QHBoxLayout *m_controls = nullptr;
    QSpinBox *m_count = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_range = nullptr;
};

} // namespace numsieve::gui
