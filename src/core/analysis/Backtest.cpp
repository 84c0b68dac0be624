#include "core/analysis/Backtest.h"
#include "core/analysis/SharedBudget.h"

#include "core/Workspace.h"
#include "core/filter/AdvancedCondition.h"
#include "core/filter/FilterEngine.h"
#include "core/filter/FilterRun.h"
#include "core/filter/Omission.h"
#include "core/model/Number.h"
#include "core/script/HistoryArrays.h"

#include <algorithm>
#include <bitset>
#include <chrono>
#include <vector>

namespace numsieve {

namespace {

bool isTriple(int number)
{
    const Digits d = digitsOf(number);
    return d.h == d.t && d.t == d.u;
}

bool isGroupThree(int number)
{
    const Digits d = digitsOf(number);
    return !isTriple(number) && (d.h == d.t || d.t == d.u || d.h == d.u);
}

// The numbers whose verdict of condition 15 is a pass.
std::bitset<1000> passingOf(const QList<int> &numbers, const QList<bool> &verdicts)
{
    std::bitset<1000> passing;
    for (qsizetype i = 0; i < numbers.size(); ++i)
        if (verdicts.value(i, false))
            passing.set(std::size_t(numbers[i]));
    return passing;
}

// The entries of the view mode's tables at a stage, by number.
std::bitset<1000> entriesAt(ResultTables &tables, ResultStage stage)
{
    std::bitset<1000> at;
    tables.forEachInView([&](ResultEntry &e) {
        if (e.stage == stage)
            at.set(std::size_t(e.number));
    });
    return at;
}

// The chance that a random draw lands on one of these entries: a straight
// entry is one draw in a thousand, a group entry every order of its digits.
double chanceOf(const std::bitset<1000> &entries, ViewMode mode)
{
    if (mode == ViewMode::Straight)
        return double(entries.count()) / 1000.0;
    double orders = 0;
    for (int n = 0; n < 1000; ++n)
        if (entries.test(std::size_t(n)))
            orders += isGroupThree(n) ? 3 : 6;
    return orders / 1000.0;
}

QStringList numbersOf(const QList<Draw> &draws)
{
    QStringList numbers;
    numbers.reserve(draws.size());
    for (const Draw &d : draws)
        numbers.append(d.number);
    return numbers;
}

// The enabled conditions of a scheme. Conditions 2 to 9 and 12 to 14 say
// the same at every step; the others are judged again with each step's draws.
struct EnabledConditions {
    QList<int> all;
    QList<int> fixed;      // the same verdicts at every step
    QList<int> step;       // judged with each step's draws, condition 15 aside
    bool advanced = false; // condition 15
};

EnabledConditions enabledConditions(const Workspace &scheme)
{
    EnabledConditions e;
    for (int c = 1; c <= kConditionCount; ++c) {
        if (!scheme.enabled[std::size_t(c)])
            continue;
        e.all.append(c);
        if (!FilterEngine::readsDraws(c))
            e.fixed.append(c);
        else if (c != kConditionCount)
            e.step.append(c);
    }
    e.advanced = scheme.enabled[kConditionCount];
    return e;
}

// The intersection lists in order raise a filtered entry when any of them
// holds it: what they keep of a step's survivors is those of this set.
std::optional<std::bitset<1000>> intersectionKeeps(const ResultTables &gathered,
                                                   const QList<QStringList> &intersections)
{
    if (intersections.isEmpty())
        return std::nullopt;
    ResultTables all = gathered;
    all.promoteFiltered([](int) { return true; });
    for (const QStringList &list : intersections)
        all.intersect(list);
    return entriesAt(all, ResultStage::Intersected);
}

using Failing = std::bitset<kConditionCount + 1>;

// A back-test under way: the candidates the selection gathers (the same at
// every step), the engine moved from one step's history to the next, and the
// memos that spare each step what an earlier one worked out.
class Replay
{
public:
    Replay(const Workspace &scheme, const QList<Draw> &draws, const QList<QStringList> &intersections, int first);
    Replay(const Replay &) = delete;
    Replay &operator=(const Replay &) = delete;

    int candidateCount() const { return int(m_candidates.size()); }
    const EnabledConditions &conditions() const { return m_enabled; }
    // Per enabled condition, the sum over the steps of the share of the
    // candidates it rejects on its own.
    const std::vector<double> &removedShare() const { return m_removedShare; }

