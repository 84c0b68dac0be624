#include "text/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace numsieve {

namespace {

const char kCodec[] = "GBK";

QString decodeText(const QByteArray &bytes)
{
    // A byte order mark names the encoding, but only when the rest reads
    // cleanly in it: GBK text may begin with the same bytes (锘 followed by
    // a character from the BF row, or bytes that are no GBK at all), and
    // such a file must not turn into garbage on its next reading.
    const std::pair<QByteArray, QStringDecoder::Encoding> marks[] = {
        {QByteArray("\xEF\xBB\xBF"), QStringDecoder::Utf8},
        {QByteArray("\xFF\xFE"), QStringDecoder::Utf16LE},
        {QByteArray("\xFE\xFF"), QStringDecoder::Utf16BE},
    };
    for (const auto &[bom, encoding] : marks) {
        if (!bytes.startsWith(bom))
            continue;
        const QByteArrayView rest = QByteArrayView(bytes).sliced(bom.size());
        if (encoding != QStringDecoder::Utf8 && rest.size() % 2 != 0)
            break;
        QStringDecoder decoder(encoding);
        QString text = decoder.decode(rest);
        if (!decoder.hasError())
            return text;
        break;
    }
    QStringDecoder gbk(kCodec, QStringDecoder::Flag::Stateless);
    if (!gbk.isValid()) // no ICU: keep going rather than lose the data
        return QString::fromLocal8Bit(bytes);
    return gbk.decode(bytes);
}

} // namespace

QStringList decodeLines(const QByteArray &bytes)
{
    const QString text = decodeText(bytes);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            continue;
        lines.append(text.mid(start, i - start));
        // CR LF is one line end; a CR alone, as old Mac files have it, is one too.
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

QByteArray encodeText(const QString &text)
{
    QString crlf = text;
    crlf.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    QStringEncoder gbk(kCodec, QStringEncoder::Flag::Stateless);
    const QByteArray bytes = gbk.isValid() ? QByteArray(gbk.encode(crlf)) : crlf.toLocal8Bit();
    // Text that came from stray bytes may encode to what reads as a byte
    // order mark; such a file is written as UTF-8 with its mark instead, so
    // that it reads back as it was.
    for (const char *bom : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"})
        if (bytes.startsWith(bom))
            return QByteArray("\xEF\xBB\xBF") + crlf.toUtf8();
    return bytes;
}

QByteArray encodeLines(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1Char('\n');
    return encodeText(text);
}

std::expected<QByteArray, QString> readFileBytes(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists())
        return std::unexpected(QStringLiteral("无法读取文件 %1：文件不存在").arg(shown));
    // A folder, a pipe or a device is no data file; reading a pipe would wait
    // forever and a device would never end.
    if (!info.isFile())
        return std::unexpected(QStringLiteral("%1 不是普通文件，无法读取").arg(shown));
    if (info.size() > kMaxFileBytes)
        return std::unexpected(QStringLiteral("文件 %1 超过64MB，无法读取").arg(shown));
    QFile file(path);
    // Read whole, straight into the result: a buffer in between would only copy.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::unexpected(QStringLiteral("无法读取文件 %1：%2").arg(shown, file.errorString()));
    // In pieces as large as what is left of the size seen above, at least a
    // page and at most a megabyte: most files are a few kilobytes, and one
    // that has grown since it was looked at is read on to its end.
    QByteArray bytes;
    for (;;) {
        const qsizetype have = bytes.size();
        const qint64 piece = std::clamp<qint64>(info.size() - have + 1, 4096, 1 << 20);
        bytes.resize(have + qsizetype(piece));
        const qint64 got = file.read(bytes.data() + have, piece);
        bytes.resize(have + qsizetype(std::max<qint64>(got, 0)));
        if (got <= 0)
            break;
        if (bytes.size() > kMaxFileBytes)
            return std::unexpected(QStringLiteral("文件 %1 超过64MB，无法读取").arg(shown));
    }
    return bytes;
}

std::expected<QStringList, QString> readTextLines(const QString &path)
{
    auto bytes = readFileBytes(path);
    if (!bytes)
        return std::unexpected(bytes.error());
    return decodeLines(*bytes);
}

QStringList readOrCreateTextLines(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.close();
        return {};
    }
    return readTextLines(path).value_or(QStringList{});
}

namespace {

// The reason a write failed, in the user's words where we know it: the
// library's own text for a full disk is often just "Unknown error".
QString writeFailure(int error, const QString &libraryText)
{
    switch (error) {
    case ENOSPC: return QStringLiteral("磁盘空间不足");
    case EDQUOT: return QStringLiteral("超出磁盘配额");
    case EACCES:
    case EPERM: return QStringLiteral("没有写入权限");
    case EROFS: return QStringLiteral("磁盘是只读的");
    case EIO: return QStringLiteral("磁盘读写错误");
    default: break;
    }
    if (error != 0)
        return QString::fromLocal8Bit(std::strerror(error));
    return libraryText;
}

} // namespace

std::expected<void, QString> saveFilesAtomically(const QList<std::pair<QString, QByteArray>> &files)
{
    auto failed = [](const QString &path, int error, const QString &libraryText) {
        return std::unexpected(QStringLiteral("无法保存文件 %1：%2")
                                   .arg(QDir::toNativeSeparators(path), writeFailure(error, libraryText)));
    };
    // Every new content goes to its temporary file first; a file that cannot
    // be written discards them all (an uncommitted QSaveFile removes its
    // temporary file), so a full disk leaves every old file in place.
    // Unbuffered, so that a full disk shows at the write, with its reason.
    std::vector<std::unique_ptr<QSaveFile>> staged;
    staged.reserve(files.size());
    for (const auto &[path, bytes] : files) {
        auto file = std::make_unique<QSaveFile>(path);
        errno = 0;
        if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            const int error = errno;
            return failed(path, error, file->errorString());
        }
        errno = 0;
        if (file->write(bytes) != bytes.size()) {
            const int error = errno;
            return failed(path, error, file->errorString());
        }
        staged.push_back(std::move(file));
    }
    for (const auto &file : staged) {
        errno = 0;
        if (!file->commit()) {
            const int error = errno;
            return failed(file->fileName(), error, file->errorString());
        }
    }
    return {};
}

std::expected<void, QString> saveFileAtomically(const QString &path, const QByteArray &bytes)
{
    return saveFilesAtomically({{path, bytes}});
}

std::expected<void, QString> writeTextLines(const QString &path, const QStringList &lines)
{
    return saveFileAtomically(path, encodeLines(lines));
}

} // namespace numsieve
