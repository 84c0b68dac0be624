#include "history/TableReader.h"

#include "text/TextFile.h"

#include <QHash>
#include <QVarLengthArray>

#include <algorithm>

namespace numsieve {

namespace {

// The ways a line is cut into cells, in the order preferred when two read the
// same lines: a spreadsheet copy has tabs, a CSV commas, the program's own
// files "$", and a web page copied as text has blanks.
enum class Split : quint8 { Tab, Comma, Dollar, Semicolon, Blank };
constexpr Split kSplits[] = {Split::Tab, Split::Comma, Split::Dollar, Split::Semicolon, Split::Blank};

// Only this many candidates of each kind are kept from a line, so that a
// line of any length offers a bounded number of layouts.
constexpr int kIssueCandidates = 2;
constexpr int kNumberCandidates = 3;

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allDigits(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isDigit);
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Full-width digits and punctuation as web pages write them, and the
// ideographic space, become their ASCII forms; nothing else changes.
QString normalized(const QString &line)
{
    QString text = line;
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19)
            c = QChar(char16_t(u'0' + (u - 0xFF10)));
        else if (u == 0x3000 || u == 0x00A0)
            c = QLatin1Char(' ');
        else if (u == 0xFF0C)
            c = QLatin1Char(',');
        else if (u == 0xFF1A)
            c = QLatin1Char(':');
        else if (u == 0xFF04)
            c = QLatin1Char('$');
        else if (u == 0xFF1B)
            c = QLatin1Char(';');
        else if (u == 0xFF0D)
            c = QLatin1Char('-');
        else if (u == 0xFEFF)
            c = QLatin1Char(' ');
    }
    return text;
}

QStringView trimmedView(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.sliced(begin, end - begin);
}

// Walks the cells of a line once, left to right.
class Cells
{
public:
    Cells(QStringView line, Split split) : m_line(line), m_split(split) {}

    bool next(QStringView &cell)
    {
        return m_split == Split::Blank ? nextBlank(cell) : nextDelimited(cell);
    }

private:
    static bool isBlankSeparator(QChar c) { return isBlank(c) || c == QLatin1Char(':'); }

    // Blanks and colons separate; "第2024001期开奖号码" is two cells, the
    // issue ending at its "期".
    bool nextBlank(QStringView &cell)
    {
        const qsizetype size = m_line.size();
        while (m_pos < size && isBlankSeparator(m_line.at(m_pos)))
            ++m_pos;
        if (m_pos >= size)
            return false;
        const qsizetype begin = m_pos;
        while (m_pos < size && !isBlankSeparator(m_line.at(m_pos))) {
            const QChar c = m_line.at(m_pos++);
            if (c == u'期' && m_pos - 2 >= begin && isDigit(m_line.at(m_pos - 2)))
                break;
        }
        cell = m_line.sliced(begin, m_pos - begin);
        return true;
    }

    QChar delimiter() const
    {
        switch (m_split) {
        case Split::Tab: return QLatin1Char('\t');
        case Split::Comma: return QLatin1Char(',');
        case Split::Dollar: return QLatin1Char('$');
        default: return QLatin1Char(';');
        }
    }

    bool nextDelimited(QStringView &cell)
    {
        if (m_done)
            return false;
        const qsizetype size = m_line.size();
        const QChar delim = delimiter();
        qsizetype begin = m_pos;
        while (begin < size && m_line.at(begin) == QLatin1Char(' '))
            ++begin;
        // A CSV cell in quotes keeps its commas ("12,345,678").
        if (m_split == Split::Comma && begin < size && m_line.at(begin) == QLatin1Char('"')) {
            qsizetype end = begin + 1;
            while (end < size) {
                if (m_line.at(end) == QLatin1Char('"')) {
                    if (end + 1 < size && m_line.at(end + 1) == QLatin1Char('"')) {
                        end += 2;
                        continue;
                    }
                    break;
                }
                ++end;
            }
            cell = trimmedView(m_line.sliced(begin + 1, std::min(end, size) - begin - 1));
            m_pos = end;
            while (m_pos < size && m_line.at(m_pos) != delim)
                ++m_pos;
        } else {
            m_pos = begin;
            while (m_pos < size && m_line.at(m_pos) != delim)
                ++m_pos;
            cell = trimmedView(m_line.sliced(begin, m_pos - begin));
        }
        if (m_pos >= size)
            m_done = true;
        else
            ++m_pos;
        return true;
    }

    QStringView m_line;
    Split m_split;
    qsizetype m_pos = 0;
    bool m_done = false;
};

struct IssueCandidate {
    int column = 0;
    QString issue;
    bool dashed = false;
};

struct NumberCandidate {
    int column = 0;
    bool spread = false;   // three cells of one digit each
    QString number;
};

