#include "core/history/DataLock.h"

#include "core/history/DataFolder.h"
#include "core/text/FileAccess.h"

#include <QDir>
#include <QFileInfo>

namespace numsieve {

DataFolderLock lockDataFolder(const QString &dataDir, int waitMs)
{
    DataFolderLock result;
    const QString shown = QDir::toNativeSeparators(dataDir);
    if (const QString problem = folderWriteProblem(dataDir); !problem.isEmpty()) {
        result.state = problem == folderReadOnlyReason() ? DataFolderLock::ReadOnly : DataFolderLock::Failed;
        result.message = result.state == DataFolderLock::ReadOnly
                             ? readOnlyFolderMessage(dataDir)
                             : QStringLiteral("无法锁定数据文件夹 %1：%2").arg(shown, problem);
        return result;
    }
    const QString path = dataLockPath(dataDir);
    // What stands in the lock file's place and is none is said as what it
    // is: taking it for another program's lock would send the user looking
    // for a program that is not running.
    if (const EntryKind kind = entryKind(path); kind == EntryKind::Other || kind == EntryKind::SymbolicLink) {
        result.message = QStringLiteral("无法锁定数据文件夹 %1：%2 是%3，不是三位筛号器的锁文件，请把它移走")
                             .arg(shown, QDir::toNativeSeparators(path),
                                  QFileInfo(path).isDir() && kind == EntryKind::Other ? QStringLiteral("一个文件夹")
                                                                                     : QStringLiteral("一个特殊文件或链接"));
        return result;
    }
    auto lock = std::make_unique<QLockFile>(path);
    qint64 pid = 0;
    QString host;
    QString application;
    if (QFileInfo(path).isFile() && !lock->getLockInfo(&pid, &host, &application))
        lock->removeStaleLockFile();
    // A lock left by a program that died is taken over.
    if (lock->tryLock(waitMs)) {
        result.state = DataFolderLock::Held;
        result.lock = std::move(lock);
        return result;
    }
    switch (lock->error()) {
    case QLockFile::LockFailedError:
        result.state = DataFolderLock::InUse;
        result.message = QStringLiteral("数据文件夹 %1 正在被三位筛号器使用").arg(shown);
        break;
    case QLockFile::PermissionError:
        result.state = DataFolderLock::ReadOnly;
        result.message = readOnlyFolderMessage(dataDir);
        break;
    default: {
        const QString problem = folderWriteProblem(dataDir);
        result.message = QStringLiteral("无法锁定数据文件夹 %1：%2")
                             .arg(shown, problem.isEmpty() ? QStringLiteral("无法写入锁文件") : problem);
        break;
    }
    }
    return result;
}

} // namespace numsieve
