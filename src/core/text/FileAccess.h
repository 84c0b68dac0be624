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

// The file a save writes for path, or why it writes nothing there. A missing
// name or a regular file is written as it is; a symbolic link only when it
// leads to a regular file inside folder, which is then written instead (the
// link stays). Anything else (a pipe, a device, a folder, a link to nothing,
// to something else or out of the folder, a name in a folder outside folder)
// is refused with a message naming it, so that a save never replaces what is
// not a file of the folder it writes into.
std::expected<QString, QString> checkSaveTarget(const QString &path, const QString &folder);
// The same for new files in dir: refused when dir lies outside folder.
std::expected<void, QString> checkSaveFolder(const QString &dir, const QString &folder);

// Whether a file name is one the program gives the temporary files of its
// saves: hidden, with its own prefix and suffix. No one else writes such a
// name, so clearing away what a killed save left never removes a user's file.
bool isSaveTemporaryName(const QString &fileName);

// New content written in full to a temporary file beside the file it is to
// become and flushed to the disk, before anything is replaced. Unless it is
// put in place, the temporary file is removed again: a failed write or a full
// disk leaves the old file as it was.
class StagedFile
{
public:
    // target is a file checkSaveTarget gave; the new file gets the
    // permissions of the one it replaces.
    static std::expected<StagedFile, QString> write(const QString &target, QByteArrayView bytes);
    StagedFile(StagedFile &&other) noexcept;
    StagedFile &operator=(StagedFile &&) = delete;
    ~StagedFile();

    const QString &target() const { return m_target; }
    // Renames the temporary file over the target.
    std::expected<void, QString> replaceTarget();
    // Renames the temporary file to name (in the target's folder) unless that
    // name is taken: false then, and the file stays staged.
    std::expected<bool, QString> createAs(const QString &name);

private:
    StagedFile(QString target, QString temporary) : m_target(std::move(target)), m_temporary(std::move(temporary)) {}
    QString m_target;
    QString m_temporary;   // empty once renamed
};

// Why nothing can be written into folder, in the user's words: a read-only
// disk or folder, or a full disk; empty when it can be written.
QString folderWriteProblem(const QString &folder);
// The reason folderWriteProblem gives for a folder that is read-only.
QString folderReadOnlyReason();

} // namespace numsieve
