#include "gui/analysis/CDialogBacktest.h"

#include "gui/analysis/AnalysisCharts.h"
#include "gui/analysis/BacktestRunner.h"
#include "gui/analysis/CsvExport.h"
#include "core/analysis/Money.h"
#include "gui/app/AppServices.h"
#include "gui/ui/ScreenFit.h"

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

namespace numsieve::gui {

namespace {

const QString kSummaryTitle = QStringLiteral("回测结果");

const QColor kMissColor(120, 150, 190);
const QColor kSpentColor(60, 100, 170);

// A form row for each figure: its caption and its value, "—" until a run.
template <std::size_t N>
void addFigureRows(QFormLayout *form, const QString (&titles)[N], std::array<QLabel *, N> &captions,
                   std::array<QLabel *, N> &values)
{
    for (std::size_t row = 0; row < N; ++row) {
        values[row] = new QLabel(QStringLiteral("—"));
        values[row]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        captions[row] = new QLabel(titles[row] + QStringLiteral("："));
        form->addRow(captions[row], values[row]);
    }
}

} // namespace

CDialogBacktest::CDialogBacktest(AppServices &services, const Workspace &workspace, const AnalysedLottery &lottery,
                                 QWidget *parent)
    : ReplayDialog(lottery, QStringLiteral("所选彩票没有开奖号码，无法回测。"), parent)
    , m_services(services)
    , m_workspace(workspace)
{
    setWindowTitle(QStringLiteral("方案回测"));

    auto *left = new QVBoxLayout;
    left->addWidget(createSummaryBox(), 3);
    left->addWidget(createMoneyBox(), 2);

    m_table = figureTable(0, {QStringLiteral("条件"), QStringLiteral("淘汰开奖号"), QStringLiteral("平均淘汰比例")},
                          QStringLiteral("平均淘汰比例"));
    m_table->setMinimumHeight(140);
    auto *tableBox = new QGroupBox(QStringLiteral("各条件单独的作用"));
    auto *tableLayout = new QVBoxLayout(tableBox);
    tableLayout->addWidget(m_table);

    auto *figures = new QHBoxLayout;
    figures->addLayout(left, 1);
    figures->addWidget(tableBox, 1);

    auto *body = new QWidget;
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->addLayout(figures);
    bodyLayout->addWidget(createNote());
    createCharts();
    bodyLayout->addWidget(m_survivorChart, 1);
    bodyLayout->addWidget(m_cumulativeChart, 1);
    bodyLayout->addWidget(m_moneyChart, 1);

    m_export = new QPushButton(QStringLiteral("导出CSV..."));
    m_export->setEnabled(false);
    auto *close = new QPushButton(QStringLiteral("关闭"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_export);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(rangeLabel());
    layout->addLayout(controls());
    layout->addWidget(statusLabel());
    layout->addWidget(scrollingBody(body), 1);
    layout->addLayout(buttons);
    resize(900, 860);
    fitDialogToScreen(this);

    connect(startButton(), &QPushButton::clicked, this, &CDialogBacktest::start);
    connect(m_export, &QPushButton::clicked, this, &CDialogBacktest::exportCsv);
    connect(close, &QPushButton::clicked, this, &CDialogBacktest::reject);

    if (!m_lottery.draws.isEmpty())
        statusLabel()->setText(
            QStringLiteral("用当前的选号、条件、容错和直选/组选设置，逐期只以之前的开奖号码为历史重新过滤，"
                           "看开奖号是否在剩下的号码里。"));
}

QGroupBox *CDialogBacktest::createSummaryBox()
{
    m_warning = new QLabel;
    m_warning->setWordWrap(true);
    m_warning->setStyleSheet(QStringLiteral("color: rgb(180, 30, 20);"));
    m_warning->hide();

    m_summaryBox = new QGroupBox(kSummaryTitle);
    auto *summaryLayout = new QVBoxLayout(m_summaryBox);
    auto *form = new QFormLayout;
    const QString titles[kSummaryRows] = {QStringLiteral("回测期数"), QStringLiteral("命中"),
                                          QStringLiteral("命中率"),   QStringLiteral("平均注数"),
                                          QStringLiteral("期望命中"), QStringLiteral("提升倍数"),
                                          QStringLiteral("偶然达到概率")};
    addFigureRows(form, titles, m_captions, m_summary);
    const auto explained = summaryExplained();
    for (const SummaryRow row : {ExpectedHits, Lift, PChance}) {
        const QString &tip = explained[row - ExpectedHits][1];
        m_captions[std::size_t(row)]->setToolTip(tip);
        m_summary[std::size_t(row)]->setToolTip(tip);
    }
    summaryLayout->addLayout(form);
    summaryLayout->addWidget(m_warning);
    summaryLayout->addStretch(1);
    return m_summaryBox;
}

QGroupBox *CDialogBacktest::createMoneyBox()
{
    // The same lists as bought, beside what random lists of their sizes win.
    auto *moneyBox = new QGroupBox(QStringLiteral("投入与中奖（每期买下剩下的号码）"));
    auto *moneyLayout = new QVBoxLayout(moneyBox);
    m_prizesLabel = new QLabel(m_lottery.prizes ? QStringLiteral("奖金：") + prizesText(*m_lottery.prizes)
                                                : noPrizesText(m_lottery));
    m_prizesLabel->setWordWrap(true);
    m_prizesLabel->setTextFormat(Qt::PlainText);
    moneyLayout->addWidget(m_prizesLabel);
    auto *moneyForm = new QFormLayout;
    const QString moneyTitles[kMoneyRows] = {QStringLiteral("投入"), QStringLiteral("中奖"), QStringLiteral("回报率"),
                                             QStringLiteral("随机平均中奖"), QStringLiteral("中奖偶然概率")};
    addFigureRows(moneyForm, moneyTitles, m_moneyCaptions, m_money);
    const auto moneyExplained = moneyExplanations();
    for (int row = 0; row < kMoneyRows; ++row) {
        m_moneyCaptions[std::size_t(row)]->setToolTip(moneyExplained[std::size_t(row)][1]);
        m_money[std::size_t(row)]->setToolTip(moneyExplained[std::size_t(row)][1]);
    }
    moneyLayout->addLayout(moneyForm);
    moneyLayout->addStretch(1);
    // Without prizes the box only says so: the counts above are all there is.
    for (QLabel *label : m_money)
        label->setVisible(m_lottery.prizes.has_value());
    for (QLabel *label : m_moneyCaptions)
        label->setVisible(m_lottery.prizes.has_value());
    return moneyBox;
}

QLabel *CDialogBacktest::createNote()
{
    QStringList note;
    for (const auto &[name, text] : summaryExplained())
        note << (text.startsWith(name) ? text : name + QStringLiteral("：") + text);
    if (m_lottery.prizes) {
        const auto moneyExplained = moneyExplanations();
        for (const MoneyRow row : {ExpectedWon, PWon})
            note << moneyExplained[row][0] + QStringLiteral("：") + moneyExplained[row][1];
    }
    m_note = new QLabel(note.join(QLatin1Char('\n')));
    m_note->setWordWrap(true);
    return m_note;
}

void CDialogBacktest::createCharts()
{
    m_survivorChart = new QChartView(newChart(QStringLiteral("每期剩余注数")));
    m_survivorChart->setRenderHint(QPainter::Antialiasing);
    m_survivorChart->setMinimumHeight(200);
    m_cumulativeChart = new QChartView(newChart(QStringLiteral("累计命中与偶然的期望")));
    m_cumulativeChart->setRenderHint(QPainter::Antialiasing);
    m_cumulativeChart->setMinimumHeight(200);
    m_moneyChart = new QChartView(newChart(QStringLiteral("累计投入与中奖")));
    m_moneyChart->setRenderHint(QPainter::Antialiasing);
    m_moneyChart->setMinimumHeight(200);
    m_moneyChart->setVisible(m_lottery.prizes.has_value());
}

CDialogBacktest::Explanations<3> CDialogBacktest::summaryExplained()
{
    return {{
        {QStringLiteral("期望命中"),
         QStringLiteral("每期剩下的号码若换成随便选的同样多的号码，靠运气能命中的次数："
                        "各期剩余号码占全部可能开奖号码的比例之和。")},
        {QStringLiteral("提升倍数"),
         QStringLiteral("提升倍数 = 命中 ÷ 期望命中。1 表示条件和随便选同样多的号码一样好；大于 1 较好，小于 1 较差。")},
        {QStringLiteral("偶然达到概率"),
         QStringLiteral("每期都随便选同样多的号码时，靠运气至少命中这么多次的确切概率。只有很小（比如小于5%）"
                        "才说明条件比运气好；它说的是已经开出的这些期，不保证以后的开奖。")},
    }};
}

CDialogBacktest::Explanations<CDialogBacktest::kMoneyRows> CDialogBacktest::moneyExplanations() const
{
    const int price = m_lottery.prizes ? m_lottery.prizes->price : 0;
    return {{
        {QStringLiteral("投入"), QStringLiteral("每期把剩下的号码每个买一注（每注%1元）要花的钱。").arg(price)},
        {QStringLiteral("中奖"),
         QStringLiteral("直选：剩下的号码里有开奖号码，中直选奖；组选：剩下的组选里有开奖号码的组选，"
                        "按开奖号码中组选三或组选六奖，豹子不中组选奖。")},
        {QStringLiteral("回报率"), QStringLiteral("回报率 = 中奖 ÷ 投入。")},
        {QStringLiteral("随机平均中奖"),
         QStringLiteral(
             "每期随便选同样多的号码，平均能中的奖金（确切值，括号里是它的回报率）。"
             "任何号码的平均回报都是这么多，由奖金表决定：条件改变不了它，只能让过去的运气好一些或差一些。")},
        {QStringLiteral("中奖偶然概率"),
         QStringLiteral("每期都随便选同样多的号码时，中奖至少这么多的确切概率。过去的回报比平均高，"
                        "除非这个概率很小（比如小于1%），都是运气；就算很小，以后的开奖也不欠它什么。")},
    }};
}

QString CDialogBacktest::summaryText(SummaryRow row) const
{
    return m_summary[std::size_t(row)]->text();
}

QString CDialogBacktest::moneyText(MoneyRow row) const
{
    return m_money[std::size_t(row)]->text();
}

void CDialogBacktest::setRunning(bool running)
{
    ReplayDialog::setRunning(running);
    m_export->setEnabled(!running && m_result.has_value());
}

void CDialogBacktest::start()
{
    if (isRunning() || m_lottery.draws.isEmpty())
        return;
    if (gathersNothing(m_workspace)) {
        m_services.warn(this, kNothingSelected);
        return;
    }
    startRun({m_workspace});
}

void CDialogBacktest::showRun(const QList<BacktestResult> &results)
{
    BacktestResult result = results.value(0);
    result.prizes = m_lottery.prizes;
    m_result = result;
    m_export->setEnabled(true);
    progressBar()->setValue(result.last());

    QString status;
    if (result.cancelled)
        status = QStringLiteral("已取消：只回测了 %1 期（共要 %2 期）。").arg(result.last()).arg(result.requested);
    else if (!result.message.isEmpty())
        status = QStringLiteral("已中止：只回测了 %1 期（共要 %2 期）。").arg(result.last()).arg(result.requested);
    else
        status = QStringLiteral("回测完成：%1 期。").arg(result.last());
    if (!result.steps.isEmpty())
        status += QStringLiteral("开奖期号 %1 至 %2，%3，每期选出 %4 个号码再过滤。")
                      .arg(result.steps.first().issue, result.steps.last().issue,
                           result.viewMode == ViewMode::Straight ? QStringLiteral("直选") : QStringLiteral("组选"))
                      .arg(result.candidates);
    if (!result.message.isEmpty())
        status += QStringLiteral("\n回测中止于第 %1 期：%2").arg(result.last() + 1).arg(result.message);
    statusLabel()->setText(status);
    const bool partial = result.cancelled || !result.message.isEmpty();
    m_summaryBox->setTitle(partial ? kSummaryTitle + QStringLiteral("（未完成：只含已回测的 %1 期）").arg(result.last())
                                   : kSummaryTitle);

    showSummary(result);
    showMoney(result);
    showConditions(result);
    showCharts(result);
    showMoneyChart(result);
    // A stopped run says why as the filter command does, and the figures of
    // the draws done stay in view behind the message.
    if (!result.message.isEmpty())
        m_services.warn(this, result.message);
}

void CDialogBacktest::showSummary(const BacktestResult &result)
{
    const auto set = [this](SummaryRow row, const QString &text) { m_summary[std::size_t(row)]->setText(text); };
    set(Steps, QString::number(result.last()));
    set(Hits, QString::number(result.hits));
    set(HitRate, percentText(result.hitRate()));
    set(MeanSurvivors, QString::number(result.meanSurvivors, 'f', 1));
    set(ExpectedHits, QString::number(result.expectedHits, 'f', 2));
    set(Lift, result.expectedHits > 0 ? QString::number(result.lift, 'f', 2) : QStringLiteral("—"));
    set(PChance, chanceText(result.pChance));
    m_warning->setText(kTooFew);
    m_warning->setVisible(result.tooFewToJudge());
}

void CDialogBacktest::showMoney(const BacktestResult &result)
{
    if (!result.prizes)
        return;
    const MoneySummary m = backtestMoney(result);
    const QString texts[kMoneyRows] = {
        QStringLiteral("%1元").arg(m.spent),
        QStringLiteral("%1元").arg(m.won),
        percentText(m.returnRate()),
        QStringLiteral("%1元（回报率%2）")
            .arg(QString::number(m.expectedWon, 'f', 2), percentText(m.expectedReturnRate())),
        chanceText(m.pAtLeast),
    };
    for (int row = 0; row < kMoneyRows; ++row)
        m_money[std::size_t(row)]->setText(texts[row]);
}

void CDialogBacktest::showConditions(const BacktestResult &result)
{
    m_table->setRowCount(int(result.conditions.size()));
    for (int row = 0; row < int(result.conditions.size()); ++row) {
        const ConditionFigures &figures = result.conditions.at(row);
        const QString texts[] = {conditionName(figures.condition), QString::number(figures.kills),
                                 percentText(figures.meanRemoved)};
        for (int column = 0; column < 3; ++column) {
            auto *item = new QTableWidgetItem(texts[column]);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(row, column, item);
        }
    }
}

void CDialogBacktest::showCharts(const BacktestResult &result)
{
    const int steps = result.last();

    // Bars at 1..n: the slot 0 stays empty so that a bar's place is its step.
    auto *missed = new QBarSet(QStringLiteral("剩余注数（未中）"));
    auto *hit = new QBarSet(QStringLiteral("剩余注数（命中）"));
    missed->setColor(kMissColor);
    missed->setBorderColor(kMissColor);
    hit->setColor(kHitColor);
    hit->setBorderColor(kHitColor);
    missed->append(0);
    hit->append(0);
    int most = 0;
    for (const BacktestStep &step : result.steps) {
        missed->append(step.hit ? 0 : step.survivors);
        hit->append(step.hit ? step.survivors : 0);
        most = std::max(most, step.survivors);
    }
    auto *bars = new QStackedBarSeries;
    bars->append(missed);
    bars->append(hit);
    bars->setBarWidth(0.8);
    QChart *survivors = newChart(QStringLiteral("每期剩余注数"));
    survivors->addSeries(bars);
    QValueAxis *x = stepAxis(std::max(steps, 1));
    QValueAxis *y = countAxis(QStringLiteral("注数"), most);
    survivors->addAxis(x, Qt::AlignBottom);
    survivors->addAxis(y, Qt::AlignLeft);
    bars->attachAxis(x);
    bars->attachAxis(y);
    replaceChart(m_survivorChart, survivors);

    const CumulativeHits lines = cumulativeHitSeries(result, kHitColor, kExpectedColor);
    lines.hits->setName(QStringLiteral("累计命中"));
    lines.expected->setName(QStringLiteral("累计期望命中（偶然）"));
    QChart *cumulative = newChart(QStringLiteral("累计命中与偶然的期望"));
    addLines(cumulative, {lines.hits, lines.expected}, steps, QStringLiteral("命中次数"), lines.top);
    replaceChart(m_cumulativeChart, cumulative);
}

// What the lists cost and won, added up draw by draw, against what random
// lists of the same sizes win on average.
void CDialogBacktest::showMoneyChart(const BacktestResult &result)
{
    if (!result.prizes)
        return;
    const QList<MoneyStep> steps = backtestMoneySteps(result);
    auto *spent = new QLineSeries;
    spent->setName(QStringLiteral("累计投入"));
    auto *won = new QLineSeries;
    won->setName(QStringLiteral("累计中奖"));
    auto *expected = new QLineSeries;
    expected->setName(QStringLiteral("随机平均累计中奖"));
    for (QLineSeries *series : {spent, won, expected})
        series->append(0, 0);
    qint64 spentSum = 0;
    qint64 wonSum = 0;
    double expectedSum = 0;
    for (int i = 0; i < steps.size(); ++i) {
        spentSum += qint64(steps.at(i).bets) * result.prizes->price;
        wonSum += steps.at(i).won;
        expectedSum += expectedWon(steps.at(i), *result.prizes);
        spent->append(i + 1, double(spentSum));
        won->append(i + 1, double(wonSum));
        expected->append(i + 1, expectedSum);
    }
    spent->setPen(QPen(kSpentColor, 2));
    won->setPen(QPen(kHitColor, 2));
    QPen dashed(kExpectedColor, 2);
    dashed.setStyle(Qt::DashLine);
    expected->setPen(dashed);
    QChart *chart = newChart(QStringLiteral("累计投入与中奖（元）"));
    addLines(chart, {spent, won, expected}, int(steps.size()), QStringLiteral("元"),
             double(std::max(spentSum, wonSum)));
    replaceChart(m_moneyChart, chart);
}

void CDialogBacktest::exportCsv()
{
    if (m_result)
        exportCsvLines(m_services, this, withChineseCaptions(backtestCsvLines(*m_result)),
                       suggestedName(m_lottery, QStringLiteral("方案回测")));
}

} // namespace numsieve::gui
