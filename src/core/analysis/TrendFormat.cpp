#include "core/analysis/TrendTable.h"
#include "core/analysis/TableText.h"

#include <QLocale>

#include <functional>
#include <vector>

namespace numsieve {

namespace {

QList<int> columnsOf(const QList<TrendGroup> &groups)
{
    QList<int> columns;
    for (TrendGroup g : groups) {
        const ColumnRange range = trendGroupColumns(g);
        for (int c = range.first; c < range.first + range.count; ++c)
            columns.append(c);
    }
    return columns;
}

QString fixed(double value) { return QString::number(value, 'f', 2); }
QString probability(double p) { return QString::number(p, 'g', 4); }
QString shortest(double value) { return QString::number(value, 'g', QLocale::FloatingPointShortest); }

// A JSON string; issues are the draw file's text and may hold anything.
QString jsonString(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    out += QLatin1Char('"');
    return out;
}

QString columnKey(const TrendColumn &c) { return trendGroupKey(c.group) + QLatin1Char(':') + c.value; }

const QString kFootNames[] = {QStringLiteral("出现次数"), QStringLiteral("期望次数"), QStringLiteral("平均遗漏"),
                              QStringLiteral("最大遗漏"), QStringLiteral("最大连出"), QStringLiteral("当前遗漏"),
                              QStringLiteral("偶然概率")};

QString trendText(const TrendTable &table, const QString &lottery, int window, const QList<int> &columns)
{
    const QList<TrendColumn> &all = trendColumns();
    QStringList lines;
    lines << QStringLiteral("走势图：彩种 %1，最近%2期").arg(lottery).arg(table.windowSize(window));
    QString header = tableCell(QStringLiteral("分组"), 10) + tableCell(QStringLiteral("号码"), 16);
    for (const QString &name : kFootNames)
        header += tableCell(name, 10, true);
    lines << header;
    for (int c : columns) {
        const TrendStats s = table.stats(c, window);
        lines << tableCell(trendGroupName(all.at(c).group), 10) + tableCell(all.at(c).value, 16)
                     + tableCell(QString::number(s.hits), 10, true) + tableCell(fixed(s.expected), 10, true)
                     + tableCell(fixed(s.meanOmission), 10, true) + tableCell(QString::number(s.maxOmission), 10, true)
                     + tableCell(QString::number(s.maxRun), 10, true) + tableCell(QString::number(s.currentOmission), 10, true)
                     + tableCell(probability(s.pChance), 10, true) + (s.marked() ? QStringLiteral(" *") : QString());
    }
    lines << QString() << trendMarkNote(int(columns.size()));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// The omissions of every column, row after row from `first` on: one more
// than at the row before, 0 at a hit. Walking the rows in order costs one
// look per cell where the table's own omission() searches the column's hits.
class RowOmissions
{
public:
    RowOmissions(const TrendTable &table, const QList<int> &columns, int first)
        : m_table(table)
        , m_columns(columns)
        , m_row(first - 1)
    {
        for (int c : columns)
            m_lastHit.push_back(first > 0 ? first - 1 - table.omission(first - 1, c) : -1);
    }

    // Moves to the next row; the omission of the i-th column there.
    void next()
    {
        ++m_row;
        for (qsizetype i = 0; i < m_columns.size(); ++i)
            if (m_table.hit(m_row, m_columns[i]))
                m_lastHit[std::size_t(i)] = m_row;
    }
    int omission(qsizetype i) const { return m_row - m_lastHit[std::size_t(i)]; }

private:
    const TrendTable &m_table;
    const QList<int> &m_columns;
    int m_row;
    std::vector<int> m_lastHit;   // -1 before any hit: the omission then counts the rows from the oldest
};

void writeJson(const TrendTable &table, const QString &lottery, int window, const QList<int> &columns,
               const std::function<void(const QString &)> &write)
{
    const QList<TrendColumn> &all = trendColumns();
    const int w = table.windowSize(window);
    QString out;
    out += QStringLiteral("{\n  \"lottery\": ") + jsonString(lottery) + QStringLiteral(",\n  \"last\": ")
           + QString::number(w) + QStringLiteral(",\n  \"columns\": [");
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const TrendColumn &c = all.at(columns.at(i));
        const TrendStats s = table.stats(columns.at(i), window);
        out += (i ? QStringLiteral(",\n    { ") : QStringLiteral("\n    { "));
        out += QStringLiteral("\"group\": ") + jsonString(trendGroupKey(c.group)) + QStringLiteral(", \"value\": ")
               + jsonString(c.value) + QStringLiteral(", \"hits\": ") + QString::number(s.hits)
               + QStringLiteral(", \"expected\": ") + shortest(s.expected) + QStringLiteral(", \"mean_omission\": ")
               + shortest(s.meanOmission) + QStringLiteral(", \"max_omission\": ") + QString::number(s.maxOmission)
               + QStringLiteral(", \"max_run\": ") + QString::number(s.maxRun)
               + QStringLiteral(", \"current_omission\": ") + QString::number(s.currentOmission)
               + QStringLiteral(", \"p_chance\": ") + shortest(s.pChance) + QStringLiteral(" }");
    }
    out += columns.isEmpty() ? QStringLiteral("],\n  \"rows\": [") : QStringLiteral("\n  ],\n  \"rows\": [");
    write(out);

    QStringList keys;
    for (int c : columns)
        keys.append(jsonString(columnKey(all.at(c))) + QStringLiteral(": "));
    const int first = table.rowCount() - w;
    RowOmissions omissions(table, columns, first);
    for (int row = first; row < table.rowCount(); ++row) {
        omissions.next();
        out.clear();
        out += row > first ? QStringLiteral(",\n    { ") : QStringLiteral("\n    { ");
        out += QStringLiteral("\"issue\": ") + jsonString(table.draw(row).issue) + QStringLiteral(", \"number\": ")
               + jsonString(table.draw(row).number) + QStringLiteral(", \"omission\": {");
        for (qsizetype i = 0; i < columns.size(); ++i) {
            out += i ? QStringLiteral(", ") : QStringLiteral(" ");
            out += keys.at(i);
            out += QString::number(omissions.omission(i));
        }
        out += QStringLiteral(" } }");
        write(out);
    }
    write(w > 0 ? QStringLiteral("\n  ]\n}\n") : QStringLiteral("]\n}\n"));
}

// The CSV table line by line: captions, each row of the window, the foot rows.
void csvLines(const TrendTable &table, int window, const QList<int> &columns,
              const std::function<void(const QString &)> &line)
{
    const QList<TrendColumn> &all = trendColumns();
    const int w = table.windowSize(window);
    QStringList fields{QStringLiteral("奖期"), QStringLiteral("开奖号")};
    for (int c : columns)
        fields << trendGroupName(all.at(c).group) + QLatin1Char(' ') + all.at(c).value;
    line(csvLine(fields));
    const int first = table.rowCount() - w;
    RowOmissions omissions(table, columns, first);
    for (int row = first; row < table.rowCount(); ++row) {
        omissions.next();
        fields = {table.draw(row).issue, table.draw(row).number};
        for (qsizetype i = 0; i < columns.size(); ++i)
            fields << QString::number(omissions.omission(i));
        line(csvLine(fields));
    }
    QList<TrendStats> stats;
    for (int c : columns)
        stats << table.stats(c, window);
    for (int foot = 0; foot < int(std::size(kFootNames)); ++foot) {
        fields = {kFootNames[foot], QString()};
        for (const TrendStats &s : std::as_const(stats)) {
            const double values[] = {double(s.hits), s.expected,          s.meanOmission,     double(s.maxOmission),
                                     double(s.maxRun), double(s.currentOmission), s.pChance};
            fields << QString::number(values[foot], 'g', 6);
        }
        line(csvLine(fields));
    }
}

} // namespace

QList<TrendGroup> trendGroupsNamed(const QString &name)
{
    using G = TrendGroup;
    if (name == QLatin1String("position"))
        return {G::Hundreds, G::Tens, G::Units};
    if (name == QLatin1String("distribution"))
        return {G::Anywhere};
    if (name == QLatin1String("sum"))
        return {G::Sum};
    if (name == QLatin1String("span"))
        return {G::Span};
    if (name == QLatin1String("tail"))
        return {G::Tail};
    if (name == QLatin1String("shape"))
        return {G::BigSmall, G::OddEven, G::PrimeComposite, G::Kind};
    return {};
}

QStringList trendCsvLines(const TrendTable &table, int window, const QList<TrendGroup> &groups)
{
    QStringList lines;
    csvLines(table, window, columnsOf(groups), [&](const QString &line) { lines << line; });
    return lines;
}

void writeTrend(const TrendTable &table, const QString &lottery, int window, const QList<TrendGroup> &groups,
                ReportFormat format, const std::function<void(const QString &)> &write)
{
    const QList<int> columns = columnsOf(groups);
    switch (format) {
    case ReportFormat::Json: writeJson(table, lottery, window, columns, write); return;
    case ReportFormat::Csv:
        csvLines(table, window, columns, [&](const QString &line) { write(line + QLatin1Char('\n')); });
        return;
    case ReportFormat::Text: write(trendText(table, lottery, window, columns)); return;
    }
}

QString formatTrend(const TrendTable &table, const QString &lottery, int window, const QList<TrendGroup> &groups,
                    ReportFormat format)
{
    QString text;
    writeTrend(table, lottery, window, groups, format, [&](const QString &piece) { text += piece; });
    return text;
}

} // namespace numsieve
