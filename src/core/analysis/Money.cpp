#include "core/analysis/Money.h"

#include "core/analysis/Backtest.h"

#include "core/model/Number.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace numsieve {

namespace {

// The chance of each prize for a random list of this step's sizes.
struct StepChances {
    double straight = 0;
    double groupThree = 0;
    double groupSix = 0;
};

StepChances chancesOf(const MoneyStep &step)
{
    if (step.kind == BetKind::Straight)
        return {double(step.bets) / 1000, 0, 0};
    return {0, 3.0 * step.groupThree / 1000, 6.0 * (step.bets - step.groupThree) / 1000};
}

} // namespace

ListCheck checkList(BetKind kind, const QList<int> &numbers, int drawn, const std::optional<Prizes> &prizes)
{
    ListCheck check;
    check.kind = kind;
    check.bets = int(numbers.size());
    check.holdsNumber = numbers.contains(drawn);
    const GroupKind drawnKind = groupKind(drawn);
    check.holdsGroup = drawnKind != GroupKind::Triple && numbers.contains(sortedForm(drawn));
    if (prizes) {
        if (kind == BetKind::Straight)
            check.prize = check.holdsNumber ? prizes->straight : 0;
        else if (check.holdsGroup)
            check.prize = drawnKind == GroupKind::GroupThree ? prizes->groupThree : prizes->groupSix;
    }
    return check;
}

int prizeWon(BetKind kind, const QList<int> &numbers, int drawn, const Prizes &prizes)
{
    return checkList(kind, numbers, drawn, prizes).prize;
}

BetKind guessBetKind(const QList<int> &numbers)
{
    const bool group = !numbers.isEmpty() && std::ranges::all_of(numbers, [](int n) {
        return sortedForm(n) == n && groupKind(n) != GroupKind::Triple;
    });
    return group ? BetKind::Group : BetKind::Straight;
}

QString checkText(const ListCheck &check, int drawn, bool prizesSet)
{
    QString what;
    if (check.kind == BetKind::Straight && check.holdsNumber)
        what = QStringLiteral("直选中奖");
    else if (check.kind == BetKind::Group && check.holdsGroup)
        what = groupKind(drawn) == GroupKind::GroupThree ? QStringLiteral("组选三中奖") : QStringLiteral("组选六中奖");
    else
        return QStringLiteral("未中奖");
    return prizesSet ? what + QStringLiteral("，奖金%1元").arg(check.prize) : what;
}

double expectedWon(const MoneyStep &step, const Prizes &prizes)
{
    const StepChances p = chancesOf(step);
    return p.straight * prizes.straight + p.groupThree * prizes.groupThree + p.groupSix * prizes.groupSix;
}

MoneySummary summarizeMoney(const QList<MoneyStep> &steps, const Prizes &prizes)
{
    MoneySummary summary;
    // The prizes a random list can win at all, and their greatest common
    // divisor: winnings are counted in its units, so that the distribution
    // below has as many cells as the winnings have units, not yuan.
    int unit = 0;
    for (const MoneyStep &step : steps) {
        summary.spent += qint64(step.bets) * prizes.price;
        summary.won += step.won;
        summary.expectedWon += expectedWon(step, prizes);
        const StepChances p = chancesOf(step);
        for (const auto &[chance, prize] : {std::pair{p.straight, prizes.straight}, std::pair{p.groupThree, prizes.groupThree},
                                            std::pair{p.groupSix, prizes.groupSix}})
            if (chance > 0)
                unit = std::gcd(unit, prize);
    }
    if (summary.won <= 0 || unit <= 0)
        return summary;
    // dist[v]: the chance that the steps so far won v units, for v below
    // what was won; `reached` gathers the chance of having won that much or
    // more (winnings come in whole units, so "that much" rounds up).
    const qint64 target = (summary.won + unit - 1) / unit;
    std::vector<double> dist(size_t(target), 0.0);
    std::vector<double> next(size_t(target), 0.0);
    dist[0] = 1;
    double reached = 0;
    for (const MoneyStep &step : steps) {
        const StepChances p = chancesOf(step);
        const std::pair<qint64, double> moves[] = {{prizes.straight / unit, p.straight},
                                                   {prizes.groupThree / unit, p.groupThree},
                                                   {prizes.groupSix / unit, p.groupSix}};
        const double none = 1 - p.straight - p.groupThree - p.groupSix;
        if (none >= 1)
            continue;
        for (qint64 v = 0; v < target; ++v)
            next[size_t(v)] = dist[size_t(v)] * none;
        for (const auto &[units, chance] : moves) {
            if (chance <= 0)
                continue;
            for (qint64 v = 0; v < target; ++v) {
                const double moved = dist[size_t(v)] * chance;
                if (v + units >= target)
                    reached += moved;
                else
                    next[size_t(v + units)] += moved;
            }
        }
        dist.swap(next);
    }
    summary.pAtLeast = std::clamp(reached, 0.0, 1.0);
    return summary;
}

QList<MoneyStep> backtestMoneySteps(const BacktestResult &result)
{
    QList<MoneyStep> steps;
    if (!result.prizes)
        return steps;
    const BetKind kind = result.viewMode == ViewMode::Straight ? BetKind::Straight : BetKind::Group;
    steps.reserve(result.steps.size());
    for (const BacktestStep &s : result.steps) {
        int won = 0;
        if (s.hit) {
            const int drawn = s.number.toInt();
            won = kind == BetKind::Straight ? result.prizes->straight
                  : groupKind(drawn) == GroupKind::GroupThree ? result.prizes->groupThree
                                                              : result.prizes->groupSix;
        }
        steps.append(MoneyStep{kind, s.survivors, s.groupThree, won});
    }
    return steps;
}

MoneySummary backtestMoney(const BacktestResult &result)
{
    return result.prizes ? summarizeMoney(backtestMoneySteps(result), *result.prizes) : MoneySummary{};
}

} // namespace numsieve
