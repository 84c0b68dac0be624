#include "cli/DrawsCommand.h"

#include "cli/CliCommands.h"
#include "cli/CliSupport.h"
#include "core/history/DataFolder.h"
#include "core/history/DataLock.h"
#include "core/history/LotteryManager.h"
#include "core/history/PrizeFile.h"
#include "core/history/TableReader.h"
#include "core/Messages.h"
#include "core/text/TextFile.h"
#include "core/online/DrawDownload.h"
#include "core/online/ProductSite.h"

#include <QDir>
#include <QFileInfo>

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
    const auto saved = manager.save(dataDir);
    if (!saved)
        return refused(saved.error());
    for (const QString &backup : saved->backups)
        out() << QStringLiteral("被替换的开奖号码已备份到 / old draws kept in ") << QDir::toNativeSeparators(backup) << '\n';
    out().flush();
    return Ok;
}

// What the history made of the draws: where the added ones went and which
// differ from the held ones on standard output, what was left out on
// standard error. True when nothing was left out.
bool printIntake(const Intake &intake)
{
    QTextStream &o = out();
    for (const PlacedRun &run : intake.inserted)
        o << placedRunText(run) << '\n';
    const QStringList differing = differingLines(intake);
    if (intake.differingTaken)
        for (const QString &line : differing)
            o << line << '\n';
    o.flush();
    QTextStream &e = err();
    if (!intake.differingTaken && !differing.isEmpty()) {
        for (const QString &line : differing)
            e << line << '\n';
        e << QStringLiteral("（用 --take-new 换成新的号码 / --take-new takes the new numbers）\n");
    }
    if (!intake.refused.isEmpty())
        e << QStringLiteral("%1个号码没有导入 / %1 draws not taken：\n").arg(intake.refused.size());
    for (const RefusedDraw &refused : intake.refused)
        e << refusedText(refused) << '\n';
    e.flush();
    return intake.refused.isEmpty();
}

// The count the manager reports, said once the draws are saved.
QString importCount(const Intake &intake)
{
    return LotteryManager::importMessages(intake).last();
}

// Merges the draws an import read, saves what changed and says what the
// history made of them; `clean` is whether every line was read.
int importAndSave(LotteryManager &manager, const QList<Draw> &draws, Differing differing, const QString &dataDir,
                  bool clean)
{
    const auto intake = manager.importDraws(draws, differing);
    if (!intake)
        return report(intake.error()) ? Ok : Refused;
    if (intake->changed())
        if (const int status = save(manager, dataDir); status != Ok)
            return status;
    const bool whole = printIntake(*intake);
    out() << importCount(*intake) << '\n';
    out().flush();
    return clean && whole ? Ok : Refused;
}

// draws import --table: the draws of a table in any common layout, merged
// as the manager's import merges; --dry-run shows what would be added.
int importTable(LotteryManager &manager, const QString &path, bool dryRun, Differing differing, const QString &dataDir)
{
    if (!QFileInfo::exists(path))
        return refused(msg::kFileMissing);
    const auto bytes = readFileBytes(path);
    if (!bytes)
        return refused(bytes.error());
    const auto reading = readTable(*bytes);
    if (!reading)
        return refused(reading.error());
    out() << reading->description() << '\n';
    for (const QString &note : reading->notes)
        out() << note << '\n';
    out() << QStringLiteral("读取%1期，%2行未读取 / %1 draws read, %2 lines not read\n")
                 .arg(reading->size())
                 .arg(reading->skippedCount);
    out().flush();
    for (const TableSkip &skip : reading->skipped)
        err() << QStringLiteral("第%1行未读取：%2：%3\n").arg(skip.line).arg(skip.reason, skip.source);
    if (reading->skippedCount > reading->skipped.size())
        err() << QStringLiteral("……另有%1行未读取\n").arg(reading->skippedCount - reading->skipped.size());
    err().flush();

    const QList<Draw> draws = reading->draws();
    if (dryRun) {
        const Intake intake = manager.previewImport(draws);
        for (const Draw &draw : intake.added)
            out() << draw.issue << '$' << draw.number << '\n';
        printIntake(intake);
        out() << QStringLiteral("试运行，未写入任何文件 / dry run, nothing written: ") << importCount(intake) << '\n';
        out().flush();
        return Ok;
    }
    return importAndSave(manager, draws, differing, dataDir, true);
}

// What every verb of draws works on: the command line, the data folder, and
// the manager with the lottery named selected.
struct DrawsContext {
    const Arguments &a;
    const QString &dataDir;
    LotteryManager &manager;
    const Lottery &lottery;
};

// An issue held with another number keeps the held one unless asked.
Differing differingAsked(const Arguments &a)
{
    return a.flag(QStringLiteral("--take-new")) ? Differing::TakeOffered : Differing::KeepHeld;
}

int listDraws(const DrawsContext &c)
{
    // Straight from the draws: a long history is not copied into lines first.
    QTextStream &stream = out();
    for (const Draw &draw : c.lottery.draws)
        stream << draw.issue << '$' << draw.number << '\n';
    stream.flush();
    return Ok;
}

