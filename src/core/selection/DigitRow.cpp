#include "core/selection/DigitRow.h"

#include <chrono>

namespace numsieve {

RandomSource::RandomSource(std::uint64_t seed)
{
    this->seed(seed);
}

RandomSource &RandomSource::global()
{
    static RandomSource source(std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count())
                               ^ std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count()));
    return source;
}

void RandomSource::seed(std::uint64_t seed)
{
    m_state = seed;
}

int RandomSource::next()
{
    // splitmix64, reduced to the 15-bit range callers expect
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return int(z % 32768);
}

int DigitRow::count() const
{
    int n = 0;
    for (bool on : m_selected)
        n += on;
    return n;
}

QList<int> DigitRow::digits() const
{
    QList<int> out;
    for (int d = 0; d < 10; ++d)
        if (m_selected[d])
            out.append(d);
    return out;
}

QString DigitRow::toText() const
{
    QString text;
    for (bool on : m_selected)
        text += on ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

const QStringList &DigitRow::menuItems()
{
    static const QStringList items = [] {
        QStringList list{QStringLiteral("小 01234"), QStringLiteral("中 3456"), QStringLiteral("大 56789"),
                         QStringLiteral("奇 13579"), QStringLiteral("偶 02468"), QStringLiteral("质 12357"),
                         QStringLiteral("合 04689"), QStringLiteral("除三余零 0369"), QStringLiteral("除三余一 147"),
                         QStringLiteral("除三余二 258")};
        for (int n = 1; n <= 9; ++n)
            list.append(QStringLiteral("随机%1个号码").arg(n));
        return list;
    }();
    return items;
}

void DigitRow::applyMenuItem(int item, RandomSource &random)
{
    clear();
    const QStringList &items = menuItems();
    if (item < 0 || item >= items.size())
        return;
    if (item < 10) {
        // The digits are the text after the blank.
        const QString text = items.at(item);
        for (QChar c : text.mid(text.indexOf(QLatin1Char(' ')) + 1))
            m_selected[c.digitValue()] = true;
        return;
    }
    const int wanted = item - 9;
    int marked = 0;
    while (marked < wanted) {
        const int digit = (random.next() % 100) / 10;
        if (!m_selected[digit]) {
            m_selected[digit] = true;
            ++marked;
        }
    }
}

} // namespace numsieve
