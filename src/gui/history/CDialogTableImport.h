#pragma once

#include "core/history/DrawGate.h"
#include "core/history/TableReader.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableView;

namespace numsieve::gui {

class TableReadingModel;

// 从表格导入: what the table reader found in a pasted or opened table, before
// anything is merged. The player sees the lottery it goes into, the layout in
// words, what the history would make of it (new draws, where they stand,
// issues whose number differs), every draw beside the line it came from and
// the lines not read with their reasons. Where the order of the text decides
// the stored order (beside issues that are not digits), it may be turned
// round. 导入 accepts; the manager then merges draws() into its working copy.
class CDialogTableImport : public QDialog
{
    Q_OBJECT

public:
    // What merging these draws would do to the lottery's history.
    using Preview = std::function<Intake(const QList<Draw> &draws)>;

    CDialogTableImport(const TableReading &reading, const QString &lotteryName, const Preview &preview,
                       bool orderMatters, QWidget *parent = nullptr);
    ~CDialogTableImport() override;

    QList<Draw> draws() const { return m_reading.draws(); }
    QLabel *layoutLabel() const { return m_layout; }
    QLabel *intakeLabel() const { return m_intake; }
    QTableView *drawTable() const { return m_table; }
    QListWidget *skippedList() const { return m_skipped; }
    QCheckBox *reverseBox() const { return m_reverse; }
    QPushButton *importButton() const { return m_import; }

private:
    void showReading();

    TableReading m_reading;
    QString m_lotteryName;
    Preview m_preview;
    TableReadingModel *m_model = nullptr;
    QLabel *m_layout = nullptr;
    QLabel *m_intake = nullptr;
    QTableView *m_table = nullptr;
    QListWidget *m_skipped = nullptr;
    QCheckBox *m_reverse = nullptr;
    QPushButton *m_import = nullptr;
};

} // namespace numsieve::gui