int addDraw(const DrawsContext &c)
{
    // What the number edit would not let anyone type is a usage error.
    const QString &number = c.a.positional.at(2);
    if (!LotteryManager::editAccepts(C::NumberEdit, number))
        return usage(
            std::ranges::all_of(number, [](QChar ch) { return ch >= QLatin1Char('0') && ch <= QLatin1Char('9'); })
                ? QStringLiteral("NUMBER takes at most three digits")
                : QStringLiteral("NUMBER takes digits only"));
    c.manager.setEdits({}, {}, c.a.positional.at(1), number);
    if (!report(c.manager.addDraw()))
        return Refused;
    if (const int status = save(c.manager, c.dataDir); status != Ok)
        return status;
    printIntake(c.manager.lastIntake());
    return Ok;
}

int importDraws(const DrawsContext &c)
{
    const QString &path = c.a.positional.at(1);
    if (c.a.flag(QStringLiteral("--table")))
        return importTable(c.manager, path, c.a.flag(QStringLiteral("--dry-run")), differingAsked(c.a), c.dataDir);
    const auto read = LotteryManager::readImportFile(path);
    if (!read)
        return refused(read.error());
    // Faulty lines are reported and the good ones kept all the same; the
    // count is said only once the draws are saved.
    const bool clean = report(read->problems);
    return importAndSave(c.manager, read->draws, differingAsked(c.a), c.dataDir, clean);
}

int showOrSetPrizes(const DrawsContext &c)
{
    if (c.a.given(QStringLiteral("--set"))) {
        const QString text = c.a.value(QStringLiteral("--set"));
        std::optional<Prizes> prizes;
        if (text != QLatin1String("none")) {
            const auto parsed = parsePrizeList(text);
            if (!parsed)
                return refused(parsed.error());
            prizes = *parsed;
        }
        if (!report(c.manager.setCurrentPrizes(prizes)))
            return Refused;
        if (const int status = save(c.manager, c.dataDir); status != Ok)
            return status;
    }
    if (const QString problem = c.manager.prizeFile().readProblem; !problem.isEmpty())
        return refused(problem);
    const auto prizes = c.manager.currentPrizes();
    out() << (prizes ? prizesText(*prizes) : QStringLiteral("没有设置奖金 / no prizes set")) << '\n';
    out().flush();
    return Ok;
}

int exportDraws(const DrawsContext &c)
{
    if (const auto written = c.manager.exportFile(c.a.positional.at(1)); !written)
        return refused(written.error());
    return Ok;
}

int downloadDraws(const DrawsContext &c)
{
    const auto number = c.manager.downloadLotteryNumber();
    if (!number)
        return refused(number.error());
    const DownloadOutcome outcome = downloadDrawsBlocking(c.dataDir, *number);
    if (!outcome.message.isEmpty())
        return refused(outcome.message);
    // A short list (a server that keeps only the latest draws) must not
    // cost the draws it lacks unless asked to.
    const auto mode = c.a.flag(QStringLiteral("--replace")) ? LotteryManager::DownloadMode::Replace
                                                            : LotteryManager::DownloadMode::Merge;
    const auto applied = c.manager.applyDownload(outcome.draws, mode, differingAsked(c.a));
    if (!applied)
        return refused(applied.error());
    if (applied->intake.changed())
        if (const int status = save(c.manager, c.dataDir); status != Ok)
            return status;
    const bool whole = printIntake(applied->intake);
    out() << QStringLiteral("downloaded %1, added %2, removed %3\n")
                 .arg(applied->downloaded)
                 .arg(applied->added)
                 .arg(applied->removed);
    out().flush();
    return whole ? Ok : Refused;
}

struct DrawsVerb {
    QLatin1StringView name;
    int arguments;     // positional arguments after the verb
    const char *shape; // its usage, said when they are not so many
    bool changesDraws;
    int (*run)(const DrawsContext &);
};

const DrawsVerb kDrawsVerbs[] = {
    {QLatin1StringView("list"), 0, "list --lottery ID", false, listDraws},
    {QLatin1StringView("add"), 2, "add --lottery ID ISSUE NUMBER", true, addDraw},
    {QLatin1StringView("import"), 1, "import --lottery ID FILE [--table [--dry-run]] [--take-new]", true, importDraws},
    {QLatin1StringView("prizes"), 0, "prizes --lottery ID [--set PRICE,STRAIGHT,GROUP3,GROUP6|none]", false,
     showOrSetPrizes},
    {QLatin1StringView("export"), 1, "export --lottery ID FILE", false, exportDraws},
    {QLatin1StringView("download"), 0, "download --lottery ID", true, downloadDraws},
};

// The options that go with one verb, refused with any other.
QString misplacedOption(const Arguments &a, const QString &verb)
{
    if (a.flag(QStringLiteral("--replace")) && verb != QLatin1String("download"))
        return QStringLiteral("--replace goes with draws download");
    const bool table = a.flag(QStringLiteral("--table"));
    if (table && verb != QLatin1String("import"))
        return QStringLiteral("--table goes with draws import");
    if (a.flag(QStringLiteral("--dry-run")) && !table)
        return QStringLiteral("--dry-run goes with draws import --table");
    if (a.flag(QStringLiteral("--take-new")) && verb != QLatin1String("import") && verb != QLatin1String("download"))
        return QStringLiteral("--take-new goes with draws import or draws download");
    if (a.given(QStringLiteral("--set")) && verb != QLatin1String("prizes"))
        return QStringLiteral("--set goes with draws prizes");
    return QString();
}

} // namespace

