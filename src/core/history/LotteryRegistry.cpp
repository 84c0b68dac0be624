#include "core/history/LotteryRegistry.h"

namespace numsieve {

bool LotteryRegistry::append(const Lottery &lottery)
{
    if (isFull())
        return false;
    m_lotteries.append(lottery);
    return true;
}

void LotteryRegistry::removeAt(qsizetype index)
{
    m_lotteries.removeAt(index);
}

void LotteryRegistry::move(qsizetype from, qsizetype to)
{
    m_lotteries.move(from, to);
}

QStringList LotteryRegistry::readProblems() const
{
    QStringList problems;
    if (!m_readProblem.isEmpty())
        problems.append(m_readProblem);
    for (const Lottery &lottery : m_lotteries) {
        if (!lottery.readProblem.isEmpty())
            problems.append(lottery.readProblem);
    }
    return problems;
}

qsizetype indexAfterReload(const LotteryRegistry &registry, const QString &rememberedId)
{
    if (rememberedId.isEmpty())
        return 0;
    qsizetype found = 0;
    for (qsizetype i = 0; i < registry.count(); ++i) {
        if (registry.at(i).id == rememberedId)
            found = i;
    }
    return found;
}

QStringList selectionNumbers(const LotteryRegistry &registry, qsizetype index)
{
    if (index < 0 || index >= registry.count())
        return {};
    return registry.at(index).numbers();
}

} // namespace numsieve
