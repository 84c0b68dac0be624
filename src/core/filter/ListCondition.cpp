#include "core/filter/ListCondition.h"

#include <algorithm>

namespace numsieve {

namespace {

// Splits from by the given rows; the picked entries are appended to to.
bool moveRows(QStringList &from, QStringList &to, QList<int> rows)
{
    std::ranges::sort(rows);
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QStringList kept;
    QStringList picked;
    int next = 0;
    for (int i = 0; i < from.size(); ++i) {
        while (next < rows.size() && rows[next] < i)
            ++next;
        if (next < rows.size() && rows[next] == i)
            picked.append(from.at(i));
        else
            kept.append(from.at(i));
    }
    if (picked.isEmpty())
        return false;
    from = kept;
    to += picked;
    return true;
}

} // namespace

ListCondition::ListCondition(Vocab vocab) : m_vocab(vocab), m_available(numsieve::vocabulary(vocab)) {}

const QStringList &ListCondition::vocabulary() const
{
    return numsieve::vocabulary(m_vocab);
}

bool ListCondition::add(const QList<int> &availableRows)
{
    return moveRows(m_available, m_chosen, availableRows);
}

bool ListCondition::remove(const QList<int> &chosenRows)
{
    return moveRows(m_chosen, m_available, chosenRows);
}

bool ListCondition::addAll()
{
    if (m_available.isEmpty())
        return false;
    m_available.clear();
    m_chosen = vocabulary();
    return true;
}

bool ListCondition::removeAll()
{
    if (m_chosen.isEmpty())
        return false;
    m_chosen.clear();
    m_available = vocabulary();
    return true;
}

void ListCondition::setLists(const QStringList &available, const QStringList &chosen)
{
    m_available = available;
    m_chosen = chosen;
}

void ListCondition::reset()
{
    m_available = vocabulary();
    m_chosen.clear();
    m_mode = ListMode::Include;
}

} // namespace numsieve
