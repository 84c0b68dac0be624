#include "core/analysis/TrendTable.h"

#include "core/model/Attributes.h"
#include "core/model/Number.h"
#include "core/model/Vocabulary.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace numsieve {

namespace {

constexpr int kGroupKindCount = 3;

struct GroupInfo {
    const char16_t *name;
    const char *key;
};

const GroupInfo kGroups[kTrendGroupCount] = {
    {u"百位", "hundreds"},        {u"十位", "tens"},     {u"个位", "units"},    {u"号码分布", "anywhere"},
    {u"和值", "sum"},             {u"跨度", "span"},     {u"和尾", "tail"},     {u"大小形态", "bigsmall"},
    {u"奇偶形态", "oddeven"},     {u"质合形态", "primecomposite"}, {u"组选形态", "groupkind"},
};

QStringList digitTexts(int count)
{
    QStringList values;
    for (int v = 0; v < count; ++v)
        values.append(QString::number(v));
    return values;
}

QStringList groupValues(TrendGroup group)
{
    switch (group) {
    case TrendGroup::Sum: return digitTexts(28);
    case TrendGroup::BigSmall: return vocabulary(Vocab::BigSmallShape).first(8);
    case TrendGroup::OddEven: return vocabulary(Vocab::OddEvenShape);
    case TrendGroup::PrimeComposite: return vocabulary(Vocab::PrimeShape);
    case TrendGroup::Kind: return {QStringLiteral("豹子"), QStringLiteral("组三"), QStringLiteral("组六")};
    default: return digitTexts(10);
    }
}

// The value a number has in a group other than 号码分布, as its list text,
// found by the program's own attribute functions.
QString valueOf(TrendGroup group, int number)
{
    const Digits d = digitsOf(number);
    switch (group) {
    case TrendGroup::Hundreds: return QString::number(d.h);
    case TrendGroup::Tens: return QString::number(d.t);
    case TrendGroup::Units: return QString::number(d.u);
    case TrendGroup::Sum: return QString::number(digitSum(d));
    case TrendGroup::Span: return QString::number(span(d));
    case TrendGroup::Tail: return QString::number(sumTail(d));
    case TrendGroup::BigSmall: return kTwoWayPrefix + bigSmallShape(d);
    case TrendGroup::OddEven: return oddEvenShape(d);
    case TrendGroup::PrimeComposite: return primeCompositeShape(d);
    case TrendGroup::Kind: break;
    case TrendGroup::Anywhere: return {};
    }
    switch (groupKind(number)) {
    case GroupKind::Triple: return QStringLiteral("豹子");
    case GroupKind::GroupThree: return QStringLiteral("组三");
    case GroupKind::GroupSix: break;
    }
    return QStringLiteral("组六");
}

// What every number from 000 to 999 has: per group the column it hits, and
// per digit how often it holds it. Worked out once; every table reads it.
struct Classes {
    QList<TrendColumn> columns;
    std::array<ColumnRange, kTrendGroupCount> ranges{};
    std::array<std::array<std::int16_t, kTrendGroupCount>, 1000> columnOf{};   // -1 for 号码分布
    std::array<std::array<std::uint8_t, 10>, 1000> digitCount{};
    QList<int> share;   // per column, how many of the 1000 numbers have it
};

const Classes &classes()
{
    static const Classes c = [] {
        Classes c;
        std::array<QHash<QString, int>, kTrendGroupCount> index;
        for (int g = 0; g < kTrendGroupCount; ++g) {
            const QStringList values = groupValues(TrendGroup(g));
            c.ranges[std::size_t(g)] = {int(c.columns.size()), int(values.size())};
            for (const QString &v : values) {
                index[std::size_t(g)].insert(v, int(c.columns.size()));
                c.columns.append({TrendGroup(g), v, 0});
                c.share.append(0);
            }
        }
        const int anywhere = c.ranges[std::size_t(TrendGroup::Anywhere)].first;
        for (int number = 0; number < 1000; ++number) {
            const Digits d = digitsOf(number);
            for (int digit : {d.h, d.t, d.u})
                ++c.digitCount[std::size_t(number)][std::size_t(digit)];
            for (int digit = 0; digit < 10; ++digit)
                if (c.digitCount[std::size_t(number)][std::size_t(digit)] > 0)
                    ++c.share[anywhere + digit];
            for (int g = 0; g < kTrendGroupCount; ++g) {
                if (TrendGroup(g) == TrendGroup::Anywhere) {
                    c.columnOf[std::size_t(number)][std::size_t(g)] = -1;
                    continue;
                }
                const int column = index[std::size_t(g)].value(valueOf(TrendGroup(g), number), -1);
                Q_ASSERT(column >= 0);
                c.columnOf[std::size_t(number)][std::size_t(g)] = std::int16_t(column);
                ++c.share[column];
            }
        }
        for (qsizetype column = 0; column < c.columns.size(); ++column)
            c.columns[column].chance = c.share.at(column) / 1000.0;
        return c;
    }();
    return c;
}

int numberOfDraw(const QString &text)
{
    if (text.size() != 3 || !std::ranges::all_of(text, [](QChar ch) { return ch >= u'0' && ch <= u'9'; }))
        return -1;
    return text.toInt();
}

} // namespace

QString trendGroupName(TrendGroup group) { return QString::fromUtf16(kGroups[int(group)].name); }
QString trendGroupKey(TrendGroup group) { return QString::fromLatin1(kGroups[int(group)].key); }

