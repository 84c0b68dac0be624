#pragma once

#include "analysis/Backtest.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace numsieve::gui {

class AppServices;

// 过滤报告: the current filter run broken down condition by condition, from
// the gathered candidates down to the result after tolerance. The report is
// computed once, when the dialog opens; the workspace is not changed.
class CDialogFilterReport : public QDialog
{
    Q_OBJECT

public:
    // `fileName` is what 导出CSV... offers to save as.
    CDialogFilterReport(AppServices &services, const FilterReport &report, const QString &fileName = {},
                        QWidget *parent = nullptr);

    const FilterReport &report() const { return m_report; }
    QTableWidget *table() const { return m_table; }
    QLabel *messageLabel() const { return m_message; }
    QPushButton *exportButton() const { return m_export; }

    // 导出CSV...
    void exportCsv();

private:
    AppServices &m_services;
    const FilterReport m_report;
    const QString m_fileName;
    QTableWidget *m_table = nullptr;
    QLabel *m_message = nullptr;
    QPushButton *m_export = nullptr;
};

} // namespace numsieve::gui
