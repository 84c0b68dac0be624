#pragma once

#include "core/script/HistoryArrays.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace numsieve {

// One element of the twelve arrays at a fixed place: 和值[1], hm[0][2].
struct ArrayRead {
    int array = 0;      // 0 号码/hm, 1 和值/hz, 2 和尾数/hw, 3 平均值/pj, 4 跨度/kd, 5 AC值/ac
    int period = 0;     // 0 the tested number, k the k-th newest draw
    int position = 0;   // the index into a 号码 element; unused for the others
};

// The elements an expression reads, in order, when it reads the arrays at
// fixed places only: every name is followed by literal indexes (two for
// 号码/hm, one for the others). Anything else (a computed index, a whole
// array, a comment) gives std::nullopt. Every element is a number or
// undefined, so whatever indexes it further is decided by its value too.
// Only meaningful for an expression that names nothing but the twelve arrays
// and writes nothing.
std::optional<QList<ArrayRead>> fixedReads(const QString &expression);

// What reading an element finds, as a number, or one of the two values that
// stand for "no such element" (undefined) and "no such draw" (reading its
// digits throws). `number` is null for the pre-check, where index 0 keeps
// its placeholders; `history` holds the draws the arrays were declared with,
// newest first, at most kHistoryDepth of them.
inline constexpr int kReadUndefined = -2147483647 - 1;
inline constexpr int kReadNoDraw = kReadUndefined + 1;
int readValue(const ArrayRead &read, const ScriptAttributes *number, const QList<ScriptAttributes> &history);

// The outcomes of one expression that reads fixed places only. Such an
// expression evaluates to what those values decide and nothing else, so an
// outcome found once holds wherever they are the same again: for every
// number with the same digits, sums, … that it reads, and for every history
// whose draws agree at the places it reads. A back-test asks the same few
// questions at thousands of steps; this remembers their answers.
class ExpressionMemo
{
public:
    enum Outcome : signed char { Unknown = -1, Fails = 0, Holds = 1, Throws = 2 };
    static constexpr int kPlaceholder = -1;   // the pre-check's "number"

    explicit ExpressionMemo(QList<ArrayRead> reads);

    // Makes the outcomes of this history (newest first) the ones asked.
    void setHistory(const QList<ScriptAttributes> &history);
    // For a number 0..999, or kPlaceholder. Unknown until remembered.
    Outcome outcome(int number) const { return Outcome((*m_current)[std::size_t(m_slot[std::size_t(number + 1)])]); }
    void remember(int number, Outcome outcome) { (*m_current)[std::size_t(m_slot[std::size_t(number + 1)])] = outcome; }

    // The memory the remembered outcomes take, and a way to drop them all.
    std::size_t bytes() const { return m_tables.size() * (std::size_t(m_slots) + 64); }
    void forget();

private:
    QList<ArrayRead> m_historyReads;
    // Per number (the placeholder first), the slot of the values it reads
    // at index 0: numbers reading the same values share a slot.
    std::array<int, 1001> m_slot{};
    int m_slots = 0;
    // Per history, keyed by the values read there, an outcome per slot.
    std::unordered_map<std::string, std::vector<signed char>> m_tables;
    std::string m_key;
    std::vector<signed char> *m_current = nullptr;
};

} // namespace numsieve