const QList<TrendColumn> &trendColumns() { return classes().columns; }
ColumnRange trendGroupColumns(TrendGroup group) { return classes().ranges[std::size_t(group)]; }

TrendTable::TrendTable(const QList<Draw> &draws)
    : m_draws(draws)
    , m_hitRows(std::size_t(classes().columns.size()))
{
    const Classes &c = classes();
    const int anywhere = c.ranges[std::size_t(TrendGroup::Anywhere)].first;
    m_numbers.reserve(std::size_t(draws.size()));
    for (std::vector<int> &rows : m_hitRows)
        rows.reserve(std::size_t(draws.size()) / 8 + 1);
    for (int row = 0; row < int(draws.size()); ++row) {
        const int number = numberOfDraw(draws.at(row).number);
        m_numbers.push_back(std::int16_t(number));
        if (number < 0)
            continue;
        for (std::int16_t column : c.columnOf[std::size_t(number)])
            if (column >= 0)
                m_hitRows[std::size_t(column)].push_back(row);
        for (int digit = 0; digit < 10; ++digit)
            if (c.digitCount[std::size_t(number)][std::size_t(digit)] > 0)
                m_hitRows[std::size_t(anywhere + digit)].push_back(row);
    }
}

int TrendTable::hitCount(int row, int column) const
{
    const int number = m_numbers[std::size_t(row)];
    if (number < 0)
        return 0;
    const Classes &c = classes();
    const TrendGroup group = c.columns.at(column).group;
    if (group == TrendGroup::Anywhere)
        return c.digitCount[std::size_t(number)][std::size_t(column - c.ranges[std::size_t(group)].first)];
    return c.columnOf[std::size_t(number)][std::size_t(group)] == column ? 1 : 0;
}

int TrendTable::omission(int row, int column) const
{
    const std::vector<int> &hits = m_hitRows[std::size_t(column)];
    const auto after = std::upper_bound(hits.begin(), hits.end(), row);
    return after == hits.begin() ? row + 1 : row - *(after - 1);
}

int TrendTable::hitColumn(int row, TrendGroup group) const
{
    const int number = m_numbers[std::size_t(row)];
    return number < 0 ? -1 : classes().columnOf[std::size_t(number)][std::size_t(group)];
}

int TrendTable::windowSize(int window) const
{
    return window <= 0 ? rowCount() : std::min(window, rowCount());
}

TrendStats TrendTable::stats(int column, int window) const
{
    const int w = windowSize(window);
    const int first = rowCount() - w;
    const std::vector<int> &hits = m_hitRows[std::size_t(column)];
    const auto begin = std::lower_bound(hits.begin(), hits.end(), first);

    TrendStats s;
    s.hits = int(hits.end() - begin);
    // Counted in thousandths, so that 100 draws expect 27.1 and not a hair more.
    s.expected = double(w) * classes().share.at(column) / 1000.0;
    s.meanOmission = double(w - s.hits) / double(s.hits + 1);
    if (w == 0)
        return s;
    // The omission climbs by one a row and drops to 0 at a hit, so its highest
    // values stand on the rows just before a hit and on the newest row.
    int previous = begin == hits.begin() ? -1 : *(begin - 1);   // the hit before, -1 for none
    int run = 0;
    for (auto it = begin; it != hits.end(); ++it) {
        const int row = *it;
        if (row > first)
            s.maxOmission = std::max(s.maxOmission, row - 1 - previous);
        run = previous == row - 1 && row > first ? run + 1 : 1;
        s.maxRun = std::max(s.maxRun, run);
        previous = row;
    }
    s.currentOmission = omission(rowCount() - 1, column);
    s.maxOmission = std::max(s.maxOmission, s.currentOmission);
    s.pChance = binomialTwoSided(w, classes().columns.at(column).chance, s.hits);
    return s;
}

double binomialTwoSided(int n, double p, int observed)
{
    if (n <= 0 || p <= 0 || p >= 1)
        return 1;
    const double mean = n * p;
    // The observed count must count itself even when rounding puts its own
    // distance a hair beyond the one it is compared with.
    const double distance = std::abs(observed - mean) - 1e-7 * std::max(1.0, mean);
    if (distance <= 0)
        return 1;
    const double logP = std::log(p);
    const double logQ = std::log1p(-p);
    const auto logPmf = [&](int k) {
        return std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0) + k * logP + (n - k) * logQ;
    };
    // Each tail starts at its count nearest the mean, where its terms are
    // largest, and walks outwards by the ratio of neighbouring terms until
    // they no longer change the sum.
    const auto tail = [&](int start, int step) {
        if (start < 0 || start > n)
            return 0.0;
        double term = 1;
        double sum = 0;
        for (int k = start; k >= 0 && k <= n; k += step) {
            sum += term;
            if (term < sum * 1e-17)
                break;
            term *= step > 0 ? (double(n - k) / double(k + 1)) * (p / (1 - p))
                             : (double(k) / double(n - k + 1)) * ((1 - p) / p);
        }
        return std::exp(logPmf(start)) * sum;
    };
    const int low = int(std::floor(mean - distance));
    const int high = int(std::ceil(mean + distance));
    return std::min(1.0, tail(low, -1) + tail(high, +1));
}

QString trendMarkNote(int columns)
{
    return QStringLiteral("偶然概率低于5%的列已标出；这里共%1列，即使全凭偶然，也约有二十分之一（约%2列）会被标出。")
        .arg(columns)
        .arg(QString::number(columns / 20.0, 'f', 1));
}

} // namespace numsieve
