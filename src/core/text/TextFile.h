#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <expected>

namespace numsieve {

// Every data file the program reads or writes is GBK text with CR LF line ends.
// Reading accepts LF or CR LF and removes exactly the line end; a file that starts
// with a UTF-8 byte order mark is read as UTF-8. Bytes that are not valid GBK
// decode to U+FFFD instead of failing.
QStringList decodeLines(const QByteArray &bytes);

// Encodes each line as GBK followed by CR LF (also the last one).
QByteArray encodeLines(const QStringList &lines);

// Encodes a text as GBK, turning every LF into CR LF.
QByteArray encodeText(const QString &text);

// Reads a whole text file as lines. Fails with a message when it cannot be opened.
std::expected<QStringList, QString> readTextLines(const QString &path);

// Reads a text file, creating it empty when it does not exist yet. A file that
// exists but cannot be read yields no lines.
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
