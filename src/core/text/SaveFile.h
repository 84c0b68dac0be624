#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <expected>
#include <functional>
#include <utility>

namespace numsieve {

// Every file the program writes goes through here: the data folder's files
// and backups, exported draws, the published feed, pictures, CSV, number
// lists, schemes and the print file.
//
// A file is written only where a save may write: over a missing name or a
// regular file, or through a symbolic link to a regular file inside folder.
// A device, a pipe, a folder, a link that leads nowhere, to something else
// or out of folder, or a name whose folder lies outside folder, is refused
// with a message naming it, and nothing is written.
//
// The new content goes to a temporary file in the same folder, is flushed to
// the disk and renamed over the old file, which keeps its permissions; a
// failed write or a full disk leaves the old file as it was and no temporary
// file behind. Several files are one save: every content is written before
// the first file is replaced, in the order given.
std::expected<void, QString> saveFilesAtomically(const QList<std::pair<QString, QByteArray>> &files,
                                                 const QString &folder);
// One file; without a folder, into the file's own folder.
std::expected<void, QString> saveFileAtomically(const QString &path, const QByteArray &bytes,
                                                const QString &folder = {});

// A new file that never replaces another: written under the first of
// name(0), name(1), … that is not taken, until name gives an empty path.
// Returns the path written, or an empty one when every name was taken.
std::expected<QString, QString> saveNewFile(const std::function<QString(int)> &name, const QByteArray &bytes,
                                            const QString &folder);
// The same under exactly one name: nothing is written when it is taken.
std::expected<QString, QString> saveNewFile(const QString &path, const QByteArray &bytes, const QString &folder);

} // namespace numsieve
