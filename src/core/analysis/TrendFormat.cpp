#include "analysis/TrendTable.h"
#include "analysis/TableText.h"

#include <QLocale>

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

QString trendJson(const TrendTable &table, const QString &lottery, int window, const QList<int> &columns)
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
    QStringList keys;
    for (int c : columns)
        keys.append(jsonString(columnKey(all.at(c))) + QStringLiteral(": "));
    for (int row = table.rowCount() - w; row < table.rowCount(); ++row) {
        out += row > table.rowCount() - w ? QStringLiteral(",\n    { ") : QStringLiteral("\n    { ");
        out += QStringLiteral("\"issue\": ") + jsonString(table.draw(row).issue) + QStringLiteral(", \"number\": ")
               + jsonString(table.draw(row).number) + QStringLiteral(", \"omission\": {");
        for (qsizetype i = 0; i < columns.size(); ++i)
            out += (i ? QStringLiteral(", ") : QStringLiteral(" ")) + keys.at(i)
                   + QString::number(table.omission(row, columns.at(i)));
        out += QStringLiteral(" } }");
    }
    out += w > 0 ? QStringLiteral("\n  ]\n}\n") : QStringLiteral("]\n}\n");
    return out;
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
    const QList<TrendColumn> &all = trendColumns();
    const QList<int> columns = columnsOf(groups);
    const int w = table.windowSize(window);
    QStringList lines;
    QStringList fields{QStringLiteral("奖期"), QStringLiteral("开奖号")};
    for (int c : columns)
        fields << trendGroupName(all.at(c).group) + QLatin1Char(' ') + all.at(c).value;
    lines << csvLine(fields);
    for (int row = table.rowCount() - w; row < table.rowCount(); ++row) {
        fields = {table.draw(row).issue, table.draw(row).number};
        for (int c : columns)
            fields << QString::number(table.omission(row, c));
        lines << csvLine(fields);
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
        lines << csvLine(fields);
    }
    return lines;
}

QString formatTrend(const TrendTable &table, const QString &lottery, int window, const QList<TrendGroup> &groups,
                    TrendFormat format)
{
    const QList<int> columns = columnsOf(groups);
    switch (format) {
    case TrendFormat::Json: return trendJson(table, lottery, window, columns);
    case TrendFormat::Csv: return trendCsvLines(table, window, groups).join(QLatin1Char('\n')) + QLatin1Char('\n');
    case TrendFormat::Text: break;
    }
    return trendText(table, lottery, window, columns);
}

} // namespace numsieve
