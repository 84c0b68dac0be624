#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace numsieve {

// The process-wide source of the "random digits" menu items. Seeded from the
// clock so that every start yields other digits; tests seed it themselves.
class RandomSource
{
public:
    explicit RandomSource(std::uint64_t seed);
    static RandomSource &global();
    void seed(std::uint64_t seed);
    int next();   // 0 .. 32767, like the C library's generator

private:
    std::uint64_t m_state = 0;
};

// Ten toggles "0" to "9".
class DigitRow
{
public:
    bool isSelected(int digit) const { return m_selected[digit]; }
    void setSelected(int digit, bool on) { m_selected[digit] = on; }
    void toggle(int digit) { m_selected[digit] = !m_selected[digit]; }
    void selectAll() { m_selected.fill(true); }
    void clear() { m_selected.fill(false); }
    int count() const;
    QList<int> digits() const;

    // "0001000100" for 3 and 7.
    QString toText() const;

    bool operator==(const DigitRow &) const = default;

    // Items of the 选号 menu, in menu order: the ten fixed groups, then
    // "随机1个号码" to "随机9个号码". Applying one clears the row first.
    static const QStringList &menuItems();
    void applyMenuItem(int item, RandomSource &random = RandomSource::global());

private:
    std::array<bool, 10> m_selected{};
};

} // namespace numsieve
