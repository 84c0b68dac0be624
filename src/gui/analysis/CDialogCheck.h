#pragma once

#include "gui/analysis/AnalysedLottery.h"
#include "core/analysis/Money.h"
#include "core/results/ResultTables.h"

#include <QDialog>
#include <QList>

#include <array>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableWidget;

namespace numsieve::gui {

class AppServices;

// 对奖: which lists won a draw. The lists are number list files and the main
// window's current 选号, 过滤 and 交集 lists of its view mode (直选 in the
// straight view, 组选 in the group view); each shows its bets, whether it
// holds the drawn number (直选) or its group (组选), and what it pays with
// the lottery's prizes. A file is taken for a group list when all its
// numbers are written in ascending digits without a triple, as 保存号码
// writes them; its 类型 says which and can be changed.
class CDialogCheck : public QDialog
{
    Q_OBJECT

public:
    enum Column { ListName, Kind, Bets, Holds, Result, kColumns };

    // `tables` are the main window's, copied: their view mode and stages.
    CDialogCheck(AppServices &services, const AnalysedLottery &lottery, const ResultTables &tables,
                 QWidget *parent = nullptr);

    // The issues, newest first; the newest is chosen at the start.
    QComboBox *issueBox() const { return m_issue; }
    // The draw chosen and its kind.
    QLabel *drawLabel() const { return m_draw; }
    QLabel *prizesLabel() const { return m_prizesLabel; }
    // 选号, 过滤 and 交集 (stages 1 to 3).
    QCheckBox *stageBox(ResultStage stage) const { return m_stages[std::size_t(stage) - 1]; }
    QPushButton *addFileButton() const { return m_addFile; }
    QPushButton *removeButton() const { return m_remove; }
    // One row for each stage ticked, then one for each file, in the order added.
    QTableWidget *table() const { return m_table; }
    // The sums over the lists shown.
    QLabel *totalLabel() const { return m_total; }
    // The 类型 selector of a file's row (直选, 组选).
    QComboBox *kindBox(int row) const;

    // 添加文件...: asks for a number list file and adds it.
    void addListFile();
    // Reads and adds a file; what cannot be read is said and not added.
    bool addFile(const QString &path);

private:
    struct ListFile {
        QString path;
        QList<int> numbers;
        BetKind kind = BetKind::Straight;
    };
    struct Shown {
        QString name;
        QString tip;
        BetKind kind;
        QList<int> numbers;
        int file = -1;   // index into m_files, or -1 for a stage
    };

    // 彩种 and 奖期 with the drawn number.
    QHBoxLayout *createDrawRow();
    // The main window's lists by stage, and the number files' buttons.
    QHBoxLayout *createStageRow();
    QList<Shown> shownLists() const;
    // The drawn number of the issue chosen, or -1 when it is not three digits.
    int drawn() const;
    void refresh();
    // A row's texts and, for a file, its 类型 selector.
    void showRow(int row, const Shown &list, int number);
    void fillRow(int row, const Shown &list, int number);
    void showTotal();
    void removeSelected();

    AppServices &m_services;
    const AnalysedLottery m_lottery;
    const ResultTables m_tables;
    QList<ListFile> m_files;

    QComboBox *m_issue = nullptr;
    QLabel *m_draw = nullptr;
    QLabel *m_prizesLabel = nullptr;
    std::array<QCheckBox *, 3> m_stages{};
    QPushButton *m_addFile = nullptr;
    QPushButton *m_remove = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_total = nullptr;
};

} // namespace numsieve::gui
