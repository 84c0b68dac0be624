#include "cli/CliCommands.h"
#include "cli/AnalysisCommands.h"
#include "cli/CheckCommand.h"
#include "cli/CliSupport.h"
#include "cli/DrawsCommand.h"
#include "cli/TrendCommand.h"

#include "core/Workspace.h"
#include "core/filter/FilterRun.h"
#include "core/history/DataFolder.h"
#include "core/model/Number.h"
#include "core/online/ProductSite.h"
#include "core/results/NumberListFile.h"
#include "core/results/NumberStatistics.h"
#include "core/scheme/SchemeFile.h"
#include "core/script/ScriptConditionRunner.h"

#include <QDir>

#include <algorithm>
#include <iterator>

namespace numsieve::cli {

namespace {

const char kHelp[] =
    "numsieve-cli — 三位筛号器命令行工具 / NumSieve command-line tool\n"
    "\n"
    "用法 / Usage:\n"
    "  numsieve-cli filter --scheme FILE [--data DIR] [--lottery ID] [--intersect FILE]...\n"
    "                      [--list straight|group3|group6|group] [--stage selected|filtered|intersected]\n"
    "  numsieve-cli info NUMBER [--group] [--data DIR] [--lottery ID]\n"
    "  numsieve-cli draws list|add|import|export|download --lottery ID [--data DIR] ...\n"
    "  numsieve-cli backtest --scheme FILE [--scheme FILE]... [--data DIR] [--lottery ID] [--last N] [--intersect FILE]...\n"
    "                        [--format text|csv|json]\n"
    "  numsieve-cli report --scheme FILE [--data DIR] [--lottery ID] [--intersect FILE]... [--format text|csv|json]\n"
    "  numsieve-cli trend [--data DIR] [--lottery ID] [--last W|all]\n"
    "                     [--group position|distribution|sum|span|tail|shape] [--format text|csv|json]\n"
    "  numsieve-cli check --lottery ID [--issue ISSUE] [--kind straight|group] [--data DIR] FILE...\n"
    "  numsieve-cli publish --out FOLDER [--data DIR] [--version TEXT] [--download URL] [--purchase URL]\n"
    "  numsieve-cli COMMAND --help\n"
    "  numsieve-cli --help | --version\n"
    "\n"
    "filter\n"
    "  读取数据文件夹，选中彩种，验证并导入条件方案，选号、过滤（含高级条件），\n"
    "  再依次与每个 --intersect 号码文件求交集，然后每行输出一个号码（三位数字）。\n"
    "  Loads the data folder, selects the lottery, validates and applies the scheme,\n"
    "  gathers, filters (advanced conditions included), intersects with each\n"
    "  --intersect file in order, and prints the chosen list, one three-digit number\n"
    "  per line.\n"
    "    --scheme FILE     条件方案文件 (.cnd) / the condition scheme file\n"
    "    --data DIR        数据文件夹 / data folder (see below)\n"
    "    --lottery ID      彩种编号，默认为第一个彩种 / lottery id, default the first lottery\n"
    "    --intersect FILE  号码交集文件，可多次给出 / number file to intersect with, may repeat\n"
    "    --list KIND       直选 straight、组三 group3、组六 group6、组选 group；\n"
    "                      默认：直选模式为 straight，组选模式为 group\n"
    "                      default: straight in straight mode, group in group mode\n"
    "    --stage STAGE     选号 selected、过滤 filtered、交集 intersected；\n"
    "                      默认：给出 --intersect 时为 intersected，否则为 filtered\n"
    "                      default: intersected with --intersect, else filtered\n"
    "\n"
    "info\n"
    "  输出号码信息窗口的各行文字，每行一条。--group 按组选统计。\n"
    "  Prints the lines of the number information popup for NUMBER (0-999), one per\n"
    "  line; --group counts draws in any digit order.\n"
    "\n"
    "draws（与彩票管理相同的操作，修改后像“保存”一样写入数据文件夹）\n"
    "  The lottery manager's draw operations; a change is saved as 保存 saves it.\n"
    "  修改号码的命令（add、import、download）在窗口使用数据文件夹时会拒绝；--wait SECONDS\n"
    "  最多等这么多秒，等窗口关闭。\n"
    "  The commands that change draws (add, import, download) refuse while the window\n"
    "  holds the data folder; --wait SECONDS waits up to that long for it to close.\n"
    "    draws list --lottery ID                  每行输出一期“奖期$号码”，由旧到新\n"
    "                                             prints \"issue$number\" per draw, oldest first\n"
    "    draws add --lottery ID ISSUE NUMBER      添加一期开奖号码，按奖期排在应在的位置\n"
    "                                             adds one draw, placed by its issue\n"
    "    draws import --lottery ID FILE           导入号码（每行“奖期$号码”），跳过已有奖期\n"
    "                                             imports \"issue$number\" lines, skipping known issues\n"
    "    draws import --lottery ID FILE --table [--dry-run]\n"
    "                                             从表格导入（网页或电子表格复制的、CSV等常见格式），\n"
    "                                             输出识别出的格式、期数和未读取的行；--dry-run 只列出\n"
    "                                             将要添加的号码，不写入\n"
    "                                             reads a table in any common layout (copied from a web\n"
    "                                             page or a spreadsheet, CSV) and prints the layout found,\n"
    "                                             the counts and the lines not read; --dry-run lists the\n"
    "                                             draws it would add and writes nothing\n"
    "    draws prizes --lottery ID [--set PRICE,STRAIGHT,GROUP3,GROUP6|none]\n"
    "                                             显示或设置每注价格和直选、组选三、组选六的奖金（元）\n"
    "                                             shows or sets the price of a bet and the prizes (yuan)\n"
    "    draws export --lottery ID FILE           导出号码，文件名缺少时补上 .txt\n"
    "                                             exports the draws; \".txt\" is added when missing\n"
    "    draws download --lottery ID [--replace]  从 online.data 中 analysis 指定的服务器下载号码，\n"
    "                                             加入本地没有的奖期；--replace 用下载的号码替换全部号码\n"
    "                                             downloads the draw list from the analysis host of\n"
    "                                             online.data and adds the issues not held (lotteries\n"
    "                                             1-4); --replace replaces every draw by the list\n"
    "  新的号码都按奖期排进已有的号码中（奖期全是数字时按数值），已有号码的顺序不变，并说明插在哪里。\n"
    "  New draws are placed by issue among those held (by value when every issue is\n"
    "  digits); the order of the draws held never changes, and where they go is said.\n"
    "  同一期与本地的开奖号码不同时，保留本地的号码并列出（“2025152：本地507，新的570”）；\n"
    "  import 和 download 加 --take-new 则换成新的号码（旧文件先备份）。同一期出现两次而号码不同、\n"
    "  奖期位数比本地的少的号码不导入，列在标准错误输出上，退出状态为1。\n"
    "  An issue held with another number keeps the held number and is listed\n"
    "  (\"2025152：本地507，新的570\"); --take-new with import or download takes the new\n"
    "  numbers instead (the old file is backed up first). Draws of an issue given twice\n"
    "  with different numbers, or with fewer digits than every held issue, are not\n"
    "  taken: they are listed on standard error and the exit status is 1.\n"
    "  保存前，会丢失号码的开奖号码文件先备份到数据文件夹的 backup/ 中（每个彩种保留最新10个）。\n"
    "  A draw file that a save would lose draws of is first copied into backup/ of the\n"
    "  data folder (the newest 10 per lottery are kept).\n"
    "\n"
    "数据文件夹 / Data folder\n"
    "  --data DIR；否则环境变量 NUMSIEVE_DATA；否则程序旁的 data/（存在或能创建时）；\n"
    "  否则 ~/.local/share/NumSieve/data（首次使用时建立并放入四个内置彩种）。\n"
    "  --data DIR; else the environment variable NUMSIEVE_DATA; else data/ beside the\n"
    "  program when it exists or can be made; else ~/.local/share/NumSieve/data, made\n"
    "  and given the four built-in lotteries on first use. --version shows which.\n"
    "\n"
    "backtest\n"
    "  方案回测：对最近 N 期（--last，默认 100，超过已有期数时取全部）的每一期，只用它之前的\n"
    "  开奖号码，像 filter 一样选号、过滤、求交集，看开奖号码是否在结果中；再与同样注数的\n"
    "  随机选号比较（期望命中、提升倍数、偶然概率），并列出每个条件单独淘汰的开奖号码数。\n"
    "  Replays the scheme over each of the latest N draws (--last, default 100, at\n"
    "  most the draws there are) with only the earlier draws as history, exactly as\n"
    "  filter would run it, and tells whether the drawn number survived; compares the\n"
    "  hits with random lists of the same sizes (expected hits, lift, and the exact\n"
    "  chance of that many hits by luck) and counts what each condition alone killed.\n"
    "  高级条件的时间：开始时共 10 秒，每回测一期再加 0.1 秒；每一期最多 10 秒（同一次过滤）。\n"
    "  某一期超出剩余的时间时回测停止，显示“高级条件运行时间过长，已停止，请检查并修改条件”，\n"
    "  退出码 1。常用条件每期不到 1 毫秒，多少期都能做完；失控的条件在第一期停止，\n"
    "  每期用 t 秒（t 大于 0.1）的条件约在 10/(t-0.1) 期后停止。\n"
    "  Script conditions get 10 s to start with and 0.1 s more for every draw\n"
    "  replayed, at most 10 s in any one draw (as one filter run). The first draw\n"
    "  past what is left stops the back-test with that message and exit status 1.\n"
    "  Everyday conditions take under a millisecond a draw, so any number of draws\n"
    "  finish; a runaway script stops at the first draw, one that takes t seconds\n"
    "  at every draw (t over 0.1) after about 10 / (t - 0.1) draws.\n"
    "  设置了奖金时（draws prizes），每期的结果当作买下的号码：投入、中奖、回报率，旁边是随机选\n"
    "  同样多号码的平均中奖（准确值，任何号码都一样）和中奖至少这么多的偶然概率。\n"
    "  With the lottery's prizes set (draws prizes), each draw's list counts as bought:\n"
    "  spent, won and the return, beside what random lists of the same sizes win on\n"
    "  average (exact, the same for any list) and the chance of winning at least that\n"
    "  much by luck.\n"
    "  给出多个 --scheme 时，每个方案回测同样的开奖号码，每个方案一行；并给出最好的方案（偶然\n"
    "  概率最小的）和 k 个方案中最好的一个靠运气也至少这么好的概率 1-(1-p)^k，p 为它的偶然概率。\n"
    "  With several --scheme, each is replayed over the same draws, one row each; the\n"
    "  best is the one with the smallest chance p, and beside it stands the chance\n"
    "  that the best of k schemes with no skill would look at least as good,\n"
    "  1 - (1 - p)^k: the best of many tries always looks good.\n"
    "\n"
    "report\n"
    "  过滤报告：选号后的注数，每个条件单独淘汰的注数和依次累计剩余的注数，容错后的结果。\n"
    "  The filter run counted: candidates after gathering, then per enabled condition\n"
    "  the candidates it alone rejects and the survivors of it and all above, then\n"
    "  the result with the tolerance (and after --intersect).\n"
    "    --format FORMAT   text 中文表格（默认）、csv、json（英文键名）\n"
    "                      text: a Chinese table (default); csv and json use English keys\n"
    "\n"
    "trend\n"
    "  走势图：最近 W 期（--last，默认 100；all 为全部），每列的出现次数、期望次数、平均遗漏、\n"
    "  最大遗漏、最大连出、当前遗漏和偶然概率；遗漏按全部开奖号码计算。--group 只列一组：\n"
    "  position 百十个位、distribution 号码分布、sum 和值、span 跨度、tail 和尾、\n"
    "  shape 大小/奇偶/质合/组选形态；默认全部。text 列出统计，csv 和 json 还有每期的遗漏。\n"
    "  The trend chart over the latest W draws (--last, default 100; all for every\n"
    "  draw): per column its hits, expected hits, mean, longest and current omission,\n"
    "  longest run and the exact two-sided chance of a count this far from the\n"
    "  expected one (marked * below 5%). Omissions count over the whole history.\n"
    "  text prints the statistics; csv and json add every draw's omissions.\n"
    "\n"
    "check\n"
    "  对奖：每个号码文件的注数，是否含开奖号码（直选）或它的组选（组选三/组选六），以及奖金。\n"
    "  默认为最新一期（--issue 指定奖期）。文件里的号码都按从小到大写、又没有豹子时当作组选号码，\n"
    "  否则当作直选号码；--kind 可以指定。\n"
    "  Checks number list files against a draw (the newest unless --issue names one):\n"
    "  each file's bets, whether it holds the drawn number (直选) or its group (组选三\n"
    "  or 组选六) and the prize. A file whose numbers are all written in ascending\n"
    "  digits without a triple is taken for a group list, any other for a straight\n"
    "  list; --kind says which.\n"
    "\n"
    "publish\n"
    "  写出一个文件夹，任何静态网站服务器都能用它回答程序的全部请求：彩种 1 至 4 的\n"
    "  开奖号码、版本文件（--version，默认为本程序版本；--download 下载地址）、\n"
    "  配置文件（给出 --purchase 时显示“购买彩票”）和在线请求。\n"
    "  Writes a folder that answers every request of the program when any static web\n"
    "  server serves it: the draw lists of lotteries 1 to 4, the version file\n"
    "  (--version, default this program's; --download link), the configuration file\n"
    "  (--purchase shows 购买彩票 with that link) and the presence request. Prints the\n"
    "  files written.\n"
    "\n"
    "退出码 / Exit status: 0 成功 / done; 1 系统提示（信息输出到标准错误）/ the\n"
    "system refused, its message is on standard error; 2 命令行有误 / usage error.\n";

// The draw numbers of the lottery with that id (the first when none is given).
std::expected<QStringList, QString> drawsOf(const QString &dataDir, const QString &lotteryId)
{
    const auto draws = lotteryDraws(dataDir, lotteryId);
    if (!draws)
        return std::unexpected(draws.error());
    QStringList numbers;
    for (const Draw &d : *draws)
        numbers.append(d.number);
    return numbers;
}

int runFilterCommand(const QStringList &args)
{
    const auto a = parseArguments(args, Positional::Refused,
                                  {QStringLiteral("--scheme"), QStringLiteral("--data"), QStringLiteral("--lottery"),
                                   QStringLiteral("--list"), QStringLiteral("--stage")},
                                  {QStringLiteral("--intersect")});
    if (!a)
        return a.error();
    const QString scheme = a->value(QStringLiteral("--scheme"));
    if (scheme.isEmpty())
        return usage(QStringLiteral("filter needs --scheme FILE"));
    const QString list = a->value(QStringLiteral("--list"));
    const QString stage = a->value(QStringLiteral("--stage"));

    static const QMap<QString, ListKind> kinds{{QStringLiteral("straight"), ListKind::Straight},
                                               {QStringLiteral("group3"), ListKind::GroupThree},
                                               {QStringLiteral("group6"), ListKind::GroupSix},
                                               {QStringLiteral("group"), ListKind::Group}};
    static const QMap<QString, ResultStage> stages{{QStringLiteral("selected"), ResultStage::Selected},
                                                   {QStringLiteral("filtered"), ResultStage::Filtered},
                                                   {QStringLiteral("intersected"), ResultStage::Intersected}};
    if (!list.isEmpty() && !kinds.contains(list))
        return usage(QStringLiteral("--list takes straight, group3, group6 or group"));
    if (!stage.isEmpty() && !stages.contains(stage))
        return usage(QStringLiteral("--stage takes selected, filtered or intersected"));

    const QStringList intersectFiles = a->values(QStringLiteral("--intersect"));
    auto loaded = loadSchemeRun(scheme, a->value(QStringLiteral("--data")), a->value(QStringLiteral("--lottery")),
                                intersectFiles);
    if (!loaded)
        return refused(loaded.error());
    Workspace &w = loaded->workspace;
    ScriptConditionRunner runner;
    if (auto filtered = runFilter(w, &runner); !filtered)
        return refused(filtered.error());
    for (const QStringList &numbers : std::as_const(loaded->intersections))
        w.tables.intersect(numbers);

    const ListKind kind = list.isEmpty()
                              ? (w.tables.viewMode() == ViewMode::Straight ? ListKind::Straight : ListKind::Group)
                              : kinds.value(list);
    const ResultStage wanted = stage.isEmpty()
                                   ? (intersectFiles.isEmpty() ? ResultStage::Filtered : ResultStage::Intersected)
                                   : stages.value(stage);
    for (const QString &number : w.tables.extract(kind, wanted))
        out() << number << '\n';
    out().flush();
    return Ok;
}

int runInfoCommand(const QStringList &args)
{
    const auto a = parseArguments(args, Positional::Taken, {QStringLiteral("--data"), QStringLiteral("--lottery")}, {},
                                  {QStringLiteral("--group")});
    if (!a)
        return a.error();
    if (a->positional.size() != 1)
        return usage(QStringLiteral("info needs exactly one NUMBER"));
    const QString &text = a->positional.first();
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < 0 || number > 999 || text.startsWith(QLatin1Char('+')))
        return usage(QStringLiteral("NUMBER must be 0 to 999"));

