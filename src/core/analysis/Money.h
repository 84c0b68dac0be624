#pragma once

#include "core/history/PrizeFile.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace numsieve {

struct BacktestResult;

// A list of numbers bought as bets: 直选 numbers in their order, or 组选
// entries (sorted digits) that pay for the drawn number in any order.
enum class BetKind { Straight, Group };

// What one list won on one draw: 直选 pays when it holds the drawn number,
// 组选 when it holds the drawn number's sorted digits, as 组选三 or 组选六 by
// the drawn number's kind; a triple pays no 组选.
int prizeWon(BetKind kind, const QList<int> &numbers, int drawn, const Prizes &prizes);

// One list bought for one draw. Random lists of the same sizes win each
// prize with a chance fixed by those sizes alone: a 直选 number is 1 of the
// 1000 draws, a 组选三 entry stands for 3 of them and a 组选六 entry for 6.
struct MoneyStep {
    BetKind kind = BetKind::Straight;
    int bets = 0;
    int groupThree = 0;   // of a group list's bets, the 组三 entries
    int won = 0;
};

struct MoneySummary {
    qint64 spent = 0;
    qint64 won = 0;
    // What random lists of the same sizes win on average, exactly: every
    // list's expectation, as the prize table gives it.
    double expectedWon = 0;
    // The exact chance that random lists of the same sizes win at least `won`.
    double pAtLeast = 1;

    double returnRate() const { return spent > 0 ? double(won) / double(spent) : 0; }
    double expectedReturnRate() const { return spent > 0 ? expectedWon / double(spent) : 0; }
};

MoneySummary summarizeMoney(const QList<MoneyStep> &steps, const Prizes &prizes);
// What a random list of this step's sizes wins on average: the step's share
// of MoneySummary::expectedWon, for charts that add it up draw by draw.
double expectedWon(const MoneyStep &step, const Prizes &prizes);

// A back-test's lists as bought at its prizes, step by step (none without
// prizes), and their sums.
QList<MoneyStep> backtestMoneySteps(const BacktestResult &result);
MoneySummary backtestMoney(const BacktestResult &result);

// 对奖: what one list holds of a draw and what it pays.
struct ListCheck {
    BetKind kind = BetKind::Straight;
    int bets = 0;
    bool holdsNumber = false;   // the drawn number itself
    bool holdsGroup = false;    // its sorted digits (not for a triple)
    int prize = 0;              // with prizes set, what the list pays as bought
};
// A list is taken for a group list when every number is written in sorted
// digits and none is a triple, as the program saves its group lists.
BetKind guessBetKind(const QList<int> &numbers);
ListCheck checkList(BetKind kind, const QList<int> &numbers, int drawn, const std::optional<Prizes> &prizes);
// "直选中奖，奖金1040元" / "组选六中奖，奖金173元" / "未中奖"
QString checkText(const ListCheck &check, int drawn, bool prizesSet);

} // namespace numsieve
