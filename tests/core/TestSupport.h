#pragma once

#include "core/history/Draw.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <utility>

namespace testsupport {

inline QByteArray gbk(const QString &text)
{
    QStringEncoder enc("GBK");
    return enc.encode(text);
}

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

// Makes a data folder as the program keeps it: lottery.data lists each
// lottery as "id$name" in GBK, lottery_<id>.data holds its draws as
// "issue$number" lines, every line ending in CR LF. A lottery given no draw
// file is only listed, so a test can see the program make the file itself;
// "" gives an empty one.
class DataFolderBuilder
{
public:
    explicit DataFolderBuilder(const QString &folder)
        : m_folder(folder)
    {
    }

    DataFolderBuilder &lottery(const QString &id, const QString &name)
    {
        m_registry += id + '$' + name + QStringLiteral("\r\n");
        return *this;
    }
    DataFolderBuilder &lottery(const QString &id, const QString &name, const QByteArray &drawFile)
    {
        m_drawFiles.append({id, drawFile});
        return lottery(id, name);
    }
    DataFolderBuilder &lottery(const QString &id, const QString &name, const QList<numsieve::Draw> &draws)
    {
        QByteArray file;
        for (const numsieve::Draw &draw : draws)
            file += draw.issue.toLatin1() + '$' + draw.number.toLatin1() + "\r\n";
        return lottery(id, name, file);
    }

    // Makes the folder where it is missing and writes the registry, then the
    // draw files in the order given.
    [[nodiscard]] bool write() const
    {
        const QDir folder(m_folder);
        if (!QDir().mkpath(m_folder) || !writeBytes(folder.filePath(QStringLiteral("lottery.data")), gbk(m_registry)))
            return false;
        for (const auto &[id, bytes] : m_drawFiles)
            if (!writeBytes(folder.filePath(QStringLiteral("lottery_%1.data").arg(id)), bytes))
                return false;
        return true;
    }

private:
    QString m_folder;
    QString m_registry;
    QList<std::pair<QString, QByteArray>> m_drawFiles;
};

// The entry as the file system has it, without following a link: its kind,
// its size and, for a small file, its bytes.
inline QString entryState(const QString &path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("missing");
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("link to ") + QFile::symLinkTarget(path);
    return QStringLiteral("mode %1 size %2 %3")
        .arg(st.st_mode & S_IFMT)
        .arg(st.st_size)
        .arg(S_ISREG(st.st_mode) && st.st_size < 4096 ? QString::fromLatin1(readBytes(path).toHex()) : QString());
}

// A character device for a save to be refused on: one of the test's own in
// dir where the superuser may make it, so that a save that wrongly replaces
// it harms no device of the machine; else /dev/null, which no one else can
// replace.
inline QString deviceForTest(const QString &dir)
{
    const QString own = QDir(dir).filePath(QStringLiteral("null-device"));
    if (::geteuid() == 0 && ::mknod(QFile::encodeName(own).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        return own;
    return QStringLiteral("/dev/null");
}

// Makes a folder refuse new files for as long as it lives. Root ignores
// permission bits, so the immutable attribute is used there.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path) : m_path(path)
    {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
        if (::geteuid() == 0)
            m_immutable = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
        QFile probe(QDir(path).filePath(QStringLiteral(".probe")));
        m_effective = !probe.open(QIODevice::WriteOnly);
        if (!m_effective)
            probe.remove();
    }
    ~ReadOnlyFolder()
    {
        if (m_immutable)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // False when this machine cannot make a folder read-only for us.
    bool effective() const { return m_effective; }

private:
    QString m_path;
    bool m_immutable = false;
    bool m_effective = false;
};

} // namespace testsupport