    const auto draws = drawsOf(a->value(QStringLiteral("--data")), a->value(QStringLiteral("--lottery")));
    if (!draws)
        return refused(draws.error());
    // A group cell of the map stands for the number in ascending digit order,
    // and the popup shows it so.
    const bool group = a->flag(QStringLiteral("--group"));
    for (const QString &line : numberInfoLines(group ? sortedForm(number) : number, *draws, group))
        out() << line << '\n';
    out().flush();
    return Ok;
}

// Every command, in the order the help names them.
const std::pair<QLatin1StringView, int (*)(const QStringList &)> kCommands[] = {
    {QLatin1StringView("filter"), runFilterCommand},     {QLatin1StringView("info"), runInfoCommand},
    {QLatin1StringView("draws"), runDrawsCommand},       {QLatin1StringView("publish"), runPublishCommand},
    {QLatin1StringView("backtest"), runBacktestCommand}, {QLatin1StringView("report"), runReportCommand},
    {QLatin1StringView("trend"), runTrendCommand},       {QLatin1StringView("check"), runCheckCommand}};

} // namespace

// The help of one command: its lines of the usage block, then its section
// (the paragraph that starts with its name), from the help of them all.
QString commandHelp(const QString &command)
{
    const QStringList lines = QString::fromUtf8(kHelp).split(QLatin1Char('\n'));
    const QString usageLine = QStringLiteral("  numsieve-cli ") + command + QLatin1Char(' ');
    QStringList help{QStringLiteral("用法 / Usage:")};
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines.at(i).startsWith(usageLine))
            continue;
        help.append(lines.at(i));
        // Continued usage lines are indented deeper.
        while (i + 1 < lines.size() && lines.at(i + 1).startsWith(QStringLiteral("      ")))
            help.append(lines.at(++i));
    }
    help.append(QString());
    bool inSection = false;
    for (const QString &line : lines) {
        if (!inSection && line.startsWith(command) && !line.startsWith(QLatin1Char(' ')))
            inSection = true;
        else if (inSection && line.isEmpty())
            break;
        if (inSection)
            help.append(line);
    }
    return help.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool asksForHelp(const QStringList &arguments)
{
    return arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"));
}

int run(const QStringList &arguments)
{
    const QString command = arguments.value(0);
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        out() << QString::fromUtf8(kHelp);
        out().flush();
        return Ok;
    }
    const auto found = std::ranges::find(kCommands, command, [](const auto &entry) { return entry.first; });
    if (found != std::end(kCommands) && asksForHelp(arguments.mid(1))) {
        out() << commandHelp(command);
        out().flush();
        return Ok;
    }
    if (command == QLatin1String("--version") || command == QLatin1String("version")) {
        out() << "numsieve-cli " << kVersionText << '\n'
              << "数据文件夹 / data folder: " << QDir::toNativeSeparators(defaultDataFolder()) << '\n';
        out().flush();
        return Ok;
    }
    if (found != std::end(kCommands))
        return found->second(arguments);
    if (command.isEmpty())
        return usage(QStringLiteral("missing command: filter, info, draws, publish, backtest, report, trend or check"));
    return usage(QStringLiteral("unknown command ") + command);
}

} // namespace numsieve::cli
