#include "core/history/TableReader.h"

#include "core/history/DrawGate.h"
#include "core/history/TableLayout.h"
#include "core/history/TableLine.h"
#include "core/model/Number.h"
#include "core/text/TextFile.h"

#include <algorithm>
#include <optional>

namespace numsieve {

using namespace table;

Draw TableReading::draw(qsizetype index) const
{
    const Row &row = m_rows.at(index);
    const QChar *line = m_text.constData() + row.lineStart;
    QString issue;
    issue.reserve(row.issueLength);
    for (int i = row.issueStart; i < row.issueStart + row.issueLength; ++i) {
        if (i != row.dash)
            issue.append(normalizedChar(line[i]));
    }
    return Draw{issue, sharedNumberText(row.number)};
}

QString TableReading::source(qsizetype index) const
{
    const Row &row = m_rows.at(index);
    return m_text.mid(row.lineStart, row.lineLength);
}

QList<Draw> TableReading::draws() const
{
    QList<Draw> list;
    list.reserve(m_rows.size());
    for (qsizetype i = 0; i < m_rows.size(); ++i)
        list.append(draw(i));
    return list;
}

QString TableReading::description() const
{
    return columns + (newestFirst ? QStringLiteral("，新的在前") : QStringLiteral("，旧的在前"));
}

void TableReading::reverse()
{
    std::ranges::reverse(m_rows);
    newestFirst = !newestFirst;
}

std::expected<TableReading, QString> readTable(const QByteArray &bytes)
{
    return readTableText(decodeForeignText(bytes));
}

namespace {

QString rowsText(int firstLine, int count)
{
    return count == 1 ? QStringLiteral("第%1行").arg(firstLine) : QStringLiteral("第%1行等%2行").arg(firstLine).arg(count);
}

// The lines read with the chosen layout: a draw, or a line not read with
// its reason; a line that another layout reads counts against the text.
struct Rows {
    QList<TableReading::Row> rows;
    QList<TableSkip> skipped;
    qsizetype skippedCount = 0;
    int padded = 0;
    int firstPadded = 0;
    int ascending = 0;    // neighbours whose issues rise
    int descending = 0;
};

// Why a line with the chosen issue column's issue, or without it, gave no
// draw; `understood` when it is a known sight on a results page rather than
// a line of another table.
QString skipReason(const LineFacts &facts, const IssueCandidate *issue, const Choice &c, bool *understood)
{
    *understood = false;
    if (!issue)
        return facts.issueAt(c.group.issueColumn, !c.group.dashed) ? QStringLiteral("奖期的写法与其他行不同")
                                                                 : QStringLiteral("第%1列不是奖期").arg(c.groupTally.rawIssueColumn + 1);
    *understood = true;
    if (facts.pendingAt(c.layout.numberColumn))
        return QStringLiteral("还没有开奖号码（待开奖）");
    if (const ShortCandidate *s = facts.shortAt(c.layout.numberColumn))
        return QStringLiteral("%1只有%2位数字（电子表格常去掉开头的0），没有表头说明这一列是开奖号码")
            .arg(numberColumnsText(c.tally))
            .arg(s->digits);
    *understood = false;
    return numberColumnsText(c.tally) + QStringLiteral("不是三位数的开奖号码");
}

std::expected<Rows, QString> readRows(const QString &text, const Survey &s, const Choice &c)
{
    Rows r;
    const int header = s.headerIndex[size_t(c.group.split)];
    int firstRead = -1;
    int firstOther = -1;
    int others = 0;
    QString previousIssue;
    std::optional<QString> refusal;
    QString line;
    forEachLine(text, [&](int index, qsizetype start, qsizetype length) {
        const QStringView source = QStringView(text).sliced(start, length);
        normalizeInto(source, line);
        if (index == header || !hasDigit(line))
            return true;
        const LineFacts facts = factsOf(line, c.group.split);
        const IssueCandidate *issue = facts.issueAt(c.group.issueColumn, c.group.dashed);
        const NumberCandidate *number = issue ? facts.numberAt(c.layout.numberColumn) : nullptr;
        const ShortCandidate *shortNumber = issue && !number && c.headerNamesDraw ? facts.shortAt(c.layout.numberColumn) : nullptr;
        if (number || shortNumber) {
            TableReading::Row row;
            row.lineStart = start;
            row.lineLength = int(length);
            row.line = index + 1;
            row.issueStart = issue->start;
            row.issueLength = issue->length;
            row.dash = issue->dash;
            row.number = number ? number->value : shortNumber->value;
            row.padded = !number;
            if (row.padded && r.padded++ == 0)
                r.firstPadded = row.line;
            r.rows.append(row);
            if (firstRead < 0)
                firstRead = index;
            QString current = line.mid(issue->start, issue->length);
            if (issue->dash >= 0)
                current.remove(issue->dash - issue->start, 1);
            if (!previousIssue.isEmpty()) {
                const int order = compareIssueValues(previousIssue, current);
                r.ascending += order < 0;
                r.descending += order > 0;
            }
            previousIssue = std::move(current);
            return true;
        }
        if (facts.longDraw) {
            refusal = QStringLiteral("第%1行的开奖号码不是3位数字，不是三位数彩票的开奖号码").arg(index + 1);
            return false;
        }
        bool understood = false;
        const QString reason = skipReason(facts, issue, c, &understood);
        if (r.skipped.size() < TableReading::kListedSkips)
            r.skipped.append(TableSkip{index + 1, source.toString(), reason});
        ++r.skippedCount;
        if (understood)
            return true;
        // A line that another issue column or separator reads is a second
        // table, not a fault.
        bool readElsewhere = false;
        for (const Split split : kSplits) {
            const LineFacts f = split == c.group.split ? facts : factsOf(line, split);
            if (f.numbers.isEmpty())
                continue;
            for (const IssueCandidate &is : f.issues)
                readElsewhere = readElsewhere || !(Group{split, is.column, is.dash >= 0} == c.group);
        }
        if (readElsewhere && others++ == 0)
            firstOther = index;
        return true;
    });
    if (refusal)
        return std::unexpected(*refusal);
    if (others >= 2)
        return std::unexpected(QStringLiteral("表格混有两种格式：第%1行与第%2行的格式不同，请分开导入")
                                   .arg(std::min(firstRead, firstOther) + 1)
                                   .arg(std::max(firstRead, firstOther) + 1));
    if (r.rows.isEmpty())
        return std::unexpected(QStringLiteral("没有找到三位数的开奖号码"));
    return r;
}

} // namespace

std::expected<TableReading, QString> readTableText(QString text)
{
    const Survey s = survey(text);
    const auto choice = choose(s);
    if (!choice)
        return std::unexpected(choice.error());
    auto read = readRows(text, s, *choice);
    if (!read)
        return std::unexpected(read.error());

    TableReading reading;
    reading.columns = QStringLiteral("第%1列为奖期，%2为开奖号码")
                          .arg(choice->groupTally.rawIssueColumn + 1)
                          .arg(numberColumnsText(choice->tally));
    reading.headerLine = s.headerIndex[size_t(choice->group.split)] + 1;
    reading.notes = choice->notes;
    if (read->padded > 0)
        reading.notes.append(rowsText(read->firstPadded, read->padded)
                             + QStringLiteral("的开奖号码不足三位，已在前面补0（电子表格常去掉开头的0）"));
    reading.skipped = std::move(read->skipped);
    reading.skippedCount = read->skippedCount;
    reading.m_rows = std::move(read->rows);
    reading.m_text = std::move(text);
    if (read->descending > read->ascending)
        reading.reverse();
    return reading;
}

} // namespace numsieve
