#include "analysis/Backtest.h"
#include "analysis/KnownVerdicts.h"

#include "Messages.h"
#include "Workspace.h"
#include "filter/AdvancedCondition.h"
#include "filter/FilterRun.h"
#include "filter/Omission.h"
#include "model/Number.h"
#include "script/HistoryArrays.h"

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

// Condition 15 of a prepared run judged for `numbers` in that order. Returns
// the numbers that pass, or the runner's message.
std::expected<std::bitset<1000>, QString> judgeAll(AdvancedConditionRunner &runner, ListMode mode,
                                                   const QList<int> &numbers)
{
    const auto verdicts = runner.testMany(numbers, mode);
    if (!verdicts)
        return std::unexpected(verdicts.error());
    std::bitset<1000> passing;
    for (qsizetype i = 0; i < numbers.size(); ++i)
        if (verdicts->value(i, false))
            passing.set(std::size_t(numbers[i]));
    return passing;
}

// Condition 15 over a whole back-test: every call to the runner is timed and
// each step's run may spend only what the steps before it left, so that the
// back-test as a whole keeps to one budget.
class SharedBudget : public AdvancedConditionRunner
{
public:
    SharedBudget(AdvancedConditionRunner &runner, std::chrono::milliseconds budget)
        : m_runner(runner)
        , m_left(budget)
    {
    }
    ~SharedBudget() override { m_runner.capBudget(std::nullopt); }
    SharedBudget(const SharedBudget &) = delete;
    SharedBudget &operator=(const SharedBudget &) = delete;

private:
    template<typename Call>
    auto timed(Call call)
    {
        const auto start = std::chrono::steady_clock::now();
        auto outcome = call();
        m_left -= std::chrono::steady_clock::now() - start;
        return outcome;
    }

public:
    std::expected<void, QString> prepare(const QString &conditionText, const QStringList &draws) override
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_left);
        if (left <= std::chrono::milliseconds(0))
            return std::unexpected(msg::kAdvancedTimeout);
        m_runner.capBudget(left);
        return timed([&] { return m_runner.prepare(conditionText, draws); });
    }
    bool test(int number, ListMode mode) override { return timed([&] { return m_runner.test(number, mode); }); }
    std::expected<QList<bool>, QString> testMany(const QList<int> &numbers, ListMode mode) override
    {
        return timed([&] { return m_runner.testMany(numbers, mode); });
    }
    bool repeatableVerdicts() const override { return m_runner.repeatableVerdicts(); }
    std::optional<QString> abortMessage() const override { return m_runner.abortMessage(); }

