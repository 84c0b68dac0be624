#include "core/history/TableReader.h"

#include "core/history/DrawGate.h"
#include "core/model/Number.h"
#include "core/text/TextFile.h"

#include <QHash>
#include <QSet>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <optional>

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
constexpr int kShortCandidates = 2;
// Columns past this cannot say that their draw is still to come.
constexpr int kMaskColumns = 64;
constexpr int kHeaderCells = 64;

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
// ideographic space, become their ASCII forms; nothing else changes, and
// every character stays one character, so that a position in the
// normalized line is the same position in the line as it was.
QChar normalizedChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0xFF10 && u <= 0xFF19)
        return QChar(char16_t(u'0' + (u - 0xFF10)));
    switch (u) {
    case 0x3000:
    case 0x00A0:
    case 0xFEFF: return QLatin1Char(' ');
    case 0xFF0C: return QLatin1Char(',');
    case 0xFF1A: return QLatin1Char(':');
    case 0xFF04: return QLatin1Char('$');
    case 0xFF1B: return QLatin1Char(';');
    case 0xFF0D:
    case 0x2014:
    case 0x2013:
    case 0x2012: return QLatin1Char('-');
    default: return c;
    }
}

void normalizeInto(QStringView line, QString &out)
{
    out.resize(line.size());
    QChar *to = out.data();
    for (qsizetype i = 0; i < line.size(); ++i)
        to[i] = normalizedChar(line.at(i));
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

    // Empty cells stay cells: an empty cell under 开奖号码 is a draw still to come.
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

// Columns are counted as the header counts them. Between separators every
// cell is a column; between blanks, a draw written as three one-digit cells
// (or a draw with its test number as six, or "-- -- --" for a draw still to
// come) stands under one header word, so it is one column there.
struct IssueCandidate {
    int column = 0;
    int rawColumn = 0;
    int start = 0;    // in the line
    int length = 0;
    int dash = -1;    // in the line
    bool date = false;
};

struct NumberCandidate {
    int column = 0;
    int rawColumn = 0;
    bool spread = false;   // three cells of one digit each
    quint16 value = 0;
};

struct ShortCandidate {
    int column = 0;
    int rawColumn = 0;
    int digits = 0;
    quint16 value = 0;
};

// What one line offers under one way of cutting it.
struct LineFacts {
    QVarLengthArray<IssueCandidate, kIssueCandidates> issues;
    QVarLengthArray<NumberCandidate, kNumberCandidates> numbers;
    QVarLengthArray<ShortCandidate, kShortCandidates> shorts;   // one or two digits alone
    quint64 pending = 0;     // columns whose cell says the draw is still to come
    bool longDraw = false;   // digits where a draw stands, but more than three

    bool offersDraw() const { return !numbers.isEmpty() || !shorts.isEmpty() || pending != 0; }
    const IssueCandidate *issueAt(int column, bool dashed) const
    {
        for (const IssueCandidate &issue : issues)
            if (issue.column == column && (issue.dash >= 0) == dashed)
                return &issue;
        return nullptr;
    }
    const NumberCandidate *numberAt(int column) const
    {
        for (const NumberCandidate &number : numbers)
            if (number.column == column)
                return &number;
        return nullptr;
    }
    const ShortCandidate *shortAt(int column) const
    {
        for (const ShortCandidate &number : shorts)
            if (number.column == column)
                return &number;
        return nullptr;
    }
    bool pendingAt(int column) const { return column < kMaskColumns && (pending >> column) & 1U; }
};

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

LineFacts factsOf(QStringView line, Split split)
{
    LineFacts facts;
    const bool blank = split == Split::Blank;
    bool longSeen = false;
    int shift = 0;   // raw cells that a spread draw or a dash group folded away so far
    // A run of one-digit cells is a draw when it has three of them, or six
    // (the draw and the test number), or the draw followed by its sum and
    // span, which tables often add.
    int runStart = 0;
    int runLength = 0;
    int runDigits[6] = {};
    int dashStart = 0;
    int dashLength = 0;
    const auto addNumber = [&facts](int column, int rawColumn, bool spread, int value) {
        if (facts.numbers.size() < kNumberCandidates)
            facts.numbers.append(NumberCandidate{column, rawColumn, spread, quint16(value)});
    };
    const auto addShort = [&facts](int column, int rawColumn, int digits, int value) {
        if (facts.shorts.size() < kShortCandidates)
            facts.shorts.append(ShortCandidate{column, rawColumn, digits, quint16(value)});
    };
    const auto markPending = [&facts](int column) {
        if (column >= 0 && column < kMaskColumns)
            facts.pending |= quint64(1) << column;
    };
    const auto valueAt = [&runDigits](int from) { return runDigits[from] * 100 + runDigits[from + 1] * 10 + runDigits[from + 2]; };
    const auto endRun = [&] {
        if (runLength == 0)
            return;
        const int column = runStart - shift;
        if (runLength >= 3) {
            const int sum = runDigits[0] + runDigits[1] + runDigits[2];
            const int span = std::max({runDigits[0], runDigits[1], runDigits[2]})
                             - std::min({runDigits[0], runDigits[1], runDigits[2]});
            if (runLength == 3 || (runLength == 4 && runDigits[3] == sum)
                || (runLength == 5 && runDigits[3] == sum && runDigits[4] == span)) {
                addNumber(column, runStart, true, valueAt(0));
                shift += blank ? 2 : 0;
            } else if (runLength == 6) {
                addNumber(column, runStart, true, valueAt(0));
                addNumber(column + (blank ? 1 : 3), runStart + 3, true, valueAt(3));
                shift += blank ? 4 : 0;
            } else {
                longSeen = true;
            }
        } else if (runLength == 1) {
            addShort(column, runStart, 1, runDigits[0]);
        }
        runLength = 0;
    };
    const auto endDashes = [&] {
        if (dashLength == 0)
            return;
        markPending(dashStart - shift);
        shift += dashLength - 1;
        dashLength = 0;
    };

    QStringView cell;
    Cells cells(line, split);
    int column = 0;
    for (; cells.next(cell); ++column) {
        if (blank && isDashCell(cell) && dashLength < 3) {
            endRun();
            if (dashLength++ == 0)
                dashStart = column;
            continue;
        }
        endDashes();
        if (cell.size() == 1 && isDigit(cell.front())) {
            if (runLength == 0)
                runStart = column;
            if (runLength < 6)
                runDigits[runLength] = cell.front().unicode() - u'0';
            ++runLength;
            continue;
        }
        endRun();
        const int logical = column - shift;
        if (saysPending(cell, split)) {
            markPending(logical);
            continue;
        }
        IssueCandidate issue;
        if (issueOf(cell, int(cell.data() - line.data()), issue)) {
            if (!facts.issues.isEmpty() && allDigits(cell) && cell.size() <= 5)
                longSeen = true;   // "2024001 1234"
            issue.column = logical;
            issue.rawColumn = column;
            if (facts.issues.size() < kIssueCandidates)
                facts.issues.append(issue);
            continue;
        }
        if (cell.size() == 2 && allDigits(cell)) {
            addShort(logical, column, 2, cell.toInt());
            continue;
        }
        quint16 number = 0;
        switch (numberInCell(cell, number)) {
        case CellNumber::Number: addNumber(logical, column, false, number); break;
        case CellNumber::TooLong: longSeen = true; break;
        case CellNumber::None: break;
        }
    }
    endRun();
    endDashes();
    facts.longDraw = longSeen && facts.numbers.isEmpty() && !facts.issues.isEmpty();
    return facts;
}

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

QString numberColumnsText(const LayoutTally &tally)
{
    return tally.spread ? QStringLiteral("第%1至%2列").arg(tally.rawColumn + 1).arg(tally.rawColumn + 3)
                        : QStringLiteral("第%1列").arg(tally.rawColumn + 1);
}

bool hasDigit(QStringView line)
{
    return std::any_of(line.begin(), line.end(), isDigit);
}

// Walks the lines of a text (CR LF, LF or a lone CR end one), giving each
// line's offset and length.
template<typename F>
void forEachLine(const QString &text, F &&visit)
{
    const QChar *p = text.constData();
    const qsizetype n = text.size();
    qsizetype start = 0;
    int index = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = p[i];
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            continue;
        if (!visit(index++, start, i - start))
            return;
        if (c == QLatin1Char('\r') && i + 1 < n && p[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        visit(index, start, n - start);
}

QString rowsText(int firstLine, int count)
{
    return count == 1 ? QStringLiteral("第%1行").arg(firstLine) : QStringLiteral("第%1行等%2行").arg(firstLine).arg(count);
}

} // namespace

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

constexpr size_t kSplitCount = std::size(kSplits);

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
