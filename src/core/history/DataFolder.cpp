#include "history/DataFolder.h"

#include "history/RecordLine.h"
#include "text/TextFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace numsieve {

QString installedDefaultRegistry()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/numsieve/lottery.data"));
}

QString defaultDataFolder()
{
    const QString chosen = qEnvironmentVariable("NUMSIEVE_DATA");
    if (!chosen.isEmpty())
        return QDir::cleanPath(QDir::current().absoluteFilePath(chosen));
    // An installed program (its default lotteries lie under ../share) keeps
    // nothing beside itself, even when run by the superuser, who could write
    // there. Elsewhere making the folder is the only sure test: an immutable
    // folder or a read-only file system refuses even the superuser.
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/data");
    if (QFileInfo(beside).isDir() || (!QFileInfo::exists(installedDefaultRegistry()) && QDir().mkdir(beside)))
        return beside;
    const QString own = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                        + QStringLiteral("/NumSieve/data");
    QDir().mkpath(own);
    if (!QFileInfo::exists(registryFilePath(own)) && QFileInfo::exists(installedDefaultRegistry()))
        QFile::copy(installedDefaultRegistry(), registryFilePath(own));
    return own;
}

QString dataLockPath(const QString &dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral(".numsieve.lock"));
}

QString registryFilePath(const QString &dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("lottery.data"));
}

QString drawFilePath(const QString &dataDir, const QString &id)
{
    return QDir(dataDir).filePath(QStringLiteral("lottery_") + id + QStringLiteral(".data"));
}

bool idNamesDrawFile(const QString &id)
{
    return !id.contains(QLatin1Char('/')) && !id.contains(QLatin1Char('\\')) && !id.contains(QChar(0));
}

LotteryRegistry parseRegistryLines(const QStringList &lines)
{
    LotteryRegistry registry;
    for (const QString &line : lines) {
        if (registry.isFull())
            break;
        if (const auto record = parseRecordLine(line))
            registry.append(Lottery{record->second, record->first, {}});
    }
    return registry;
}

QList<Draw> parseDrawLines(const QStringList &lines)
{
    QList<Draw> draws;
    for (const QString &line : lines) {
        if (const auto record = parseRecordLine(line))
            draws.append(Draw{record->first, record->second});
    }
    return draws;
}

QStringList registryLines(const LotteryRegistry &registry)
{
    QStringList lines;
    lines.reserve(registry.count());
    for (const Lottery &lottery : registry.lotteries())
        lines.append(recordLine(lottery.id, lottery.name));
    return lines;
}

QStringList drawLines(const Lottery &lottery)
{
    QStringList lines;
    lines.reserve(lottery.draws.size());
    for (const Draw &draw : lottery.draws)
        lines.append(recordLine(draw.issue, draw.number));
    return lines;
}

void removeStaleSaveFiles(const QString &dataDir)
{
    // A save killed half way leaves its temporary file ("lottery_1.data.Xy12Ab")
    // beside the intact old one. One younger than a minute may belong to a
    // save that is still running in another process.
    static const QRegularExpression temporary(QStringLiteral("^lottery(_.*)?\\.data\\.[A-Za-z0-9]{6}$"));
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-60);
    const QDir dir(dataDir);
    for (const QFileInfo &file : dir.entryInfoList({QStringLiteral("lottery*.data.*")}, QDir::Files | QDir::Hidden)) {
        if (temporary.match(file.fileName()).hasMatch() && file.lastModified().toUTC() < before)
            QFile::remove(file.filePath());
    }
}

LotteryRegistry loadRegistry(const QString &dataDir)
{
    QDir().mkpath(dataDir);   // a failure shows as an empty registry
    removeStaleSaveFiles(dataDir);
    LotteryRegistry registry = parseRegistryLines(readOrCreateTextLines(registryFilePath(dataDir)));
    for (qsizetype i = 0; i < registry.count(); ++i) {
        Lottery &lottery = registry[i];
        if (idNamesDrawFile(lottery.id))
            lottery.draws = parseDrawLines(readOrCreateTextLines(drawFilePath(dataDir, lottery.id)));
    }
    return registry;
}

std::expected<void, QString> saveRegistry(const QString &dataDir, const LotteryRegistry &registry)
{
    return saveRegistry(dataDir, registry, registryLines(registry));
}

std::expected<void, QString> saveRegistry(const QString &dataDir, const LotteryRegistry &registry,
                                          const QStringList &registryFileLines)
{
    // Refuse before touching anything, so that a bad id cannot leave half a save.
    for (const Lottery &lottery : registry.lotteries()) {
        if (!idNamesDrawFile(lottery.id))
            return std::unexpected(QStringLiteral("彩种编号“") + lottery.id + QStringLiteral("”不能用作文件名，无法保存"));
    }
    QDir().mkpath(dataDir);   // removed behind our back: the writes below then report it
    QList<std::pair<QString, QByteArray>> files;
    files.reserve(registry.count() + 1);
    for (const Lottery &lottery : registry.lotteries())
        files.append({drawFilePath(dataDir, lottery.id), encodeLines(drawLines(lottery))});
    files.append({registryFilePath(dataDir), encodeLines(registryFileLines)});
    return saveFilesAtomically(files);
}

} // namespace numsieve
