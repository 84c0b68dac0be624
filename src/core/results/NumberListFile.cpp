#include "core/results/NumberListFile.h"

#include "core/Messages.h"
#include "core/text/TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <unordered_set>

namespace numsieve {

std::expected<QStringList, QString> parseNumberLines(const QStringList &lines)
{
    QStringList numbers;
    for (const QString &raw : lines) {
        QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        line.remove(QLatin1Char(' '));
        line.remove(QChar(0x3000));
        line.remove(QLatin1Char(','));
        line.remove(QLatin1Char('-'));
        line.remove(QLatin1Char('+'));
        if (line.size() != 3)
            return std::unexpected(msg::kBadFormat);
        if (!std::ranges::all_of(line, [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }))
            return std::unexpected(msg::kNotNumeric);
        numbers.append(line);
    }
    return numbers;
}

std::expected<QStringList, QString> readNumberListFile(const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return std::unexpected(msg::kFileMissing);
    auto lines = readTextLines(path);
    if (!lines)
        return std::unexpected(lines.error());
    return parseNumberLines(*lines);
}

QStringList withoutRepeats(const QStringList &texts)
{
    QStringList out;
    std::unordered_set<QString> seen;
    for (const QString &t : texts)
        if (seen.insert(t).second)
            out.append(t);
    return out;
}

QString savePathWithExtension(const QString &chosenPath, const QString &extension)
{
    if (chosenPath.endsWith(extension, Qt::CaseInsensitive))
        return chosenPath;
    return chosenPath + extension;
}

std::expected<void, QString> writeNumberListFile(const QString &path, const QStringList &numbers)
{
    return writeTextLines(path, numbers);
}

QString printFilePath(const QString &programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("号码打印.txt"));
}

} // namespace numsieve
