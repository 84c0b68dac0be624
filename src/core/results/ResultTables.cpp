#include "core/results/ResultTables.h"

#include <algorithm>
#include <bitset>

namespace numsieve {

ResultTables::ResultTables()
{
    for (int i = 0; i < 1000; ++i)
        m_straight[i].number = straightNumbers()[i];
    for (int i = 0; i < 90; ++i)
        m_groupThree[i].number = groupThreeNumbers()[i];
    for (int i = 0; i < 120; ++i)
        m_groupSix[i].number = groupSixNumbers()[i];
}

std::span<ResultEntry> ResultTables::table(TableId id)
{
    switch (id) {
    case TableId::Straight: return m_straight;
    case TableId::GroupThree: return m_groupThree;
    case TableId::GroupSix: return m_groupSix;
    }
    return {};
}

std::span<const ResultEntry> ResultTables::table(TableId id) const
{
    return const_cast<ResultTables *>(this)->table(id);
}

void ResultTables::reset(TableId id)
{
    for (ResultEntry &e : table(id))
        e.stage = ResultStage::None;
}

void ResultTables::forEachInView(const std::function<void(ResultEntry &)> &visit)
{
    if (m_viewMode == ViewMode::Straight) {
        for (ResultEntry &e : m_straight)
            visit(e);
        return;
    }
    for (ResultEntry &e : m_groupThree)
        visit(e);
    for (ResultEntry &e : m_groupSix)
        visit(e);
}

void ResultTables::promoteFiltered(const std::function<bool(int)> &passes)
{
    forEachInView([&](ResultEntry &e) {
        if (e.stage == ResultStage::Selected && passes(e.number))
            e.stage = ResultStage::Filtered;
    });
}

ResultStage ResultTables::nextStage(ResultStage stage)
{
    return ResultStage((int(stage) + 1) % 4);
}

std::array<int, 3> ResultTables::counts(TableId id) const
{
    std::array<int, 3> c{0, 0, 0};
    for (const ResultEntry &e : table(id))
        if (e.stage != ResultStage::None)
            ++c[int(e.stage) - 1];
    return c;
}

QStringList ResultTables::extract(ListKind kind, ResultStage stage) const
{
    QStringList out;
    auto collect = [&](TableId id) {
        for (const ResultEntry &e : table(id))
            if (e.stage == stage)
                out.append(numberText(e.number));
    };
    switch (kind) {
    case ListKind::Straight: collect(TableId::Straight); break;
    case ListKind::GroupSix: collect(TableId::GroupSix); break;
    case ListKind::GroupThree: collect(TableId::GroupThree); break;
    case ListKind::Group:
        collect(TableId::GroupThree);
        collect(TableId::GroupSix);
        break;
    }
    return out;
}

void ResultTables::intersect(const QStringList &importedTexts)
{
    const bool group = m_viewMode != ViewMode::Straight;
    std::bitset<1000> wanted;
    for (const QString &text : importedTexts) {
        bool ok = false;
        const int value = text.toInt(&ok);
        if (!ok || text.size() != 3 || value < 0 || value > 999)
            continue;
        wanted.set(group ? sortedForm(value) : value);
    }
    forEachInView([&](ResultEntry &e) {
        if (e.stage == ResultStage::Filtered && wanted.test(e.number))
            e.stage = ResultStage::Intersected;
    });
}

} // namespace numsieve
