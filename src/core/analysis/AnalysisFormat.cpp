#include "core/analysis/Backtest.h"
#include "core/analysis/Money.h"
#include "core/analysis/TableText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace numsieve {

namespace {

QString percent(double share) { return QString::number(share * 100, 'f', 2) + QLatin1Char('%'); }
QString fixed(double value, int decimals = 2) { return QString::number(value, 'f', decimals); }
QString probability(double p) { return QString::number(p, 'g', 4); }
QString viewName(ViewMode mode) { return mode == ViewMode::Straight ? QStringLiteral("直选") : QStringLiteral("组选"); }
QString viewKey(ViewMode mode) { return mode == ViewMode::Straight ? QStringLiteral("straight") : QStringLiteral("group"); }

QString json(const QJsonObject &object) { return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)); }

const QString kNoPrizes = QStringLiteral("没有设置这个彩种的奖金，只统计命中（在彩票管理中按“奖金...”，或用 numsieve-cli draws prizes --set 设置）");

QJsonObject prizesJson(const Prizes &p)
{
    return {{QStringLiteral("price"), p.price},
            {QStringLiteral("straight"), p.straight},
            {QStringLiteral("group_three"), p.groupThree},
            {QStringLiteral("group_six"), p.groupSix}};
}

QJsonObject moneyJson(const MoneySummary &m)
{
    return {{QStringLiteral("spent"), double(m.spent)},
            {QStringLiteral("won"), double(m.won)},
            {QStringLiteral("return"), m.returnRate()},
            {QStringLiteral("expected_won"), m.expectedWon},
            {QStringLiteral("expected_return"), m.expectedReturnRate()},
            {QStringLiteral("p_won"), m.pAtLeast}};
}

// What the lists would have cost and paid, beside random lists of their sizes.
QStringList moneyText(const MoneySummary &m, const Prizes &p)
{
    return {QStringLiteral("奖金：") + prizesText(p),
            QStringLiteral("投入：%1元，中奖：%2元，回报率%3").arg(m.spent).arg(m.won).arg(percent(m.returnRate())),
            QStringLiteral("随机选同样多的号码：平均中奖%1元，回报率%2（任何号码的平均回报都是这么多，由奖金表决定）")
                .arg(fixed(m.expectedWon))
                .arg(percent(m.expectedReturnRate())),
            QStringLiteral("中奖偶然概率：%1（随机选同样多的号码，中奖至少%2元的概率）").arg(probability(m.pAtLeast)).arg(m.won)};
}