// What one line offers under one way of cutting it.
struct LineFacts {
    QVarLengthArray<IssueCandidate, kIssueCandidates> issues;
    QVarLengthArray<NumberCandidate, kNumberCandidates> numbers;
    bool longDraw = false;   // digits where a draw stands, but more than three
};

// "2024001", "第2024001期", "2024001期", "2024-001": the issue as digits.
bool issueOf(QStringView cell, QString &issue, bool &dashed)
{
    if (cell.startsWith(u'第'))
        cell = cell.sliced(1);
    if (cell.endsWith(u'期'))
        cell.chop(1);
    if (allDigits(cell) && cell.size() >= 4) {
        issue = cell.toString();
        dashed = false;
        return true;
    }
    const qsizetype dash = cell.indexOf(QLatin1Char('-'));
    if (dash <= 0)
        return false;
    const QStringView left = cell.first(dash);
    const QStringView right = cell.sliced(dash + 1);
    if (!allDigits(left) || !allDigits(right) || left.size() + right.size() < 4)
        return false;
    issue = left.toString() + right.toString();
    dashed = true;
    return true;
}

// "123", or "1 2 3" / "1,2,3" in one cell; a count of more digits written
// the same way is a draw too long for this game.
enum class CellNumber { None, Number, TooLong };
CellNumber numberInCell(QStringView cell, QString &number)
{
    if (cell.size() == 3 && allDigits(cell)) {
        number = cell.toString();
        return CellNumber::Number;
    }
    int digits = 0;
    bool previousDigit = false;
    QString found;
    for (const QChar c : cell) {
        if (isDigit(c)) {
            if (previousDigit)
                return CellNumber::None;
            previousDigit = true;
            if (++digits <= 3)
                found.append(c);
        } else if (c == QLatin1Char(' ') || c == QLatin1Char(',')) {
            previousDigit = false;
        } else {
            return CellNumber::None;
        }
    }
    if (digits == 3 && !cell.isEmpty() && isDigit(cell.front()) && isDigit(cell.back())) {
        number = found;
        return CellNumber::Number;
    }
    return digits > 3 && isDigit(cell.front()) ? CellNumber::TooLong : CellNumber::None;
}

LineFacts factsOf(QStringView line, Split split)
{
    LineFacts facts;
    bool longSeen = false;
    // A run of one-digit cells is a draw when it has three of them, or six
    // (the draw and the test number), or the draw followed by its sum and
    // span, which tables often add.
    int runStart = 0;
    int runLength = 0;
    int runDigits[6] = {};
    const auto addNumber = [&facts](int column, bool spread, QString number) {
        if (facts.numbers.size() < kNumberCandidates)
            facts.numbers.append(NumberCandidate{column, spread, std::move(number)});
    };
    const auto digitsText = [&runDigits](int from) {
        QString text;
        for (int i = from; i < from + 3; ++i)
            text.append(QChar(char16_t(u'0' + runDigits[i])));
        return text;
    };
    const auto endRun = [&] {
        if (runLength >= 3) {
            const int sum = runDigits[0] + runDigits[1] + runDigits[2];
            const int span = std::max({runDigits[0], runDigits[1], runDigits[2]})
                             - std::min({runDigits[0], runDigits[1], runDigits[2]});
            if (runLength == 3 || (runLength == 4 && runDigits[3] == sum)
                || (runLength == 5 && runDigits[3] == sum && runDigits[4] == span)) {
                addNumber(runStart, true, digitsText(0));
            } else if (runLength == 6) {
                addNumber(runStart, true, digitsText(0));
                addNumber(runStart + 3, true, digitsText(3));
            } else {
                longSeen = true;
            }
        }
        runLength = 0;
    };

    QStringView cell;
    Cells cells(line, split);
    int column = 0;
    for (; cells.next(cell); ++column) {
        if (cell.size() == 1 && isDigit(cell.front())) {
            if (runLength == 0)
                runStart = column;
            if (runLength < 6)
                runDigits[runLength] = cell.front().unicode() - u'0';
            ++runLength;
            continue;
        }
        endRun();
        QString text;
        bool dashed = false;
        if (issueOf(cell, text, dashed)) {
            if (!facts.issues.isEmpty() && allDigits(cell) && cell.size() <= 5)
                longSeen = true;   // "2024001 1234"
            if (facts.issues.size() < kIssueCandidates)
                facts.issues.append(IssueCandidate{column, text, dashed});
            continue;
        }
        switch (numberInCell(cell, text)) {
        case CellNumber::Number: addNumber(column, false, text); break;
        case CellNumber::TooLong: longSeen = true; break;
        case CellNumber::None: break;
        }
    }
    endRun();
    facts.longDraw = longSeen && facts.numbers.isEmpty() && !facts.issues.isEmpty();
    return facts;
}

