#pragma once

#include "core/text/SaveFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <expected>
#include <optional>

namespace numsieve {

// Every data file the program reads or writes is GBK text with CR LF line ends.
// Reading accepts CR LF, LF or a lone CR as a line end and removes it; a file
// that starts with a byte order mark is read as UTF-8 or UTF-16, as the mark
// says. Without a mark the text is GBK, unless its bytes are valid UTF-8 with
// characters beyond ASCII and not valid GBK: then it is UTF-8, as editors on
// Linux save it. Bytes that are valid in neither decode to U+FFFD.
QStringList decodeLines(const QByteArray &bytes);
QStringList splitLines(const QString &text);
// Text another program wrote (a spreadsheet's CSV, a saved web page): there
// UTF-8 without a mark is the rule, so valid UTF-8 is read as UTF-8 even
// where the bytes would also make GBK.
QStringList decodeForeignLines(const QByteArray &bytes);
QString decodeForeignText(const QByteArray &bytes);

enum class TextEncoding { Ascii, Gbk, Utf8 };
// The encoding of text without a byte order mark, by the rule above; the error
// says why the bytes are no text the program can read (a NUL byte, as UTF-16
// without its mark has them, or bytes valid in neither encoding).
std::expected<TextEncoding, QString> detectEncoding(QByteArrayView bytes);
// Decodes by the rule above, but fails where decodeLines would guess: a file
// whose every line matters (a draw file, lottery.data, an import) is refused
// rather than read as something it does not say.
std::expected<QStringList, QString> decodeLinesStrictly(const QByteArray &bytes);
// One field of a line whose encoding is known.
QString decodeField(QByteArrayView bytes, TextEncoding encoding);

// The message for text that cannot be saved as it stands: a character GBK
// does not have, or a control character (which would split a line or hide in
// it); none when every character can be saved.
std::optional<QString> unsavableText(const QString &text);
// The same for GBK alone.
std::optional<QString> nonGbkText(const QString &text);

// Encodes each line as GBK followed by CR LF (also the last one).
QByteArray encodeLines(const QStringList &lines);

// Encodes a text as GBK, turning every LF into CR LF. Text whose GBK bytes
// would begin like a byte order mark is written as UTF-8 with its mark.
QByteArray encodeText(const QString &text);
// The same for lines that must reach the disk exactly: refused, naming the
// character, when GBK cannot hold one of them.
std::expected<QByteArray, QString> encodeLinesExactly(const QStringList &lines);

// No file the program reads is anywhere near this; a larger one is refused
// before it fills the memory.
inline constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

// Reads a whole file, which must be a regular file of at most kMaxFileBytes;
// anything else (a folder, a pipe, a device, a huge file) fails with a message
// naming the file, without blocking.
std::expected<QByteArray, QString> readFileBytes(const QString &path);

// Reads a whole text file as lines, under the same rules.
std::expected<QStringList, QString> readTextLines(const QString &path);

// The lines as encodeLines has them, saved by saveFileAtomically into the
// file's own folder.
std::expected<void, QString> writeTextLines(const QString &path, const QStringList &lines);

} // namespace numsieve
