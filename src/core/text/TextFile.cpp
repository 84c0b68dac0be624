#include "core/text/TextFile.h"

#include "core/text/FileAccess.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace numsieve {

namespace {

const char kCodec[] = "GBK";

// GBK by its byte structure: a byte below 0x80 stands alone, 0x80 is the euro
// sign, 0x81-0xFE lead a pair whose second byte is 0x40-0x7E or 0x80-0xFE.
bool isGbkStructure(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char c = p[i];
        if (c <= 0x80)
            continue;
        if (c == 0xFF || i + 1 >= n)
            return false;
        const unsigned char t = p[++i];
        if (t < 0x40 || t == 0x7F || t == 0xFF)
            return false;
    }
    return true;
}

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

QString decodeGbk(QByteArrayView bytes)
{
    QStringDecoder gbk(kCodec, QStringDecoder::Flag::Stateless);
    if (!gbk.isValid()) // no ICU: keep going rather than lose the data
        return QString::fromLocal8Bit(bytes);
    return gbk.decode(bytes);
}

// A byte order mark names the encoding, but only when the rest reads cleanly
// in it: GBK text may begin with the same bytes (锘 followed by a character
// from the BF row, or bytes that are no GBK at all), and such a file must not
// turn into garbage on its next reading.
std::optional<QString> decodeMarked(const QByteArray &bytes)
{
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
            return std::nullopt;
        QStringDecoder decoder(encoding);
        QString text = decoder.decode(rest);
        if (!decoder.hasError())
            return text;
        return std::nullopt;
    }
    return std::nullopt;
}

QString decodeText(const QByteArray &bytes)
{
    if (auto marked = decodeMarked(bytes))
        return *marked;
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    if (!isGbkStructure(bytes) && QUtf8StringView(bytes).isValidUtf8())
        return QString::fromUtf8(bytes);
    return decodeGbk(bytes);
}

// A control character, or one that shows as nothing or as a box, is named by
// its code; anything else is shown as it is.
QString characterName(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    const bool invisible = category == QChar::Other_Format || category == QChar::Other_PrivateUse
                           || category == QChar::Other_NotAssigned || category == QChar::Other_Surrogate;
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || invisible)
        return QStringLiteral("U+%1").arg(QString::number(uint(c), 16).toUpper().rightJustified(4, QLatin1Char('0')));
    return QStringView(QChar::fromUcs4(c)).toString();
}

const QString kUnsavable = QStringLiteral("包含无法保存的字符：");

} // namespace

std::expected<TextEncoding, QString> detectEncoding(QByteArrayView bytes)
{
    if (bytes.contains('\0'))
        return std::unexpected(QStringLiteral("含有空字符，不是GBK或UTF-8编码的文本"));
    if (isAscii(bytes))
        return TextEncoding::Ascii;
    if (isGbkStructure(bytes))
        return TextEncoding::Gbk;
    if (QUtf8StringView(bytes).isValidUtf8())
        return TextEncoding::Utf8;
    return std::unexpected(QStringLiteral("既不是GBK也不是UTF-8编码的文本"));
}

QString decodeField(QByteArrayView bytes, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Ascii: return QString::fromLatin1(bytes);
    case TextEncoding::Utf8: return QString::fromUtf8(bytes);
    case TextEncoding::Gbk: break;
    }
    return isAscii(bytes) ? QString::fromLatin1(bytes) : decodeGbk(bytes);
}

QStringList splitLines(const QString &text)
{
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

QStringList decodeLines(const QByteArray &bytes)
{
    return splitLines(decodeText(bytes));
}

QString decodeForeignText(const QByteArray &bytes)
{
    if (auto marked = decodeMarked(bytes))
        return *marked;
    if (!isAscii(bytes) && QUtf8StringView(bytes).isValidUtf8())
        return QString::fromUtf8(bytes);
    return decodeText(bytes);
}

QStringList decodeForeignLines(const QByteArray &bytes)
{
    return splitLines(decodeForeignText(bytes));
}

std::expected<QStringList, QString> decodeLinesStrictly(const QByteArray &bytes)
{
    if (auto marked = decodeMarked(bytes))
        return splitLines(*marked);
    const auto encoding = detectEncoding(bytes);
    if (!encoding)
        return std::unexpected(encoding.error());
    return splitLines(decodeField(bytes, *encoding));
}

std::optional<QString> nonGbkText(const QString &text)
{
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return std::nullopt;
    // A character must come back from the file as it went in: GBK's encoder
    // also takes characters it turns into bytes the reader refuses (U+F8F5
    // becomes 0xFF) or into nothing at all (U+FEFF), and text holding one
    // would lock its file or lose a line on the next reading.
    const auto readsBack = [](const QString &piece) {
        QStringEncoder gbk(kCodec, QStringEncoder::Flag::Stateless);
        if (!gbk.isValid())
            return true;
        const QByteArray bytes = gbk.encode(piece);
        return !gbk.hasError() && isGbkStructure(bytes) && decodeGbk(bytes) == piece;
    };
    if (readsBack(text))
        return std::nullopt;
    // Character by character, so that the message can name the one at fault.
    for (const char32_t c : text.toUcs4()) {
        if (c >= 0x80 && !readsBack(QStringView(QChar::fromUcs4(c)).toString()))
            return kUnsavable + characterName(c);
    }
    return kUnsavable.chopped(1);
}

std::optional<QString> unsavableText(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return kUnsavable + characterName(c.unicode());
    }
    return nonGbkText(text);
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

std::expected<QByteArray, QString> encodeLinesExactly(const QStringList &lines)
{
    for (const QString &line : lines) {
        if (auto problem = nonGbkText(line))
            return std::unexpected(*problem);
    }
    return encodeLines(lines);
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
    return readRegularFile(path, kMaxFileBytes);
}

std::expected<QStringList, QString> readTextLines(const QString &path)
{
    auto bytes = readFileBytes(path);
    if (!bytes)
        return std::unexpected(bytes.error());
    return decodeLines(*bytes);
}

std::expected<void, QString> writeTextLines(const QString &path, const QStringList &lines)
{
    return saveFileAtomically(path, encodeLines(lines));
}

} // namespace numsieve
