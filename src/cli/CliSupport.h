#pragma once

#include "core/Workspace.h"
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
};

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

std::optional<Arguments> parse(const QStringList &args, const QStringList &valueOptions, const QStringList &flagOptions,
                               QString *problem);
// The single value of an option that may be given once (empty when not given).
std::optional<QString> single(const Arguments &a, const QString &option, QString *problem);

} // namespace numsieve::cli
