#pragma once

#include "history/TableReader.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace numsieve::gui {

// 从表格导入: what the table reader found in a pasted or opened table, before
// anything is merged. The player sees the layout in words, every draw beside
// the line it came from and the lines not read with their reasons, and may
// turn the order round when the reader took it wrongly. 导入 accepts; the
// manager then merges draws() into its working copy.
class CDialogTableImport : public QDialog
{
    Q_OBJECT

public:
    explicit CDialogTableImport(const TableReading &reading, QWidget *parent = nullptr);

    QList<Draw> draws() const { return m_reading.draws(); }
    QLabel *layoutLabel() const { return m_layout; }
    QTableWidget *drawTable() const { return m_table; }
    QListWidget *skippedList() const { return m_skipped; }
    QCheckBox *reverseBox() const { return m_reverse; }
    QPushButton *importButton() const { return m_import; }

private:
    void showReading();

    TableReading m_reading;
    QLabel *m_layout = nullptr;
    QTableWidget *m_table = nullptr;
    QListWidget *m_skipped = nullptr;
    QCheckBox *m_reverse = nullptr;
    QPushButton *m_import = nullptr;
};

} // namespace numsieve::gui
