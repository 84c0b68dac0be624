#include "gui/analysis/CDialogCompare.h"

#include "gui/analysis/AnalysisCharts.h"
#include "gui/analysis/BacktestRunner.h"
#include "gui/analysis/CsvExport.h"
#include "core/analysis/Money.h"
#include "gui/app/AppServices.h"
#include "core/scheme/SchemeFile.h"
#include "gui/ui/ScreenFit.h"

#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace numsieve::gui {

namespace {

constexpr int kTableHeight = 90;
const QString kSchemeFilter = QStringLiteral("文本文件(*.cnd)");

// One colour a scheme, the same for its hits and its expectation.
QColor schemeColor(int index)
{
    static const QColor colors[] = {QColor(214, 48, 39),  QColor(50, 100, 180), QColor(40, 150, 70),
                                    QColor(230, 140, 20), QColor(140, 70, 160), QColor(20, 150, 160),
                                    QColor(150, 100, 50), QColor(90, 90, 90)};
    return colors[index % int(std::size(colors))];
}

QString bestText(const SchemeComparison &c)
{
    if (c.best < 0)
        return QStringLiteral("没有可比较的回测结果。");
    const SchemeOutcome &best = c.schemes.at(c.best);
    const QString p = chanceText(best.result.pChance);
    if (c.schemes.size() == 1)
        return QStringLiteral("只有一个方案“%1”：它的偶然达到概率是%2，就是全凭运气也能这么好的概率。"
                              "多试几个方案再挑最好的，挑出来的那个更容易只是运气好，这里会把这一点算进去。")
            .arg(best.name, p);
    return QStringLiteral(
               "最好的方案是“%1”：它的偶然达到概率是%2，在这%3个方案里最小。可是试的方案越多，"
               "挑出来的最好的一个越容易只是运气好：就算%3个方案全凭运气，其中最好的一个也至少这么好的概率是%4"
               "（1 − (1 − %2)^%3）。只有这个概率也很小（比如小于5%），才说明最好的方案确实比运气好；"
               "它说的是已经开出的这些期，不保证以后的开奖。")
        .arg(best.name, p, QString::number(c.schemes.size()), chanceText(c.bestByLuck));
}

} // namespace

