#include "analysis/CDialogBacktest.h"

#include "Messages.h"
#include "analysis/CsvExport.h"
#include "app/AppServices.h"
#include "script/ScriptConditionRunner.h"
#include "script/ScriptWorker.h"
#include "selection/SelectionState.h"
#include "ui/ScreenFit.h"

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
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include <cmath>

namespace numsieve::gui {

namespace {

constexpr int kDefaultCount = 100;
const QString kSummaryTitle = QStringLiteral("回测结果");

const QColor kMissColor(120, 150, 190);
const QColor kHitColor(214, 48, 39);
const QColor kExpectedColor(110, 110, 110);

// A tick step of 1, 2 or 5 times a power of ten giving at most `ticks` steps.
double tickStep(double span, int ticks)
{
    const double rough = std::max(span / ticks, 1.0);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0})
        if (factor * power >= rough)
            return factor * power;
    return 10 * power;
}

// The x axis of both charts: draw k of the run at k (1..n).
QValueAxis *stepAxis(int steps)
{
    auto *axis = new QValueAxis;
    axis->setTitleText(QStringLiteral("回测第几期"));
    axis->setRange(0.5, steps + 0.5);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(tickStep(steps, 10));
    axis->setLabelFormat(QStringLiteral("%d"));
    return axis;
}

QValueAxis *countAxis(const QString &title, double max)
{
    auto *axis = new QValueAxis;
    axis->setTitleText(title);
    // At least 10: labels of one digit leave the vertical title no room.
    const double top = std::max(10.0, max);
    const double step = tickStep(top, 5);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(step);
    axis->setRange(0, std::ceil(top / step) * step);
    axis->setLabelFormat(QStringLiteral("%d"));
    return axis;
}

QChart *newChart(const QString &title)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    return chart;
}

bool selectsNothing(const Workspace &workspace)
{
    ResultTables gathered = workspace.tables;
    gather(workspace.selection, gathered);
    bool any = false;
    gathered.forEachInView([&](ResultEntry &e) { any = any || e.stage == ResultStage::Selected; });
    return !any;
}

void replaceChart(QChartView *view, QChart *chart)
{
    QChart *old = view->chart();
    view->setChart(chart);
    delete old;
}

} // namespace

