#include "cli/CheckCommand.h"

#include "cli/CliCommands.h"
#include "cli/CliSupport.h"

#include "core/analysis/Money.h"
#include "core/history/DataFolder.h"
#include "core/history/PrizeFile.h"
#include "core/results/NumberListFile.h"

#include <QDir>
#include <QFileInfo>

namespace numsieve::cli {

int runCheckCommand(const QStringList &args)
{
    const auto a = parseArguments(
        args, Positional::Taken,
        {QStringLiteral("--data"), QStringLiteral("--lottery"), QStringLiteral("--issue"), QStringLiteral("--kind")});
    if (!a)
        return a.error();
    const QString lottery = a->value(QStringLiteral("--lottery"));
    const QString issue = a->value(QStringLiteral("--issue"));
    const QString kind = a->value(QStringLiteral("--kind"));
    if (lottery.isEmpty())
        return usage(QStringLiteral("check needs --lottery ID"));
    if (a->positional.isEmpty())
        return usage(QStringLiteral("check needs one or more number list files"));
    if (!kind.isEmpty() && kind != QLatin1String("straight") && kind != QLatin1String("group"))
        return usage(QStringLiteral("--kind takes straight or group"));

    const auto folder = dataFolder(a->value(QStringLiteral("--data")));
    if (!folder)
        return refused(folder.error());
    const auto draws = lotteryDraws(*folder, lottery);
    if (!draws)
        return refused(draws.error());
    if (draws->isEmpty())
        return refused(QStringLiteral("这个彩种还没有开奖号码 / the lottery has no draws"));
    // The newest draw unless an issue is named.
    const Draw *draw = &draws->last();
    if (!issue.isEmpty()) {
        const auto found = std::ranges::find(*draws, issue, &Draw::issue);
        if (found == draws->end())
            return refused(QStringLiteral("没有奖期为 %1 的开奖号码 / no draw of issue %1").arg(issue));
        draw = &*found;
    }
    bool numeric = draw->number.size() == 3;
    const int drawn = draw->number.toInt(&numeric);
    if (!numeric || draw->number.size() != 3)
        return refused(QStringLiteral("第%1期的开奖号码“%2”不是三位数字").arg(draw->issue, draw->number));

    const PrizeFile prizeFile = loadPrizeFile(*folder);
    const std::optional<Prizes> prizes = prizeFile.prizesOf(lottery);
    QTextStream &o = out();
    o << QStringLiteral("第%1期开奖号码 %2").arg(draw->issue, draw->number) << '\n';
    if (!prizeFile.readProblem.isEmpty())
        o << prizeFile.readProblem << '\n';
    if (prizes)
        o << prizesText(*prizes) << '\n';
    else
        o << QStringLiteral("没有设置奖金，只对号码 / no prizes set: numbers only (numsieve-cli draws prizes --set)") << '\n';
    int total = 0;
    for (const QString &path : a->positional) {
        const auto numbers = readNumberListFile(path);
        if (!numbers)
            return refused(QDir::toNativeSeparators(path) + QStringLiteral("：") + numbers.error());
        QList<int> values;
        values.reserve(numbers->size());
        for (const QString &n : *numbers)
            values.append(n.toInt());
        const BetKind bets = kind.isEmpty() ? guessBetKind(values)
                                            : (kind == QLatin1String("group") ? BetKind::Group : BetKind::Straight);
        const ListCheck check = checkList(bets, values, drawn, prizes);
        total += check.prize;
        o << QStringLiteral("%1：%2注（%3），%4")
                 .arg(QDir::toNativeSeparators(path), QString::number(check.bets),
                      bets == BetKind::Group ? QStringLiteral("组选") : QStringLiteral("直选"),
                      checkText(check, drawn, prizes.has_value()))
          << '\n';
    }
    if (prizes && a->positional.size() > 1)
        o << QStringLiteral("合计奖金%1元").arg(total) << '\n';
    o.flush();
    return Ok;
}

} // namespace numsieve::cli