CDialogCompare::CDialogCompare(AppServices &services, const AnalysedLottery &lottery, QWidget *parent)
    : ReplayDialog(lottery, QStringLiteral("所选彩票没有开奖号码，无法对比。"), parent)
    , m_services(services)
{
    setWindowTitle(QStringLiteral("方案对比"));

    QHBoxLayout *schemeRow = createSchemeRow();
    auto *prizes = new QLabel(m_lottery.prizes ? QStringLiteral("奖金：") + prizesText(*m_lottery.prizes)
                                               : noPrizesText(m_lottery));
    prizes->setWordWrap(true);
    prizes->setTextFormat(Qt::PlainText);

    QWidget *body = createBody();

    m_exportCsv = new QPushButton(QStringLiteral("导出CSV..."));
    m_exportPicture = new QPushButton(QStringLiteral("导出图片..."));
    auto *close = new QPushButton(QStringLiteral("关闭"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_exportCsv);
    buttons->addWidget(m_exportPicture);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(rangeLabel());
    layout->addLayout(schemeRow);
    layout->addLayout(controls());
    layout->addWidget(statusLabel());
    layout->addWidget(prizes);
    layout->addWidget(scrollingBody(body), 1);
    layout->addLayout(buttons);
    resize(900, 760);
    fitDialogToScreen(this);

    connect(m_schemes, &QListWidget::currentRowChanged, this,
            [this](int row) { m_remove->setEnabled(row >= 0 && !isRunning()); });
    connect(m_add, &QPushButton::clicked, this, &CDialogCompare::addSchemeFile);
    connect(m_remove, &QPushButton::clicked, this, [this] {
        const int row = m_schemes->currentRow();
        if (row < 0 || isRunning())
            return;
        m_schemeFiles.removeAt(row);
        delete m_schemes->takeItem(row);
    });
    connect(startButton(), &QPushButton::clicked, this, &CDialogCompare::start);
    connect(m_exportCsv, &QPushButton::clicked, this, &CDialogCompare::exportCsv);
    connect(m_exportPicture, &QPushButton::clicked, this, &CDialogCompare::exportPicture);
    connect(close, &QPushButton::clicked, this, &CDialogCompare::reject);

    setRunning(false);
    if (!m_lottery.draws.isEmpty())
        statusLabel()->setText(QStringLiteral("按“添加方案...”选择要对比的方案文件（保存条件存下的 .cnd 文件），"
                                              "再按开始：每个方案都用同样的开奖号码逐期回测。"));
}

QHBoxLayout *CDialogCompare::createSchemeRow()
{
    m_schemes = new QListWidget;
    m_schemes->setMinimumHeight(60);
    m_schemes->setMaximumHeight(90);
    m_add = new QPushButton(QStringLiteral("添加方案..."));
    m_remove = new QPushButton(QStringLiteral("移除方案"));
    m_remove->setEnabled(false);
    auto *schemeButtons = new QVBoxLayout;
    schemeButtons->addWidget(m_add);
    schemeButtons->addWidget(m_remove);
    schemeButtons->addStretch(1);
    auto *schemeRow = new QHBoxLayout;
    schemeRow->addWidget(m_schemes, 1);
    schemeRow->addLayout(schemeButtons);
    return schemeRow;
}

QWidget *CDialogCompare::createBody()
{
    m_table = figureTable(0,
                          {QStringLiteral("方案"), QStringLiteral("回测期数"), QStringLiteral("平均注数"),
                           QStringLiteral("命中"), QStringLiteral("期望命中"), QStringLiteral("提升倍数"),
                           QStringLiteral("偶然达到概率"), QStringLiteral("投入"), QStringLiteral("中奖"),
                           QStringLiteral("回报率"), QStringLiteral("中奖偶然概率")},
                          QStringLiteral("回报率"));
    m_table->setFixedHeight(kTableHeight);
    for (const Column column : {Spent, Won, ReturnRate, PWon})
        m_table->setColumnHidden(column, !m_lottery.prizes);
    m_best = new QLabel;
    m_best->setWordWrap(true);
    m_best->setTextFormat(Qt::PlainText);
    auto *note = new QLabel(
        QStringLiteral(
            "每个方案都用同样的开奖号码回测。偶然达到概率：每期都随便选同样多的号码时，靠运气至少命中这么多次的确切概率，"
            "最小的一个标★。")
        + (m_lottery.prizes
               ? QStringLiteral("任何方案的随机平均回报都由奖金表决定；回报率高于它，除非中奖偶然概率很小，都是运气。")
               : QString()));
    note->setWordWrap(true);

    m_chart = new QChartView(newChart(QStringLiteral("累计命中（实线）与偶然的期望（虚线）")));
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setMinimumHeight(320);

    auto *body = new QWidget;
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->addWidget(m_table);
    bodyLayout->addWidget(m_best);
    bodyLayout->addWidget(note);
    bodyLayout->addWidget(m_chart, 1);
    return body;
}

void CDialogCompare::addSchemeFile()
{
    const QString path = m_services.openFileName(this, kSchemeFilter);
    if (!path.isEmpty())
        addScheme(path);
}

bool CDialogCompare::addScheme(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (std::ranges::any_of(m_schemeFiles, [&](const Scheme &s) { return s.path == path; })) {
        m_services.warn(this, QStringLiteral("方案文件 %1 已经添加过了。").arg(shown));
        return false;
    }
    // The scheme reads the lottery's draws as the main window would give them.
    Workspace workspace;
    for (const Draw &draw : m_lottery.draws)
        workspace.selectionNumbers.append(draw.number);
    if (const auto loaded = loadSchemeFile(path, workspace); !loaded) {
        m_services.warn(this, shown + QStringLiteral("：") + loaded.error());
        return false;
    }
    if (gathersNothing(workspace)) {
        m_services.warn(this, QStringLiteral("方案文件 %1 的选号为空，没有号码可以回测。").arg(shown));
        return false;
    }
    m_schemeFiles.append({path, QFileInfo(path).completeBaseName(), workspace});
    auto *item = new QListWidgetItem(m_schemeFiles.last().name);
    item->setToolTip(shown);
    m_schemes->addItem(item);
    return true;
}

void CDialogCompare::setRunning(bool running)
{
    ReplayDialog::setRunning(running);
    m_add->setEnabled(!running);
    m_remove->setEnabled(!running && m_schemes->currentRow() >= 0);
    m_exportCsv->setEnabled(!running && m_comparison.has_value());
    m_exportPicture->setEnabled(!running && m_comparison.has_value());
}

void CDialogCompare::start()
{
    if (isRunning() || m_lottery.draws.isEmpty())
        return;
    if (m_schemeFiles.isEmpty()) {
        m_services.warn(this, QStringLiteral("还没有要对比的方案。请先按“添加方案...”选择方案文件，再开始。"));
        return;
    }
    clearComparison();
    QList<Workspace> schemes;
    m_running.clear();
    for (const Scheme &scheme : std::as_const(m_schemeFiles)) {
        schemes.append(scheme.workspace);
        m_running.append(scheme.name);
    }
    startRun(schemes);
}

QString CDialogCompare::progressStatus(int done, int total, int scheme) const
{
    return QStringLiteral("方案 %1/%2（%3），").arg(scheme + 1).arg(m_running.size()).arg(m_running.value(scheme))
           + ReplayDialog::progressStatus(done, total, scheme);
}

void CDialogCompare::clearComparison()
{
    m_comparison.reset();
    m_table->setRowCount(0);
    m_best->clear();
    replaceChart(m_chart, newChart(QStringLiteral("累计命中（实线）与偶然的期望（虚线）")));
}

void CDialogCompare::showRun(const QList<BacktestResult> &results)
{
    const bool whole = results.size() == m_running.size()
                       && std::ranges::none_of(results, [](const BacktestResult &r) { return r.cancelled; });
    if (!whole) {
        statusLabel()->setText(
            QStringLiteral("已取消：对比没有做完，不显示结果（只回测了一部分期数的方案和别的方案比较并不公平）。"));
        return;
    }
    QList<SchemeOutcome> outcomes;
    QStringList stopped;
    for (int i = 0; i < results.size(); ++i) {
        BacktestResult result = results.at(i);
        result.prizes = m_lottery.prizes;
        if (!result.message.isEmpty())
            stopped << m_running.at(i) + QStringLiteral("：") + result.message;
        outcomes.append({m_running.at(i), result});
    }
    m_comparison = compareSchemes(outcomes);
    showTable(*m_comparison);
    showChart(*m_comparison);
    m_best->setText(bestText(*m_comparison));
    setRunning(false);
    const BacktestResult &first = results.first();
    QString status = QStringLiteral("对比完成：%1个方案，每个回测 %2 期").arg(results.size()).arg(countBox()->value());
    if (!first.steps.isEmpty())
        status += QStringLiteral("（开奖期号 %1 至 %2）").arg(first.steps.first().issue, first.steps.last().issue);
    status += QStringLiteral("。");
    if (!stopped.isEmpty())
        status += QStringLiteral("\n回测中止的方案只含中止前的期数：") + stopped.join(QStringLiteral("；"));
    statusLabel()->setText(status);
    if (!stopped.isEmpty())
        m_services.warn(this, stopped.join(QLatin1Char('\n')));
}

void CDialogCompare::showTable(const SchemeComparison &comparison)
{
    m_table->setRowCount(int(comparison.schemes.size()));
    // As tall as its rows, up to a few: the chart below takes the rest.
    int height = m_table->horizontalHeader()->sizeHint().height() + 2 * m_table->frameWidth();
    for (int row = 0; row < std::min(m_table->rowCount(), 6); ++row)
        height += m_table->rowHeight(row);
    m_table->setFixedHeight(std::max(height, kTableHeight));
    for (int row = 0; row < comparison.schemes.size(); ++row) {
        const SchemeOutcome &scheme = comparison.schemes.at(row);
        const BacktestResult &r = scheme.result;
        const MoneySummary m = backtestMoney(r);
        const bool best = row == comparison.best;
        const QString texts[kColumns] = {
            (best ? kBestMark : QString()) + scheme.name,
            QString::number(r.last()),
            QString::number(r.meanSurvivors, 'f', 1),
            QString::number(r.hits),
            QString::number(r.expectedHits, 'f', 2),
            r.expectedHits > 0 ? QString::number(r.lift, 'f', 2) : QStringLiteral("—"),
            chanceText(r.pChance),
            r.prizes ? QStringLiteral("%1元").arg(m.spent) : QString(),
            r.prizes ? QStringLiteral("%1元").arg(m.won) : QString(),
            r.prizes ? percentText(m.returnRate()) : QString(),
            r.prizes ? chanceText(m.pAtLeast) : QString(),
        };
        for (int column = 0; column < kColumns; ++column) {
            auto *item = new QTableWidgetItem(texts[column]);
            if (column > Name)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (best) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            if (!r.message.isEmpty())
                item->setToolTip(QStringLiteral("回测中止：") + r.message);
            m_table->setItem(row, column, item);
        }
    }
}

void CDialogCompare::showChart(const SchemeComparison &comparison)
{
    if (comparison.schemes.isEmpty())
        return;
    const BacktestResult &first = comparison.schemes.first().result;
    const int steps = first.last();
    QString title = QStringLiteral("累计命中（实线）与偶然的期望（虚线）");
    if (!first.steps.isEmpty())
        title = QStringLiteral("%1　%2 至 %3 共%4期：")
                    .arg(m_lottery.name, first.steps.first().issue, first.steps.last().issue,
                         QString::number(first.last()))
                + title;
    QChart *chart = newChart(title);
    QList<QLineSeries *> lines;
    QList<QLineSeries *> expectations;
    double top = 0;
    for (int i = 0; i < comparison.schemes.size(); ++i) {
        const CumulativeHits scheme =
            cumulativeHitSeries(comparison.schemes.at(i).result, schemeColor(i), schemeColor(i));
        scheme.hits->setName(comparison.schemes.at(i).name);
        lines << scheme.hits << scheme.expected;
        expectations << scheme.expected;
        top = std::max(top, scheme.top);
    }
    addLines(chart, lines, steps, QStringLiteral("命中次数"), top);
    // A scheme's colour names both its lines; the legend lists the schemes.
    for (QLineSeries *expected : std::as_const(expectations))
        for (QLegendMarker *marker : chart->legend()->markers(expected))
            marker->setVisible(false);
    replaceChart(m_chart, chart);
}

bool CDialogCompare::exportCsv()
{
    if (!m_comparison)
        return false;
    return exportCsvLines(m_services, this, withChineseCaptions(comparisonCsvLines(*m_comparison)),
                          suggestedName(m_lottery, QStringLiteral("方案对比")));
}

bool CDialogCompare::exportPicture()
{
    if (!m_comparison)
        return false;
    return exportImage(m_services, this, m_chart->grab().toImage(),
                       suggestedName(m_lottery, QStringLiteral("方案对比")));
}

} // namespace numsieve::gui
