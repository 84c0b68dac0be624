#include "analysis/Backtest.h"
#include "analysis/TableText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace numsieve {

namespace {

QString percent(double share) { return QString::number(share * 100, 'f', 2) + QLatin1Char('%'); }
QString fixed(double value, int decimals = 2) { return QString::number(value, 'f', decimals); }
QString probability(double p) { return QString::number(p, 'g', 4); }
QString viewName(ViewMode mode) { return mode == ViewMode::Straight ? QStringLiteral("直选") : QStringLiteral("组选"); }
QString viewKey(ViewMode mode) { return mode == ViewMode::Straight ? QStringLiteral("straight") : QStringLiteral("group"); }

QString json(const QJsonObject &object) { return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)); }

QJsonObject backtestJson(const BacktestResult &r)
{
    QJsonArray steps;
    for (const BacktestStep &s : r.steps) {
        steps.append(QJsonObject{{QStringLiteral("issue"), s.issue},
                                 {QStringLiteral("number"), s.number},
                                 {QStringLiteral("survivors"), s.survivors},
                                 {QStringLiteral("chance"), s.chance},
                                 {QStringLiteral("hit"), s.hit}});
    }
    QJsonArray conditions;
    for (const ConditionFigures &c : r.conditions)
        conditions.append(QJsonObject{{QStringLiteral("condition"), c.condition},
                                      {QStringLiteral("name"), conditionName(c.condition)},
                                      {QStringLiteral("kills"), c.kills},
                                      {QStringLiteral("mean_removed"), c.meanRemoved}});
    QJsonObject o{{QStringLiteral("view"), viewKey(r.viewMode)},
                  {QStringLiteral("requested"), r.requested},
                  {QStringLiteral("last"), r.last()},
                  {QStringLiteral("candidates"), r.candidates},
                  {QStringLiteral("hits"), r.hits},
                  {QStringLiteral("hit_rate"), r.hitRate()},
                  {QStringLiteral("expected_hits"), r.expectedHits},
                  {QStringLiteral("lift"), r.lift},
                  {QStringLiteral("p_chance"), r.pChance},
                  {QStringLiteral("mean_survivors"), r.meanSurvivors},
                  {QStringLiteral("too_few_to_judge"), r.tooFewToJudge()},
                  {QStringLiteral("steps"), steps},
                  {QStringLiteral("conditions"), conditions}};
    if (r.cancelled)
        o.insert(QStringLiteral("cancelled"), true);
    if (!r.message.isEmpty())
        o.insert(QStringLiteral("message"), r.message);
    return o;
}

QStringList backtestText(const BacktestResult &r)
{
    QStringList lines;
    lines << QStringLiteral("方案回测：最近%1期，%2，选号%3注").arg(r.last()).arg(viewName(r.viewMode)).arg(r.candidates);
    lines << tableCell(QStringLiteral("奖期"), 14) + tableCell(QStringLiteral("开奖号"), 8) + tableCell(QStringLiteral("注数"), 6, true)
                 + tableCell(QStringLiteral("覆盖率"), 10, true) + QStringLiteral("  命中");
    for (const BacktestStep &s : r.steps) {
        lines << tableCell(s.issue, 14) + tableCell(s.number, 8) + tableCell(QString::number(s.survivors), 6, true)
                + tableCell(percent(s.chance), 10, true) + QStringLiteral("  ")
                + (s.hit ? QStringLiteral("是") : QStringLiteral("否"));
    }
    lines << QString();
    lines << QStringLiteral("命中：%1次，命中率%2").arg(r.hits).arg(percent(r.hitRate()));
    lines << QStringLiteral("平均注数：%1").arg(fixed(r.meanSurvivors));
    lines << QStringLiteral("期望命中：%1次（每期随机选同样多的号码）").arg(fixed(r.expectedHits));
    lines << QStringLiteral("提升倍数：%1").arg(fixed(r.lift));
    lines << QStringLiteral("偶然概率：%1（随机选号至少命中%2次的概率）").arg(probability(r.pChance)).arg(r.hits);
    if (r.tooFewToJudge())
        lines << QStringLiteral("期望命中不足5次，结果不足以说明问题。");
    if (r.cancelled)
        lines << QStringLiteral("回测已取消，以上为已完成的%1期。").arg(r.last());
    if (!r.message.isEmpty())
        lines << QStringLiteral("回测中止：") + r.message;
    lines << QString();
    lines << tableCell(QStringLiteral("条件"), 12) + tableCell(QStringLiteral("淘汰开奖号"), 12, true)
                 + tableCell(QStringLiteral("平均淘汰比例"), 14, true);
    for (const ConditionFigures &c : r.conditions)
        lines << tableCell(conditionName(c.condition), 12) + tableCell(QString::number(c.kills), 12, true)
                     + tableCell(percent(c.meanRemoved), 14, true);
    return lines;
}