struct Layout {
    Split split = Split::Blank;
    int issueColumn = 0;
    int numberColumn = 0;
    bool spread = false;
    bool dashed = false;

    friend bool operator==(const Layout &, const Layout &) = default;
    friend size_t qHash(const Layout &l, size_t seed = 0)
    {
        return qHashMulti(seed, int(l.split), l.issueColumn, l.numberColumn, l.spread, l.dashed);
    }
};

// The draws a layout takes from a line's facts, if it takes one.
std::optional<Draw> drawOf(const LineFacts &facts, const Layout &layout)
{
    const auto issue = std::ranges::find(facts.issues, layout.issueColumn, &IssueCandidate::column);
    if (issue == facts.issues.end() || issue->dashed != layout.dashed)
        return std::nullopt;
    for (const NumberCandidate &n : facts.numbers)
        if (n.column == layout.numberColumn && n.spread == layout.spread)
            return Draw{issue->issue, n.number};
    return std::nullopt;
}

bool overlaps(const IssueCandidate &issue, const NumberCandidate &number)
{
    const int last = number.column + (number.spread ? 2 : 0);
    return issue.column >= number.column && issue.column <= last;
}

// What a header cell says of its column.
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

// The first cells of a header line; a layout whose columns lie further
// right is not named by it.
constexpr int kHeaderCells = 64;
QStringList headerCells(QStringView line, Split split)
{
    QStringList cells;
    Cells walk(line, split);
    QStringView cell;
    while (cells.size() < kHeaderCells && walk.next(cell))
        cells.append(cell.toString());
    return cells;
}

QString cellOf(const QStringList &cells, int column)
{
    return cells.value(column);
}

// The header before the first line that holds a draw, if a line there names
// a column as headers do.
int headerLineOf(const QStringList &lines, int firstDataLine, Split split)
{
    int header = -1;
    for (int i = 0; i < firstDataLine; ++i) {
        Cells cells(lines.at(i), split);
        QStringView cell;
        while (cells.next(cell)) {
            if (namesIssue(cell) || namesDraw(cell) || namesTestNumber(cell)) {
                header = i;
                break;
            }
        }
    }
    return header;
}

int headerScore(const QStringList &header, const Layout &layout)
{
    return (namesIssue(cellOf(header, layout.issueColumn)) ? 1 : 0)
           + (namesDraw(cellOf(header, layout.numberColumn)) ? 2 : 0);
}

QString numberColumnsText(const Layout &layout)
{
    return layout.spread ? QStringLiteral("第%1至%2列").arg(layout.numberColumn + 1).arg(layout.numberColumn + 3)
                         : QStringLiteral("第%1列").arg(layout.numberColumn + 1);
}

QString columnsText(const Layout &layout)
{
    return QStringLiteral("第%1列为奖期，%2为开奖号码").arg(layout.issueColumn + 1).arg(numberColumnsText(layout));
}

// Issues of digits by their values; leading zeros do not count.
int compareIssues(QStringView a, QStringView b)
{
    const auto value = [](QStringView issue) {
        qsizetype zeros = 0;
        while (zeros + 1 < issue.size() && issue.at(zeros) == QLatin1Char('0'))
            ++zeros;
        return issue.sliced(zeros);
    };
    const QStringView x = value(a);
    const QStringView y = value(b);
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}

bool hasDigit(QStringView line)
{
    return std::any_of(line.begin(), line.end(), isDigit);
}

} // namespace

QString TableReading::description() const
{
    return columns + (newestFirst ? QStringLiteral("，新的在前") : QStringLiteral("，旧的在前"));
}

QList<Draw> TableReading::draws() const
{
    QList<Draw> list;
    list.reserve(rows.size());
    for (const TableRow &row : rows)
        list.append(row.draw);
    return list;
}

void TableReading::reverse()
{
    std::ranges::reverse(rows);
    newestFirst = !newestFirst;
}

std::expected<TableReading, QString> readTable(const QByteArray &bytes)
{
    return readTableLines(decodeForeignLines(bytes));
}

