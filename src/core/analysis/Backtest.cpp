#include "analysis/Backtest.h"
#include "analysis/KnownVerdicts.h"

#include "Workspace.h"
#include "filter/AdvancedCondition.h"
#include "filter/FilterRun.h"
#include "filter/Omission.h"
#include "model/Number.h"
#include "script/HistoryArrays.h"

#include <algorithm>
#include <bitset>
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

// Condition 15 of one run: prepared, then judged for `numbers` in that order.
// Returns the numbers that pass, or the runner's message.
std::expected<std::bitset<1000>, QString> judgeAll(AdvancedConditionRunner &runner, const ConditionSet &conditions,
                                                   const QStringList &history, const QList<int> &numbers,
                                                   bool prepareFirst)
{
    if (prepareFirst) {
        if (auto prepared = runner.prepare(conditions.advanced.conditionText, history); !prepared)
            return std::unexpected(prepared.error());
    }
    const auto verdicts = runner.testMany(numbers, conditions.advanced.mode);
    if (!verdicts)
        return std::unexpected(verdicts.error());
    std::bitset<1000> passing;
    for (qsizetype i = 0; i < numbers.size(); ++i)
        if (verdicts->value(i, false))
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
        std::optional<std::bitset<1000>> advancedPasses;
        QString stepMessage;
        QList<int> asked = candidates;
        if (drawnKey >= 0 && !candidates.contains(drawnKey))
            asked.append(drawnKey);
        const QStringList seen = numbers.mid(std::max(0, k - kHistoryDepth), std::min(kHistoryDepth, k));
        if (advancedOn && runner) {
            if (auto prepared = runner->prepare(scheme.conditions.advanced.conditionText, seen); !prepared) {
                stepMessage = prepared.error();
            } else if (runner->repeatableVerdicts()) {
                auto judged = judgeAll(*runner, scheme.conditions, seen, asked, false);
                if (!judged) {
                    result.message = judged.error();
                    break;
                }
                advancedPasses = *judged;
            }
        }

        // A runner whose answers depend on what it was asked before judges
        // the run's own numbers in run order, and the question "alone" in a
        // run of its own.
        ResultTables tables = gathered;
        bool filtered = false;
        if (stepMessage.isEmpty() && advancedOn && runner && !advancedPasses) {
            setup.runner = runner;
            auto run = filterGathered(tables, setup);
            auto judged = run ? judgeAll(*runner, scheme.conditions, seen, asked, true)
                              : std::expected<std::bitset<1000>, QString>(std::unexpected(run.error()));
            if (!judged) {
                result.message = judged.error();
                break;
            }
            advancedPasses = *judged;
            filtered = true;
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

        std::bitset<1000> survivors;
        if (stepMessage.isEmpty()) {
            if (!filtered)
                tables.promoteFiltered([&](int n) { return engine.passesFailing(failing[std::size_t(n)]); });
            for (const QStringList &list : intersections)
                tables.intersect(list);
            survivors = entriesAt(tables, kept);
        }
        step.message = stepMessage;
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