QJsonObject backtestJson(const BacktestResult &r)
{
    QJsonArray steps;
    const QList<MoneyStep> money = backtestMoneySteps(r);
    for (qsizetype i = 0; i < r.steps.size(); ++i) {
        const BacktestStep &s = r.steps.at(i);
        QJsonObject step{{QStringLiteral("issue"), s.issue},
                         {QStringLiteral("number"), s.number},
                         {QStringLiteral("survivors"), s.survivors},
                         {QStringLiteral("chance"), s.chance},
                         {QStringLiteral("hit"), s.hit}};
        if (r.prizes) {
            step.insert(QStringLiteral("cost"), s.survivors * r.prizes->price);
            step.insert(QStringLiteral("won"), money.at(i).won);
        }
        steps.append(step);
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
    o.insert(QStringLiteral("prizes"), r.prizes ? QJsonValue(prizesJson(*r.prizes)) : QJsonValue());
    if (r.prizes)
        o.insert(QStringLiteral("money"), moneyJson(backtestMoney(r)));
    return o;
}

QStringList backtestText(const BacktestResult &r)
{
    QStringList lines;
    lines << QStringLiteral("方案回测：最近%1期，%2，选号%3注").arg(r.last()).arg(viewName(r.viewMode)).arg(r.candidates);
    QString head = tableCell(QStringLiteral("奖期"), 14) + tableCell(QStringLiteral("开奖号"), 8)
                   + tableCell(QStringLiteral("注数"), 6, true) + tableCell(QStringLiteral("覆盖率"), 10, true)
                   + QStringLiteral("  命中");
    if (r.prizes)
        head += tableCell(QStringLiteral("投入"), 8, true) + tableCell(QStringLiteral("中奖"), 8, true);
    lines << head;
    const QList<MoneyStep> money = backtestMoneySteps(r);
    for (qsizetype i = 0; i < r.steps.size(); ++i) {
        const BacktestStep &s = r.steps.at(i);
        QString line = tableCell(s.issue, 14) + tableCell(s.number, 8) + tableCell(QString::number(s.survivors), 6, true)
                       + tableCell(percent(s.chance), 10, true) + QStringLiteral("  ")
                       + (s.hit ? QStringLiteral("是") : QStringLiteral("否"));
        if (r.prizes)
            line += tableCell(QString::number(s.survivors * r.prizes->price), 8, true)
                    + tableCell(QString::number(money.at(i).won), 8, true);
        lines << line;
    }
    lines << QString();
    lines << QStringLiteral("命中：%1次，命中率%2").arg(r.hits).arg(percent(r.hitRate()));
    lines << QStringLiteral("平均注数：%1").arg(fixed(r.meanSurvivors));
    lines << QStringLiteral("期望命中：%1次（每期随机选同样多的号码）").arg(fixed(r.expectedHits));
    lines << QStringLiteral("提升倍数：%1").arg(fixed(r.lift));
    lines << QStringLiteral("偶然概率：%1（随机选号至少命中%2次的概率）").arg(probability(r.pChance)).arg(r.hits);
    if (r.tooFewToJudge())
        lines << QStringLiteral("期望命中不足5次，结果不足以说明问题。");
    if (r.prizes)
        lines << moneyText(backtestMoney(r), *r.prizes);
    else
        lines << kNoPrizes;
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

// The report's list, as bought once: what it costs and pays on average.
struct ReportMoney {
    int bets = 0;
    MoneySummary summary;
};
std::optional<ReportMoney> reportMoney(const FilterReport &r)
{
    if (!r.prizes || r.stopped())
        return std::nullopt;
    const int bets = r.intersected.value_or(r.survivors);
    const BetKind kind = r.viewMode == ViewMode::Straight ? BetKind::Straight : BetKind::Group;
    return ReportMoney{bets, summarizeMoney({MoneyStep{kind, bets, r.groupThree, 0}}, *r.prizes)};
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
    o.insert(QStringLiteral("prizes"), r.prizes ? QJsonValue(prizesJson(*r.prizes)) : QJsonValue());
    if (const auto m = reportMoney(r))
        o.insert(QStringLiteral("money"), QJsonObject{{QStringLiteral("bets"), m->bets},
                                                      {QStringLiteral("cost"), double(m->summary.spent)},
                                                      {QStringLiteral("expected_won"), m->summary.expectedWon},
                                                      {QStringLiteral("expected_return"), m->summary.expectedReturnRate()}});
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
    if (const QString money = filterReportMoneyText(r); !money.isEmpty())
        lines << money;
    else
        lines << kNoPrizes;
    return lines;
}

} // namespace

QStringList backtestCsvLines(const BacktestResult &r)
{
    QStringList lines;
    QStringList head{QStringLiteral("issue"), QStringLiteral("number"), QStringLiteral("survivors"), QStringLiteral("chance"),
                     QStringLiteral("hit")};
    if (r.prizes)
        head << QStringLiteral("cost") << QStringLiteral("won");
    lines << csvLine(head);
    const QList<MoneyStep> money = backtestMoneySteps(r);
    for (qsizetype i = 0; i < r.steps.size(); ++i) {
        const BacktestStep &s = r.steps.at(i);
        QStringList cells{s.issue, s.number, QString::number(s.survivors), QString::number(s.chance, 'g', 6),
                          s.hit ? QStringLiteral("1") : QStringLiteral("0")};
        if (r.prizes)
            cells << QString::number(s.survivors * r.prizes->price) << QString::number(money.at(i).won);
        lines << csvLine(cells);
    }
    lines << QString();
    lines << csvLine({QStringLiteral("condition"), QStringLiteral("name"), QStringLiteral("kills"),
                      QStringLiteral("mean_removed")});
    for (const ConditionFigures &c : r.conditions)
        lines << csvLine({QString::number(c.condition), conditionName(c.condition), QString::number(c.kills),
                          QString::number(c.meanRemoved, 'g', 6)});
    lines << QString();
    QStringList summaryHead{QStringLiteral("last"), QStringLiteral("hits"), QStringLiteral("hit_rate"),
                            QStringLiteral("expected_hits"), QStringLiteral("lift"), QStringLiteral("p_chance"),
                            QStringLiteral("mean_survivors"), QStringLiteral("message")};
    QStringList summary{QString::number(r.last()), QString::number(r.hits), QString::number(r.hitRate(), 'g', 6),
                        QString::number(r.expectedHits, 'g', 6), QString::number(r.lift, 'g', 6),
                        QString::number(r.pChance, 'g', 6), QString::number(r.meanSurvivors, 'g', 6), r.message};
    if (r.prizes) {
        const MoneySummary m = backtestMoney(r);
        summaryHead << QStringLiteral("spent") << QStringLiteral("won") << QStringLiteral("return")
                    << QStringLiteral("expected_won") << QStringLiteral("expected_return") << QStringLiteral("p_won");
        summary << QString::number(m.spent) << QString::number(m.won) << QString::number(m.returnRate(), 'g', 6)
                << QString::number(m.expectedWon, 'g', 8) << QString::number(m.expectedReturnRate(), 'g', 6)
                << QString::number(m.pAtLeast, 'g', 6);
    }
    lines << csvLine(summaryHead);
    lines << csvLine(summary);
    return lines;
}

QString filterReportMoneyText(const FilterReport &r)
{
    const auto m = reportMoney(r);
    if (!m)
        return QString();
    return QStringLiteral("买下结果：%1注，投入%2元；随机选同样多的号码平均中奖%3元，回报率%4")
        .arg(m->bets)
        .arg(m->summary.spent)
        .arg(fixed(m->summary.expectedWon))
        .arg(percent(m->summary.expectedReturnRate()));
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
    if (const auto m = reportMoney(r)) {
        lines << QString();
        lines << csvLine({QStringLiteral("bets"), QStringLiteral("cost"), QStringLiteral("expected_won"),
                          QStringLiteral("expected_return")});
        lines << csvLine({QString::number(m->bets), QString::number(m->summary.spent),
                          QString::number(m->summary.expectedWon, 'g', 8),
                          QString::number(m->summary.expectedReturnRate(), 'g', 6)});
    }
    return lines;
}

double bestOfChance(double smallestChance, int tries)
{
    if (tries <= 0)
        return 1;
    // 1 − (1 − p)^k, without losing a small p to the rounding of 1 − p.
    return -std::expm1(double(tries) * std::log1p(-std::clamp(smallestChance, 0.0, 1.0)));
}

SchemeComparison compareSchemes(const QList<SchemeOutcome> &schemes)
{
    SchemeComparison c;
    c.schemes = schemes;
    for (qsizetype i = 0; i < schemes.size(); ++i) {
        const BacktestResult &r = schemes.at(i).result;
        if (r.steps.isEmpty())
            continue;
        // Ties go to the one that hit more often than expected.
        if (c.best < 0 || r.pChance < schemes.at(c.best).result.pChance
            || (r.pChance == schemes.at(c.best).result.pChance && r.lift > schemes.at(c.best).result.lift))
            c.best = int(i);
    }
    if (c.best >= 0)
        c.bestByLuck = bestOfChance(schemes.at(c.best).result.pChance, int(schemes.size()));
    return c;
}

namespace {

bool anyPrizes(const SchemeComparison &c)
{
    return std::ranges::any_of(c.schemes, [](const SchemeOutcome &s) { return s.result.prizes.has_value(); });
}

QString bestText(const SchemeComparison &c)
{
    if (c.best < 0)
        return QStringLiteral("没有可比较的回测结果");
    const SchemeOutcome &best = c.schemes.at(c.best);
    return QStringLiteral("最好的方案：%1（偶然概率%2）。%3个方案中最好的一个，靠运气也至少这么好的概率：%4"
                          "（1 − (1 − %2)^%3）。只有这个概率也很小，才说明它比运气好。")
        .arg(best.name, probability(best.result.pChance), QString::number(c.schemes.size()), probability(c.bestByLuck));
}

} // namespace

QStringList comparisonCsvLines(const SchemeComparison &c)
{
    const bool money = anyPrizes(c);
    QStringList head{QStringLiteral("scheme"), QStringLiteral("last"), QStringLiteral("mean_survivors"),
                     QStringLiteral("hits"), QStringLiteral("expected_hits"), QStringLiteral("lift"),
                     QStringLiteral("p_chance")};
    if (money)
        head << QStringLiteral("spent") << QStringLiteral("won") << QStringLiteral("return") << QStringLiteral("p_won");
    head << QStringLiteral("message");
    QStringList lines{csvLine(head)};
    for (const SchemeOutcome &s : c.schemes) {
        const BacktestResult &r = s.result;
        QStringList cells{s.name, QString::number(r.last()), QString::number(r.meanSurvivors, 'g', 6),
                          QString::number(r.hits), QString::number(r.expectedHits, 'g', 6), QString::number(r.lift, 'g', 6),
                          QString::number(r.pChance, 'g', 6)};
        if (money) {
            const MoneySummary m = backtestMoney(r);
            cells << (r.prizes ? QString::number(m.spent) : QString()) << (r.prizes ? QString::number(m.won) : QString())
                  << (r.prizes ? QString::number(m.returnRate(), 'g', 6) : QString())
                  << (r.prizes ? QString::number(m.pAtLeast, 'g', 6) : QString());
        }
        cells << r.message;
        lines << csvLine(cells);
    }
    lines << QString();
    lines << csvLine({QStringLiteral("best"), QStringLiteral("tries"), QStringLiteral("best_by_luck")});
    lines << csvLine({c.best >= 0 ? c.schemes.at(c.best).name : QString(), QString::number(c.schemes.size()),
                      QString::number(c.bestByLuck, 'g', 6)});
    return lines;
}

QString formatComparison(const SchemeComparison &c, ReportFormat format)
{
    if (format == ReportFormat::Csv)
        return comparisonCsvLines(c).join(QLatin1Char('\n')) + QLatin1Char('\n');
    if (format == ReportFormat::Json) {
        QJsonArray schemes;
        for (const SchemeOutcome &s : c.schemes) {
            QJsonObject o = backtestJson(s.result);
            o.remove(QStringLiteral("steps"));
            o.remove(QStringLiteral("conditions"));
            o.insert(QStringLiteral("scheme"), s.name);
            schemes.append(o);
        }
        return json({{QStringLiteral("schemes"), schemes},
                     {QStringLiteral("tries"), int(c.schemes.size())},
                     {QStringLiteral("best"), c.best >= 0 ? QJsonValue(c.schemes.at(c.best).name) : QJsonValue()},
                     {QStringLiteral("best_by_luck"), c.bestByLuck}});
    }
    const bool money = anyPrizes(c);
    const int last = c.schemes.isEmpty() ? 0 : c.schemes.first().result.last();
    QStringList lines{QStringLiteral("方案对比：%1个方案，最近%2期").arg(c.schemes.size()).arg(last)};
    QString head = tableCell(QStringLiteral("方案"), 20) + tableCell(QStringLiteral("期数"), 6, true)
                   + tableCell(QStringLiteral("平均注数"), 10, true) + tableCell(QStringLiteral("命中"), 6, true)
                   + tableCell(QStringLiteral("期望命中"), 10, true) + tableCell(QStringLiteral("提升倍数"), 10, true)
                   + tableCell(QStringLiteral("偶然概率"), 10, true);
    if (money)
        head += tableCell(QStringLiteral("投入"), 10, true) + tableCell(QStringLiteral("中奖"), 10, true)
                + tableCell(QStringLiteral("回报率"), 9, true) + tableCell(QStringLiteral("中奖偶然概率"), 14, true);
    lines << head;
    for (const SchemeOutcome &s : c.schemes) {
        const BacktestResult &r = s.result;
        QString line = tableCell(s.name, 20) + tableCell(QString::number(r.last()), 6, true)
                       + tableCell(fixed(r.meanSurvivors), 10, true) + tableCell(QString::number(r.hits), 6, true)
                       + tableCell(fixed(r.expectedHits), 10, true) + tableCell(fixed(r.lift), 10, true)
                       + tableCell(probability(r.pChance), 10, true);
        if (money && r.prizes) {
            const MoneySummary m = backtestMoney(r);
            line += tableCell(QString::number(m.spent), 10, true) + tableCell(QString::number(m.won), 10, true)
                    + tableCell(percent(m.returnRate()), 9, true) + tableCell(probability(m.pAtLeast), 14, true);
        }
        lines << line;
        if (!r.message.isEmpty())
            lines << QStringLiteral("  %1：回测中止：%2").arg(s.name, r.message);
    }
    lines << QString() << bestText(c);
    if (!money)
        lines << kNoPrizes;
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
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
