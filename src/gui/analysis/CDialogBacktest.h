#pragma once

#include "Workspace.h"
#include "analysis/Backtest.h"
#include "history/Draw.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QList>

#include <array>
#include <atomic>
#include <optional>
#include <thread>

class QChartView;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace numsieve::gui {

class AppServices;

// 方案回测: replays the main window's current scheme over the last N draws of
// the selected lottery. The run works on copies in a thread of its own, with
// its own script worker, so the window stays responsive and the main window's
// state is never touched. While it runs the status says how far it is and
// about how long it has left; 取消 stops it at once (a script condition still
// working is given up) and the figures of the draws done are shown, marked
// as not the whole run.
class CDialogBacktest : public QDialog
{
    Q_OBJECT

public:
    enum SummaryRow { Steps, Hits, HitRate, MeanSurvivors, ExpectedHits, Lift, PChance, kSummaryRows };
    static inline const QString kTooFew = QStringLiteral("期望命中不足5次，结果不足以说明问题");
    static inline const QString kNothingSelected =
        QStringLiteral("选号为空，没有号码可以回测。请先在选号区选出号码，再开始回测。");

    // `lottery` is the name of the lottery the draws belong to.
    CDialogBacktest(AppServices &services, const Workspace &workspace, const QString &lottery,
                    const QList<Draw> &draws, QWidget *parent = nullptr);
    // Waits for a run still going (it was told to stop).
    ~CDialogBacktest() override;

    QSpinBox *countBox() const { return m_count; }
    QPushButton *startButton() const { return m_start; }
    QPushButton *cancelButton() const { return m_cancelButton; }
    QPushButton *exportButton() const { return m_export; }
    QProgressBar *progressBar() const { return m_progress; }
    QTableWidget *conditionTable() const { return m_table; }
    QChartView *survivorChart() const { return m_survivorChart; }
    QChartView *cumulativeChart() const { return m_cumulativeChart; }
    QLabel *statusLabel() const { return m_status; }
    QLabel *warningLabel() const { return m_warning; }
    // Which lottery and which issues 开始 replays.
    QLabel *rangeLabel() const { return m_range; }
    // What the figures of the summary mean.
    QLabel *noteLabel() const { return m_note; }
    QLabel *summaryCaption(SummaryRow row) const { return m_captions[std::size_t(row)]; }
    QString summaryText(SummaryRow row) const;
    // The box of the figures; its title says when they cover only part of the run.
    QGroupBox *summaryBox() const { return m_summaryBox; }
    // The status while a run goes on: `done` of `total` draws after
    // `elapsedMs`, with the time left once there is enough to go by.
    static QString progressText(int done, int total, qint64 elapsedMs);
    bool isRunning() const { return m_thread.joinable(); }
    // The last finished run.
    const std::optional<BacktestResult> &result() const { return m_result; }

    // 开始, 取消 and 导出CSV...
    void start();
    void cancel();
    void exportCsv();

public Q_SLOTS:
    // While a run goes on, closing waits for it to stop.
    void reject() override;

Q_SIGNALS:
    // A run ended (to the end or cancelled) and its result is shown.
    void runFinished();

private:
    void setRunning(bool running);
    void showRange(int count);
    void showProgress(int done, int total);
    void finish(const BacktestResult &result);
    void showSummary(const BacktestResult &result);
    void showCharts(const BacktestResult &result);
    void showConditions(const BacktestResult &result);

    AppServices &m_services;
    const Workspace m_workspace;
    const QString m_lottery;
    const QList<Draw> m_draws;

    QSpinBox *m_count = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_export = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_warning = nullptr;
    QLabel *m_range = nullptr;
    QLabel *m_note = nullptr;
    QGroupBox *m_summaryBox = nullptr;
    std::array<QLabel *, kSummaryRows> m_summary{};
    std::array<QLabel *, kSummaryRows> m_captions{};
    QTableWidget *m_table = nullptr;
    QChartView *m_survivorChart = nullptr;
    QChartView *m_cumulativeChart = nullptr;

    std::thread m_thread;
    QElapsedTimer m_clock;
    std::atomic<bool> m_cancel{false};
    bool m_closeWhenDone = false;
    std::optional<BacktestResult> m_result;
};

} // namespace numsieve::gui
