#pragma once

#include "core/filter/FilterEngine.h"

#include <QString>

#include <expected>

namespace numsieve {

class AdvancedConditionRunner;
class ResultTables;
class Workspace;

// The filter command: gathers the candidates of the active selection panel
// (stages of the view mode's tables reset, candidates Selected), computes the
// draw digit sets, prepares the advanced conditions when condition 15 is on,
// and raises every Selected entry that passes to Filtered. When the advanced
// conditions cannot be prepared the run stops after gathering and returns
// the runner's message, and so does a run whose runner had to stop an
// expression midway. The runner is asked once, for all the numbers that reach
// condition 15, in run order. Condition 15 on without a runner fails every
// number.
// The filtering half of a run, over tables already gathered: every Selected
// entry of the view mode's tables that passes under the setup becomes
// Filtered. A runner in the setup must be prepared; it is asked once, for all
// the numbers that reach condition 15, in run order. When it has to stop, the
// tables keep their selection and its message is returned.
std::expected<void, QString> filterGathered(ResultTables &tables, FilterSetup setup);

std::expected<void, QString> runFilter(Workspace &ws, AdvancedConditionRunner *runner,
                                       OmissionMethod omissionMethod = OmissionMethod::Index);

} // namespace numsieve
