#include "text/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <memory>
#include <vector>

namespace numsieve {

namespace {

const char kCodec[] = "GBK";

QString decodeText(const QByteArray &bytes)
{
    static const QByteArray bom("\xEF\xBB\xBF");
    if (bytes.startsWith(bom)) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        return utf8.decode(QByteArrayView(bytes).sliced(bom.size()));
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
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        const bool last = end < 0;
        if (last)
            end = text.size();
        qsizetype stop = end;
        if (!last && stop > start && text.at(stop - 1) == QLatin1Char('\r'))
            --stop;
        lines.append(text.mid(start, stop - start));
        start = end + 1;
    }
    return lines;
}

QByteArray encodeText(const QString &text)
{
    QString crlf = text;
    crlf.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    QStringEncoder gbk(kCodec, QStringEncoder::Flag::Stateless);
    return gbk.isValid() ? QByteArray(gbk.encode(crlf)) : crlf.toLocal8Bit();
}

QByteArray encodeLines(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1Char('\n');
    return encodeText(text);
}

std::expected<QStringList, QString> readTextLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::unexpected(QStringLiteral("无法读取文件 %1：%2").arg(QDir::toNativeSeparators(path), file.errorString()));
    return decodeLines(file.readAll());
}

QStringList readOrCreateTextLines(const QString &path)
{
    QFile file(path);
    if (!file.exists()) {
        if (file.open(QIODevice::WriteOnly))
            file.close();
        return {};
    }
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decodeLines(file.readAll());
}

std::expected<void, QString> saveFilesAtomically(const QList<std::pair<QString, QByteArray>> &files)
{
    auto failed = [](const QString &path, const QString &error) {
        return std::unexpected(QStringLiteral("无法保存文件 %1：%2").arg(QDir::toNativeSeparators(path), error));
    };
    // Every new content goes to its temporary file first; a file that cannot
    // be written discards them all (an uncommitted QSaveFile removes its
    // temporary file), so a full disk leaves every old file in place.
    std::vector<std::unique_ptr<QSaveFile>> staged;
    staged.reserve(files.size());
    for (const auto &[path, bytes] : files) {
        auto file = std::make_unique<QSaveFile>(path);
        if (!file->open(QIODevice::WriteOnly))
            return failed(path, file->errorString());
        if (file->write(bytes) != bytes.size())
            return failed(path, file->errorString());
        staged.push_back(std::move(file));
    }
    for (const auto &file : staged)
        if (!file->commit())
            return failed(file->fileName(), file->errorString());
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
