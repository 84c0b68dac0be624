#include "core/history/TableLine.h"

namespace numsieve::table {

namespace {

// An eight-digit issue that reads as a day between 1990 and 2099.
bool looksLikeDate(QStringView digits)
{
    if (digits.size() != 8)
        return false;
    const int year = digits.first(4).toInt();
    const int month = digits.sliced(4, 2).toInt();
    const int day = digits.sliced(6, 2).toInt();
    return year >= 1990 && year <= 2099 && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

// "2024001", "第2024001期", "2024001期", "2024-001": where the issue's digits are.
bool issueOf(QStringView cell, int cellStart, IssueCandidate &issue)
{
    int start = cellStart;
    if (cell.startsWith(u'第')) {
        cell = cell.sliced(1);
        ++start;
    }
    if (cell.endsWith(u'期'))
        cell.chop(1);
    if (allDigits(cell) && cell.size() >= 4) {
        issue.start = start;
        issue.length = int(cell.size());
        issue.dash = -1;
        issue.date = looksLikeDate(cell);
        return true;
    }
    const qsizetype dash = cell.indexOf(QLatin1Char('-'));
    if (dash <= 0)
        return false;
    const QStringView left = cell.first(dash);
    const QStringView right = cell.sliced(dash + 1);
    if (!allDigits(left) || !allDigits(right) || left.size() + right.size() < 4)
        return false;
    issue.start = start;
    issue.length = int(cell.size());
    issue.dash = start + int(dash);
    issue.date = false;
    return true;
}

// "123", or "1 2 3" / "1,2,3" in one cell; a count of more digits written
// the same way is a draw too long for this game.
enum class CellNumber { None, Number, TooLong };
CellNumber numberInCell(QStringView cell, quint16 &number)
{
    if (cell.size() == 3 && allDigits(cell)) {
        number = quint16(cell.toInt());
        return CellNumber::Number;
    }
    int digits = 0;
    int value = 0;
    bool previousDigit = false;
    for (const QChar c : cell) {
        if (isDigit(c)) {
            if (previousDigit)
                return CellNumber::None;
            previousDigit = true;
            if (++digits <= 3)
                value = value * 10 + (c.unicode() - u'0');
        } else if (c == QLatin1Char(' ') || c == QLatin1Char(',')) {
            previousDigit = false;
        } else {
            return CellNumber::None;
        }
    }
    if (digits == 3 && !cell.isEmpty() && isDigit(cell.front()) && isDigit(cell.back())) {
        number = quint16(value);
        return CellNumber::Number;
    }
    return digits > 3 && isDigit(cell.front()) ? CellNumber::TooLong : CellNumber::None;
}

bool isDashCell(QStringView cell)
{
    return !cell.isEmpty() && std::all_of(cell.begin(), cell.end(), [](QChar c) {
        return c == QLatin1Char('-') || c == QLatin1Char('*') || c == QLatin1Char(' ');
    });
}

// What a results page shows before the draw: dashes, a word, or nothing.
bool saysPending(QStringView cell, Split split)
{
    if (cell.isEmpty())
        return split != Split::Blank;
    const QChar first = cell.front();
    if (first == QLatin1Char('-') || first == QLatin1Char('*'))
        return isDashCell(cell);
    return first.unicode() >= 0x80 && (cell.contains(u"待开") || cell.contains(u"未开") || cell.contains(u"开奖中"));
}

// Gathers what one line offers into `facts`, cell by cell, under one way of
// cutting it.
class LineFactsBuilder
{
public:
    LineFactsBuilder(LineFacts &facts, Split split) : m_facts(facts), m_split(split), m_blank(split == Split::Blank) {}

    void take(QStringView cell, int cellStart, int column)
    {
        if (m_blank && isDashCell(cell) && m_dashLength < 3) {
            endRun();
            if (m_dashLength++ == 0)
                m_dashStart = column;
            return;
        }
        endDashes();
        if (cell.size() == 1 && isDigit(cell.front())) {
            if (m_runLength == 0)
                m_runStart = column;
            if (m_runLength < 6)
                m_runDigits[m_runLength] = cell.front().unicode() - u'0';
            ++m_runLength;
            return;
        }
        endRun();
        takeWhole(cell, cellStart, column, column - m_shift);
    }

    void finish()
    {
        endRun();
        endDashes();
        m_facts.longDraw = m_longSeen && m_facts.numbers.isEmpty() && !m_facts.issues.isEmpty();
    }

private:
    // A cell that is neither a dash nor a single digit, in its logical column.
    void takeWhole(QStringView cell, int cellStart, int column, int logical)
    {
        if (saysPending(cell, m_split)) {
            markPending(logical);
            return;
        }
        IssueCandidate issue;
        if (issueOf(cell, cellStart, issue)) {
            if (!m_facts.issues.isEmpty() && allDigits(cell) && cell.size() <= 5)
                m_longSeen = true;   // "2024001 1234"
            issue.column = logical;
            issue.rawColumn = column;
            if (m_facts.issues.size() < kIssueCandidates)
                m_facts.issues.append(issue);
            return;
        }
        if (cell.size() == 2 && allDigits(cell)) {
            addShort(logical, column, 2, cell.toInt());
            return;
        }
        quint16 number = 0;
        switch (numberInCell(cell, number)) {
        case CellNumber::Number: addNumber(logical, column, false, number); break;
        case CellNumber::TooLong: m_longSeen = true; break;
        case CellNumber::None: break;
        }
    }

    void addNumber(int column, int rawColumn, bool spread, int value)
    {
        if (m_facts.numbers.size() < kNumberCandidates)
            m_facts.numbers.append(NumberCandidate{column, rawColumn, spread, quint16(value)});
    }
    void addShort(int column, int rawColumn, int digits, int value)
    {
        if (m_facts.shorts.size() < kShortCandidates)
            m_facts.shorts.append(ShortCandidate{column, rawColumn, digits, quint16(value)});
    }
    void markPending(int column)
    {
        if (column >= 0 && column < kMaskColumns)
            m_facts.pending |= quint64(1) << column;
    }
    int valueAt(int from) const { return m_runDigits[from] * 100 + m_runDigits[from + 1] * 10 + m_runDigits[from + 2]; }

    // A run of one-digit cells is a draw when it has three of them, or six
    // (the draw and the test number), or the draw followed by its sum and
    // span, which tables often add.
    void endRun()
    {
        if (m_runLength == 0)
            return;
        const int column = m_runStart - m_shift;
        const int *d = m_runDigits;
        if (m_runLength >= 3) {
            const int sum = d[0] + d[1] + d[2];
            const int span = std::max({d[0], d[1], d[2]}) - std::min({d[0], d[1], d[2]});
            if (m_runLength == 3 || (m_runLength == 4 && d[3] == sum)
                || (m_runLength == 5 && d[3] == sum && d[4] == span)) {
                addNumber(column, m_runStart, true, valueAt(0));
                m_shift += m_blank ? 2 : 0;
            } else if (m_runLength == 6) {
                addNumber(column, m_runStart, true, valueAt(0));
                addNumber(column + (m_blank ? 1 : 3), m_runStart + 3, true, valueAt(3));
                m_shift += m_blank ? 4 : 0;
            } else {
                m_longSeen = true;
            }
        } else if (m_runLength == 1) {
            addShort(column, m_runStart, 1, d[0]);
        }
        m_runLength = 0;
    }

    void endDashes()
    {
        if (m_dashLength == 0)
            return;
        markPending(m_dashStart - m_shift);
        m_shift += m_dashLength - 1;
        m_dashLength = 0;
    }

    LineFacts &m_facts;
    const Split m_split;
    const bool m_blank;
    bool m_longSeen = false;
    int m_shift = 0;   // raw cells that a spread draw or a dash group folded away so far
    int m_runStart = 0;
    int m_runLength = 0;
    int m_runDigits[6] = {};
    int m_dashStart = 0;
    int m_dashLength = 0;
};

} // namespace

LineFacts factsOf(QStringView line, Split split)
{
    LineFacts facts;
    LineFactsBuilder builder(facts, split);
    QStringView cell;
    Cells cells(line, split);
    for (int column = 0; cells.next(cell); ++column)
        builder.take(cell, int(cell.data() - line.data()), column);
    builder.finish();
    return facts;
}

bool namesIssue(QStringView cell)
{
    return cell.contains(u"期号") || cell.contains(u"奖期") || cell.contains(u"期次") || cell.contains(u"期数");
}
bool namesTestNumber(QStringView cell)
{
    return cell.contains(u"试机");
}
bool namesDraw(QStringView cell)
{
    return !namesTestNumber(cell) && (cell.contains(u"号码") || cell.contains(u"开奖结果") || cell.contains(u"中奖"));
}
bool namesDate(QStringView cell)
{
    return cell.contains(u"日期") || cell.contains(u"时间");
}
bool namesColumn(QStringView cell)
{
    return namesIssue(cell) || namesDraw(cell) || namesTestNumber(cell);
}

QStringList headerCells(QStringView line, Split split)
{
    QStringList cells;
    Cells walk(line, split);
    QStringView cell;
    while (cells.size() < kHeaderCells && walk.next(cell))
        cells.append(cell.toString());
    return cells;
}

} // namespace numsieve::table
