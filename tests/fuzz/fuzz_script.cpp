// An advanced condition as the user composes it: 添加 with its trial run, then
// a short filter run of the condition list over four candidates. Inputs are
// kept short: this target looks for crashes and broken bookkeeping around the
// script engine, not for slow scripts, which the runner's own limits handle.
// Invariants: a refused expression leaves the list text as it was; an accepted
// one is appended cleaned and with ";\r\n"; a filter run either stops after
// gathering with a message or promotes only gathered candidates.

#include "FuzzSupport.h"

#include "core/Workspace.h"
#include "core/filter/FilterRun.h"
#include "core/script/ConditionList.h"
#include "core/script/ScriptConditionRunner.h"

#include <chrono>

namespace {

constexpr size_t kMaxInput = 160;
constexpr std::chrono::milliseconds kTimeLimit{200};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace numsieve;
    fuzzsupport::ensureApplication();
    if (size > kMaxInput)
        return 0;
    const QString composed = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString listText = QStringLiteral("hz[0]>=0;\r\n");
    const QStringList draws = {QStringLiteral("123"), QStringLiteral("456"), QStringLiteral("789"),
                               QStringLiteral("012"), QStringLiteral("555")};

    const auto added = addExpression(composed, listText, draws, kTimeLimit);
    if (!added) {
        FUZZ_CHECK(!added.error().isEmpty());
        return 0;
    }
    if (composed.isEmpty()) {
        FUZZ_CHECK(*added == listText);
        return 0;
    }
    const QString expression = cleanExpression(composed);
    FUZZ_CHECK(hasComparisonOperator(expression));
    FUZZ_CHECK(*added == listText + expression + QStringLiteral(";\r\n"));

    Workspace ws;
    ws.chooseSelectionPanel(1);
    ws.selection.hundreds.setSelected(1, true);
    ws.selection.tens.setSelected(2, true);
    ws.selection.tens.setSelected(3, true);
    ws.selection.units.setSelected(4, true);
    ws.selection.units.setSelected(5, true);
    ws.selectionNumbers = draws;
    ws.setAdvancedConditionText(*added);
    FUZZ_CHECK(ws.enabled[kConditionCount]);

    ScriptConditionRunner runner(EvaluationWay::Compiled, kTimeLimit);
    const auto run = runFilter(ws, &runner);
    int selected = 0;
    int filtered = 0;
    for (const ResultEntry &e : ws.tables.straight()) {
        selected += e.stage == ResultStage::Selected;
        filtered += e.stage == ResultStage::Filtered;
        FUZZ_CHECK(e.stage == ResultStage::None || e.stage == ResultStage::Selected
                   || e.stage == ResultStage::Filtered);
    }
    FUZZ_CHECK(selected + filtered == 4);
    if (!run) {
        FUZZ_CHECK(!run.error().isEmpty());
        FUZZ_CHECK(filtered == 0);
    }
    return 0;
}
