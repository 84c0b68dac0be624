#pragma once

#include "gui/analysis/AnalysedLottery.h"
#include "core/analysis/Backtest.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace numsieve::gui {

class AppServices;

// 过滤报告: the current filter run broken down condition by condition, from
// the gathered candidates down to the result after tolerance. The report is
// computed once, when the dialog opens; the workspace is not changed. With
// the lottery's prizes it also says what the resulting list costs and what
// random lists of its size win on average.
class CDialogFilterReport : public QDialog
{
    Q_OBJECT

public:
    // The report of a run over `lottery`'s draws; its prizes are the lottery's.
    CDialogFilterReport(AppServices &services, const FilterReport &report, const AnalysedLottery &lottery,
                        QWidget *parent = nullptr);

    const FilterReport &report() const { return m_report; }
    QTableWidget *table() const { return m_table; }
    QLabel *messageLabel() const { return m_message; }
    // What the list costs and wins, or that there are no prizes.
    QLabel *moneyLabel() const { return m_money; }
    QPushButton *exportButton() const { return m_export; }

    // 导出CSV...
    void exportCsv();

private:
    AppServices &m_services;
    FilterReport m_report;
    const QString m_fileName;
    QTableWidget *m_table = nullptr;
    QLabel *m_message = nullptr;
    QLabel *m_money = nullptr;
    QPushButton *m_export = nullptr;
};

} // namespace numsieve::gui