    // Replays draw k with the draws before it as history; the runner's
    // message when condition 15 stops the run there.
    std::expected<BacktestStep, QString> replayStep(int k, SharedBudget *script);

private:
    static FilterSetup setupOf(const Workspace &scheme, const DrawDigitSets &digitSets, const OmissionIndex *omissions);
    DrawDigitSets digitSetsBefore(int k) const;
    Failing fixedOf(int n);
    bool passes(Failing f);
    std::expected<std::bitset<1000>, QString> advancedPasses(int k, int drawnKey, bool drawnOutside,
                                                             const DrawDigitSets &digitSets, SharedBudget &script,
                                                             std::optional<ResultTables> &filtered);
    void judgeStep(int drawnKey, bool drawnOutside, const std::optional<std::bitset<1000>> &advancedPasses,
                   BacktestStep &step);
    std::bitset<1000> survivorsOf(std::optional<ResultTables> &filtered);

    const Workspace &m_scheme;
    const QList<Draw> &m_draws;
    const bool m_straight;
    ResultTables m_gathered;
    QList<int> m_candidates;
    std::bitset<1000> m_isCandidate;
    EnabledConditions m_enabled;
    std::optional<std::bitset<1000>> m_intersected;
    QStringList m_numbers;
    OmissionIndex m_omissions;
    FilterSetup m_setup;
    FilterEngine m_engine;
    std::vector<double> m_removedShare = std::vector<double>(kConditionCount + 1, 0.0);
    // The verdicts of the fixed conditions, worked out once per number.
    std::array<Failing, 1000> m_fixedFailing{};
    std::bitset<1000> m_fixedKnown;
    std::vector<double> m_fixedRemoved = std::vector<double>(kConditionCount + 1, 0.0);
    // The tolerance rule's verdict for each set of failed conditions that
    // comes up, worked out once.
    std::vector<signed char> m_passMemo = std::vector<signed char>(std::size_t(1) << (kConditionCount + 1), -1);
    // The conditions each number judged in the current step fails.
    std::array<Failing, 1000> m_failing{};
};

Replay::Replay(const Workspace &scheme, const QList<Draw> &draws, const QList<QStringList> &intersections, int first)
    : m_scheme(scheme)
    , m_draws(draws)
    , m_straight(scheme.tables.viewMode() == ViewMode::Straight)
    // The gathering reads only the selection, so every step starts from it.
    , m_gathered(scheme.tables)
    , m_enabled(enabledConditions(scheme))
    , m_numbers(numbersOf(draws))
    , m_omissions(OmissionIndex::build(m_numbers.first(first)))
    , m_setup(setupOf(scheme, digitSetsBefore(first), &m_omissions))
    , m_engine(m_setup)
{
    gather(scheme.selection, m_gathered);
    m_gathered.forEachInView([&](ResultEntry &e) {
        if (e.stage == ResultStage::Selected)
            m_candidates.append(e.number);
    });
    for (int n : std::as_const(m_candidates))
        m_isCandidate.set(std::size_t(n));
    m_intersected = intersectionKeeps(m_gathered, intersections);
    for (int n : std::as_const(m_candidates))
        for (int c : std::as_const(m_enabled.fixed))
            m_fixedRemoved[std::size_t(c)] += fixedOf(n).test(std::size_t(c)) ? 1 : 0;
}

FilterSetup Replay::setupOf(const Workspace &scheme, const DrawDigitSets &digitSets, const OmissionIndex *omissions)
{
    FilterSetup setup;
    setup.conditions = &scheme.conditions;
    setup.enabled = scheme.enabled;
    setup.toleranceIndex = scheme.toleranceIndex;
    setup.viewMode = scheme.tables.viewMode();
    setup.digitSets = digitSets;
    setup.omissions = omissions;
    return setup;
}

DrawDigitSets Replay::digitSetsBefore(int k) const
{
    return DrawDigitSets::fromDraws(m_numbers.mid(std::max(0, k - 2), std::min(2, k)));
}

Failing Replay::fixedOf(int n)
{
    if (!m_fixedKnown.test(std::size_t(n))) {
        for (int c : std::as_const(m_enabled.fixed))
            if (!m_engine.conditionPasses(c, n))
                m_fixedFailing[std::size_t(n)].set(std::size_t(c));
        m_fixedKnown.set(std::size_t(n));
    }
    return m_fixedFailing[std::size_t(n)];
}

bool Replay::passes(Failing f)
{
    signed char &known = m_passMemo[f.to_ulong()];
    if (known < 0)
        known = m_engine.passesFailing(f) ? 1 : 0;
    return known == 1;
}

std::expected<BacktestStep, QString> Replay::replayStep(int k, SharedBudget *script)
{
    BacktestStep step;
    step.issue = m_draws[k].issue;
    step.number = m_draws[k].number;
    const int drawn = drawTextNumber(step.number);
    const int drawnKey = drawn < 0 ? -1 : m_straight ? drawn : sortedForm(drawn);
    const bool drawnOutside = drawnKey >= 0 && !m_isCandidate.test(std::size_t(drawnKey));
    const DrawDigitSets digitSets = digitSetsBefore(k);
    m_engine.setHistory(digitSets, m_omissions);

    std::optional<std::bitset<1000>> advanced;
    std::optional<ResultTables> filtered;
    if (script) {
        auto passing = advancedPasses(k, drawnKey, drawnOutside, digitSets, *script, filtered);
        if (!passing)
            return std::unexpected(passing.error());
        advanced = *passing;
    }
    judgeStep(drawnKey, drawnOutside, advanced, step);

    std::bitset<1000> survivors = survivorsOf(filtered);
    step.survivors = int(survivors.count());
    step.chance = chanceOf(survivors, m_setup.viewMode);
    if (!m_straight)
        for (int n = 0; n < 1000; ++n)
            step.groupThree += survivors.test(std::size_t(n)) && isGroupThree(n) ? 1 : 0;
    step.hit = drawnKey >= 0 && survivors.test(std::size_t(drawnKey)) && (m_straight || !isTriple(drawnKey));
    m_omissions.append(m_numbers[k]);
    return step;
}

// Condition 15 judged for every candidate, and for the drawn number, answers
// the question "alone"; when the runner's verdicts do not depend on what it
// was asked before, the same verdicts serve the run. A runner whose answers do
// judges the run's own numbers first, in run order, so that the run is
// exactly the filter command's (left in `filtered`), and the question "alone"
// after them in the same run: one pre-check per step. Conditions refused or
// stopped kill nothing: the run stops here.
std::expected<std::bitset<1000>, QString> Replay::advancedPasses(int k, int drawnKey, bool drawnOutside,
                                                                 const DrawDigitSets &digitSets, SharedBudget &script,
                                                                 std::optional<ResultTables> &filtered)
{
    QList<int> asked = m_candidates;
    if (drawnOutside)
        asked.append(drawnKey);
    const QStringList seen = m_numbers.mid(std::max(0, k - kHistoryDepth), std::min(kHistoryDepth, k));
    const ListMode mode = m_scheme.conditions.advanced.mode;
    script.beginStep();
    const auto prepared = script.prepareAndTest(m_scheme.conditions.advanced.conditionText, seen, asked, mode);
    if (!prepared)
        return std::unexpected(prepared.error());
    std::expected<QList<bool>, QString> verdicts;
    if (*prepared) {
        verdicts = **prepared;
    } else {
        FilterSetup run = m_setup;
        run.digitSets = digitSets;
        run.runner = &script;
        filtered = m_gathered;
        if (auto ran = filterGathered(*filtered, run); !ran)
            verdicts = std::unexpected(ran.error());
        else
            verdicts = script.testMany(asked, mode);
    }
    if (!verdicts)
        return std::unexpected(verdicts.error());
    return passingOf(asked, *verdicts);
}

// Every enabled condition alone, for the candidates and the drawn number.
void Replay::judgeStep(int drawnKey, bool drawnOutside, const std::optional<std::bitset<1000>> &advancedPasses,
                       BacktestStep &step)
{
    std::vector<int> stepRemoved(kConditionCount + 1, 0);
    const auto judge = [&](int n, bool counted) {
        Failing f = fixedOf(n);
        for (int c : std::as_const(m_enabled.step))
            if (!m_engine.conditionPasses(c, n))
                f.set(std::size_t(c));
        // Without a runner condition 15 cannot be evaluated and keeps nothing.
        if (m_enabled.advanced && !(advancedPasses && advancedPasses->test(std::size_t(n))))
            f.set(kConditionCount);
        if (counted) {
            for (int c : std::as_const(m_enabled.step))
                stepRemoved[std::size_t(c)] += f.test(std::size_t(c)) ? 1 : 0;
            stepRemoved[kConditionCount] += f.test(kConditionCount) ? 1 : 0;
        }
        m_failing[std::size_t(n)] = f;
    };
    for (int n : std::as_const(m_candidates))
        judge(n, true);
    if (drawnOutside)
        judge(drawnKey, false);

    for (int c : std::as_const(m_enabled.all)) {
        const double removed =
            FilterEngine::readsDraws(c) ? stepRemoved[std::size_t(c)] : m_fixedRemoved[std::size_t(c)];
        if (!m_candidates.isEmpty())
            m_removedShare[std::size_t(c)] += removed / double(m_candidates.size());
        step.killedBy[std::size_t(c)] = drawnKey >= 0 && m_failing[std::size_t(drawnKey)].test(std::size_t(c));
    }
}

// The list the step's run ends with: the filter run itself when condition 15
// needed it, else the tolerance rule over the verdicts just judged.
std::bitset<1000> Replay::survivorsOf(std::optional<ResultTables> &filtered)
{
    std::bitset<1000> survivors;
    if (filtered) {
        survivors = entriesAt(*filtered, ResultStage::Filtered);
    } else {
        for (int n : std::as_const(m_candidates))
            if (passes(m_failing[std::size_t(n)]))
                survivors.set(std::size_t(n));
    }
    if (m_intersected)
        survivors &= *m_intersected;
    return survivors;
}

// The figures over the steps done.
void summarise(BacktestResult &result, const QList<int> &enabled, const std::vector<double> &removedShare)
{
    QList<double> chances;
    double survivorSum = 0;
    for (const BacktestStep &s : std::as_const(result.steps)) {
        result.hits += s.hit ? 1 : 0;
        chances.append(s.chance);
        result.expectedHits += s.chance;
        survivorSum += s.survivors;
    }
    const qsizetype done = result.steps.size();
    if (done > 0)
        result.meanSurvivors = survivorSum / double(done);
    result.lift = result.expectedHits > 0 ? double(result.hits) / result.expectedHits : 0;
    result.pChance = poissonBinomialTail(chances, result.hits);
    for (int c : std::as_const(enabled)) {
        ConditionFigures figures;
        figures.condition = c;
        for (const BacktestStep &s : std::as_const(result.steps))
            figures.kills += s.killedBy[std::size_t(c)] ? 1 : 0;
        figures.meanRemoved = done > 0 ? removedShare[std::size_t(c)] / double(done) : 0;
        result.conditions.append(figures);
    }
}

} // namespace

QString conditionName(int condition)
{
    static const char16_t *const names[] = {u"",       u"遗漏双码", u"和值和尾", u"平均值", u"跨度", u"AC值",
                                            u"大小",   u"奇偶",     u"质合",     u"012路", u"新旧跳", u"旧斜孤",
                                            u"重号",   u"连号",     u"间隔",     u"高级条件"};
    if (condition < 1 || condition > kConditionCount)
        return QString();
    return QString::fromUtf16(names[condition]);
}

double poissonBinomialTail(const QList<double> &probabilities, int hits)
{
    if (hits <= 0)
        return 1;
    if (hits > probabilities.size())
        return 0;
    // dist[j]: the chance of exactly j successes among the trials so far,
    // counted up to `hits`, where the last cell gathers "hits or more".
    std::vector<double> dist(std::size_t(hits) + 1, 0.0);
    dist[0] = 1;
    for (double p : probabilities) {
        p = std::clamp(p, 0.0, 1.0);
        dist[std::size_t(hits)] += dist[std::size_t(hits) - 1] * p;
        for (std::size_t j = std::size_t(hits) - 1; j > 0; --j)
            dist[j] = dist[j] * (1 - p) + dist[j - 1] * p;
        dist[0] *= 1 - p;
    }
    return std::clamp(dist[std::size_t(hits)], 0.0, 1.0);
}

BacktestResult runBacktest(const Workspace &scheme, const QList<Draw> &draws, const QList<QStringList> &intersections,
                           int last, AdvancedConditionRunner *runner, const BacktestControl &control)
{
    BacktestResult result;
    result.viewMode = scheme.tables.viewMode();
    result.requested = last;
    const int total = int(draws.size());
    last = std::clamp(last, 0, total);
    const int first = total - last;

    Replay replay(scheme, draws, intersections, first);
    result.candidates = replay.candidateCount();
    std::optional<SharedBudget> budgeted;
    if (replay.conditions().advanced && runner)
        budgeted.emplace(*runner, control.scriptBudget, control.scriptBudgetPerStep);
    const auto stopped = [&](const QString &message) {
        // A run given up for 取消 says so, not why the script stopped.
        if (control.cancel && control.cancel->load())
            result.cancelled = true;
        else
            result.message = message;
    };

    for (int k = first; k < total; ++k) {
        if (control.cancel && control.cancel->load()) {
            result.cancelled = true;
            break;
        }
        auto step = replay.replayStep(k, budgeted ? &*budgeted : nullptr);
        if (!step) {
            stopped(step.error());
            break;
        }
        result.steps.append(*step);
        if (control.progress)
            control.progress(k - first + 1, last);
    }
    summarise(result, replay.conditions().all, replay.removedShare());
    return result;
}

} // namespace numsieve
