#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace numsieve {

// One program saves in a data folder at a time. Taking the folder says why
// when it cannot be taken: another program holds it, the folder cannot be
// written at all (a read-only disk or folder: fine for reading, filtering and
// the back-test), or the lock itself fails (a full disk).
struct DataFolderLock {
    enum State { Held, InUse, ReadOnly, Failed };
    State state = Failed;
    QString message;   // empty when held
    std::unique_ptr<QLockFile> lock;
};

// A lock file that names no owner (a program killed while writing it, a
// disk that filled up) is stale at once, not after half a minute.
// With waitMs, a folder another program holds is waited for that long.
DataFolderLock lockDataFolder(const QString &dataDir, int waitMs = 0);

} // namespace numsieve
