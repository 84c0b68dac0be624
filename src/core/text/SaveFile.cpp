#include "core/text/SaveFile.h"

#include "core/text/FileAccess.h"

#include <QFileInfo>

#include <vector>

namespace numsieve {

std::expected<void, QString> saveFilesAtomically(const QList<std::pair<QString, QByteArray>> &files,
                                                 const QString &folder)
{
    // Every target is checked before anything is written, every content
    // staged before anything is replaced: a refusal or a full disk leaves
    // every old file in place.
    QStringList targets;
    for (const auto &file : files) {
        auto target = checkSaveTarget(file.first, folder);
        if (!target)
            return std::unexpected(target.error());
        targets.append(std::move(*target));
    }
    std::vector<StagedFile> staged;
    staged.reserve(size_t(files.size()));
    for (qsizetype i = 0; i < files.size(); ++i) {
        auto written = StagedFile::write(targets.at(i), files.at(i).second);
        if (!written)
            return std::unexpected(written.error());
        staged.push_back(std::move(*written));
    }
    for (StagedFile &file : staged) {
        if (auto replaced = file.replaceTarget(); !replaced)
            return replaced;
    }
    return {};
}

std::expected<void, QString> saveFileAtomically(const QString &path, const QByteArray &bytes, const QString &folder)
{
    return saveFilesAtomically({{path, bytes}}, folder.isEmpty() ? QFileInfo(path).absolutePath() : folder);
}

std::expected<QString, QString> saveNewFile(const std::function<QString(int)> &name, const QByteArray &bytes,
                                            const QString &folder)
{
    const QString first = name(0);
    if (first.isEmpty())
        return QString();
    // Every name lies beside the first.
    if (auto inside = checkSaveFolder(QFileInfo(first).absolutePath(), folder); !inside)
        return std::unexpected(inside.error());
    auto staged = StagedFile::write(first, bytes);
    if (!staged)
        return std::unexpected(staged.error());
    for (int n = 0;; ++n) {
        const QString path = n == 0 ? first : name(n);
        if (path.isEmpty())
            return QString();
        const auto created = staged->createAs(path);
        if (!created)
            return std::unexpected(created.error());
        if (*created)
            return path;
    }
}

std::expected<QString, QString> saveNewFile(const QString &path, const QByteArray &bytes, const QString &folder)
{
    return saveNewFile([&path](int n) { return n == 0 ? path : QString(); }, bytes, folder);
}

} // namespace numsieve
