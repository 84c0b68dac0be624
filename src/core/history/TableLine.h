#pragma once

// The first stage of reading a table: what one line offers under each way of
// cutting it into cells. Shared by the survey of layouts and the reading of
// rows; nothing here is meant beyond the table reader.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>

#include <algorithm>
#include <iterator>

namespace numsieve::table {

// The ways a line is cut into cells, in the order preferred when two read the
// same lines: a spreadsheet copy has tabs, a CSV commas, the program's own
// files "$", and a web page copied as text has blanks.
enum class Split : quint8 { Tab, Comma, Dollar, Semicolon, Blank };
constexpr Split kSplits[] = {Split::Tab, Split::Comma, Split::Dollar, Split::Semicolon, Split::Blank};
constexpr size_t kSplitCount = std::size(kSplits);

// Only this many candidates of each kind are kept from a line, so that a
// line of any length offers a bounded number of layouts.
constexpr int kIssueCandidates = 2;
constexpr int kNumberCandidates = 3;
constexpr int kShortCandidates = 2;
// Columns past this cannot say that their draw is still to come.
constexpr int kMaskColumns = 64;
constexpr int kHeaderCells = 64;

inline bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

inline bool allDigits(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isDigit);
}

inline bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Full-width digits and punctuation as web pages write them, and the
// ideographic space, become their ASCII forms; nothing else changes, and
// every character stays one character, so that a position in the
// normalized line is the same position in the line as it was.
inline QChar normalizedChar(QChar c)
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

inline void normalizeInto(QStringView line, QString &out)
{
    out.resize(line.size());
    QChar *to = out.data();
    for (qsizetype i = 0; i < line.size(); ++i)
        to[i] = normalizedChar(line.at(i));
}

inline QStringView trimmedView(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.sliced(begin, end - begin);
}

inline bool hasDigit(QStringView line)
{
    return std::any_of(line.begin(), line.end(), isDigit);
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

LineFacts factsOf(QStringView line, Split split);

// What a header cell says of its column.
bool namesIssue(QStringView cell);
bool namesTestNumber(QStringView cell);
bool namesDraw(QStringView cell);
bool namesDate(QStringView cell);
bool namesColumn(QStringView cell);
// The cells of a header line, at most kHeaderCells of them.
QStringList headerCells(QStringView line, Split split);

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

} // namespace numsieve::table
