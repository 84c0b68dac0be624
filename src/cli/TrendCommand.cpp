#include "cli/TrendCommand.h"

#include "cli/CliCommands.h"
#include "cli/CliSupport.h"

#include "core/analysis/TrendTable.h"
#include "core/history/DataFolder.h"

#include <algorithm>

namespace numsieve::cli {

namespace {

constexpr int kDefaultLast = 100;

const QList<TrendGroup> kAllGroups = {TrendGroup::Hundreds, TrendGroup::Tens,     TrendGroup::Units,
                                      TrendGroup::Anywhere, TrendGroup::Sum,      TrendGroup::Span,
                                      TrendGroup::Tail,     TrendGroup::BigSmall, TrendGroup::OddEven,
                                      TrendGroup::PrimeComposite, TrendGroup::Kind};

} // namespace

int runTrendCommand(const QStringList &args)
{
    const auto a = parseArguments(args, Positional::Refused,
                                  {QStringLiteral("--data"), QStringLiteral("--lottery"), QStringLiteral("--last"),
                                   QStringLiteral("--group"), QStringLiteral("--format")});
    if (!a)
        return a.error();
    const QString lottery = a->value(QStringLiteral("--lottery"));
    const QString last = a->value(QStringLiteral("--last"));
    const QString group = a->value(QStringLiteral("--group"));

    const auto format = formatOption(*a);
    if (!format)
        return format.error();
    const QList<TrendGroup> groups = group.isEmpty() ? kAllGroups : trendGroupsNamed(group);
    if (groups.isEmpty())
        return usage(QStringLiteral("--group takes position, distribution, sum, span, tail or shape"));
    int window = kDefaultLast;
    if (last == QLatin1String("all")) {
        window = 0;
    } else if (!last.isEmpty()) {
        bool ok = false;
        window = last.toInt(&ok);
        if (!ok || window < 1 || last.startsWith(QLatin1Char('+')))
            return usage(QStringLiteral("--last takes a count of draws, 1 or more, or all"));
    }

    const auto dir = dataFolder(a->value(QStringLiteral("--data")));
    if (!dir)
        return refused(dir.error());
    const LotteryRegistry registry = loadRegistry(*dir);
    if (!registry.readProblem().isEmpty())
        return refused(registry.readProblem());
    const QList<Lottery> &lotteries = registry.lotteries();
    if (lotteries.isEmpty() && lottery.isEmpty())
        return refused(QStringLiteral("数据文件夹中没有彩种 / the data folder holds no lottery"));
    const auto found = lottery.isEmpty() ? lotteries.begin() : std::ranges::find(lotteries, lottery, &Lottery::id);
    if (found == lotteries.end())
        return refused(noLotteryMessage(lottery));
    // Draws that could not be read are no empty history to chart.
    if (!found->readProblem.isEmpty())
        return refused(found->readProblem);

    const TrendTable table(found->draws);
    // Written as it is made: all the draws of a long history as json are
    // gigabytes of text. A reader knows the lottery by its name; json keeps
    // the id a script selects it by.
    writeTrend(table, *format == ReportFormat::Json ? found->id : found->name, window, groups, *format,
               [](const QString &piece) { out() << piece; });
    out().flush();
    return Ok;
}

} // namespace numsieve::cli
