#include "gui/analysis/CDialogFilterReport.h"

#include "gui/analysis/CsvExport.h"
#include "gui/ui/ScreenFit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace numsieve::gui {

CDialogFilterReport::CDialogFilterReport(AppServices &services, const FilterReport &report,
                                         const AnalysedLottery &lottery, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_report(report)
    , m_fileName(suggestedName(lottery, QStringLiteral("过滤报告")))
{
    setWindowTitle(QStringLiteral("过滤报告"));
    m_report.prizes = lottery.prizes;

    auto *intro = new QLabel(
        QStringLiteral("%1：先选号，再按条件逐个过滤。“单独淘汰”是只用这一个条件时淘汰的号码数，"
                       "“累计剩余”是通过它和它上面所有条件的号码数。")
            .arg(m_report.viewMode == ViewMode::Straight ? QStringLiteral("直选") : QStringLiteral("组选")));
    intro->setWordWrap(true);

    m_message = new QLabel(m_report.message);
    m_message->setWordWrap(true);
    m_message->setStyleSheet(QStringLiteral("color: rgb(180, 30, 20);"));
    m_message->setVisible(!m_report.message.isEmpty());

    struct Row {
        QString name;
        QString failing;
        int survivors;
    };
    QList<Row> rows{{QStringLiteral("选号"), QString(), m_report.gathered}};
    for (const ReportRow &r : m_report.rows)
        rows.append({conditionName(r.condition), QString::number(r.failing), r.survivors});
    // A report stopped by condition 15 has no result to show.
    if (!m_report.stopped())
        rows.append({QStringLiteral("容错后结果"), QString(), m_report.survivors});
    if (m_report.intersected)
        rows.append({QStringLiteral("交集后结果"), QString(), *m_report.intersected});

    m_table = figureTable(int(rows.size()),
                          {QStringLiteral("条件"), QStringLiteral("单独淘汰"), QStringLiteral("累计剩余")},
                          QStringLiteral("单独淘汰"));
    for (int row = 0; row < int(rows.size()); ++row) {
        const QString texts[] = {rows.at(row).name, rows.at(row).failing, QString::number(rows.at(row).survivors)};
        for (int column = 0; column < 3; ++column) {
            auto *item = new QTableWidgetItem(texts[column]);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(row, column, item);
        }
    }

    // A report stopped by condition 15 has no list to buy.
    const QString money = filterReportMoneyText(m_report);
    m_money = new QLabel(money.isEmpty() ? noPrizesText(lottery) : money);
    m_money->setWordWrap(true);
    m_money->setTextFormat(Qt::PlainText);
    if (!money.isEmpty())
        m_money->setToolTip(QStringLiteral("任何号码的平均回报都是这么多，由奖金表决定；条件改变不了它。"));
    m_money->setVisible(!m_report.stopped());

    m_export = new QPushButton(QStringLiteral("导出CSV..."));
    auto *close = new QPushButton(QStringLiteral("关闭"));
    close->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_export);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_message);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_money);
    layout->addLayout(buttons);
    resize(460, 420);
    fitDialogToScreen(this);

    connect(m_export, &QPushButton::clicked, this, &CDialogFilterReport::exportCsv);
    connect(close, &QPushButton::clicked, this, &CDialogFilterReport::reject);
}

void CDialogFilterReport::exportCsv()
{
    exportCsvLines(m_services, this, withChineseCaptions(filterReportCsvLines(m_report)), m_fileName);
}

} // namespace numsieve::gui
