#pragma once

#include <QByteArray>
#include <QString>

#include <expected>
#include <functional>

namespace numsieve {

// The few places where the program needs more than Qt offers about a file
// on disk: what a name really is before it is read or replaced. Everything
// else reads and writes through Qt.

// What a directory entry is, without following a final symbolic link.
enum class EntryKind { Missing, RegularFile, SymbolicLink, Other };
EntryKind entryKind(const QString &path);

// Reads a whole regular file of at most maxBytes. The name is opened without
// blocking and the opened descriptor is checked, not the name: a pipe, a
// device or a folder put in a file's place (also between a check and the
// open) fails at once instead of waiting forever or reading without end.
// The error names the file and the reason in the user's words.
std::expected<QByteArray, QString> readRegularFile(const QString &path, qint64 maxBytes);

// Reads a regular file in pieces of at most pieceBytes and hands each piece
// to the visitor, which returns false to stop; for comparing a large file
// without holding it whole.
std::expected<void, QString> visitRegularFile(const QString &path, qint64 pieceBytes,
                                              const std::function<bool(QByteArrayView)> &visit);

// Whether a save may replace the file at path: a missing name or a regular
// file may be replaced; a symbolic link only when it leads to a regular file
// inside folder (the save then writes that file). Anything else (a pipe, a
// device, a folder, a link out of the folder or to nothing) is refused with a
// message naming it, so that a save never replaces what is not a data file.
std::expected<void, QString> checkSaveTarget(const QString &path, const QString &folder);

// Why nothing can be written into folder, in the user's words: a read-only
// disk or folder, or a full disk; empty when it can be written.
QString folderWriteProblem(const QString &folder);
// The reason folderWriteProblem gives for a folder that is read-only.
QString folderReadOnlyReason();

} // namespace numsieve