std::expected<TableReading, QString> readTableLines(const QStringList &sourceLines)
{
    QStringList lines;
    lines.reserve(sourceLines.size());
    for (const QString &line : sourceLines)
        lines.append(normalized(line));

    // Every layout any line offers, with the number of lines it reads.
    QHash<Layout, int> counts;
    int firstCandidateLine = int(lines.size());
    bool anyIssue = false;
    int firstLong = -1;
    for (int i = 0; i < lines.size(); ++i) {
        if (!hasDigit(lines.at(i)))
            continue;
        for (const Split split : kSplits) {
            const LineFacts facts = factsOf(lines.at(i), split);
            anyIssue = anyIssue || !facts.issues.isEmpty();
            if (facts.longDraw && firstLong < 0)
                firstLong = i;
            for (const IssueCandidate &issue : facts.issues) {
                for (const NumberCandidate &number : facts.numbers) {
                    if (overlaps(issue, number))
                        continue;
                    ++counts[Layout{split, issue.column, number.column, number.spread, issue.dashed}];
                    firstCandidateLine = std::min(firstCandidateLine, i);
                }
            }
        }
    }
    if (counts.isEmpty()) {
        if (firstLong >= 0)
            return std::unexpected(QStringLiteral("第%1行的开奖号码不是3位数字，不是三位数彩票的开奖号码").arg(firstLong + 1));
        if (!anyIssue)
            return std::unexpected(QStringLiteral("没有找到奖期：奖期须是一串数字"));
        return std::unexpected(QStringLiteral("没有找到三位数的开奖号码"));
    }

    // A header that names the test number's column rules that column out,
    // one that names the draw's decides between layouts that read as many
    // lines; then the separator's preference, the leftmost issue and the
    // first draw.
    QHash<int, QStringList> headers;
    const auto headerFor = [&](Split split) -> const QStringList & {
        const int key = int(split);
        if (!headers.contains(key)) {
            const int line = headerLineOf(lines, firstCandidateLine, split);
            headers.insert(key, line >= 0 ? headerCells(lines.at(line), split) : QStringList());
        }
        return headers[key];
    };
    const auto rank = [&](const Layout &l) {
        const QStringList &header = headerFor(l.split);
        return std::tuple(namesTestNumber(cellOf(header, l.numberColumn)), -counts.value(l), -headerScore(header, l),
                          int(l.split), l.issueColumn, l.numberColumn, l.spread);
    };
    Layout layout = counts.cbegin().key();
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (rank(it.key()) < rank(layout))
            layout = it.key();

    TableReading reading;
    reading.columns = columnsText(layout);
    const int header = headerLineOf(lines, firstCandidateLine, layout.split);
    reading.headerLine = header + 1;
    if (!namesDraw(cellOf(headerFor(layout.split), layout.numberColumn))) {
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            const Layout &other = it.key();
            if (it.value() == counts.value(layout) && other.split == layout.split
                && other.issueColumn == layout.issueColumn && other.numberColumn > layout.numberColumn
                && !namesTestNumber(cellOf(headerFor(layout.split), other.numberColumn))) {
                reading.note = QStringLiteral("每行有两个三位数（%1和%2），没有表头说明哪个是开奖号码，取了第一个")
                                   .arg(numberColumnsText(layout), numberColumnsText(other));
                break;
            }
        }
    }

    int firstRead = -1;
    int firstOther = -1;
    int others = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (i == header || !hasDigit(line))
            continue;
        const LineFacts facts = factsOf(line, layout.split);
        if (const auto draw = drawOf(facts, layout)) {
            reading.rows.append(TableRow{*draw, i + 1, sourceLines.at(i)});
            if (firstRead < 0)
                firstRead = i;
            continue;
        }
        if (facts.longDraw)
            return std::unexpected(QStringLiteral("第%1行的开奖号码不是3位数字，不是三位数彩票的开奖号码").arg(i + 1));
        QString reason;
        const auto issue = std::ranges::find(facts.issues, layout.issueColumn, &IssueCandidate::column);
        if (issue == facts.issues.end())
            reason = QStringLiteral("第%1列不是奖期").arg(layout.issueColumn + 1);
        else if (issue->dashed != layout.dashed)
            reason = QStringLiteral("奖期的写法与其他行不同");
        else
            reason = numberColumnsText(layout) + QStringLiteral("不是三位数的开奖号码");
        reading.skipped.append(TableSkip{i + 1, sourceLines.at(i), reason});
        // A line that another layout reads is a second table, not a fault.
        bool readElsewhere = false;
        for (const Split split : kSplits) {
            const LineFacts f = split == layout.split ? facts : factsOf(line, split);
            for (const IssueCandidate &is : f.issues)
                for (const NumberCandidate &n : f.numbers)
                    readElsewhere = readElsewhere || !overlaps(is, n);
        }
        if (readElsewhere) {
            ++others;
            if (firstOther < 0)
                firstOther = i;
        }
    }
    if (others >= 2)
        return std::unexpected(QStringLiteral("表格混有两种格式：第%1行与第%2行的格式不同，请分开导入")
                                   .arg(std::min(firstRead, firstOther) + 1)
                                   .arg(std::max(firstRead, firstOther) + 1));

    int ascending = 0;
    int descending = 0;
    for (qsizetype i = 1; i < reading.rows.size(); ++i) {
        const int c = compareIssues(reading.rows.at(i - 1).draw.issue, reading.rows.at(i).draw.issue);
        ascending += c < 0;
        descending += c > 0;
    }
    if (descending > ascending)
        reading.reverse();
    else
        reading.newestFirst = false;
    return reading;
}

} // namespace numsieve
