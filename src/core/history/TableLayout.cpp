#include "core/history/TableLayout.h"

#include <QSet>

#include <algorithm>
#include <tuple>

namespace numsieve::table {

QString numberColumnsText(const LayoutTally &tally)
{
    return tally.spread ? QStringLiteral("第%1至%2列").arg(tally.rawColumn + 1).arg(tally.rawColumn + 3)
                        : QStringLiteral("第%1列").arg(tally.rawColumn + 1);
}

Survey survey(const QString &text)
{
    Survey s;
    s.firstData.fill(-1);
    s.headerIndex.fill(-1);
    QString line;
    forEachLine(text, [&](int index, qsizetype start, qsizetype length) {
        normalizeInto(QStringView(text).sliced(start, length), line);
        if (!hasDigit(line))
            return true;
        for (const Split split : kSplits) {
            const LineFacts facts = factsOf(line, split);
            s.anyIssue = s.anyIssue || !facts.issues.isEmpty();
            if (facts.longDraw && s.firstLong < 0)
                s.firstLong = index;
            if (!facts.offersDraw())
                continue;
            for (const IssueCandidate &issue : facts.issues) {
                const Group group{split, issue.column, issue.dash >= 0};
                GroupTally &g = s.groups[group];
                if (g.lines++ == 0)
                    g.rawIssueColumn = issue.rawColumn;
                g.dates += issue.date ? 1 : 0;
                if (s.firstData[size_t(split)] < 0)
                    s.firstData[size_t(split)] = index;
                for (const NumberCandidate &number : facts.numbers) {
                    LayoutTally &l = s.layouts[Layout{group, number.column}];
                    if (l.count++ == 0 && l.rawColumn < 0) {
                        l.rawColumn = number.rawColumn;
                        l.spread = number.spread;
                    }
                }
                for (const ShortCandidate &number : facts.shorts) {
                    LayoutTally &l = s.layouts[Layout{group, number.column}];
                    if (l.shorts++ == 0 && l.rawColumn < 0)
                        l.rawColumn = number.rawColumn;
                }
            }
        }
        return true;
    });
    // The header of each way of cutting: the last line before its first
    // line of draws that names a column as headers do.
    forEachLine(text, [&](int index, qsizetype start, qsizetype length) {
        bool before = false;
        normalizeInto(QStringView(text).sliced(start, length), line);
        for (const Split split : kSplits) {
            if (index >= s.firstData[size_t(split)])
                continue;
            before = true;
            Cells cells(line, split);
            QStringView cell;
            while (cells.next(cell)) {
                if (namesColumn(cell)) {
                    s.headerIndex[size_t(split)] = index;
                    s.headers[size_t(split)] = headerCells(line, split);
                    break;
                }
            }
        }
        return before;
    });
    return s;
}

std::expected<Choice, QString> choose(const Survey &s)
{
    QSet<Group> readableGroups;
    for (auto it = s.layouts.cbegin(); it != s.layouts.cend(); ++it)
        if (s.readable(it.key(), it.value()))
            readableGroups.insert(it.key().group);
    if (readableGroups.isEmpty()) {
        if (s.firstLong >= 0)
            return std::unexpected(QStringLiteral("第%1行的开奖号码不是3位数字，不是三位数彩票的开奖号码").arg(s.firstLong + 1));
        if (!s.anyIssue)
            return std::unexpected(QStringLiteral("没有找到奖期：奖期须是一串数字"));
        return std::unexpected(QStringLiteral("没有找到三位数的开奖号码"));
    }

    // The issue column first: the one with the most lines of draws; then a
    // header that names it, a column of issues rather than of days, the
    // separator's preference and the leftmost.
    const auto groupRank = [&](const Group &g) {
        const QString head = s.headerCell(g.split, g.issueColumn);
        const GroupTally &t = s.groups[g];
        return std::tuple(namesDraw(head) || namesTestNumber(head) || namesDate(head), -t.lines, !namesIssue(head),
                          t.dates == t.lines, int(g.split), g.issueColumn, g.dashed);
    };
    Choice c;
    c.group = *readableGroups.cbegin();
    for (const Group &g : std::as_const(readableGroups))
        if (groupRank(g) < groupRank(c.group))
            c.group = g;
    c.groupTally = s.groups[c.group];

    // Then the draw column within it: the one the header names; else the
    // leftmost that reads at least half as many lines as the best, so that
    // a stray row does not move the whole table to another column.
    QList<std::pair<Layout, LayoutTally>> columns;
    for (auto it = s.layouts.cbegin(); it != s.layouts.cend(); ++it)
        if (it.key().group == c.group && s.readable(it.key(), it.value()))
            columns.append({it.key(), it.value()});
    std::ranges::sort(columns, {}, [](const auto &column) { return column.first.numberColumn; });
    const auto named = std::ranges::find_if(columns, [&](const auto &column) { return s.namedDraw(column.first); });
    int best = 0;
    for (const auto &column : columns)
        best = std::max(best, column.second.count);
    const auto chosen = named != columns.end() ? named : std::ranges::find_if(columns, [best](const auto &column) {
        return column.second.count * 2 >= best;
    });
    c.layout = chosen->first;
    c.tally = chosen->second;
    c.headerNamesDraw = named != columns.end();

    if (!c.headerNamesDraw) {
        const auto other = std::find_if(chosen + 1, columns.end(),
                                        [&](const auto &column) { return column.second.count * 2 >= c.tally.count; });
        if (other != columns.end())
            c.notes.append(QStringLiteral("每行有两个三位数（%1和%2），没有表头说明哪个是开奖号码，取了第一个")
                               .arg(numberColumnsText(c.tally), numberColumnsText(other->second)));
    }
    if (c.groupTally.dates == c.groupTally.lines) {
        c.notes.append(QStringLiteral("第%1列的奖期都像日期，请确认它不是开奖日期").arg(c.groupTally.rawIssueColumn + 1));
    } else {
        for (const Group &g : std::as_const(readableGroups)) {
            const GroupTally &t = s.groups[g];
            if (g.split == c.group.split && g.issueColumn != c.group.issueColumn && t.dates == t.lines
                && t.lines >= c.groupTally.lines) {
                c.notes.append(QStringLiteral("第%1列像是日期，没有当作奖期").arg(t.rawIssueColumn + 1));
                break;
            }
        }
    }
    return c;
}

} // namespace numsieve::table
