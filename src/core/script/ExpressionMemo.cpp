#include "core/script/ExpressionMemo.h"

#include <map>

namespace numsieve {

namespace {

bool isIdentifierChar(QChar ch)
{
    return ch.isLetterOrNumber() || ch == u'_' || ch == u'$';
}

int arrayOfName(QStringView name)
{
    static const char16_t *const names[2][6] = {{u"号码", u"和值", u"和尾数", u"平均值", u"跨度", u"AC值"},
                                                {u"hm", u"hz", u"hw", u"pj", u"kd", u"ac"}};
    for (const auto &spelling : names)
        for (int array = 0; array < 6; ++array)
            if (name == QStringView(spelling[array]))
                return array;
    return -1;
}

// "[k]" at i with k written plainly in decimal ("0", "17"; not "017", which
// the engine may read as octal), moving i past it. Periods past the history
// all read the same, so there is no need for long ones.
std::optional<int> literalIndex(const QString &text, qsizetype &i)
{
    if (i >= text.size() || text[i] != u'[')
        return std::nullopt;
    qsizetype j = i + 1;
    int value = 0;
    int digits = 0;
    while (j < text.size() && text[j] >= u'0' && text[j] <= u'9' && digits < 4) {
        value = value * 10 + (text[j].unicode() - u'0');
        ++digits;
        ++j;
    }
    if (digits == 0 || (digits > 1 && text[i + 1] == u'0') || j >= text.size() || text[j] != u']')
        return std::nullopt;
    i = j + 1;
    return value;
}

int attribute(const ScriptAttributes &a, int array, int position)
{
    switch (array) {
    case 0:
        switch (position) {
        case 0: return -1;
        case 1: return a.h;
        case 2: return a.t;
        case 3: return a.u;
        default: return kReadUndefined;
        }
    case 1: return a.sum;
    case 2: return a.tail;
    case 3: return a.average;
    case 4: return a.span;
    default: return a.ac;
    }
}

} // namespace

std::optional<QList<ArrayRead>> fixedReads(const QString &expression)
{
    QList<ArrayRead> reads;
    for (qsizetype i = 0; i < expression.size();) {
        const QChar ch = expression[i];
        if (ch.isDigit()) {
            while (i < expression.size() && (expression[i].isDigit() || expression[i] == u'.'))
                ++i;
            continue;
        }
        if (isIdentifierChar(ch)) {
            const qsizetype start = i;
            while (i < expression.size() && isIdentifierChar(expression[i]))
                ++i;
            ArrayRead read;
            read.array = arrayOfName(QStringView(expression).mid(start, i - start));
            const auto period = literalIndex(expression, i);
            if (read.array < 0 || !period)
                return std::nullopt;
            read.period = *period;
            if (read.array == 0) {
                const auto position = literalIndex(expression, i);
                if (!position)
                    return std::nullopt;
                read.position = *position;
            }
            reads.append(read);
            continue;
        }
        // A comment could hide the rest of the text from the engine, but not
        // from this reading of it.
        if (ch == u'/' && i + 1 < expression.size() && (expression[i + 1] == u'/' || expression[i + 1] == u'*'))
            return std::nullopt;
        ++i;
    }
    return reads;
}

int readValue(const ArrayRead &read, const ScriptAttributes *number, const QList<ScriptAttributes> &history)
{
    if (read.period == 0) {
        // The history text declares index 0 as -1 ([-1,-1,-1,-1] for 号码).
        if (!number)
            return read.array == 0 && read.position > 3 ? kReadUndefined : -1;
        return attribute(*number, read.array, read.position);
    }
    if (read.period > history.size())
        return kReadNoDraw;
    return attribute(history.at(read.period - 1), read.array, read.position);
}

ExpressionMemo::ExpressionMemo(QList<ArrayRead> reads)
{
    QList<ArrayRead> numberReads;
    for (const ArrayRead &read : reads)
        (read.period == 0 ? numberReads : m_historyReads).append(read);
    std::map<std::vector<int>, int> slots;
    for (int number = kPlaceholder; number < 1000; ++number) {
        const ScriptAttributes a = scriptAttributes(std::max(number, 0));
        std::vector<int> values;
        for (const ArrayRead &read : std::as_const(numberReads))
            values.push_back(readValue(read, number == kPlaceholder ? nullptr : &a, {}));
        const auto [at, added] = slots.try_emplace(std::move(values), m_slots);
        m_slot[std::size_t(number + 1)] = at->second;
        m_slots += added ? 1 : 0;
    }
    setHistory({});
}

void ExpressionMemo::setHistory(const QList<ScriptAttributes> &history)
{
    m_key.clear();
    for (const ArrayRead &read : std::as_const(m_historyReads)) {
        const int value = readValue(read, nullptr, history);
        m_key.append(reinterpret_cast<const char *>(&value), sizeof value);
    }
    m_current = &m_tables.try_emplace(m_key, std::size_t(m_slots), Unknown).first->second;
}

void ExpressionMemo::forget()
{
    m_tables.clear();
    m_current = &m_tables.try_emplace(m_key, std::size_t(m_slots), Unknown).first->second;
}

} // namespace numsieve
