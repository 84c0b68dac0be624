#pragma once

#include "core/history/Lottery.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace numsieve {

// The lotteries in the order of lottery.data, at most 260 of them. It is a
// plain value: the loaded registry, the selector's copy and the manager's
// working copy are independent copies, so an edit in one reaches another only
// by saving the files and loading them again.
class LotteryRegistry
{
public:
    static constexpr qsizetype kCapacity = 260;

    qsizetype count() const { return m_lotteries.size(); }
    bool isEmpty() const { return m_lotteries.isEmpty(); }
    bool isFull() const { return m_lotteries.size() >= kCapacity; }

    const Lottery &at(qsizetype index) const { return m_lotteries.at(index); }
    Lottery &operator[](qsizetype index) { return m_lotteries[index]; }
    const QList<Lottery> &lotteries() const { return m_lotteries; }

    // False, and nothing changes, when the registry is full.
    bool append(const Lottery &lottery);
    void removeAt(qsizetype index);
    void move(qsizetype from, qsizetype to);
    void clear() { m_lotteries.clear(); }

    // Why lottery.data could not be read, when it exists but could not; then
    // the registry is empty and no save may replace that file.
    QString readProblem() const { return m_readProblem; }
    void setReadProblem(const QString &problem) { m_readProblem = problem; }
    // The registry's problem, then every lottery's, one per line.
    QStringList readProblems() const;

    friend bool operator==(const LotteryRegistry &, const LotteryRegistry &) = default;

private:
    QList<Lottery> m_lotteries;
    QString m_readProblem;
};

// The index to select after the data files were read again: the last lottery
// whose id equals the one selected before, so the user stays on "his" lottery
// even when the manager moved it; 0 when it is gone or nothing was selected
// (an empty remembered id).
qsizetype indexAfterReload(const LotteryRegistry &registry, const QString &rememberedId);

// The drawn numbers of the lottery at index, oldest first; none when the index
// selects nothing (for example -1 with an empty selector).
QStringList selectionNumbers(const LotteryRegistry &registry, qsizetype index);

} // namespace numsieve
