#include "DrawsCommand.h"

#include "CliCommands.h"
#include "CliSupport.h"
#include "history/DataFolder.h"
#include "history/LotteryManager.h"
#include "online/DrawDownload.h"
#include "online/ProductSite.h"

#include <QDir>
#include <QLockFile>

#include <algorithm>

namespace numsieve::cli {

namespace {

using C = LotteryManager::Control;

// Exactly this many positional arguments after the verb, or a usage error.
bool expectArguments(const Arguments &a, int count, const char *shape, QString *problem)
{
    if (a.positional.size() == count + 1)
        return true;
    *problem = QStringLiteral("usage: numsieve-cli draws ") + QString::fromUtf8(shape);
    return false;
}

// Prints the messages the manager returned; true when there were none.
bool report(const QStringList &messages)
{
    for (const QString &m : messages)
        err() << m << '\n';
    err().flush();
    return messages.isEmpty();
}

int save(const LotteryManager &manager, const QString &dataDir)
{
    if (const auto saved = manager.save(dataDir); !saved)
        return refused(saved.error());
    return Ok;
}

} // namespace

int runDrawsCommand(const QStringList &args)
{
    QString problem;
    const auto a = parse(args, {QStringLiteral("--data"), QStringLiteral("--lottery")}, {}, &problem);
    if (!a)
        return usage(problem);
    const auto data = single(*a, QStringLiteral("--data"), &problem);
    const auto lottery = single(*a, QStringLiteral("--lottery"), &problem);
    if (!data || !lottery)
        return usage(problem);
    const QString verb = a->positional.value(0);
    if (lottery->isEmpty())
        return usage(QStringLiteral("draws needs --lottery ID"));

    const auto folder = dataFolder(*data);
    if (!folder)
        return refused(folder.error());
    const QString dataDir = *folder;
    // Whatever writes holds the folder from reading to saving, so that it
    // neither saves over the window's work nor the window over its own.
    QLockFile lock(dataLockPath(dataDir));
    const bool writes = verb == QLatin1String("add") || verb == QLatin1String("import") || verb == QLatin1String("download");
    if (writes && !lock.tryLock(0))
        return refused(QStringLiteral("数据文件夹 %1 正在被三位筛号器使用，请先关闭它再修改 / the data folder is in use")
                           .arg(QDir::toNativeSeparators(dataDir)));
    LotteryManager manager(loadRegistry(dataDir));
    const QList<Lottery> &lotteries = manager.registry().lotteries();
    const auto found = std::ranges::find(lotteries, *lottery, &Lottery::id);
    if (found == lotteries.end())
        return refused(noLotteryMessage(*lottery));
    // A fresh manager lists the lotteries in the order of the working copy.
    manager.selectLottery(int(found - lotteries.begin()));

    if (verb == QLatin1String("list")) {
        if (!expectArguments(*a, 0, "list --lottery ID", &problem))
            return usage(problem);
        for (const QString &line : manager.exportLines())
            out() << line << '\n';
        out().flush();
        return Ok;
    }
    if (verb == QLatin1String("add")) {
        if (!expectArguments(*a, 2, "add --lottery ID ISSUE NUMBER", &problem))
            return usage(problem);
        // What the number edit would not let anyone type is a usage error.
        const QString &number = a->positional.at(2);
        if (!LotteryManager::editAccepts(C::NumberEdit, number))
            return usage(QStringLiteral("NUMBER takes at most three digits"));
        manager.setEdits({}, {}, a->positional.at(1), number);
        if (!report(manager.addDraw()))
            return Refused;
        return save(manager, dataDir);
    }
    if (verb == QLatin1String("import")) {
        if (!expectArguments(*a, 1, "import --lottery ID FILE", &problem))
            return usage(problem);
        const LotteryRegistry before = manager.registry();
        QStringList messages = manager.importFile(a->positional.at(1));
        // The last message is the count when the file was read; faulty lines
        // were reported before it, and the good ones are kept all the same.
        const bool counted = messages.size() > 0 && messages.last().startsWith(QStringLiteral("成功导入"));
        const QString count = counted ? messages.takeLast() : QString();
        const bool clean = report(messages);
        if (counted) {
            out() << count << '\n';
            out().flush();
        }
        if (manager.registry() != before)
            if (const int status = save(manager, dataDir); status != Ok)
                return status;
        return clean ? Ok : Refused;
    }
    if (verb == QLatin1String("export")) {
        if (!expectArguments(*a, 1, "export --lottery ID FILE", &problem))
            return usage(problem);
        if (const auto written = manager.exportFile(a->positional.at(1)); !written)
            return refused(written.error());
        return Ok;
    }
    if (verb == QLatin1String("download")) {
        if (!expectArguments(*a, 0, "download --lottery ID", &problem))
            return usage(problem);
        const auto number = manager.downloadLotteryNumber();
        if (!number)
            return refused(number.error());
        const DownloadOutcome outcome = downloadDrawsBlocking(dataDir, *number);
        if (!outcome.message.isEmpty())
            return refused(outcome.message);
        if (outcome.draws.isEmpty())
            return Ok;
        manager.applyDownload(outcome.draws);
        return save(manager, dataDir);
    }
    return usage(verb.isEmpty() ? QStringLiteral("draws needs list, add, import, export or download")
                                : QStringLiteral("unknown draws command ") + verb);
}

int runPublishCommand(const QStringList &args)
{
    QString problem;
    const QStringList valueOptions = {QStringLiteral("--data"), QStringLiteral("--out"), QStringLiteral("--version"),
                                      QStringLiteral("--download"), QStringLiteral("--purchase")};
    const auto a = parse(args, valueOptions, {}, &problem);
    if (!a)
        return usage(problem);
    QMap<QString, QString> values;
    for (const QString &option : valueOptions) {
        const auto value = single(*a, option, &problem);
        if (!value)
            return usage(problem);
        values.insert(option, *value);
    }
    if (!a->positional.isEmpty())
        return usage(QStringLiteral("unexpected argument ") + a->positional.first());
    if (values.value(QStringLiteral("--out")).isEmpty())
        return usage(QStringLiteral("publish needs --out FOLDER"));

    const auto data = dataFolder(values.value(QStringLiteral("--data")));
    if (!data)
        return refused(data.error());
    PublishOptions options;
    if (a->options.contains(QStringLiteral("--version")))
        options.version = values.value(QStringLiteral("--version"));
    options.downloadLink = values.value(QStringLiteral("--download"));
    options.purchaseLink = values.value(QStringLiteral("--purchase"));
    const auto written = publishFeed(loadRegistry(*data),
                                     values.value(QStringLiteral("--out")), options);
    if (!written)
        return refused(written.error());
    for (const QString &file : *written)
        out() << file << '\n';
    out().flush();
    return Ok;
}

} // namespace numsieve::cli
