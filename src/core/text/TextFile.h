#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <expected>

namespace numsieve {

// Every data file the program reads or writes is GBK text with CR LF line ends.
// Reading accepts CR LF, LF or a lone CR as a line end and removes it; a file
// that starts with a byte order mark is read as UTF-8 or UTF-16, as the mark
// says. Bytes that are not valid GBK decode to U+FFFD instead of failing.
QStringList decodeLines(const QByteArray &bytes);

// Encodes each line as GBK followed by CR LF (also the last one).
QByteArray encodeLines(const QStringList &lines);

// Encodes a text as GBK, turning every LF into CR LF. Text whose GBK bytes
// would begin like a byte order mark is written as UTF-8 with its mark.
QByteArray encodeText(const QString &text);

// No file the program reads is anywhere near this; a larger one is refused
// before it fills the memory.
inline constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

// Reads a whole file, which must be a regular file of at most kMaxFileBytes;
// anything else (a folder, a pipe, a device, a huge file) fails with a message
// naming the file, without blocking.
std::expected<QByteArray, QString> readFileBytes(const QString &path);

// Reads a whole text file as lines, under the same rules.
std::expected<QStringList, QString> readTextLines(const QString &path);

// Reads a text file, creating it empty when it does not exist yet. A file that
// exists but cannot be read under those rules yields no lines.
QStringList readOrCreateTextLines(const QString &path);

// Replaces the file with the given bytes through a temporary file and a rename, so
// the previous content stays intact when anything goes wrong. The error is a
// user-facing text.
std::expected<void, QString> saveFileAtomically(const QString &path, const QByteArray &bytes);

// Replaces several files as one save: every new content is written to its
// temporary file before the first file is replaced, in the order given. When
// any content cannot be written, no file is touched.
std::expected<void, QString> saveFilesAtomically(const QList<std::pair<QString, QByteArray>> &files);

std::expected<void, QString> writeTextLines(const QString &path, const QStringList &lines);

} // namespace numsieve
