#include "core/history/Lottery.h"

namespace numsieve {

QStringList Lottery::issues() const
{
    QStringList out;
    out.reserve(draws.size());
    for (const Draw &draw : draws)
        out.append(draw.issue);
    return out;
}

QStringList Lottery::numbers() const
{
    QStringList out;
    out.reserve(draws.size());
    for (const Draw &draw : draws)
        out.append(draw.number);
    return out;
}

bool isBuiltInLotteryId(const QString &id)
{
    return id == u"1" || id == u"2" || id == u"3" || id == u"4";
}

} // namespace numsieve
