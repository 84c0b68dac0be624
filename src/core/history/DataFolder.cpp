#include "core/history/DataFolder.h"

#include "core/history/RecordLine.h"
#include "core/model/Number.h"
#include "core/text/FileAccess.h"
#include "core/text/TextFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <vector>

namespace numsieve {

QString installedDefaultRegistry()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/numsieve/lottery.data"));
}

void seedDataFolder(const QString &dataDir)
{
    const QString registry = registryFilePath(dataDir);
    if (!QFileInfo(dataDir).isDir() || entryKind(registry) != EntryKind::Missing)
        return;
    static const QStringList builtIn{QStringLiteral("1$福彩3D"), QStringLiteral("2$排列三"), QStringLiteral("3$时时乐"),
                                     QStringLiteral("4$时时彩")};
    // A folder we cannot write stays as it is; files that appeared meanwhile
    // are the user's.
    (void)saveNewFile(prizeFilePath(dataDir), defaultPrizeFileBytes(), dataDir);
    (void)saveNewFile(registry, encodeLines(builtIn), dataDir);
}

QString defaultDataFolder()
{
    const QString chosen = qEnvironmentVariable("NUMSIEVE_DATA");
    if (!chosen.isEmpty()) {
        const QString folder = QDir::cleanPath(QDir::current().absoluteFilePath(chosen));
        // Made here, not by the first save: a folder made empty and saved
        // into would keep an empty list of lotteries for good.
        QDir().mkpath(folder);
        seedDataFolder(folder);
        return folder;
    }
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
    const QString registry = registryFilePath(own);
    if (const auto installed = readFileBytes(installedDefaultRegistry());
        installed && entryKind(registry) == EntryKind::Missing) {
        (void)saveNewFile(prizeFilePath(own), defaultPrizeFileBytes(), own);
        (void)saveNewFile(registry, *installed, own);
    }
    seedDataFolder(own);
    return own;
}

QString readOnlyFolderMessage(const QString &dataDir)
{
    return QStringLiteral("数据文件夹 %1 是只读的，不能在其中保存").arg(QDir::toNativeSeparators(dataDir));
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
    // A save killed half way leaves its temporary file beside the intact old
    // one; only names the program gives them are cleared, never by a pattern
    // a user's file could match. One younger than a minute may belong to a
    // save that is still running in another process.
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-60);
    QStringList folders{dataDir};
    // The backup folder only when it is a real folder of the data folder.
    if (const QString backups = backupFolderPath(dataDir); entryKind(backups) == EntryKind::Other && QFileInfo(backups).isDir())
        folders.append(backups);
    for (const QString &folder : std::as_const(folders)) {
        for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
            if (isSaveTemporaryName(file.fileName()) && file.lastModified().toUTC() < before)
                QFile::remove(file.filePath());
        }
    }
}

