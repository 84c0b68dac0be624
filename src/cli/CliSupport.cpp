#include "cli/CliSupport.h"

#include "cli/CliCommands.h"
#include "core/history/DataFolder.h"
#include "core/results/NumberListFile.h"
#include "core/scheme/SchemeFile.h"

#include <QFileInfo>

namespace numsieve::cli {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

int usage(const QString &problem)
{
    err() << "numsieve-cli: " << problem << "\n"
          << "numsieve-cli --help 显示用法 / shows the usage\n";
    err().flush();
    return Usage;
}

int refused(const QString &message)
{
    err() << message << "\n";
    err().flush();
    return Refused;
}

std::expected<QString, QString> dataFolder(const QString &option)
{
    if (option.isEmpty())
        return defaultDataFolder();
    if (!QFileInfo(option).isDir())
        return std::unexpected(QStringLiteral("数据文件夹 %1 不存在 / no such data folder").arg(option));
    seedDataFolder(option);
    return option;
}

QString noLotteryMessage(const QString &id)
{
    return QStringLiteral("找不到编号为 %1 的彩种 / no lottery with id %1").arg(id);
}

std::expected<QList<Draw>, QString> lotteryDraws(const QString &dataOption, const QString &lotteryId)
{
    const auto dir = dataFolder(dataOption);
    if (!dir)
        return std::unexpected(dir.error());
    const LotteryRegistry registry = loadRegistry(*dir);
    // A file that could not be read is no empty history.
    if (!registry.readProblem().isEmpty())
        return std::unexpected(registry.readProblem());
    for (qsizetype i = 0; i < registry.count(); ++i) {
        const Lottery &lottery = registry.at(i);
        if (!lotteryId.isEmpty() && lottery.id != lotteryId)
            continue;
        if (!lottery.readProblem.isEmpty())
            return std::unexpected(lottery.readProblem);
        return lottery.draws;
    }
    if (lotteryId.isEmpty())
        return QList<Draw>();
    return std::unexpected(noLotteryMessage(lotteryId));
}

std::expected<SchemeRun, QString> loadSchemeRun(const QString &scheme, const QString &dataOption,
                                                const QString &lotteryId, const QStringList &intersectFiles)
{
    SchemeRun run;
    auto draws = lotteryDraws(dataOption, lotteryId);
    if (!draws)
        return std::unexpected(draws.error());
    run.draws = std::move(*draws);
    // The prizes of the lottery the draws came from: the one named, or the first.
    if (const auto folder = dataFolder(dataOption)) {
        const LotteryRegistry registry = loadRegistry(*folder);
        const QString id = lotteryId.isEmpty() && !registry.isEmpty() ? registry.at(0).id : lotteryId;
        run.prizes = loadPrizeFile(*folder).prizesOf(id);
    }
    for (const Draw &d : std::as_const(run.draws))
        run.workspace.selectionNumbers.append(d.number);
    if (auto loaded = loadSchemeFile(scheme, run.workspace); !loaded)
        return std::unexpected(loaded.error());
    for (const QString &file : intersectFiles) {
        auto numbers = readNumberListFile(file);
        if (!numbers)
            return std::unexpected(numbers.error());
        run.intersections.append(std::move(*numbers));
    }
    return run;
}

std::expected<Arguments, int> parseArguments(const QStringList &args, Positional positional, const QStringList &once,
                                             const QStringList &repeated, const QStringList &flags)
{
    Arguments a;
    a.command = args.value(0);
    for (int i = 1; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (once.contains(arg) || repeated.contains(arg)) {
            if (i + 1 >= args.size())
                return std::unexpected(usage(arg + QStringLiteral(" needs a value")));
            a.options[arg].append(args.at(++i));
        } else if (flags.contains(arg)) {
            a.flags.append(arg);
        } else if (arg.startsWith(QLatin1String("--"))) {
            return std::unexpected(usage(QStringLiteral("unknown option ") + arg));
        } else {
            a.positional.append(arg);
        }
    }
    if (positional == Positional::Refused && !a.positional.isEmpty())
        return std::unexpected(usage(QStringLiteral("unexpected argument ") + a.positional.first()));
    QString twice;
    for (const QString &option : once)
        if (a.options.value(option).size() > 1)
            twice = option;
    if (!twice.isEmpty())
        return std::unexpected(usage(twice + QStringLiteral(" given more than once")));
    return a;
}

std::expected<ReportFormat, int> formatOption(const Arguments &a)
{
    static const QMap<QString, ReportFormat> formats{{QStringLiteral("text"), ReportFormat::Text},
                                                     {QStringLiteral("csv"), ReportFormat::Csv},
                                                     {QStringLiteral("json"), ReportFormat::Json}};
    const QString name = a.value(QStringLiteral("--format"));
    if (!name.isEmpty() && !formats.contains(name))
        return std::unexpected(usage(QStringLiteral("--format takes text, csv or json")));
    return formats.value(name, ReportFormat::Text);
}

} // namespace numsieve::cli
