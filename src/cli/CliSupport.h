#pragma once

#include "core/Workspace.h"
#include "core/analysis/ReportFormat.h"
#include "core/history/Draw.h"
#include "core/history/PrizeFile.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <expected>
#include <optional>

namespace numsieve::cli {

// A command line split into the command, its positional arguments, the values
// of its value options (in order) and its flags.
struct Arguments {
    QString command;
    QStringList positional;
    QMap<QString, QStringList> options;
    QStringList flags;

    // The value of an option given at most once; empty when not given.
    QString value(const QString &option) const { return options.value(option).value(0); }
    QStringList values(const QString &option) const { return options.value(option); }
    bool given(const QString &option) const { return options.contains(option); }
    bool flag(const QString &option) const { return flags.contains(option); }
};

// Whether a command takes positional arguments; when it does not, any is a
// usage error.
enum class Positional { Taken, Refused };

QTextStream &out();
QTextStream &err();

// Prints the problem and a pointer to --help; returns the usage exit status.
int usage(const QString &problem);
// Prints the system's own message on standard error; returns the refusal status.
int refused(const QString &message);

// The data folder of --data, which must exist: a mistyped folder must not
// be answered as an empty one. Without --data, data/ beside the executable.
std::expected<QString, QString> dataFolder(const QString &option);

// The refusal when --lottery names no lottery of the data folder.
QString noLotteryMessage(const QString &id);

// The draws of the lottery with that id in the data folder of --data (the
// first lottery when no id is given), oldest first.
std::expected<QList<Draw>, QString> lotteryDraws(const QString &dataOption, const QString &lotteryId);

// What the scheme commands start from: the lottery's draws, the scheme file
// applied over them, and the --intersect files read.
struct SchemeRun {
    QList<Draw> draws;
    Workspace workspace;
    QList<QStringList> intersections;
    std::optional<Prizes> prizes;   // the lottery's, when set
};
std::expected<SchemeRun, QString> loadSchemeRun(const QString &scheme, const QString &dataOption,
                                                const QString &lotteryId, const QStringList &intersectFiles);

// The arguments of a command, or the usage status once the problem is
// printed: the value options `once` may be given once, `repeated` again and
// again. Problems are looked for in this order: an unknown option or a value
// option without its value, a positional argument the command refuses, an
// option of `once` given more than once (of several, the one listed last in
// `once` is named).
std::expected<Arguments, int> parseArguments(const QStringList &args, Positional positional, const QStringList &once,
                                             const QStringList &repeated = {}, const QStringList &flags = {});

// The form --format names: text when not given; the usage status once the
// problem is printed when it names none of text, csv and json.
std::expected<ReportFormat, int> formatOption(const Arguments &a);

} // namespace numsieve::cli