private:
    AdvancedConditionRunner &m_runner;
    std::chrono::steady_clock::duration m_left;
};

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
    const bool straight = result.viewMode == ViewMode::Straight;

    // The gathering reads only the selection, so every step starts from it.
    ResultTables gathered = scheme.tables;
    gather(scheme.selection, gathered);
    QList<int> candidates;
    gathered.forEachInView([&](ResultEntry &e) {
        if (e.stage == ResultStage::Selected)
            candidates.append(e.number);
    });
    result.candidates = int(candidates.size());

    QList<int> enabled;
    for (int c = 1; c <= kConditionCount; ++c)
        if (scheme.enabled[std::size_t(c)])
            enabled.append(c);
    const bool advancedOn = scheme.enabled[kConditionCount];
    std::vector<double> removedShare(kConditionCount + 1, 0.0);

    QStringList numbers;
    numbers.reserve(total);
    for (const Draw &d : draws)
        numbers.append(d.number);
    OmissionIndex omissions = OmissionIndex::build(numbers.first(first));
    const ResultStage kept = intersections.isEmpty() ? ResultStage::Filtered : ResultStage::Intersected;
    std::optional<SharedBudget> budgeted;
    if (advancedOn && runner)
        budgeted.emplace(*runner, control.scriptBudget);
    AdvancedConditionRunner *script = budgeted ? &*budgeted : nullptr;

    for (int k = first; k < total; ++k) {
        if (control.cancel && control.cancel->load()) {
            result.cancelled = true;
            break;
        }
        BacktestStep step;
        step.issue = draws[k].issue;
        step.number = draws[k].number;
        const int drawn = drawTextNumber(step.number);
        const int drawnKey = drawn < 0 ? -1 : straight ? drawn : sortedForm(drawn);

        FilterSetup setup;
        setup.conditions = &scheme.conditions;
        setup.enabled = scheme.enabled;
        setup.toleranceIndex = scheme.toleranceIndex;
        setup.viewMode = result.viewMode;
        setup.digitSets = DrawDigitSets::fromDraws(numbers.mid(std::max(0, k - 2), std::min(2, k)));
        setup.omissions = &omissions;

        // Condition 15 judged for every candidate, and for the drawn number,
        // answers the question "alone"; when the runner's verdicts do not
        // depend on what it was asked before, the same verdicts serve the run.
        // A runner whose answers do judges the run's own numbers first, in run
        // order, so that the run is exactly the filter command's, and the
        // question "alone" after them in the same run: one pre-check per step.
        // Conditions refused or stopped kill nothing: the run stops here.
        std::optional<std::bitset<1000>> advancedPasses;
        ResultTables tables = gathered;
        bool filtered = false;
        if (script) {
            QList<int> asked = candidates;
            if (drawnKey >= 0 && !candidates.contains(drawnKey))
                asked.append(drawnKey);
            const QStringList seen = numbers.mid(std::max(0, k - kHistoryDepth), std::min(kHistoryDepth, k));
            if (auto prepared = script->prepare(scheme.conditions.advanced.conditionText, seen); !prepared) {
                result.message = prepared.error();
                break;
            }
            std::expected<std::bitset<1000>, QString> judged;
            if (script->repeatableVerdicts()) {
                judged = judgeAll(*script, scheme.conditions.advanced.mode, asked);
            } else {
                setup.runner = script;
                if (auto run = filterGathered(tables, setup); !run)
                    judged = std::unexpected(run.error());
                else
                    judged = judgeAll(*script, scheme.conditions.advanced.mode, asked);
                filtered = true;
            }
            if (!judged) {
                result.message = judged.error();
                break;
            }
            advancedPasses = *judged;
        }

        // Every enabled condition alone, for the candidates and the drawn number.
        KnownVerdicts alone(advancedPasses.value_or(std::bitset<1000>()));
        setup.runner = advancedOn ? &alone : nullptr;
        FilterEngine engine(setup);
        std::array<std::bitset<kConditionCount + 1>, 1000> failing{};
        auto judge = [&](int n) {
            for (int c : std::as_const(enabled))
                if (!engine.conditionPasses(c, n))
                    failing[std::size_t(n)].set(std::size_t(c));
        };
        for (int n : std::as_const(candidates))
            judge(n);
        if (drawnKey >= 0 && !candidates.contains(drawnKey))
            judge(drawnKey);

        if (!filtered)
            tables.promoteFiltered([&](int n) { return engine.passesFailing(failing[std::size_t(n)]); });
        for (const QStringList &list : intersections)
            tables.intersect(list);
        const std::bitset<1000> survivors = entriesAt(tables, kept);
        step.survivors = int(survivors.count());
        step.chance = chanceOf(survivors, result.viewMode);
        step.hit = drawnKey >= 0 && survivors.test(std::size_t(drawnKey)) && (straight || !isTriple(drawnKey));
        for (int c : std::as_const(enabled)) {
            int count = 0;
            for (int n : std::as_const(candidates))
                count += failing[std::size_t(n)].test(std::size_t(c)) ? 1 : 0;
            if (!candidates.isEmpty())
                removedShare[std::size_t(c)] += double(count) / double(candidates.size());
            step.killedBy[std::size_t(c)] = drawnKey >= 0 && failing[std::size_t(drawnKey)].test(std::size_t(c));
        }

        result.steps.append(step);
        omissions.append(numbers[k]);
        if (control.progress)
            control.progress(k - first + 1, last);
    }

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
    return result;
}

} // namespace numsieve
