#pragma once

#include <QStringList>

#include <array>

namespace numsieve {

// How many draws came after a number's most recent draw: 0 when the latest
// draw is the number, n when it was never drawn among n draws, -1 with no
// draws at all. Straight omission compares draw texts with the "%.3d" text;
// group omission compares sorted forms.
//
// One pass from the newest draw backwards records every number's and every
// sorted form's latest position, and stops as soon as nothing is left to find,
// so a long history costs only as far back as its rarest number.
class OmissionIndex
{
public:
    enum Need { Straight = 1, Group = 2, Both = 3 };

    OmissionIndex() = default;
    // draws oldest first
    static OmissionIndex build(const QStringList &draws, Need need = Both);

    // The index of the same draws with one more, newer draw: what build()
    // gives for the longer list, at the cost of one step.
    void append(const QString &draw);

    int omission(int number) const { return m_drawCount == 0 ? -1 : m_straight[number]; }
    // sortedNumber is a sorted form, as the group tables hold it
    int groupOmission(int sortedNumber) const { return m_drawCount == 0 ? -1 : m_group[sortedNumber]; }

private:
    qsizetype m_drawCount = 0;
    std::array<int, 1000> m_straight{};
    std::array<int, 1000> m_group{};
};

// The same figures by scanning the draws for one number. Only for comparison:
// a run over many candidates uses OmissionIndex.
int scanOmission(const QStringList &draws, int number);
int scanGroupOmission(const QStringList &draws, int sortedNumber);

// The value of a draw text as an integer 0..999 the way group omission reads
// it (leading blanks, then digits), or -1 when it is no such number.
int groupDrawValue(const QString &text);
// The number a draw text is equal to as "%.3d" text, or -1.
int drawTextNumber(const QString &text);

} // namespace numsieve
