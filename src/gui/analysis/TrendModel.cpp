#include "analysis/TrendModel.h"

namespace numsieve::gui {

TrendModel::TrendModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_table(std::make_shared<TrendTable>())
{
}

void TrendModel::setTable(std::shared_ptr<const TrendTable> table)
{
    m_table = table ? std::move(table) : std::make_shared<TrendTable>();
    rebuild();
}

void TrendModel::setWindow(int window)
{
    m_window = window;
    rebuild();
}

void TrendModel::setGroups(const QList<TrendGroup> &groups)
{
    m_groups = groups;
    rebuild();
}

void TrendModel::rebuild()
{
    beginResetModel();
    m_columns.clear();
    m_stats.clear();
    for (TrendGroup g : std::as_const(m_groups)) {
        const ColumnRange range = trendGroupColumns(g);
        for (int c = range.first; c < range.first + range.count; ++c) {
            m_columns.append(c);
            m_stats.append(m_table->stats(c, m_window));
        }
    }
    m_first = m_table->rowCount() - m_table->windowSize(m_window);
    endResetModel();
}

QString TrendModel::footName(FootRow row)
{
    static const QString names[kFootRows] = {QStringLiteral("出现次数"), QStringLiteral("期望次数"),
                                             QStringLiteral("平均遗漏"), QStringLiteral("最大遗漏"),
                                             QStringLiteral("最大连出"), QStringLiteral("当前遗漏"),
                                             QStringLiteral("偶然概率")};
    return names[row];
}

QString TrendModel::footText(FootRow row, int valueColumn) const
{
    const TrendStats &s = m_stats.at(valueColumn);
    switch (row) {
    case Hits: return QString::number(s.hits);
    case Expected: return QString::number(s.expected, 'f', 1);
    case MeanOmission: return QString::number(s.meanOmission, 'f', 1);
    case MaxOmission: return QString::number(s.maxOmission);
    case MaxRun: return QString::number(s.maxRun);
    case CurrentOmission: return QString::number(s.currentOmission);
    case PChance: break;
    case kFootRows: return {};
    }
    // Two decimals read at a glance; the mark and the tooltip say the rest.
    return QString::number(s.pChance, 'f', 2);
}

int TrendModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_table->rowCount() - m_first;
}

int TrendModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kFixedColumns + int(m_columns.size());
}

QVariant TrendModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = m_first + index.row();
    if (index.column() < kFixedColumns) {
        if (role != Qt::DisplayRole)
            return {};
        const Draw &d = m_table->draw(row);
        return index.column() == 0 ? d.issue : d.number;
    }
    const int column = m_columns.at(index.column() - kFixedColumns);
    switch (role) {
    case Qt::DisplayRole: {
        const int hits = m_table->hitCount(row, column);
        if (hits == 0)
            return QString::number(m_table->omission(row, column));
        // A shape shows its marks; the list prefix is in the group's name.
        QString value = trendColumns().at(column).value;
        return value.mid(value.lastIndexOf(QLatin1Char(' ')) + 1);
    }
    case HitCountRole: return m_table->hitCount(row, column);
    case OmissionRole: return m_table->omission(row, column);
    default: return {};
    }
}

QVariant TrendModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section == 0)
        return QStringLiteral("奖期");
    if (section == 1)
        return QStringLiteral("开奖号");
    if (section - kFixedColumns >= m_columns.size())
        return {};
    return trendColumns().at(m_columns.at(section - kFixedColumns)).value;
}

} // namespace numsieve::gui
