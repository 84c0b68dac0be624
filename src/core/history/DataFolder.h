#pragma once

#include "core/history/LotteryRegistry.h"
#include "core/history/PrizeFile.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <expected>

namespace numsieve {

// The draw history lives in one folder: lottery.data lists the lotteries
// ("id$name" per line) and lottery_<id>.data holds each lottery's draws
// ("issue$number" per line, oldest first). Both are GBK text with CR LF.

// The data folder the window and the command-line tool use, chosen alike
// (needs a QCoreApplication):
// 1. the folder named by the environment variable NUMSIEVE_DATA;
// 2. data/ beside the executable, when it exists, or when it can be created
//    there and the program is not installed (the build tree, an unpacked copy);
// 3. otherwise, for an installed program, NumSieve/data in the user's data
//    location (~/.local/share), created and given the four built-in
//    lotteries on first use.
QString defaultDataFolder();

// Where an installed program keeps the lottery.data it starts users with.
QString installedDefaultRegistry();

// A folder chosen for the data (NUMSIEVE_DATA, --data) that has no
// lottery.data yet is given the four built-in lotteries and their prizes, as
// a new user's folder is; a lottery.data already there is never touched.
void seedDataFolder(const QString &dataDir);

// What every save into a folder nobody can write says.
QString readOnlyFolderMessage(const QString &dataDir);

// The lock that keeps two programs from saving over each other's work in
// one data folder.
QString dataLockPath(const QString &dataDir);

QString registryFilePath(const QString &dataDir);
// The id is inserted unchanged: "01" and "1" are different files.
QString drawFilePath(const QString &dataDir, const QString &id);
// An id with a path separator would name a file outside the data folder.
bool idNamesDrawFile(const QString &id);

// The lotteries of lottery.data's lines, without draws; lines past the 260th
// kept lottery are ignored.
LotteryRegistry parseRegistryLines(const QStringList &lines);
QList<Draw> parseDrawLines(const QStringList &lines);
QStringList registryLines(const LotteryRegistry &registry);
QStringList drawLines(const Lottery &lottery);

// Removes the temporary files that saves killed half way left in the data
// folder and its backup folder: only names the program gives them, only
// regular files, only those older than a minute.
void removeStaleSaveFiles(const QString &dataDir);

// The draws of a draw file, read as loadRegistry reads them; a missing file
// has none.
std::expected<QList<Draw>, QString> readDrawFile(const QString &path);
// A draw file's bytes: "issue$number" lines, GBK with CR LF. Refused, naming
// the character, when GBK cannot hold one.
std::expected<QByteArray, QString> encodeDrawFile(const QList<Draw> &draws);

// What every save says when it will not replace a file that could not be read.
QString keptUnreadableMessage(const QString &readProblem);

// Where saves keep the draw files they would otherwise lose draws of, and how
// many of a lottery's old files stay there.
QString backupFolderPath(const QString &dataDir);
inline constexpr int kBackupsPerLottery = 10;
// Whether fileName is one of the backups of lottery id: exactly a name
// backUpDrawFile gives, whatever characters the id holds.
bool isBackupOf(const QString &fileName, const QString &id);
// Copies the draw file at path unchanged into the backup folder as
// "lottery_<id>-<yyyyMMdd-HHmmss>.data" (with "_002", "_003", … for more in
// that second; an existing file is never replaced), then removes all but
// the kBackupsPerLottery newest of that lottery, by the time they were
// written. The copy just made always stays. Returns its path.
std::expected<QString, QString> backUpDrawFile(const QString &dataDir, const QString &id, const QString &path,
                                               const QDateTime &now);

// Reads the registry and every registered lottery's draws. The folder and any
// missing file are created empty, silently, so that after the first start
// every lottery has its draw file. A file that exists but cannot be read (too
// large, not a regular file, not text) is never taken for an empty one: its
// problem is kept in the registry or the lottery, which then has no draws,
// and every save leaves that file alone or is refused.
// Temporary files of interrupted saves are cleared away first.
LotteryRegistry loadRegistry(const QString &dataDir);

// What a save did besides replacing the files.
struct SaveReport {
    QStringList backups;   // old draw files kept in the backup folder
};

// Writes every lottery's draw file, in registry order, then lottery.data. Each
// file is replaced atomically, so a crash leaves it either old or new, never
// missing or cut short, and every new content is on disk before the first
// file is replaced: a file that cannot be written (a full disk, a folder in
// its place) fails the save with its message and leaves every file as it was.
// Replacing the registry last means a new lottery is only listed once its
// draws are in place. Draw files of lotteries no longer listed are left alone.
//
// A file is replaced only when it is a regular file of the data folder (or a
// link to one) and its content changes. A draw file that could not be read
// is left alone while its lottery has no draws and refuses the save when it
// has some. Before a draw file loses any of its lines, the old file is copied
// into the backup folder, the newest kBackupsPerLottery kept per lottery.
std::expected<SaveReport, QString> saveRegistry(const QString &dataDir, const LotteryRegistry &registry);
// The same, with lottery.data's lines given apart from the draws: the lottery
// manager lists its lotteries in an order of its own, which the registry does
// not follow.
// The prize file, when given, is written in the same save when it changed
// (never while it could not be read).
std::expected<SaveReport, QString> saveRegistry(const QString &dataDir, const LotteryRegistry &registry,
                                               const QStringList &registryFileLines, const PrizeFile *prizes = nullptr);

} // namespace numsieve
