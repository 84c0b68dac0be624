#include "gui/analysis/AnalysedLottery.h"

#include "gui/app/AppServices.h"

namespace numsieve::gui {

QString noPrizesText(const AnalysedLottery &lottery)
{
    if (!lottery.prizeProblem.isEmpty())
        return lottery.prizeProblem + QStringLiteral("\n奖金文件无法读取，只统计命中。");
    return QStringLiteral("没有设置这个彩种的奖金，只统计命中。在彩票管理中按“奖金...”设置后，也算投入和中奖。");
}

QString rangeText(const AnalysedLottery &lottery, int count)
{
    const QString name = lottery.name.isEmpty() ? QStringLiteral("—") : lottery.name;
    const QList<Draw> &draws = lottery.draws;
    count = std::min<int>(count, int(draws.size()));
    if (count <= 0)
        return QStringLiteral("彩种：%1　没有开奖号码").arg(name);
    return QStringLiteral("彩种：%1　回测开奖期号 %2 至 %3，共 %4 期")
        .arg(name, draws.at(draws.size() - count).issue, draws.last().issue, QString::number(count));
}

QString suggestedName(const AnalysedLottery &lottery, const QString &what)
{
    return suggestedFileName({lottery.name, what, lottery.draws.isEmpty() ? QString() : lottery.draws.last().issue});
}

} // namespace numsieve::gui