QJsonObject reportJson(const FilterReport &r)
{
    QJsonArray rows;
    for (const ReportRow &row : r.rows)
        rows.append(QJsonObject{{QStringLiteral("condition"), row.condition},
                                {QStringLiteral("name"), conditionName(row.condition)},
                                {QStringLiteral("failing"), row.failing},
                                {QStringLiteral("survivors"), row.survivors}});
    QJsonObject o{{QStringLiteral("view"), viewKey(r.viewMode)},
                  {QStringLiteral("gathered"), r.gathered},
                  {QStringLiteral("conditions"), rows}};
    if (!r.stopped())
        o.insert(QStringLiteral("survivors"), r.survivors);
    if (r.intersected)
        o.insert(QStringLiteral("intersected"), *r.intersected);
    if (!r.message.isEmpty())
        o.insert(QStringLiteral("message"), r.message);
    return o;
}

QStringList reportText(const FilterReport &r)
{
    QStringList lines;
    lines << QStringLiteral("过滤报告：%1").arg(viewName(r.viewMode));
    lines << tableCell(QStringLiteral("步骤"), 14) + tableCell(QStringLiteral("单独淘汰"), 10, true) + tableCell(QStringLiteral("累计剩余"), 10, true);
    lines << tableCell(QStringLiteral("选号"), 14) + tableCell(QString(), 10, true) + tableCell(QString::number(r.gathered), 10, true);
    for (const ReportRow &row : r.rows)
        lines << tableCell(conditionName(row.condition), 14) + tableCell(QString::number(row.failing), 10, true)
                     + tableCell(QString::number(row.survivors), 10, true);
    if (r.stopped()) {
        lines << r.message;
        return lines;
    }
    lines << tableCell(QStringLiteral("容错后结果"), 14) + tableCell(QString(), 10, true) + tableCell(QString::number(r.survivors), 10, true);
    if (r.intersected)
        lines << tableCell(QStringLiteral("交集后结果"), 14) + tableCell(QString(), 10, true)
                     + tableCell(QString::number(*r.intersected), 10, true);
    return lines;
}

} // namespace

QStringList backtestCsvLines(const BacktestResult &r)
{
    QStringList lines;
    lines << csvLine({QStringLiteral("issue"), QStringLiteral("number"), QStringLiteral("survivors"),
                      QStringLiteral("chance"), QStringLiteral("hit")});
    for (const BacktestStep &s : r.steps)
        lines << csvLine({s.issue, s.number, QString::number(s.survivors), QString::number(s.chance, 'g', 6),
                          s.hit ? QStringLiteral("1") : QStringLiteral("0")});
    lines << QString();
    lines << csvLine({QStringLiteral("condition"), QStringLiteral("name"), QStringLiteral("kills"),
                      QStringLiteral("mean_removed")});
    for (const ConditionFigures &c : r.conditions)
        lines << csvLine({QString::number(c.condition), conditionName(c.condition), QString::number(c.kills),
                          QString::number(c.meanRemoved, 'g', 6)});
    lines << QString();
    lines << csvLine({QStringLiteral("last"), QStringLiteral("hits"), QStringLiteral("hit_rate"),
                      QStringLiteral("expected_hits"), QStringLiteral("lift"), QStringLiteral("p_chance"),
                      QStringLiteral("mean_survivors"), QStringLiteral("message")});
    lines << csvLine({QString::number(r.last()), QString::number(r.hits), QString::number(r.hitRate(), 'g', 6),
                      QString::number(r.expectedHits, 'g', 6), QString::number(r.lift, 'g', 6),
                      QString::number(r.pChance, 'g', 6), QString::number(r.meanSurvivors, 'g', 6), r.message});
    return lines;
}

QStringList filterReportCsvLines(const FilterReport &r)
{
    QStringList lines;
    lines << csvLine({QStringLiteral("step"), QStringLiteral("name"), QStringLiteral("failing"), QStringLiteral("survivors")});
    lines << csvLine({QStringLiteral("gathered"), QStringLiteral("选号"), QString(), QString::number(r.gathered)});
    for (const ReportRow &row : r.rows)
        lines << csvLine({QString::number(row.condition), conditionName(row.condition), QString::number(row.failing),
                          QString::number(row.survivors)});
    if (r.stopped()) {
        lines << csvLine({QStringLiteral("stopped"), r.message, QString(), QString()});
        return lines;
    }
    lines << csvLine({QStringLiteral("result"), QStringLiteral("容错后结果"), QString(), QString::number(r.survivors)});
    if (r.intersected)
        lines << csvLine({QStringLiteral("intersected"), QStringLiteral("交集后结果"), QString(),
                          QString::number(*r.intersected)});
    return lines;
}

QString formatBacktest(const BacktestResult &result, ReportFormat format)
{
    switch (format) {
    case ReportFormat::Json: return json(backtestJson(result));
    case ReportFormat::Csv: return backtestCsvLines(result).join(QLatin1Char('\n')) + QLatin1Char('\n');
    case ReportFormat::Text: break;
    }
    return backtestText(result).join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString formatFilterReport(const FilterReport &report, ReportFormat format)
{
    switch (format) {
    case ReportFormat::Json: return json(reportJson(report));
    case ReportFormat::Csv: return filterReportCsvLines(report).join(QLatin1Char('\n')) + QLatin1Char('\n');
    case ReportFormat::Text: break;
    }
    return reportText(report).join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace numsieve
