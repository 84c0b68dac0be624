#include "core/filter/Omission.h"

#include "core/model/Number.h"

namespace numsieve {

int drawTextNumber(const QString &text)
{
    if (text.size() != 3)
        return -1;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

int groupDrawValue(const QString &text)
{
    const int exact = drawTextNumber(text);
    if (exact >= 0)
        return exact;
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    if (i < text.size() && text.at(i) == u'+')
        ++i;
    int value = 0;
    int digits = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        value = value * 10 + (text.at(i).unicode() - u'0');
        if (++digits > 3)
            return -1;
    }
    return digits == 0 ? -1 : value;
}

OmissionIndex OmissionIndex::build(const QStringList &draws, Need need)
{
    OmissionIndex index;
    const qsizetype n = draws.size();
    index.m_drawCount = n;
    index.m_straight.fill(int(n));
    index.m_group.fill(int(n));
    if (n == 0)
        return index;

    std::array<bool, 1000> seenStraight{};
    std::array<bool, 1000> seenGroup{};
    int leftStraight = (need & Straight) ? 1000 : 0;
    int leftGroup = (need & Group) ? 220 : 0;   // 10 triples, 90 group-three and 120 group-six sorted forms
    for (qsizetype i = n - 1; i >= 0 && (leftStraight > 0 || leftGroup > 0); --i) {
        const QString &text = draws.at(i);
        const int distance = int(n - 1 - i);
        if (leftStraight > 0) {
            const int number = drawTextNumber(text);
            if (number >= 0 && !seenStraight[number]) {
                seenStraight[number] = true;
                index.m_straight[number] = distance;
                --leftStraight;
            }
        }
        if (leftGroup > 0) {
            const int value = groupDrawValue(text);
            if (value >= 0) {
                const int sorted = sortedForm(value);
                if (!seenGroup[sorted]) {
                    seenGroup[sorted] = true;
                    index.m_group[sorted] = distance;
                    --leftGroup;
                }
            }
        }
    }
    return index;
}

void OmissionIndex::append(const QString &draw)
{
    // Every figure counts one more draw since, including "never drawn", which
    // is the draw count; the new draw's own number and sorted form restart.
    ++m_drawCount;
    for (int &distance : m_straight)
        ++distance;
    for (int &distance : m_group)
        ++distance;
    if (const int number = drawTextNumber(draw); number >= 0)
        m_straight[number] = 0;
    if (const int value = groupDrawValue(draw); value >= 0)
        m_group[sortedForm(value)] = 0;
}

int scanOmission(const QStringList &draws, int number)
{
    const qsizetype n = draws.size();
    if (n == 0)
        return -1;
    const QString text = numberText(number);
    for (qsizetype i = n - 1; i >= 0; --i)
        if (draws.at(i) == text)
            return int(n - 1 - i);
    return int(n);
}

int scanGroupOmission(const QStringList &draws, int sortedNumber)
{
    const qsizetype n = draws.size();
    if (n == 0)
        return -1;
    for (qsizetype i = n - 1; i >= 0; --i) {
        const int value = groupDrawValue(draws.at(i));
        if (value >= 0 && sortedForm(value) == sortedNumber)
            return int(n - 1 - i);
    }
    return int(n);
}

} // namespace numsieve
