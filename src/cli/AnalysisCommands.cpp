#include "cli/AnalysisCommands.h"

#include "cli/CliCommands.h"
#include "cli/CliSupport.h"

#include "core/analysis/Backtest.h"

#include <QFileInfo>
#include "core/script/ScriptConditionRunner.h"

namespace numsieve::cli {

namespace {

constexpr int kDefaultLast = 100;

struct AnalysisOptions {
    // Each --scheme with its name (the file's base name) and run.
    QList<std::pair<QString, SchemeRun>> runs;
    ReportFormat format = ReportFormat::Text;
    int last = kDefaultLast;
};

// Reads the options both commands share, --last for the back-test, loads the
// scheme run. Returns the exit status when the command cannot go on.
std::expected<AnalysisOptions, int> analysisOptions(const QStringList &args, bool withLast)
{
    QStringList once{QStringLiteral("--data"), QStringLiteral("--lottery"), QStringLiteral("--format")};
    if (withLast)
        once << QStringLiteral("--last");
    const auto a =
        parseArguments(args, Positional::Refused, once, {QStringLiteral("--scheme"), QStringLiteral("--intersect")});
    if (!a)
        return std::unexpected(a.error());
    const QStringList schemes = a->values(QStringLiteral("--scheme"));
    const QString last = a->value(QStringLiteral("--last"));
    if (schemes.isEmpty() || schemes.contains(QString()))
        return std::unexpected(usage(a->command + QStringLiteral(" needs --scheme FILE")));
    if (!withLast && schemes.size() > 1)
        return std::unexpected(usage(QStringLiteral("--scheme may be given once")));

    AnalysisOptions options;
    const auto format = formatOption(*a);
    if (!format)
        return std::unexpected(format.error());
    options.format = *format;
    if (!last.isEmpty()) {
        bool ok = false;
        options.last = last.toInt(&ok);
        if (!ok || options.last < 0 || last.startsWith(QLatin1Char('+')))
            return std::unexpected(usage(QStringLiteral("--last takes a count of draws, 0 or more")));
    }

    for (const QString &scheme : schemes) {
        auto loaded = loadSchemeRun(scheme, a->value(QStringLiteral("--data")), a->value(QStringLiteral("--lottery")),
                                    a->values(QStringLiteral("--intersect")));
        if (!loaded)
            return std::unexpected(refused(loaded.error()));
        options.runs.append({QFileInfo(scheme).completeBaseName(), std::move(*loaded)});
    }
    return options;
}

int print(const QString &text)
{
    out() << text;
    out().flush();
    return Ok;
}

} // namespace

int runBacktestCommand(const QStringList &args)
{
    auto options = analysisOptions(args, true);
    if (!options)
        return options.error();
    const qsizetype available = options->runs.first().second.draws.size();
    if (options->last > available) {
        err() << QStringLiteral("只有%1期开奖号码，回测%1期 / only %1 draws, back-testing %1\n").arg(available);
        err().flush();
    }
    ScriptConditionRunner runner;
    QList<SchemeOutcome> outcomes;
    for (const auto &[name, run] : std::as_const(options->runs)) {
        BacktestResult result = runBacktest(run.workspace, run.draws, run.intersections, options->last, &runner);
        result.prizes = run.prizes;
        outcomes.append({name, std::move(result)});
    }
    // One scheme: its back-test; several: each over the same draws, side by side.
    if (outcomes.size() == 1)
        print(formatBacktest(outcomes.first().result, options->format));
    else
        print(formatComparison(compareSchemes(outcomes), options->format));
    for (const SchemeOutcome &outcome : std::as_const(outcomes))
        if (!outcome.result.message.isEmpty())
            return refused(outcomes.size() == 1 ? outcome.result.message : outcome.name + QStringLiteral("：") + outcome.result.message);
    return Ok;
}

int runReportCommand(const QStringList &args)
{
    auto options = analysisOptions(args, false);
    if (!options)
        return options.error();
    const SchemeRun &run = options->runs.first().second;
    ScriptConditionRunner runner;
    FilterReport report = runFilterReport(run.workspace, run.intersections, &runner);
    report.prizes = run.prizes;
    print(formatFilterReport(report, options->format));
    if (report.stopped())
        return refused(report.message);
    return Ok;
}

} // namespace numsieve::cli