CDialogBacktest::CDialogBacktest(AppServices &services, const Workspace &workspace, const QString &lottery,
                                 const QList<Draw> &draws, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_workspace(workspace)
    , m_lottery(lottery)
    , m_draws(draws)
{
    setWindowTitle(QStringLiteral("方案回测"));

    m_count = new QSpinBox;
    m_count->setRange(1, std::max<int>(1, int(m_draws.size())));
    m_count->setValue(std::min<int>(kDefaultCount, int(m_draws.size())));
    m_count->setSuffix(QStringLiteral(" 期"));
    m_start = new QPushButton(QStringLiteral("开始"));
    m_start->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("取消"));
    m_cancelButton->setEnabled(false);
    m_progress = new QProgressBar;
    m_progress->setRange(0, m_count->value());
    m_progress->setValue(0);
    m_progress->setFormat(QStringLiteral("%v/%m 期"));

    auto *controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("回测期数")));
    controls->addWidget(m_count);
    controls->addWidget(m_start);
    controls->addWidget(m_progress, 1);
    controls->addWidget(m_cancelButton);

    m_range = new QLabel;
    m_range->setWordWrap(true);
    m_status = new QLabel;
    m_status->setWordWrap(true);
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
    for (int row = 0; row < kSummaryRows; ++row) {
        m_summary[std::size_t(row)] = new QLabel(QStringLiteral("—"));
        m_summary[std::size_t(row)]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_captions[std::size_t(row)] = new QLabel(titles[row] + QStringLiteral("："));
        form->addRow(m_captions[std::size_t(row)], m_summary[std::size_t(row)]);
    }
    const QString explained[][2] = {
        {QStringLiteral("期望命中"),
         QStringLiteral("每期剩下的号码若换成随便选的同样多的号码，靠运气能命中的次数："
                        "各期剩余号码占全部可能开奖号码的比例之和。")},
        {QStringLiteral("提升倍数"),
         QStringLiteral("提升倍数 = 命中 ÷ 期望命中。1 表示条件和随便选同样多的号码一样好；大于 1 较好，小于 1 较差。")},
        {QStringLiteral("偶然达到概率"),
         QStringLiteral("每期都随便选同样多的号码时，靠运气至少命中这么多次的确切概率。只有很小（比如小于5%）"
                        "才说明条件比运气好；它说的是已经开出的这些期，不保证以后的开奖。")},
    };
    for (const SummaryRow row : {ExpectedHits, Lift, PChance}) {
        const QString &tip = explained[row - ExpectedHits][1];
        m_captions[std::size_t(row)]->setToolTip(tip);
        m_summary[std::size_t(row)]->setToolTip(tip);
    }
    summaryLayout->addLayout(form);
    summaryLayout->addWidget(m_warning);
    summaryLayout->addStretch(1);

    m_table = figureTable(0, {QStringLiteral("条件"), QStringLiteral("淘汰开奖号"), QStringLiteral("平均淘汰比例")},
                          QStringLiteral("平均淘汰比例"));
    m_table->setMinimumHeight(140);
    auto *tableBox = new QGroupBox(QStringLiteral("各条件单独的作用"));
    auto *tableLayout = new QVBoxLayout(tableBox);
    tableLayout->addWidget(m_table);

    auto *figures = new QHBoxLayout;
    figures->addWidget(m_summaryBox, 2);
    figures->addWidget(tableBox, 3);

    QStringList note;
    for (const auto &[name, text] : explained)
        note << (text.startsWith(name) ? text : name + QStringLiteral("：") + text);
    m_note = new QLabel(note.join(QLatin1Char('\n')));
    m_note->setWordWrap(true);

    m_survivorChart = new QChartView(newChart(QStringLiteral("每期剩余注数")));
    m_survivorChart->setRenderHint(QPainter::Antialiasing);
    m_survivorChart->setMinimumHeight(200);
    m_cumulativeChart = new QChartView(newChart(QStringLiteral("累计命中与偶然的期望")));
    m_cumulativeChart->setRenderHint(QPainter::Antialiasing);
    m_cumulativeChart->setMinimumHeight(200);

    // The figures, the note and the charts scroll as one, so that the dialog
    // fits a short screen with its buttons in view.
    auto *body = new QWidget;
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->addLayout(figures);
    bodyLayout->addWidget(m_note);
    bodyLayout->addWidget(m_survivorChart, 1);
    bodyLayout->addWidget(m_cumulativeChart, 1);
    auto *scroll = new QScrollArea;
    scroll->setWidget(body);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumHeight(120);

    m_export = new QPushButton(QStringLiteral("导出CSV..."));
    m_export->setEnabled(false);
    auto *close = new QPushButton(QStringLiteral("关闭"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_export);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_range);
    layout->addLayout(controls);
    layout->addWidget(m_status);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
    resize(900, 860);
    fitDialogToScreen(this);

    connect(m_count, &QSpinBox::valueChanged, this, [this](int count) {
        showRange(count);
        if (!isRunning()) {
            m_progress->setRange(0, count);
            m_progress->setValue(0);
        }
    });
    connect(m_start, &QPushButton::clicked, this, &CDialogBacktest::start);
    connect(m_cancelButton, &QPushButton::clicked, this, &CDialogBacktest::cancel);
    connect(m_export, &QPushButton::clicked, this, &CDialogBacktest::exportCsv);
    connect(close, &QPushButton::clicked, this, &CDialogBacktest::reject);

    showRange(m_count->value());
    if (m_draws.isEmpty()) {
        m_count->setEnabled(false);
        m_start->setEnabled(false);
        m_status->setText(QStringLiteral("所选彩票没有开奖号码，无法回测。") + msg::kHowToGetDraws);
    } else {
        m_status->setText(QStringLiteral("用当前的选号、条件、容错和直选/组选设置，逐期只以之前的开奖号码为历史重新过滤，"
                                         "看开奖号是否在剩下的号码里。"));
    }
}

void CDialogBacktest::showRange(int count)
{
    const QString lottery = m_lottery.isEmpty() ? QStringLiteral("—") : m_lottery;
    count = std::min<int>(count, int(m_draws.size()));
    if (count <= 0) {
        m_range->setText(QStringLiteral("彩种：%1　没有开奖号码").arg(lottery));
        return;
    }
    m_range->setText(QStringLiteral("彩种：%1　回测开奖期号 %2 至 %3，共 %4 期")
                         .arg(lottery, m_draws.at(m_draws.size() - count).issue, m_draws.last().issue)
                         .arg(count));
}

CDialogBacktest::~CDialogBacktest()
{
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
}

QString CDialogBacktest::summaryText(SummaryRow row) const
{
    return m_summary[std::size_t(row)]->text();
}

void CDialogBacktest::setRunning(bool running)
{
    m_count->setEnabled(!running);
    m_start->setEnabled(!running);
    m_cancelButton->setEnabled(running);
    m_export->setEnabled(!running && m_result.has_value());
}

