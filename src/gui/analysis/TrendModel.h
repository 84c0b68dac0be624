#pragma once

#include "core/analysis/TrendTable.h"

#include <QAbstractTableModel>
#include <QList>

#include <memory>

namespace numsieve::gui {

// The 走势图 of one tab as a table: the rows of the window, oldest first,
// the issue and number columns, then one column per value of the tab's
// groups. The statistics at the foot come with it, worked out once per
// change of lottery, window or tab.
class TrendModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role { HitCountRole = Qt::UserRole + 1, OmissionRole };
    static constexpr int kFixedColumns = 2;   // 奖期, 开奖号
    enum FootRow { Hits, Expected, MeanOmission, MaxOmission, MaxRun, CurrentOmission, PChance, kFootRows };

    explicit TrendModel(QObject *parent = nullptr);

    void setTable(std::shared_ptr<const TrendTable> table);
    void setWindow(int window);
    void setGroups(const QList<TrendGroup> &groups);

    const TrendTable &table() const { return *m_table; }
    int window() const { return m_window; }
    const QList<TrendGroup> &groups() const { return m_groups; }
    // The table row of a model row.
    int firstRow() const { return m_first; }
    // The table column of a value column (from 0, after the fixed ones).
    int tableColumn(int valueColumn) const { return m_columns.at(valueColumn); }
    int valueColumnCount() const { return int(m_columns.size()); }
    const TrendStats &stats(int valueColumn) const { return m_stats.at(valueColumn); }
    // A foot cell as the chart shows it.
    QString footText(FootRow row, int valueColumn) const;
    // The name of a foot row with the span it counts: the rows shown, or
    // the whole history, from which every omission is counted; and what the
    // row means, in a player's words.
    QString footName(FootRow row) const;
    QString footTip(FootRow row) const;
    // What the window's chance figure is, for its tooltip and its note.
    static const QString kChanceName;
    QString chanceExplained() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void rebuild();

    std::shared_ptr<const TrendTable> m_table;
    int m_window = 100;
    QList<TrendGroup> m_groups;
    QList<int> m_columns;
    QList<TrendStats> m_stats;
    int m_first = 0;
};

} // namespace numsieve::gui
