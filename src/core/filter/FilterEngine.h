#pragma once

#include "core/filter/ConditionSet.h"
#include "core/filter/DrawDigitSets.h"
#include "core/model/Number.h"

#include <QStringList>

#include <array>
#include <bitset>
#include <memory>

namespace numsieve {

class AdvancedConditionRunner;
class OmissionIndex;

// Where condition 1 takes a number's omission from.
enum class OmissionMethod {
    Index,            // one pass over the draws per run (OmissionIndex)
    PerNumberScan,    // a scan of the draws for every number; kept to measure against
};

// Everything a run fixes before the first number is tested.
struct FilterSetup {
    const ConditionSet *conditions = nullptr;
    std::array<bool, kConditionCount + 1> enabled{};   // index 1..15
    int toleranceIndex = 0;                             // -1: no selection, every failure is fatal
    ViewMode viewMode = ViewMode::Straight;
    const QStringList *draws = nullptr;                 // oldest first
    DrawDigitSets digitSets;
    AdvancedConditionRunner *runner = nullptr;          // prepared; null when condition 15 cannot run
    OmissionMethod omissionMethod = OmissionMethod::Index;
    // The omission index of `draws` when the caller keeps one up to date;
    // otherwise the engine builds it when condition 1 first needs it.
    const OmissionIndex *omissions = nullptr;
};

// Decides for one number (a sorted form in group mode) whether it passes the
// enabled conditions 1 to 15, in that order. A failing panel rejects the
// number unless its 容错 box is ticked; then it uses one unit of tolerance, and
// the number fails once more units are used than the tolerance allows. A panel
// is one unit however many of its sub-conditions fail.
//
// The condition lists are read once, when the engine is made, into per-run
// lookups: every verdict still comes from the same rules applied to the texts
// as the lists hold them, but each distinct attribute text is judged once
// rather than once per number. The conditions must not change while an
// engine is in use.
class FilterEngine
{
public:
    explicit FilterEngine(const FilterSetup &setup);
    ~FilterEngine();
    FilterEngine(const FilterEngine &) = delete;
    FilterEngine &operator=(const FilterEngine &) = delete;

    // Moves the engine to another history without reading the condition
    // lists again, as a back-test does from one draw to the next: the digit
    // sets of conditions 10 and 11 and the omissions of condition 1. The
    // index must outlive the engine's use of it.
    void setHistory(const DrawDigitSets &sets, const OmissionIndex &omissions);
    // Whether a condition's verdicts depend on the draws (condition 15
    // through its runner); the others hold for every history.
    static bool readsDraws(int condition);

    bool passes(int number);
    // Whether a number that fails exactly the conditions marked in `failing`
    // (bit c for condition c) passes, by the same rule.
    bool passesFailing(std::bitset<kConditionCount + 1> failing) const;
    // The test of one condition (1..15) alone, whether enabled or not.
    bool conditionPasses(int condition, int number);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace numsieve
