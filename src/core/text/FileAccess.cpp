#include "core/text/FileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>   // renameat2
#include <cstring>
#include <limits>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

// POSIX only. On Windows the same checks are GetFileAttributes /
// GetFileInformationByHandle on a handle opened with FILE_FLAG_OPEN_REPARSE_POINT;
// a staged file is CreateFile with CREATE_NEW, FlushFileBuffers and MoveFileEx
// with MOVEFILE_WRITE_THROUGH (and MOVEFILE_REPLACE_EXISTING to replace).

namespace numsieve {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString readFailure(const QString &path, int error)
{
    switch (error) {
    case ENOENT: return QStringLiteral("无法读取文件 %1：文件不存在").arg(shown(path));
    case ELOOP: return QStringLiteral("无法读取文件 %1：符号链接循环").arg(shown(path));
    case EACCES:
    case EPERM: return QStringLiteral("无法读取文件 %1：没有读取权限").arg(shown(path));
    default: return QStringLiteral("无法读取文件 %1：%2").arg(shown(path), QString::fromLocal8Bit(std::strerror(error)));
    }
}

QString notRegular(const QString &path)
{
    return QStringLiteral("%1 不是普通文件，无法读取").arg(shown(path));
}

QString tooLarge(const QString &path)
{
    return QStringLiteral("文件 %1 超过64MB，无法读取").arg(shown(path));
}

// An open descriptor that closes itself.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { if (m_fd >= 0) ::close(m_fd); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Opens path for reading without ever blocking and checks what was opened.
std::expected<int, QString> openRegular(const QString &path, qint64 maxBytes, qint64 *size)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::unexpected(readFailure(path, errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return std::unexpected(readFailure(path, error));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::unexpected(notRegular(path));
    }
    if (st.st_size > maxBytes) {
        ::close(fd);
        return std::unexpected(tooLarge(path));
    }
    *size = st.st_size;
    return fd;
}

} // namespace

EntryKind entryKind(const QString &path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? EntryKind::Missing : EntryKind::Other;
    if (S_ISREG(st.st_mode))
        return EntryKind::RegularFile;
    if (S_ISLNK(st.st_mode))
        return EntryKind::SymbolicLink;
    return EntryKind::Other;
}

std::expected<QByteArray, QString> readRegularFile(const QString &path, qint64 maxBytes)
{
    qint64 size = 0;
    const auto opened = openRegular(path, maxBytes, &size);
    if (!opened)
        return std::unexpected(opened.error());
    const Descriptor fd(*opened);
    // Read straight into the result, sized as the file was seen; one that
    // grows meanwhile is read on to its end or to the limit.
    QByteArray bytes;
    bytes.resize(qsizetype(size));
    qsizetype have = 0;
    for (;;) {
        if (have == bytes.size()) {
            if (bytes.size() > maxBytes)
                return std::unexpected(tooLarge(path));
            bytes.resize(have + 4096);
        }
        const ssize_t got = ::read(fd.get(), bytes.data() + have, size_t(bytes.size() - have));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return std::unexpected(readFailure(path, errno));
        }
        if (got == 0)
            break;
        have += got;
    }
    if (have > maxBytes)
        return std::unexpected(tooLarge(path));
    bytes.resize(have);
    return bytes;
}

std::expected<void, QString> visitRegularFile(const QString &path, qint64 pieceBytes,
                                              const std::function<bool(QByteArrayView)> &visit)
{
    qint64 size = 0;
    const auto opened = openRegular(path, std::numeric_limits<qint64>::max(), &size);
    if (!opened)
        return std::unexpected(opened.error());
    const Descriptor fd(*opened);
    QByteArray piece(qsizetype(pieceBytes), Qt::Uninitialized);
    for (;;) {
        const ssize_t got = ::read(fd.get(), piece.data(), size_t(piece.size()));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return std::unexpected(readFailure(path, errno));
        }
        if (got == 0 || !visit(QByteArrayView(piece.constData(), got)))
            return {};
    }
}

namespace {

// Whether files written into dir land inside folder, through every link of
// both: a folder on the way that leads elsewhere must not carry a save out.
// A folder that does not exist holds nothing; the write then says so.
bool landsInside(const QString &dir, const QString &folder)
{
    const QString landing = QFileInfo(dir).canonicalFilePath();
    if (landing.isEmpty())
        return true;
    QString root = QFileInfo(folder).canonicalFilePath();
    if (root.isEmpty())
        return false;
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    return (landing + QLatin1Char('/')).startsWith(root);
}

} // namespace

std::expected<QString, QString> checkSaveTarget(const QString &path, const QString &folder)
{
    QString target = path;
    const EntryKind kind = entryKind(path);
    switch (kind) {
    case EntryKind::Missing:
    case EntryKind::RegularFile:
        break;
    case EntryKind::Other:
        return std::unexpected(QStringLiteral("%1 不是普通文件，不能保存").arg(shown(path)));
    case EntryKind::SymbolicLink:
        // Followed only to a regular file: a save through a link must never
        // replace a device, a pipe or a folder.
        target = QFileInfo(path).canonicalFilePath();
        if (target.isEmpty())
            return std::unexpected(QStringLiteral("%1 是指向不存在的文件的链接，不能保存").arg(shown(path)));
        if (entryKind(target) != EntryKind::RegularFile)
            return std::unexpected(QStringLiteral("%1 是指向非普通文件的链接，不能保存").arg(shown(path)));
        break;
    }
    if (!landsInside(QFileInfo(target).absolutePath(), folder))
        return std::unexpected((kind == EntryKind::SymbolicLink ? QStringLiteral("%1 是指向文件夹 %2 以外的链接，不能保存")
                                                                : QStringLiteral("%1 在文件夹 %2 以外，不能保存"))
                                   .arg(shown(path), shown(folder)));
    return target;
}