int runDrawsCommand(const QStringList &args)
{
    const auto a = parseArguments(
        args, Positional::Taken,
        {QStringLiteral("--data"), QStringLiteral("--lottery"), QStringLiteral("--wait"), QStringLiteral("--set")}, {},
        {QStringLiteral("--replace"), QStringLiteral("--table"), QStringLiteral("--dry-run"),
         QStringLiteral("--take-new")});
    if (!a)
        return a.error();
    const QString lottery = a->value(QStringLiteral("--lottery"));
    const QString wait = a->value(QStringLiteral("--wait"));
    bool waitIsNumber = true;
    const int waitSeconds = wait.isEmpty() ? 0 : wait.toInt(&waitIsNumber);
    if (!waitIsNumber || waitSeconds < 0 || waitSeconds > 86400)
        return usage(QStringLiteral("--wait takes seconds, 0 to 86400"));
    const QString verb = a->positional.value(0);
    if (lottery.isEmpty())
        return usage(QStringLiteral("draws needs --lottery ID"));

    const auto folder = dataFolder(a->value(QStringLiteral("--data")));
    if (!folder)
        return refused(folder.error());
    const QString dataDir = *folder;
    if (const QString problem = misplacedOption(*a, verb); !problem.isEmpty())
        return usage(problem);
    const auto found = std::ranges::find(kDrawsVerbs, verb, &DrawsVerb::name);
    const bool known = found != std::end(kDrawsVerbs);
    const bool writes =
        ((known && found->changesDraws) || a->given(QStringLiteral("--set"))) && !a->flag(QStringLiteral("--dry-run"));
    // Whatever writes holds the folder from reading to saving, so that it
    // neither saves over the window's work nor the window over its own.
    DataFolderLock lock;
    if (writes) {
        lock = lockDataFolder(dataDir, waitSeconds * 1000);
        if (lock.state == DataFolderLock::InUse)
            return refused(lock.message + QStringLiteral("，请先关闭它再修改 / the data folder is in use"));
        if (lock.state != DataFolderLock::Held)
            return refused(lock.message);
    }
    LotteryManager manager(loadRegistry(dataDir));
    manager.setPrizeFile(loadPrizeFile(dataDir));
    // A file that could not be read is no empty history: nothing is listed
    // from it as if it were, and nothing saved over it.
    if (const QString problem = manager.registry().readProblem(); !problem.isEmpty())
        return refused(writes ? keptUnreadableMessage(problem) : problem);
    const QList<Lottery> &lotteries = manager.registry().lotteries();
    const auto held = std::ranges::find(lotteries, lottery, &Lottery::id);
    if (held == lotteries.end())
        return refused(noLotteryMessage(lottery));
    if (!held->readProblem.isEmpty())
        return refused(writes ? keptUnreadableMessage(held->readProblem) : held->readProblem);
    // A fresh manager lists the lotteries in the order of the working copy.
    manager.selectLottery(int(held - lotteries.begin()));

    if (!known)
        return usage(verb.isEmpty() ? QStringLiteral("draws needs list, add, import, export, download or prizes")
                                    : QStringLiteral("unknown draws command ") + verb);
    QString problem;
    if (!expectArguments(*a, found->arguments, found->shape, &problem))
        return usage(problem);
    return found->run({*a, dataDir, manager, *held});
}

int runPublishCommand(const QStringList &args)
{
    // Listed last to first, so that of several options given twice publish
    // names the first of --data, --out, --version, --download, --purchase as
    // it always has; it reports them before a stray positional argument.
    const auto a = parseArguments(args, Positional::Taken,
                                  {QStringLiteral("--purchase"), QStringLiteral("--download"),
                                   QStringLiteral("--version"), QStringLiteral("--out"), QStringLiteral("--data")});
    if (!a)
        return a.error();
    if (!a->positional.isEmpty())
        return usage(QStringLiteral("unexpected argument ") + a->positional.first());
    const QString outFolder = a->value(QStringLiteral("--out"));
    if (outFolder.isEmpty())
        return usage(QStringLiteral("publish needs --out FOLDER"));

    const auto data = dataFolder(a->value(QStringLiteral("--data")));
    if (!data)
        return refused(data.error());
    PublishOptions options;
    if (a->given(QStringLiteral("--version")))
        options.version = a->value(QStringLiteral("--version"));
    options.downloadLink = a->value(QStringLiteral("--download"));
    options.purchaseLink = a->value(QStringLiteral("--purchase"));
    const auto written = publishFeed(loadRegistry(*data), outFolder, options);
    if (!written)
        return refused(written.error());
    for (const QString &file : *written)
        out() << file << '\n';
    out().flush();
    return Ok;
}

} // namespace numsieve::cli
