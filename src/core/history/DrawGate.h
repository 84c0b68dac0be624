#pragma once

#include "core/history/Draw.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace numsieve {

// Every draw enters a lottery's history through these rules, whichever way it
// comes: typed in the manager or on the command line, lines of a text file, a
// table, a download merged or replacing. What they accept, the draw file holds
// and the reader reads back exactly as it was; the draws already held keep
// their order; a draw that differs from the one held is named and replaces it
// only when the caller says so. Each entry path words its refusals itself; the
// rules are these.

// What is wrong with one draw taken on its own.
enum class DrawFault { None, IssueEmpty, IssueDollar, IssueCharacter, NumberEmpty, NumberLength, NumberDollar, NumberDigits };
struct DrawCheck {
    DrawFault fault = DrawFault::None;
    // For IssueCharacter: "包含无法保存的字符：…", naming the character.
    QString detail;

    explicit operator bool() const { return fault != DrawFault::None; }
};
DrawCheck checkDraw(const Draw &draw);

// An issue of ASCII digits only. Such issues are compared by value: "99"
// comes before "100", and leading zeros do not count.
bool isDigitIssue(QStringView issue);
int compareIssueValues(QStringView a, QStringView b);
// What makes two issues the same: their value when they are digits
// ("02024001" is 2024001), else their text.
QString issueKey(const QString &issue);

// Added draws that stand among the held ones instead of after the newest:
// first … last, count of them, placed before the held issue `before`.
struct PlacedRun {
    QString first;
    QString last;
    int count = 0;
    QString before;
};

// An issue held with one number and offered with another.
struct DifferingDraw {
    QString issue;
    QString held;
    QString offered;
};

struct RefusedDraw {
    Draw draw;
    QString reason;
};

// What the history did with a list of offered draws.
struct Intake {
    QList<Draw> added;            // issues it did not hold, in the order they now stand
    QList<PlacedRun> inserted;    // those of them placed among the held draws
    int known = 0;                // offered as held already
    QList<DifferingDraw> differing;
    bool differingTaken = false;  // whether the offered numbers replaced the held ones
    QList<RefusedDraw> refused;   // taken nowhere, with the reason
    int removed = 0;              // draws a replacing list no longer has

    bool changed() const { return !added.isEmpty() || removed > 0 || (differingTaken && !differing.isEmpty()); }
};

enum class Differing { KeepHeld, TakeOffered };

// New issues are placed by issue among the held draws when every issue is
// digits, else appended in the order offered; held draws keep their order and
// known issues are left alone. Refused: a draw with a fault, an issue offered
// twice with different numbers (a repeat with the same number is taken once
// and named; issues are the same by issueKey), and an issue of fewer digits
// than every held issue while they
// all have the same number of digits (a shortened year would sort before the
// whole history).
Intake mergeDraws(QList<Draw> &history, const QList<Draw> &offered, Differing differing);

// The history becomes the offered list, in issue order when every issue is
// digits; a held issue offered with another number keeps its held number
// unless told otherwise. Refused draws are left out as the merge leaves
// them; when nothing is left to take, nothing changes.
Intake replaceDraws(QList<Draw> &history, const QList<Draw> &offered, Differing differing);

// What the window and the command line say of an intake.
QString placedRunText(const PlacedRun &run);      // "2019001至2019365（共365期）插入到2020001之前"
QString differingText(const DifferingDraw &draw);  // "2025152：本地507，新的570"
QString refusedText(const RefusedDraw &refused);   // "2024001$123：…"
// A heading, then one line per differing issue; none without any.
QStringList differingLines(const Intake &intake);

} // namespace numsieve
