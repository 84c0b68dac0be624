#pragma once

#include "core/filter/ConditionSet.h"
#include "core/filter/DrawDigitSets.h"
#include "core/filter/FilterEngine.h"
#include "core/model/Number.h"

#include <QStringList>

#include <functional>

namespace filtertest {

using namespace numsieve;

// Moves the given entries into the chosen list as a user would (everything
// else stays available, in vocabulary order) and sets the mode.
inline void choose(ListCondition &c, const QStringList &chosen, ListMode mode = ListMode::Include)
{
    QStringList available = c.vocabulary();
    for (const QString &e : chosen)
        available.removeOne(e);
    c.setLists(available, chosen);
    c.setMode(mode);
}

inline ListCondition &listOf(ConditionSet &cs, int panel, int list) { return *cs.lists(panel).at(list); }

inline FilterSetup setupFor(const ConditionSet &cs, ViewMode mode, const QStringList &draws)
{
    FilterSetup setup;
    setup.conditions = &cs;
    setup.viewMode = mode;
    setup.draws = &draws;
    setup.digitSets = DrawDigitSets::fromDraws(draws);
    return setup;
}

// One condition panel's verdict for one number under the given state.
inline bool conditionPasses(const ConditionSet &cs, int panel, int number, ViewMode mode = ViewMode::Straight,
                            const QStringList &draws = {})
{
    FilterEngine engine(setupFor(cs, mode, draws));
    return engine.conditionPasses(panel, number);
}

inline QList<int> numbersWhere(ViewMode mode, const std::function<bool(int)> &keep)
{
    QList<int> out;
    if (mode == ViewMode::Straight) {
        for (int n : straightNumbers())
            if (keep(n))
                out.append(n);
    } else {
        for (int n : groupThreeNumbers())
            if (keep(n))
                out.append(n);
        for (int n : groupSixNumbers())
            if (keep(n))
                out.append(n);
    }
    return out;
}

// Every number of the view mode's tables the panel keeps.
inline QList<int> keptBy(const ConditionSet &cs, int panel, ViewMode mode = ViewMode::Straight,
                         const QStringList &draws = {})
{
    FilterEngine engine(setupFor(cs, mode, draws));
    return numbersWhere(mode, [&](int n) { return engine.conditionPasses(panel, n); });
}

} // namespace filtertest
