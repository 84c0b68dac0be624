#pragma once

#include "core/model/Number.h"

#include <QRect>
#include <QStringList>

#include <array>
#include <functional>
#include <span>

namespace numsieve {

// Stages are disjoint classes: a reader always tests for equality.
enum class ResultStage { None = 0, Selected = 1, Filtered = 2, Intersected = 3 };

struct ResultEntry {
    int number = 0;                 // group entries hold the sorted form
    ResultStage stage = ResultStage::None;
    QRect cell;                     // the entry's cell on the distribution map
};

enum class ListKind { Straight, GroupSix, GroupThree, Group };

enum class TableId { Straight, GroupThree, GroupSix };

// The 1000 straight, 90 group-three and 120 group-six entries with the stage each
// number reached in the current run, and the view mode that decides which of
// them a filter run and an intersection work on.
class ResultTables
{
public:
    ResultTables();

    ViewMode viewMode() const { return m_viewMode; }
    void setViewMode(ViewMode mode) { m_viewMode = mode; }

    std::span<ResultEntry> table(TableId id);
    std::span<const ResultEntry> table(TableId id) const;
    std::span<ResultEntry> straight() { return m_straight; }
    std::span<ResultEntry> groupThree() { return m_groupThree; }
    std::span<ResultEntry> groupSix() { return m_groupSix; }

    // Sets every stage of the table to None.
    void reset(TableId id);

    // Calls visit for every entry of the tables of the view mode, in table order.
    void forEachInView(const std::function<void(ResultEntry &)> &visit);

    // Entries at Selected in the tables of the view mode that pass become Filtered.
    void promoteFiltered(const std::function<bool(int number)> &passes);

    // 0 -> 1 -> 2 -> 3 -> 0
    static ResultStage nextStage(ResultStage stage);

    // Number of entries at stage 1, 2, 3 of one table.
    std::array<int, 3> counts(TableId id) const;

    // "%.3d" texts of the entries of that kind whose stage equals the given one, in table order.
    QStringList extract(ListKind kind, ResultStage stage) const;

    // Promotes Filtered entries of the view mode's tables that occur among the
    // imported texts (already cleaned up, three digits each). Straight entries
    // match by text; group entries match a text whose digits, sorted, equal theirs.
    void intersect(const QStringList &importedTexts);

private:
    ViewMode m_viewMode = ViewMode::Straight;
    std::array<ResultEntry, 1000> m_straight;
    std::array<ResultEntry, 90> m_groupThree;
    std::array<ResultEntry, 120> m_groupSix;
};

} // namespace numsieve
