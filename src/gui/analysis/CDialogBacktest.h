#pragma once

#include "core/Workspace.h"
#include "gui/analysis/ReplayDialog.h"

#include <array>
#include <optional>

class QChartView;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace numsieve::gui {

class AppServices;

// 方案回测: replays the main window's current scheme over the last N draws of
// the selected lottery. The run works on copies in a thread of its own, with
// its own script worker, so the window stays responsive and the main window's
// state is never touched. While it runs the status says how far it is and
// about how long it has left; 取消 stops it at once (a script condition still
// working is given up) and the figures of the draws done are shown, marked
// as not the whole run. With the lottery's prizes every draw's list also
// counts as bought, beside what random lists of its sizes win on average.
class CDialogBacktest : public ReplayDialog
{
    Q_OBJECT

public:
    enum SummaryRow { Steps, Hits, HitRate, MeanSurvivors, ExpectedHits, Lift, PChance, kSummaryRows };
    enum MoneyRow { Spent, Won, ReturnRate, ExpectedWon, PWon, kMoneyRows };
    static inline const QString kTooFew = QStringLiteral("期望命中不足5次，结果不足以说明问题");
    static inline const QString kNothingSelected =
        QStringLiteral("选号为空，没有号码可以回测。请先在选号区选出号码，再开始回测。");

    CDialogBacktest(AppServices &services, const Workspace &workspace, const AnalysedLottery &lottery,
                    QWidget *parent = nullptr);

    QPushButton *exportButton() const { return m_export; }
    QTableWidget *conditionTable() const { return m_table; }
    QChartView *survivorChart() const { return m_survivorChart; }
    QChartView *cumulativeChart() const { return m_cumulativeChart; }
    // Cumulative spent and won against random lists; hidden without prizes.
    QChartView *moneyChart() const { return m_moneyChart; }
    QLabel *warningLabel() const { return m_warning; }
    // What the figures of the summary mean.
    QLabel *noteLabel() const { return m_note; }
    QLabel *summaryCaption(SummaryRow row) const { return m_captions[std::size_t(row)]; }
    QString summaryText(SummaryRow row) const;
    // The box of the figures; its title says when they cover only part of the run.
    QGroupBox *summaryBox() const { return m_summaryBox; }
    // 投入与中奖: the prizes, or why there are none, and the money figures.
    QLabel *prizesLabel() const { return m_prizesLabel; }
    QLabel *moneyCaption(MoneyRow row) const { return m_moneyCaptions[std::size_t(row)]; }
    QString moneyText(MoneyRow row) const;
    // The last finished run.
    const std::optional<BacktestResult> &result() const { return m_result; }

    // 开始 and 导出CSV...
    void start();
    void exportCsv();

protected:
    void setRunning(bool running) override;
    void showRun(const QList<BacktestResult> &results) override;

private:
    // Each figure's name and what it means, for its tool tip and the note.
    template <std::size_t N>
    using Explanations = std::array<std::array<QString, 2>, N>;
    static Explanations<3> summaryExplained();   // 期望命中, 提升倍数, 偶然达到概率
    Explanations<kMoneyRows> moneyExplanations() const;
    QGroupBox *createSummaryBox();
    QGroupBox *createMoneyBox();
    QLabel *createNote();
    void createCharts();

    void showSummary(const BacktestResult &result);
    void showMoney(const BacktestResult &result);
    void showCharts(const BacktestResult &result);
    void showMoneyChart(const BacktestResult &result);
    void showConditions(const BacktestResult &result);

    AppServices &m_services;
    const Workspace m_workspace;

    QPushButton *m_export = nullptr;
    QLabel *m_warning = nullptr;
    QLabel *m_note = nullptr;
    QGroupBox *m_summaryBox = nullptr;
    std::array<QLabel *, kSummaryRows> m_summary{};
    std::array<QLabel *, kSummaryRows> m_captions{};
    QLabel *m_prizesLabel = nullptr;
    std::array<QLabel *, kMoneyRows> m_money{};
    std::array<QLabel *, kMoneyRows> m_moneyCaptions{};
    QTableWidget *m_table = nullptr;
    QChartView *m_survivorChart = nullptr;
    QChartView *m_cumulativeChart = nullptr;
    QChartView *m_moneyChart = nullptr;

    std::optional<BacktestResult> m_result;
};

} // namespace numsieve::gui
