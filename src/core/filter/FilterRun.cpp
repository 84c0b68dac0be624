#include "filter/FilterRun.h"

#include "Workspace.h"
#include "filter/AdvancedCondition.h"

namespace numsieve {

std::expected<void, QString> runFilter(Workspace &ws, AdvancedConditionRunner *runner, OmissionMethod omissionMethod)
{
    gather(ws.selection, ws.tables);
    ws.drawDigitSets = DrawDigitSets::fromDraws(ws.selectionNumbers);

    const bool advancedOn = ws.enabled[kConditionCount];
    if (advancedOn && runner) {
        auto prepared = runner->prepare(ws.conditions.advanced.conditionText, ws.selectionNumbers);
        if (!prepared)
            return std::unexpected(prepared.error());
    }

    FilterSetup setup;
    setup.conditions = &ws.conditions;
    setup.enabled = ws.enabled;
    setup.toleranceIndex = ws.toleranceIndex;
    setup.viewMode = ws.tables.viewMode();
    setup.draws = &ws.selectionNumbers;
    setup.digitSets = ws.drawDigitSets;
    setup.runner = advancedOn ? runner : nullptr;
    setup.omissionMethod = omissionMethod;
    FilterEngine engine(setup);
    ws.tables.promoteFiltered([&](int number) { return engine.passes(number); });
    if (const auto aborted = setup.runner ? setup.runner->abortMessage() : std::nullopt) {
        // A stopped run keeps nothing it filtered: the fresh selection stays.
        ws.tables.forEachInView([](ResultEntry &e) {
            if (e.stage == ResultStage::Filtered)
                e.stage = ResultStage::Selected;
        });
        return std::unexpected(*aborted);
    }
    return {};
}

} // namespace numsieve