std::expected<void, QString> checkSaveFolder(const QString &dir, const QString &folder)
{
    if (!landsInside(dir, folder))
        return std::unexpected(QStringLiteral("%1 在文件夹 %2 以外，不能保存").arg(shown(dir), shown(folder)));
    return {};
}

namespace {

const QLatin1StringView kTemporaryPrefix(".numsieve-save-");
const QLatin1StringView kTemporarySuffix(".tmp");
constexpr int kTemporaryLetters = 12;

// The reason a write failed, in the user's words where we know it.
QString writeFailure(int error)
{
    switch (error) {
    case ENOSPC: return QStringLiteral("磁盘空间不足");
    case EDQUOT: return QStringLiteral("超出磁盘配额");
    case EACCES:
    case EPERM: return QStringLiteral("没有写入权限");
    case EROFS: return QStringLiteral("磁盘是只读的");
    case EIO: return QStringLiteral("磁盘读写错误");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("文件夹不存在");
    default: return QString::fromLocal8Bit(std::strerror(error));
    }
}

std::unexpected<QString> saveFailure(const QString &path, int error)
{
    return std::unexpected(QStringLiteral("无法保存文件 %1：%2").arg(shown(path), writeFailure(error)));
}

// A rename is on the disk only once its folder is: without this a crash
// right after the save may bring back the old file.
void syncFolderOf(const QString &path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    ::close(fd);
}

bool writeAll(int fd, QByteArrayView bytes)
{
    const char *p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, p, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += written;
        left -= written;
    }
    return true;
}

} // namespace

bool isSaveTemporaryName(const QString &fileName)
{
    if (fileName.size() != kTemporaryPrefix.size() + kTemporaryLetters + kTemporarySuffix.size()
        || !fileName.startsWith(kTemporaryPrefix) || !fileName.endsWith(kTemporarySuffix))
        return false;
    const QStringView letters = QStringView(fileName).sliced(kTemporaryPrefix.size(), kTemporaryLetters);
    return std::all_of(letters.begin(), letters.end(), [](QChar c) {
        return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
    });
}

std::expected<StagedFile, QString> StagedFile::write(const QString &target, QByteArrayView bytes)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    struct stat old {};
    const bool replacing = ::stat(QFile::encodeName(target).constData(), &old) == 0 && S_ISREG(old.st_mode);
    const QDir folder = QFileInfo(target).absoluteDir();
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString name = kTemporaryPrefix;
        for (int i = 0; i < kTemporaryLetters; ++i)
            name += QLatin1Char(letters[QRandomGenerator::system()->bounded(int(sizeof letters - 1))]);
        name += kTemporarySuffix;
        const QString temporary = folder.filePath(name);
        // A new file takes the permissions new files get; one that replaces
        // another keeps that one's, and is no more open than it meanwhile.
        const int fd = ::open(QFile::encodeName(temporary).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, replacing ? 0600 : 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return saveFailure(target, errno);
        }
        StagedFile staged(target, temporary);
        if (replacing) {
            (void)::fchmod(fd, old.st_mode & 07777);
            // The superuser saving a user's file leaves it the user's.
            if (::geteuid() == 0)
                (void)::fchown(fd, old.st_uid, old.st_gid);
        }
        if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
            const int error = errno;
            ::close(fd);
            return saveFailure(target, error);
        }
        if (::close(fd) != 0)
            return saveFailure(target, errno);
        return staged;
    }
    return saveFailure(target, EEXIST);
}

StagedFile::StagedFile(StagedFile &&other) noexcept
    : m_target(std::move(other.m_target)), m_temporary(std::exchange(other.m_temporary, QString()))
{
}

StagedFile::~StagedFile()
{
    if (!m_temporary.isEmpty())
        ::unlink(QFile::encodeName(m_temporary).constData());
}

std::expected<void, QString> StagedFile::replaceTarget()
{
    if (::rename(QFile::encodeName(m_temporary).constData(), QFile::encodeName(m_target).constData()) != 0)
        return saveFailure(m_target, errno);
    m_temporary.clear();
    syncFolderOf(m_target);
    return {};
}

std::expected<bool, QString> StagedFile::createAs(const QString &name)
{
    const QByteArray from = QFile::encodeName(m_temporary);
    const QByteArray to = QFile::encodeName(name);
    int error = ENOSYS;
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        m_temporary.clear();
        syncFolderOf(name);
        return true;
    }
    error = errno;
#endif
    // A file system (or system) that cannot rename without replacing may still link.
    if (error == EINVAL || error == ENOSYS || error == ENOTSUP) {
        if (::link(from.constData(), to.constData()) == 0) {
            ::unlink(from.constData());
            m_temporary.clear();
            syncFolderOf(name);
            return true;
        }
        error = errno;
    }
    if (error == EEXIST)
        return false;
    return saveFailure(name, error);
}

QString folderReadOnlyReason()
{
    return QStringLiteral("文件夹是只读的");
}

QString folderWriteProblem(const QString &folder)
{
    const QByteArray name = QFile::encodeName(folder);
    if (::access(name.constData(), W_OK) != 0)
        return errno == EROFS || errno == EACCES || errno == EPERM ? folderReadOnlyReason()
                                                                    : QString::fromLocal8Bit(std::strerror(errno));
    struct statvfs fs {};
    if (::statvfs(name.constData(), &fs) != 0)
        return {};
    if (fs.f_flag & ST_RDONLY)
        return folderReadOnlyReason();
    // The superuser may still write into the blocks kept back for it.
    if (fs.f_bfree == 0 || (fs.f_bavail == 0 && ::geteuid() != 0))
        return QStringLiteral("磁盘空间不足");
    return {};
}

} // namespace numsieve
