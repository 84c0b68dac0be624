#include "gui/analysis/TrendModel.h"

#include "gui/analysis/CsvExport.h"

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

const QString TrendModel::kChanceName = QStringLiteral("偶然偏离概率");

namespace {

// Whether a foot row counts the rows shown or reads omissions, which count
// from the first draw of the history.
bool countsShownRows(TrendModel::FootRow row)
{
    return row != TrendModel::MaxOmission && row != TrendModel::CurrentOmission;
}

} // namespace

QString TrendModel::footName(FootRow row) const
{
    static const QString names[kFootRows] = {QStringLiteral("出现次数"), QStringLiteral("期望次数"),
                                             QStringLiteral("平均遗漏"), QStringLiteral("最大遗漏"),
                                             QStringLiteral("最大连出"), QStringLiteral("当前遗漏"),
                                             kChanceName};
    if (row < 0 || row >= kFootRows)
        return {};
    return names[row]
        + (countsShownRows(row) ? QStringLiteral("(%1期)").arg(rowCount()) : QStringLiteral("(从头算)"));
}

QString TrendModel::footTip(FootRow row) const
{
    const int shown = rowCount();
    switch (row) {
    case Hits: return QStringLiteral("出现次数：这%1期里开出这个值的期数。").arg(shown);
    case Expected:
        return QStringLiteral("期望次数：全凭运气时，%1期里平均会开出几次：期数乘以这个值在000至999中所占的比例。")
            .arg(shown);
    case MeanOmission:
        return QStringLiteral("平均遗漏：这%1期里两次开出之间平均隔几期，即（%1 − 出现次数）÷（出现次数 + 1）。").arg(shown);
    case MaxOmission:
        return QStringLiteral("最大遗漏：这%1期各期的遗漏中最大的一个。遗漏从全部开奖号码的第一期数起，"
                              "所以开头几期的遗漏可以比%1还大。")
            .arg(shown);
    case MaxRun: return QStringLiteral("最大连出：这%1期里连续开出的最多期数。").arg(shown);
    case CurrentOmission:
        return QStringLiteral("当前遗漏：到最新一期为止已经连续多少期没有开出，从全部开奖号码的第一期数起。");
    case PChance: return chanceExplained();
    case kFootRows: break;
    }
    return {};
}

QString TrendModel::chanceExplained() const
{
    return kChanceName
        + QStringLiteral("：假如开奖全凭运气，这个值在这%1期里开出的次数离期望次数（偏多或偏少）至少有这么远的概率。"
                         "低于5%的列标红。列多了，即使全凭运气也总有几列很低；它也说不出下一期会开什么，"
                         "因为每一期都是重新开出的。")
              .arg(rowCount());
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
    // Two digits keep the thirty columns of a tab narrow; the tooltip has three.
    return chanceText(s.pChance, 2);
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
