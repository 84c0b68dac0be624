#pragma once

#include "core/history/Draw.h"
#include "core/history/PrizeFile.h"

#include <QList>
#include <QString>

#include <optional>

namespace numsieve::gui {

// The lottery an analysis window looks at: the main window's selected one,
// copied when the window opens, so that nothing the window does reaches the
// main window.
struct AnalysedLottery {
    QString name;
    QList<Draw> draws;              // oldest first
    std::optional<Prizes> prizes;   // when set in 彩票管理
    // Why prize.data could not be read, when it could not: there are then no
    // prizes, and the windows say why rather than "not set".
    QString prizeProblem;
};

// What the windows say, once, where a lottery has no prizes: they count hits only.
QString noPrizesText(const AnalysedLottery &lottery);

// "彩种：福彩3D　回测开奖期号 2026620 至 2026719，共 100 期": which draws a
// back-test of the last `count` replays.
QString rangeText(const AnalysedLottery &lottery, int count);

// The name a save dialog offers for `what` of the lottery: its name, what
// and the newest issue.
QString suggestedName(const AnalysedLottery &lottery, const QString &what);

} // namespace numsieve::gui
