#include "core/history/DrawGate.h"

#include "core/text/TextFile.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <vector>

namespace numsieve {

namespace {

const QChar kDollar = QLatin1Char('$');

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QStringView withoutLeadingZeros(QStringView issue)
{
    qsizetype zeros = 0;
    while (zeros + 1 < issue.size() && issue.at(zeros) == QLatin1Char('0'))
        ++zeros;
    return issue.sliced(zeros);
}

QString faultText(const DrawCheck &check)
{
    switch (check.fault) {
    case DrawFault::IssueEmpty: return QStringLiteral("奖期为空");
    case DrawFault::IssueDollar: return QStringLiteral("奖期包含$");
    case DrawFault::IssueCharacter: return QStringLiteral("奖期") + check.detail;
    case DrawFault::NumberEmpty: return QStringLiteral("开奖号码为空");
    case DrawFault::NumberLength: return QStringLiteral("开奖号码不是3个");
    case DrawFault::NumberDollar: return QStringLiteral("开奖号码包含$");
    case DrawFault::NumberDigits: return QStringLiteral("开奖号码不是数字");
    case DrawFault::None: break;
    }
    return {};
}

// The offered draws that may enter, each issue once, and those refused with
// their reasons.
struct Sorted {
    QList<Draw> taken;
    QList<RefusedDraw> refused;
};

Sorted sortOut(const QList<Draw> &history, const QList<Draw> &offered)
{
    Sorted sorted;
    // The length all held issues share, when they are digits of one length.
    qsizetype heldDigits = -1;
    if (!history.isEmpty() && std::ranges::all_of(history, [](const Draw &d) { return isDigitIssue(d.issue); })) {
        const qsizetype first = history.first().issue.size();
        if (std::ranges::all_of(history, [first](const Draw &d) { return d.issue.size() == first; }))
            heldDigits = first;
    }
    // Issues offered more than once, with every number they came with.
    QHash<QString, QStringList> numbers;
    numbers.reserve(offered.size());
    for (const Draw &draw : offered) {
        QStringList &list = numbers[issueKey(draw.issue)];
        if (!list.contains(draw.number))
            list.append(draw.number);
    }
    QSet<QString> seen;
    seen.reserve(offered.size());
    for (const Draw &draw : offered) {
        if (const DrawCheck check = checkDraw(draw)) {
            sorted.refused.append({draw, faultText(check)});
            continue;
        }
        const QString key = issueKey(draw.issue);
        const QStringList &found = numbers.value(key);
        if (found.size() > 1) {
            sorted.refused.append({draw, QStringLiteral("同一期有不同的开奖号码（%1），都没有取").arg(found.join(QStringLiteral("、")))});
            continue;
        }
        if (seen.contains(key)) {
            sorted.refused.append({draw, QStringLiteral("重复出现，只取一次")});
            continue;
        }
        seen.insert(key);
        if (heldDigits > 0 && isDigitIssue(draw.issue) && draw.issue.size() < heldDigits) {
            sorted.refused.append({draw, QStringLiteral("奖期只有%1位，本地的奖期都是%2位").arg(draw.issue.size()).arg(heldDigits)});
            continue;
        }
        sorted.taken.append(draw);
    }
    return sorted;
}

bool issueBefore(const Draw &a, const Draw &b)
{
    return compareIssueValues(a.issue, b.issue) < 0;
}

} // namespace

DrawCheck checkDraw(const Draw &draw)
{
    if (draw.issue.isEmpty())
        return {DrawFault::IssueEmpty, {}};
    if (draw.issue.contains(kDollar))
        return {DrawFault::IssueDollar, {}};
    if (const auto problem = unsavableText(draw.issue))
        return {DrawFault::IssueCharacter, *problem};
    if (draw.number.isEmpty())
        return {DrawFault::NumberEmpty, {}};
    if (draw.number.size() != 3)
        return {DrawFault::NumberLength, {}};
    if (draw.number.contains(kDollar))
        return {DrawFault::NumberDollar, {}};
    if (!std::all_of(draw.number.cbegin(), draw.number.cend(), isAsciiDigit))
        return {DrawFault::NumberDigits, {}};
    return {};
}

bool isDigitIssue(QStringView issue)
{
    return !issue.isEmpty() && std::all_of(issue.begin(), issue.end(), isAsciiDigit);
}

QString issueKey(const QString &issue)
{
    return isDigitIssue(issue) ? withoutLeadingZeros(issue).toString() : issue;
}

int compareIssueValues(QStringView a, QStringView b)
{
    const QStringView x = withoutLeadingZeros(a);
    const QStringView y = withoutLeadingZeros(b);
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}

Intake mergeDraws(QList<Draw> &history, const QList<Draw> &offered, Differing differing)
{
    Intake intake;
    Sorted sorted = sortOut(history, offered);
    intake.refused = std::move(sorted.refused);

    QHash<QString, qsizetype> held;
    held.reserve(history.size());
    for (qsizetype i = history.size() - 1; i >= 0; --i)
        held.insert(issueKey(history.at(i).issue), i);   // the first of a repeated issue
    QList<Draw> fresh;
    for (const Draw &draw : std::as_const(sorted.taken)) {
        const auto found = held.constFind(issueKey(draw.issue));
        if (found == held.cend()) {
            fresh.append(draw);
            continue;
        }
        const QString &number = history.at(*found).number;
        if (number == draw.number)
            ++intake.known;
        else
            intake.differing.append({draw.issue, number, draw.number});
    }
    if (differing == Differing::TakeOffered && !intake.differing.isEmpty()) {
        intake.differingTaken = true;
        for (const DifferingDraw &d : std::as_const(intake.differing))
            history[held.value(issueKey(d.issue))].number = d.offered;
    }
    if (fresh.isEmpty())
        return intake;

    const bool byValue = std::ranges::all_of(history, [](const Draw &d) { return isDigitIssue(d.issue); })
                         && std::ranges::all_of(fresh, [](const Draw &d) { return isDigitIssue(d.issue); });
    if (!byValue) {
        history.append(fresh);
        intake.added = std::move(fresh);
        return intake;
    }
    // Each new draw goes after the last held draw of a smaller issue: the
    // smallest issue from each held place to the end tells, by halving,
    // how far that is, also where the held draws are out of order.
    std::ranges::stable_sort(fresh, issueBefore);
    const qsizetype n = history.size();
    std::vector<qsizetype> smallestFrom(size_t(n), 0);
    for (qsizetype i = n - 1; i >= 0; --i) {
        const bool smaller = i + 1 < n && compareIssueValues(history.at(smallestFrom[size_t(i + 1)]).issue, history.at(i).issue) < 0;
        smallestFrom[size_t(i)] = smaller ? smallestFrom[size_t(i + 1)] : i;
    }
    std::vector<qsizetype> place;
    place.reserve(size_t(fresh.size()));
    for (const Draw &draw : std::as_const(fresh)) {
        // The last held place whose smallest issue onwards is below the new one.
        const auto it = std::partition_point(smallestFrom.begin(), smallestFrom.end(), [&](qsizetype at) {
            return compareIssueValues(history.at(at).issue, draw.issue) < 0;
        });
        place.push_back(qsizetype(it - smallestFrom.begin()));
    }
    // place[] is the index of the held draw each new one goes before (n: at
    // the end); it never falls as the new issues rise.
    QList<Draw> merged;
    merged.reserve(n + fresh.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i <= n; ++i) {
        for (bool first = true; next < fresh.size() && place[size_t(next)] == i; first = false) {
            if (i < n) {
                if (first)
                    intake.inserted.append({fresh.at(next).issue, {}, 0, history.at(i).issue});
                PlacedRun &run = intake.inserted.last();
                run.last = fresh.at(next).issue;
                ++run.count;
            }
            merged.append(fresh.at(next++));
        }
        if (i < n)
            merged.append(history.at(i));
    }
    history = std::move(merged);
    intake.added = std::move(fresh);
    return intake;
}

Intake replaceDraws(QList<Draw> &history, const QList<Draw> &offered, Differing differing)
{
    Intake intake;
    Sorted sorted = sortOut(history, offered);
    intake.refused = std::move(sorted.refused);
    if (sorted.taken.isEmpty())
        return intake;

    QHash<QString, QString> held;
    held.reserve(history.size());
    for (qsizetype i = history.size() - 1; i >= 0; --i)
        held.insert(issueKey(history.at(i).issue), history.at(i).number);
    QList<Draw> result = std::move(sorted.taken);
    if (std::ranges::all_of(result, [](const Draw &d) { return isDigitIssue(d.issue); }))
        std::ranges::stable_sort(result, issueBefore);
    QSet<QString> issues;
    issues.reserve(result.size());
    intake.differingTaken = differing == Differing::TakeOffered;
    for (Draw &draw : result) {
        issues.insert(issueKey(draw.issue));
        const auto found = held.constFind(issueKey(draw.issue));
        if (found == held.cend()) {
            intake.added.append(draw);
        } else if (*found == draw.number) {
            ++intake.known;
        } else {
            intake.differing.append({draw.issue, *found, draw.number});
            if (!intake.differingTaken)
                draw.number = *found;
        }
    }
    intake.removed = int(std::ranges::count_if(history, [&issues](const Draw &d) { return !issues.contains(issueKey(d.issue)); }));
    history = std::move(result);
    return intake;
}

QString placedRunText(const PlacedRun &run)
{
    if (run.count == 1)
        return QStringLiteral("%1插入到%2之前").arg(run.first, run.before);
    return QStringLiteral("%1至%2（共%3期）插入到%4之前").arg(run.first, run.last).arg(run.count).arg(run.before);
}

QString differingText(const DifferingDraw &draw)
{
    return QStringLiteral("%1：本地%2，新的%3").arg(draw.issue, draw.held, draw.offered);
}

QString refusedText(const RefusedDraw &refused)
{
    return refused.draw.issue + kDollar + refused.draw.number + QStringLiteral("：") + refused.reason;
}

QStringList differingLines(const Intake &intake)
{
    if (intake.differing.isEmpty())
        return {};
    QStringList lines{intake.differingTaken
                          ? QStringLiteral("%1期的开奖号码与本地不同，已换成新的号码：").arg(intake.differing.size())
                          : QStringLiteral("%1期的开奖号码与本地不同，保留了本地的号码：").arg(intake.differing.size())};
    for (const DifferingDraw &draw : intake.differing)
        lines.append(differingText(draw));
    return lines;
}

} // namespace numsieve
