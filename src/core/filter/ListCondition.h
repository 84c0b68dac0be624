#pragma once

#include "core/model/Vocabulary.h"

#include <QList>
#include <QStringList>

namespace numsieve {

enum class ListMode { Exclude = 0, Include = 1 };

// One list condition of a condition panel: the entries still available, the
// entries chosen, and whether the chosen ones are included or excluded. The
// panel operations keep every vocabulary entry in exactly one of the two lists;
// a loaded scheme may set any content.
class ListCondition
{
public:
    explicit ListCondition(Vocab vocab);

    Vocab vocab() const { return m_vocab; }
    const QStringList &vocabulary() const;
    const QStringList &available() const { return m_available; }
    const QStringList &chosen() const { return m_chosen; }
    ListMode mode() const { return m_mode; }
    void setMode(ListMode mode) { m_mode = mode; }

    // 添加: moves the available entries at the given rows to the end of the
    // chosen list, in list order. Returns false when no row was given.
    bool add(const QList<int> &availableRows);
    // 删除: moves the chosen entries at the given rows to the end of the available list.
    bool remove(const QList<int> &chosenRows);
    // 全部添加 / 全部删除 restore the vocabulary order. They do nothing when
    // their source list is already empty and then return false.
    bool addAll();
    bool removeAll();

    // Replaces both lists as a scheme file states them.
    void setLists(const QStringList &available, const QStringList &chosen);
    // Back to the start state: everything available, include.
    void reset();

private:
    Vocab m_vocab;
    QStringList m_available;
    QStringList m_chosen;
    ListMode m_mode = ListMode::Include;
};

} // namespace numsieve
