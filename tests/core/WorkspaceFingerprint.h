#pragma once

#include "core/Workspace.h"
#include "core/scheme/SchemeFile.h"

#include <QString>

namespace testsupport {

// Everything a scheme load can touch, including what the scheme text itself
// does not carry (the switches, the marked button, the compiled expression), as
// one text: two workspaces a load cannot tell apart have the same fingerprint.
inline QString workspaceFingerprint(const numsieve::Workspace &w)
{
    QString state = numsieve::buildSchemeText(w);
    state += QStringLiteral("|%1|%2|%3|%4|%5|")
                 .arg(w.toleranceIndex)
                 .arg(w.currentConditionButton)
                 .arg(w.markedCondition)
                 .arg(w.shownConditionPanel)
                 .arg(int(w.tables.viewMode()));
    for (bool on : w.enabled)
        state += on ? QLatin1Char('1') : QLatin1Char('0');
    const numsieve::AdvancedConditionState &a = w.conditions.advanced;
    state += QStringLiteral("|%1|%2,%3,%4|").arg(a.expression).arg(a.selectors[0]).arg(a.selectors[1]).arg(a.selectors[2]);
    return state;
}

} // namespace testsupport
