#pragma once

#include "core/analysis/ReportFormat.h"
#include "core/history/Draw.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace numsieve {

// The groups of columns of the 走势图, in the order the chart shows them.
enum class TrendGroup {
    Hundreds,        // 百位 0-9
    Tens,            // 十位
    Units,           // 个位
    Anywhere,        // 号码分布: a digit anywhere in the number
    Sum,             // 和值 0-27
    Span,            // 跨度 0-9
    Tail,            // 和尾 0-9
    BigSmall,        // 大小形态, the 8 two-way shapes
    OddEven,         // 奇偶形态
    PrimeComposite,  // 质合形态
    Kind,            // 组选形态: 豹子, 组三, 组六
};
inline constexpr int kTrendGroupCount = 11;

// The Chinese caption and the English key (command line, json) of a group.
QString trendGroupName(TrendGroup group);
QString trendGroupKey(TrendGroup group);

// One value of one group.
struct TrendColumn {
    TrendGroup group = TrendGroup::Hundreds;
    QString value;       // as the chart shows it: "7", "[大小] 大小大", "组三"
    double chance = 0;   // share of 000-999 that have the value
};

// Every column of every group, groups in order, values in their list order.
const QList<TrendColumn> &trendColumns();
// The columns of one group: [first, first + count).
struct ColumnRange {
    int first = 0;
    int count = 0;
};
ColumnRange trendGroupColumns(TrendGroup group);

// The foot rows of one column over a window of the last W draws.
struct TrendStats {
    int hits = 0;               // 出现次数: draws of the window with the value
    double expected = 0;        // 期望次数: W times the value's chance
    double meanOmission = 0;    // 平均遗漏: (W - hits) / (hits + 1)
    int maxOmission = 0;        // 最大遗漏 on any row of the window
    int maxRun = 0;             // 最大连出: longest run of window rows with the value
    int currentOmission = 0;    // 当前遗漏: at the newest draw
    double pChance = 1;         // 偶然概率: two-sided exact binomial probability
    bool marked() const { return pChance < kMarkBelow; }

    static constexpr double kMarkBelow = 0.05;
};

// The windows the chart offers; 0 stands for all draws.
inline constexpr std::array<int, 7> kTrendWindows = {30, 50, 100, 200, 500, 1000, 0};

// The 走势图 of one lottery: for every draw (oldest first) which values it
// has, and the omission of every column at every draw, counted over the whole
// history, so that the first rows of a window carry their true omissions.
// A draw whose number is not three digits stays a row that has no value, as
// the rest of the program treats such a draw.
class TrendTable
{
public:
    TrendTable()
        : TrendTable(QList<Draw>())
    {
    }
    explicit TrendTable(const QList<Draw> &draws);

    int rowCount() const { return int(m_draws.size()); }
    const Draw &draw(int row) const { return m_draws.at(row); }
    // How many times the draw has the column's value: 0 or 1, up to 3 for a
    // digit anywhere in the number.
    int hitCount(int row, int column) const;
    bool hit(int row, int column) const { return hitCount(row, column) > 0; }
    // 0 when the draw has the value, else one more than at the draw before
    // (1 at the oldest draw).
    int omission(int row, int column) const;
    // The column of a group other than 号码分布 that the draw has, -1 for a
    // draw that is not a number.
    int hitColumn(int row, TrendGroup group) const;

    // The rows of the window of the last `window` draws (0: all; a window
    // longer than the history holds all of it).
    int windowSize(int window) const;
    TrendStats stats(int column, int window) const;

private:
    QList<Draw> m_draws;
    std::vector<std::int16_t> m_numbers;       // -1 for a draw that is not a number
    std::vector<std::vector<int>> m_hitRows;   // per column, the rows that have it, ascending
};

// The exact two-sided binomial probability that n trials of chance p land at
// least as far from n p as `observed` does.
double binomialTwoSided(int n, double p, int observed);

// The one line under the chart saying what the marks mean.
QString trendMarkNote(int columns);

// The groups of one --group name ("position", "shape", ...), empty when unknown.
QList<TrendGroup> trendGroupsNamed(const QString &name);
QString formatTrend(const TrendTable &table, const QString &lottery, int window, const QList<TrendGroup> &groups,
                    ReportFormat format);
// The same handed to `write` piece by piece as it is made (csv and json a row
// at a time), so that a history of millions of draws is never held whole as
// text: what the command-line tool prints.
void writeTrend(const TrendTable &table, const QString &lottery, int window, const QList<TrendGroup> &groups,
                ReportFormat format, const std::function<void(const QString &)> &write);
// The CSV table as lines, without line ends: issue, number and the omission
// of each column per row of the window, then the foot rows.
QStringList trendCsvLines(const TrendTable &table, int window, const QList<TrendGroup> &groups);

} // namespace numsieve