void CDialogBacktest::start()
{
    if (isRunning() || m_draws.isEmpty())
        return;
    // Nothing gathered would be "replayed" as no hits, no expectation and a
    // certain chance: figures that look like a result and mean nothing.
    if (selectsNothing(m_workspace)) {
        m_services.warn(this, kNothingSelected);
        return;
    }
    const int count = m_count->value();
    m_cancel = false;
    m_progress->setRange(0, count);
    m_progress->setValue(0);
    m_status->setText(progressText(0, count, 0));
    setRunning(true);
    m_clock.start();
    // The thread works on its own copies and reports back only through
    // queued calls, which are dropped should the dialog be gone.
    m_thread = std::thread([this, scheme = m_workspace, draws = m_draws, count] {
        ScriptWorker worker;
        worker.abandonWhen(&m_cancel);
        ScriptConditionRunner runner(worker);
        BacktestControl control;
        // Thousands of draws a second need not be thousands of repaints.
        auto reported = std::chrono::steady_clock::time_point();
        control.progress = [this, reported](int done, int total) mutable {
            const auto now = std::chrono::steady_clock::now();
            if (done < total && now - reported < std::chrono::milliseconds(50))
                return;
            reported = now;
            QMetaObject::invokeMethod(this, [this, done, total] { showProgress(done, total); }, Qt::QueuedConnection);
        };
        control.cancel = &m_cancel;
        BacktestResult result = runBacktest(scheme, draws, {}, count, &runner, control);
        QMetaObject::invokeMethod(this, [this, result = std::move(result)] { finish(result); }, Qt::QueuedConnection);
    });
}

void CDialogBacktest::cancel()
{
    if (!isRunning())
        return;
    m_cancel = true;
    m_cancelButton->setEnabled(false);
    m_status->setText(QStringLiteral("正在取消..."));
}

void CDialogBacktest::reject()
{
    if (isRunning()) {
        m_closeWhenDone = true;
        cancel();
        return;
    }
    QDialog::reject();
}

QString CDialogBacktest::progressText(int done, int total, qint64 elapsedMs)
{
    const QString head = QStringLiteral("正在回测：已完成 %1/%2 期，").arg(done).arg(total);
    // Too little done to tell: the first draws also start the script worker.
    if (done <= 0 || elapsedMs < 500)
        return head + QStringLiteral("正在估计剩余时间...");
    const qint64 seconds = (elapsedMs * (total - done) / done + 999) / 1000;
    if (seconds < 60)
        return head + QStringLiteral("预计还需约 %1 秒。").arg(seconds);
    return head + QStringLiteral("预计还需约 %1 分 %2 秒。").arg(seconds / 60).arg(seconds % 60);
}

void CDialogBacktest::showProgress(int done, int total)
{
    if (m_progress->maximum() != total)
        m_progress->setMaximum(total);
    m_progress->setValue(done);
    if (!m_cancel)
        m_status->setText(progressText(done, total, m_clock.elapsed()));
}

void CDialogBacktest::finish(const BacktestResult &result)
{
    if (m_thread.joinable())
        m_thread.join();
    m_result = result;
    setRunning(false);
    if (m_closeWhenDone) {
        m_closeWhenDone = false;
        QDialog::reject();
        Q_EMIT runFinished();
        return;
    }
    m_progress->setValue(result.last());

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
    m_status->setText(status);
    const bool partial = result.cancelled || !result.message.isEmpty();
    m_summaryBox->setTitle(partial ? kSummaryTitle + QStringLiteral("（未完成：只含已回测的 %1 期）").arg(result.last())
                                   : kSummaryTitle);

    showSummary(result);
    showConditions(result);
    showCharts(result);
    // A stopped run says why as the filter command does, and the figures of
    // the draws done stay in view behind the message.
    if (!result.message.isEmpty())
        m_services.warn(this, result.message);
    Q_EMIT runFinished();
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

    auto *hits = new QLineSeries;
    hits->setName(QStringLiteral("累计命中"));
    auto *expected = new QLineSeries;
    expected->setName(QStringLiteral("累计期望命中（偶然）"));
    hits->append(0, 0);
    expected->append(0, 0);
    int hitCount = 0;
    double chance = 0;
    for (int i = 0; i < steps; ++i) {
        hitCount += result.steps.at(i).hit ? 1 : 0;
        chance += result.steps.at(i).chance;
        hits->append(i + 1, hitCount);
        expected->append(i + 1, chance);
    }
    hits->setPen(QPen(kHitColor, 2));
    QPen dashed(kExpectedColor, 2);
    dashed.setStyle(Qt::DashLine);
    expected->setPen(dashed);
    QChart *cumulative = newChart(QStringLiteral("累计命中与偶然的期望"));
    cumulative->addSeries(hits);
    cumulative->addSeries(expected);
    QValueAxis *cx = stepAxis(std::max(steps, 1));
    cx->setRange(0, std::max(steps, 1));
    QValueAxis *cy = countAxis(QStringLiteral("命中次数"), std::max<double>(hitCount, chance));
    cumulative->addAxis(cx, Qt::AlignBottom);
    cumulative->addAxis(cy, Qt::AlignLeft);
    for (QLineSeries *series : {hits, expected}) {
        series->attachAxis(cx);
        series->attachAxis(cy);
    }
    replaceChart(m_cumulativeChart, cumulative);
}

void CDialogBacktest::exportCsv()
{
    if (m_result)
        exportCsvLines(m_services, this, withChineseCaptions(backtestCsvLines(*m_result)),
                       suggestedFileName({m_lottery, QStringLiteral("方案回测"),
                                          m_draws.isEmpty() ? QString() : m_draws.last().issue}));
}

} // namespace numsieve::gui
