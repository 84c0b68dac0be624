#include "text/FileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

// POSIX only. On Windows the same checks are GetFileAttributes /
// GetFileInformationByHandle on a handle opened with FILE_FLAG_OPEN_REPARSE_POINT.

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

std::expected<void, QString> checkSaveTarget(const QString &path, const QString &folder)
{
    switch (entryKind(path)) {
    case EntryKind::Missing:
    case EntryKind::RegularFile:
        return {};
    case EntryKind::Other:
        return std::unexpected(QStringLiteral("%1 不是普通文件，不能保存").arg(shown(path)));
    case EntryKind::SymbolicLink:
        break;
    }
    // A link is followed only to a regular file of the same folder tree: a
    // save through it must never replace a device, a pipe or another
    // program's file.
    const QFileInfo target(QFileInfo(path).canonicalFilePath());
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QString targetPath = target.filePath();
    const bool inside = !root.isEmpty() && targetPath.startsWith(root + QLatin1Char('/'));
    if (targetPath.isEmpty() || !inside || entryKind(targetPath) != EntryKind::RegularFile)
        return std::unexpected(QStringLiteral("%1 是指向数据文件夹以外或不是普通文件的链接，不能保存").arg(shown(path)));
    return {};
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
