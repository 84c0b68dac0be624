#include "core/history/RecordLine.h"

namespace numsieve {

std::optional<Record> parseRecordLine(const QString &line)
{
    const qsizetype split = line.indexOf(QLatin1Char('$'));
    if (split < 0)
        return std::nullopt;
    Record record;
    record.first = line.left(split);
    const qsizetype end = line.indexOf(QLatin1Char('$'), split + 1);
    record.second = end < 0 ? line.mid(split + 1) : line.mid(split + 1, end - split - 1);
    if (record.first.isEmpty() || record.second.isEmpty())
        return std::nullopt;
    return record;
}

QString recordLine(const QString &first, const QString &second)
{
    return first + QLatin1Char('$') + second;
}

} // namespace numsieve
