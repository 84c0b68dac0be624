#include "core/online/OnlineHosts.h"

#include "core/history/RecordLine.h"
#include "core/text/TextFile.h"

#include <QDir>

namespace numsieve {

QString onlineHostsFilePath(const QString &dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("online.data"));
}

OnlineHosts parseOnlineHostLines(const QStringList &lines)
{
    OnlineHosts hosts;
    for (const QString &line : lines) {
        const std::optional<Record> record = parseRecordLine(line);
        if (!record)
            continue;
        const QString key = record->first.trimmed();
        QString *slot = key == QLatin1String("analysis") ? &hosts.analysis
                      : key == QLatin1String("product")  ? &hosts.product
                      : key == QLatin1String("forum")    ? &hosts.forum
                                                         : nullptr;
        if (slot && slot->isEmpty())
            *slot = record->second.trimmed();
    }
    return hosts;
}

OnlineHosts loadOnlineHosts(const QString &dataDir)
{
    const auto lines = readTextLines(onlineHostsFilePath(dataDir));
    return lines ? parseOnlineHostLines(*lines) : OnlineHosts{};
}

} // namespace numsieve
