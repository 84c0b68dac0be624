#pragma once

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

std::optional<Arguments> parse(const QStringList &args, const QStringList &valueOptions, const QStringList &flagOptions,
                               QString *problem);
// The single value of an option that may be given once (empty when not given).
std::optional<QString> single(const Arguments &a, const QString &option, QString *problem);

} // namespace numsieve::cli
