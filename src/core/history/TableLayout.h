#pragma once

// The second stage of reading a table: every layout the lines offer,
// counted, and the one chosen for the whole text.

#include "core/history/TableLine.h"

#include <QHash>
#include <QStringList>

#include <array>
#include <expected>

namespace numsieve::table {

// The issue column and its way of writing issues, in one way of cutting lines.
struct Group {
    Split split = Split::Blank;
    int issueColumn = 0;
    bool dashed = false;

    friend bool operator==(const Group &, const Group &) = default;
    friend size_t qHash(const Group &g, size_t seed = 0) { return qHashMulti(seed, int(g.split), g.issueColumn, g.dashed); }
};

struct GroupTally {
    int lines = 0;   // lines with the issue there and something where a draw stands
    int dates = 0;   // of them, lines whose issue reads as a day
    int rawIssueColumn = 0;
};

struct Layout {
    Group group;
    int numberColumn = 0;

    friend bool operator==(const Layout &, const Layout &) = default;
    friend size_t qHash(const Layout &l, size_t seed = 0) { return qHashMulti(seed, qHash(l.group), l.numberColumn); }
};

struct LayoutTally {
    int count = 0;    // lines it reads with a three-digit draw
    int shorts = 0;   // lines whose draw there has one or two digits
    int rawColumn = -1;
    bool spread = false;
};

// What every line offers under every way of cutting it: the issue columns
// and draw columns with the lines they read, and each way's header.
struct Survey {
    QHash<Group, GroupTally> groups;
    QHash<Layout, LayoutTally> layouts;
    std::array<int, kSplitCount> firstData{};   // each way's first line of draws
    std::array<int, kSplitCount> headerIndex{};
    std::array<QStringList, kSplitCount> headers;
    bool anyIssue = false;
    int firstLong = -1;

    QString headerCell(Split split, int column) const { return headers.at(size_t(split)).value(column); }
    bool namedDraw(const Layout &l) const { return namesDraw(headerCell(l.group.split, l.numberColumn)); }
    // What a layout may read: never a column the header calls the test
    // number, and one- or two-digit draws only under a header's 开奖号码.
    bool readable(const Layout &l, const LayoutTally &t) const
    {
        return !namesTestNumber(headerCell(l.group.split, l.numberColumn)) && (t.count > 0 || (t.shorts > 0 && namedDraw(l)));
    }
};

Survey survey(const QString &text);

// The one layout for the whole text, and what the player should know of
// the choice.
struct Choice {
    Group group;
    GroupTally groupTally;
    Layout layout;
    LayoutTally tally;
    bool headerNamesDraw = false;
    QStringList notes;
};

std::expected<Choice, QString> choose(const Survey &s);

// "第3列" or, for a draw in three cells, "第3至5列".
QString numberColumnsText(const LayoutTally &tally);

} // namespace numsieve::table