namespace {

// Line ends of a file's bytes: CR LF, LF or a lone CR; calls line(view) for
// every line without its end, the last one also when it has none.
template<typename F>
void forEachLine(QByteArrayView bytes, F &&line)
{
    const char *p = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = p[i];
        if (c != '\n' && c != '\r')
            continue;
        line(QByteArrayView(p + start, i - start));
        if (c == '\r' && i + 1 < n && p[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        line(QByteArrayView(p + start, n - start));
}

bool startsWithMark(QByteArrayView bytes)
{
    return bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

const QString &sharedNumber(QByteArrayView digits)
{
    return sharedNumberText((digits[0] - '0') * 100 + (digits[1] - '0') * 10 + (digits[2] - '0'));
}

bool isThreeDigits(QByteArrayView field)
{
    return field.size() == 3 && std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Draw lines straight from the bytes, without a decoded copy of the whole
// file and a list of its lines in between: a 64 MB file stays a few times
// its size in memory.
QList<Draw> parseDrawBytes(QByteArrayView bytes, TextEncoding encoding)
{
    qsizetype lines = 1;
    forEachLine(bytes, [&lines](QByteArrayView) { ++lines; });
    QList<Draw> draws;
    draws.reserve(lines);
    forEachLine(bytes, [&](QByteArrayView line) {
        const qsizetype split = line.indexOf('$');
        if (split <= 0)
            return;
        QByteArrayView second = line.sliced(split + 1);
        if (const qsizetype end = second.indexOf('$'); end >= 0)
            second = second.first(end);
        if (second.isEmpty())
            return;
        draws.append(Draw{decodeField(line.first(split), encoding),
                          isThreeDigits(second) ? sharedNumber(second) : decodeField(second, encoding)});
    });
    return draws;
}

// Reads a data file's bytes; a missing file is created empty. A link that
// leads nowhere is a problem, not a missing file: creating through it would
// write wherever it points.
std::expected<QByteArray, QString> readOrCreate(const QString &path, const QString &dataDir)
{
    if (entryKind(path) == EntryKind::Missing) {
        (void)saveNewFile(path, {}, dataDir);
        return QByteArray();
    }
    return readFileBytes(path);
}

std::unexpected<QString> unreadable(const QString &path, const QString &reason)
{
    return std::unexpected(QStringLiteral("无法读取文件 %1：%2").arg(QDir::toNativeSeparators(path), reason));
}

// lottery.data's lines; a missing file is created empty.
std::expected<QStringList, QString> readRegistryFile(const QString &path, const QString &dataDir)
{
    const auto bytes = readOrCreate(path, dataDir);
    if (!bytes)
        return std::unexpected(bytes.error());
    auto lines = decodeLinesStrictly(*bytes);
    if (!lines)
        return unreadable(path, lines.error());
    return lines;
}

std::expected<QList<Draw>, QString> drawsOfBytes(const QString &path, const QByteArray &bytes)
{
    if (startsWithMark(bytes)) {
        const auto lines = decodeLinesStrictly(bytes);
        if (!lines)
            return unreadable(path, lines.error());
        return parseDrawLines(*lines);
    }
    const auto encoding = detectEncoding(bytes);
    if (!encoding)
        return unreadable(path, encoding.error());
    return parseDrawBytes(bytes, *encoding);
}

// Whether the old file holds a line the new content lacks. Appending draws,
// the usual change, keeps the old bytes as the start of the new ones; only
// otherwise are the lines compared one by one.
std::expected<bool, QString> losesLines(const QString &oldPath, QByteArrayView newBytes, bool *unchanged)
{
    qint64 offset = 0;
    bool prefix = true;
    char last = '\n';
    const auto compared = visitRegularFile(oldPath, 1 << 20, [&](QByteArrayView piece) {
        if (offset + piece.size() > newBytes.size() || newBytes.sliced(offset, piece.size()) != piece) {
            prefix = false;
            return false;
        }
        offset += piece.size();
        last = piece.back();
        return true;
    });
    if (!compared)
        return std::unexpected(compared.error());
    *unchanged = prefix && offset == newBytes.size();
    if (prefix && (last == '\n' || last == '\r'))
        return false;

    const auto old = readFileBytes(oldPath);
    if (!old)
        return std::unexpected(old.error());
    QByteArrayView oldBytes(*old);
    QByteArrayView newText = newBytes;
    for (QByteArrayView *text : {&oldBytes, &newText}) {
        if (text->startsWith("\xEF\xBB\xBF"))
            *text = text->sliced(3);
    }
    // The new lines sorted by their bytes, as offsets into the new content.
    struct Span {
        quint32 offset;
        quint32 size;
    };
    std::vector<Span> lines;
    forEachLine(newText, [&](QByteArrayView line) {
        lines.push_back({quint32(line.data() - newText.data()), quint32(line.size())});
    });
    auto text = [&newText](const Span &span) { return newText.sliced(span.offset, span.size); };
    std::sort(lines.begin(), lines.end(), [&](const Span &a, const Span &b) { return text(a) < text(b); });
    bool loses = false;
    forEachLine(oldBytes, [&](QByteArrayView line) {
        if (loses || line.isEmpty())
            return;
        const auto found = std::lower_bound(lines.begin(), lines.end(), line,
                                            [&](const Span &span, QByteArrayView value) { return text(span) < value; });
        loses = found == lines.end() || text(*found) != line;
    });
    return loses;
}

} // namespace

std::expected<QList<Draw>, QString> readDrawFile(const QString &path)
{
    if (entryKind(path) == EntryKind::Missing)
        return QList<Draw>();
    const auto bytes = readFileBytes(path);
    if (!bytes)
        return std::unexpected(bytes.error());
    return drawsOfBytes(path, *bytes);
}

std::expected<QByteArray, QString> encodeDrawFile(const QList<Draw> &draws)
{
    qsizetype size = 0;
    bool ascii = true;
    for (const Draw &draw : draws) {
        size += draw.issue.size() + draw.number.size() + 3;
        for (const QString *field : {&draw.issue, &draw.number})
            ascii = ascii && std::all_of(field->cbegin(), field->cend(), [](QChar c) { return c.unicode() < 0x80; });
    }
    if (!ascii) {
        QStringList lines;
        lines.reserve(draws.size());
        for (const Draw &draw : draws)
            lines.append(recordLine(draw.issue, draw.number));
        return encodeLinesExactly(lines);
    }
    // The usual file is all ASCII: its bytes are written straight, without a
    // text of the whole file in between.
    QByteArray bytes;
    bytes.reserve(size);
    for (const Draw &draw : draws) {
        bytes.append(draw.issue.toLatin1());
        bytes.append('$');
        bytes.append(draw.number.toLatin1());
        bytes.append("\r\n", 2);
    }
    return bytes;
}

QString keptUnreadableMessage(const QString &readProblem)
{
    return readProblem + QStringLiteral("\n为了不丢失其中的数据，在把这个文件移出数据文件夹之前，不能保存。");
}

QString backupFolderPath(const QString &dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("backup"));
}

bool isBackupOf(const QString &fileName, const QString &id)
{
    // Exactly the names backUpDrawFile gives: the id taken literally, the
    // time, and the number of a second backup within one second.
    const QString prefix = QStringLiteral("lottery_") + id + QLatin1Char('-');
    static const QRegularExpression rest(QStringLiteral("^[0-9]{8}-[0-9]{6}(_[0-9]{3,})?\\.data$"));
    return fileName.startsWith(prefix) && rest.match(QStringView(fileName).sliced(prefix.size())).hasMatch();
}

std::expected<QString, QString> backUpDrawFile(const QString &dataDir, const QString &id, const QString &path,
                                               const QDateTime &now)
{
    const QDir folder(backupFolderPath(dataDir));
    // Only a real folder of the data folder: through a link, the backups and
    // their clearing-away would reach files elsewhere.
    const EntryKind kind = entryKind(folder.path());
    if (kind == EntryKind::SymbolicLink || (kind != EntryKind::Missing && !QFileInfo(folder.path()).isDir()))
        return std::unexpected(QStringLiteral("无法保存文件 %1：%2 不是数据文件夹中的文件夹，无法在其中备份")
                                   .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(folder.path())));
    if (!QDir().mkpath(folder.path()))
        return std::unexpected(QStringLiteral("无法保存文件 %1：无法建立备份文件夹 %2")
                                   .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(folder.path())));
    const auto bytes = readFileBytes(path);
    if (!bytes)
        return std::unexpected(bytes.error());
    // Several saves within a second number their backups on after the
    // highest there, so that their names keep the order they were made in;
    // and a backup never replaces another.
    const QString stem = QStringLiteral("lottery_") + id + QLatin1Char('-') + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    qint64 highest = 0;
    for (const QString &name : folder.entryList(QDir::Files | QDir::NoSymLinks)) {
        if (!name.startsWith(stem) || !isBackupOf(name, id))
            continue;
        const QStringView rest = QStringView(name).sliced(stem.size()).chopped(5);   // "" or "_NNN"
        highest = std::max(highest, rest.isEmpty() ? 1 : rest.sliced(1).toLongLong());
    }
    const auto made = saveNewFile(
        [&](int n) {
            const qint64 number = highest + 1 + n;
            if (n >= 100000 || number > 999999999)
                return QString();
            return folder.filePath(number == 1 ? stem + QStringLiteral(".data")
                                               : stem + QStringLiteral("_%1.data").arg(number, 3, 10, QLatin1Char('0')));
        },
        *bytes, folder.path());
    if (!made)
        return std::unexpected(made.error());
    if (made->isEmpty())
        return std::unexpected(QStringLiteral("无法保存文件 %1：这一秒的备份文件名已经用完").arg(QDir::toNativeSeparators(path)));

    // The newest by the time they were written, not by the time in their
    // names, which a changed clock or time zone puts out of order; the one
    // just made stays whatever the clock says.
    QFileInfoList others;
    for (const QFileInfo &file : folder.entryInfoList(QDir::Files | QDir::NoSymLinks)) {
        if (isBackupOf(file.fileName(), id) && file.filePath() != *made)
            others.append(file);
    }
    std::sort(others.begin(), others.end(), [](const QFileInfo &a, const QFileInfo &b) {
        const QDateTime at = a.lastModified(), bt = b.lastModified();
        return at != bt ? at > bt : a.fileName() > b.fileName();
    });
    for (qsizetype i = kBackupsPerLottery - 1; i < others.size(); ++i)
        QFile::remove(others.at(i).filePath());
    return *made;
}

LotteryRegistry loadRegistry(const QString &dataDir)
{
    QDir().mkpath(dataDir);   // a failure shows as an empty registry
    removeStaleSaveFiles(dataDir);
    const auto registryText = readRegistryFile(registryFilePath(dataDir), dataDir);
    if (!registryText) {
        LotteryRegistry unreadable;
        unreadable.setReadProblem(registryText.error());
        return unreadable;
    }
    LotteryRegistry registry = parseRegistryLines(*registryText);
    for (qsizetype i = 0; i < registry.count(); ++i) {
        Lottery &lottery = registry[i];
        if (!idNamesDrawFile(lottery.id))
            continue;
        const QString path = drawFilePath(dataDir, lottery.id);
        const auto bytes = readOrCreate(path, dataDir);
        auto draws = bytes ? drawsOfBytes(path, *bytes) : std::unexpected(bytes.error());
        if (draws)
            lottery.draws = std::move(*draws);
        else
            lottery.readProblem = draws.error();
    }
    return registry;
}

std::expected<SaveReport, QString> saveRegistry(const QString &dataDir, const LotteryRegistry &registry)
{
    return saveRegistry(dataDir, registry, registryLines(registry));
}

namespace {

QString cannotSave(const QString &path, const QString &reason)
{
    return QStringLiteral("无法保存文件 %1：%2").arg(QDir::toNativeSeparators(path), reason);
}

// What a save writes, in this order, and the draw files it backs up first.
struct SavePlan {
    QList<std::pair<QString, QByteArray>> files;
    QList<std::pair<QString, QString>> losing;   // id, path of a draw file that loses lines
};

// The draw files that change, each checked before anything is written.
std::expected<void, QString> planDrawFiles(const QString &dataDir, const LotteryRegistry &registry, SavePlan &plan)
{
    for (const Lottery &lottery : registry.lotteries()) {
        const QString path = drawFilePath(dataDir, lottery.id);
        if (!lottery.readProblem.isEmpty()) {
            if (lottery.draws.isEmpty())
                continue;   // nothing of ours to write over what we could not read
            return std::unexpected(keptUnreadableMessage(lottery.readProblem));
        }
        auto bytes = encodeDrawFile(lottery.draws);
        if (!bytes)
            return std::unexpected(cannotSave(path, bytes.error()));
        // A file the next start could not read would lock its draws away.
        if (bytes->size() > kMaxFileBytes)
            return std::unexpected(cannotSave(path, QStringLiteral("文件会超过64MB")));
        bool loses = false;
        if (entryKind(path) != EntryKind::Missing) {
            bool unchanged = false;
            const auto lost = losesLines(path, *bytes, &unchanged);
            if (!lost)
                return std::unexpected(keptUnreadableMessage(lost.error()));
            if (unchanged)
                continue;   // nothing to write, wherever it is
            loses = *lost;
        }
        if (const auto target = checkSaveTarget(path, dataDir); !target)
            return std::unexpected(target.error());
        if (loses)
            plan.losing.append({lottery.id, path});
        plan.files.append({path, std::move(*bytes)});
    }
    return {};
}

// The prize file when it changes, written before the registry file.
std::expected<void, QString> planPrizeFile(const QString &dataDir, const PrizeFile &prizes, SavePlan &plan)
{
    const QString prizePath = prizeFilePath(dataDir);
    auto prizeBytes = encodeLinesExactly(prizes.lines());
    if (!prizeBytes)
        return std::unexpected(cannotSave(prizePath, prizeBytes.error()));
    const bool missing = entryKind(prizePath) == EntryKind::Missing;
    if (missing ? !prizes.lines().isEmpty() : readFileBytes(prizePath).value_or(QByteArray()) != *prizeBytes) {
        if (const auto target = checkSaveTarget(prizePath, dataDir); !target)
            return std::unexpected(target.error());
        plan.files.insert(plan.files.size() - 1, {prizePath, std::move(*prizeBytes)});
    }
    return {};
}

} // namespace

std::expected<SaveReport, QString> saveRegistry(const QString &dataDir, const LotteryRegistry &registry,
                                                const QStringList &registryFileLines, const PrizeFile *prizes)
{
    // Everything is checked before anything is touched, so that no refusal
    // can leave half a save.
    if (!registry.readProblem().isEmpty())
        return std::unexpected(keptUnreadableMessage(registry.readProblem()));
    for (const Lottery &lottery : registry.lotteries()) {
        if (!idNamesDrawFile(lottery.id))
            return std::unexpected(QStringLiteral("彩种编号“") + lottery.id
                                   + QStringLiteral("”不能用作文件名，无法保存"));
    }
    QDir().mkpath(dataDir); // removed behind our back: the writes below then report it

    SavePlan plan;
    if (auto planned = planDrawFiles(dataDir, registry, plan); !planned)
        return std::unexpected(planned.error());
    const QString registryPath = registryFilePath(dataDir);
    if (const auto target = checkSaveTarget(registryPath, dataDir); !target)
        return std::unexpected(target.error());
    auto registryBytes = encodeLinesExactly(registryFileLines);
    if (!registryBytes)
        return std::unexpected(cannotSave(registryPath, registryBytes.error()));
    plan.files.append({registryPath, std::move(*registryBytes)});
    if (prizes && prizes->readProblem.isEmpty()) {
        if (auto planned = planPrizeFile(dataDir, *prizes, plan); !planned)
            return std::unexpected(planned.error());
    }

    // Said as what it is, before a backup folder that cannot be made or a
    // file that cannot be written takes the blame.
    if (folderWriteProblem(dataDir) == folderReadOnlyReason())
        return std::unexpected(readOnlyFolderMessage(dataDir));
    SaveReport report;
    const QDateTime now = QDateTime::currentDateTime();
    for (const auto &[id, path] : std::as_const(plan.losing)) {
        const auto kept = backUpDrawFile(dataDir, id, path, now);
        if (!kept)
            return std::unexpected(kept.error());
        report.backups.append(*kept);
    }
    if (const auto saved = saveFilesAtomically(plan.files, dataDir); !saved)
        return std::unexpected(saved.error());
    return report;
}

} // namespace numsieve
