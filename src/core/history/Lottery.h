#pragma once

#include "core/history/Draw.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace numsieve {

// One lottery kind with its whole draw history. Draws are in file order, which
// is chronological: the first is the oldest, new draws are appended.
struct Lottery {
    QString name;
    QString id;          // compared as text, never as a number: "01" is not "1"
    QList<Draw> draws;
    // Why its draw file could not be read, when it exists but could not: such
    // a lottery shows no draws, and no save may replace the file it could not
    // read, which may hold years of them.
    QString readProblem = {};

    QStringList issues() const;
    // The drawn numbers oldest first: what the selected lottery hands to the
    // draw-relative conditions, the script history and the number popup.
    QStringList numbers() const;

    friend bool operator==(const Lottery &, const Lottery &) = default;
};

// The four lotteries the program ships with are recognised by their id alone:
// they cannot be deleted and only they can be downloaded.
bool isBuiltInLotteryId(const QString &id);

} // namespace numsieve
