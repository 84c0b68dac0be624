#include "core/filter/FilterEngine.h"

#include "core/filter/AdvancedCondition.h"
#include "core/filter/Omission.h"
#include "core/filter/Predicates.h"
#include "core/model/Attributes.h"

#include <bitset>
#include <functional>
#include <optional>
#include <vector>

namespace numsieve {

namespace {

// One sub-condition of a panel, asked with the number and its digits.
using SubTest = std::function<bool(int number, Digits d)>;

// A verdict per key, decided the first time a number with that key comes by.
template<typename KeyOf, typename Decide>
SubTest memoized(int keyCount, KeyOf keyOf, Decide decide)
{
    return [keyOf, decide, memo = std::vector<signed char>(std::size_t(keyCount), -1)](int, Digits d) mutable {
        const int key = keyOf(d);
        signed char &verdict = memo[std::size_t(key)];
        if (verdict < 0)
            verdict = decide(key) ? 1 : 0;
        return verdict == 1;
    };
}

// Shapes and ratios depend only on the mark of each digit. Digits with the same
// mark form a class; three classes make a key, and one representative number
// per key stands for every number with that key.
struct DigitClasses {
    std::array<int, 10> classOf{};
    std::array<int, 10> representative{};
    int count = 0;

    // markOf gives a digit's mark as any comparable value.
    template<typename MarkOf>
    static DigitClasses byMark(MarkOf markOf)
    {
        DigitClasses c;
        std::vector<decltype(markOf(0))> marks;
        for (int v = 0; v <= 9; ++v) {
            const auto mark = markOf(v);
            const auto found = std::ranges::find(marks, mark);
            if (found == marks.end()) {
                c.classOf[v] = int(marks.size());
                c.representative[marks.size()] = v;
                marks.push_back(mark);
            } else {
                c.classOf[v] = int(found - marks.begin());
            }
        }
        c.count = int(marks.size());
        return c;
    }

    int keyCount() const { return count * count * count; }
    int key(Digits d) const { return (classOf[d.h] * count + classOf[d.t]) * count + classOf[d.u]; }
    Digits digitsOfKey(int key) const
    {
        return {representative[key / (count * count)], representative[key / count % count], representative[key % count]};
    }
};

// A digit's mark as its shape text alone.
template<typename ShapeOf>
DigitClasses classesOfShape(ShapeOf shapeOf)
{
    return DigitClasses::byMark([&](int v) { return shapeOf(Digits{v, v, v}); });
}

template<typename Decide>
SubTest byDigitClasses(const DigitClasses &classes, Decide decide)
{
    return memoized(
        classes.keyCount(), [classes](Digits d) { return classes.key(d); },
        [classes, decide](int key) { return decide(classes.digitsOfKey(key)); });
}

enum class TextMatch { Equals, Contains };

template<typename TextOf>
SubTest textValueList(const ListCondition &list, const DigitClasses &classes, TextOf textOf, TextMatch how)
{
    return byDigitClasses(classes, [&list, textOf, how](Digits d) {
        const QString text = textOf(d);
        return valueListTest(list, [&](const QString &entry) {
            return how == TextMatch::Equals ? entry == text : entry.contains(text);
        });
    });
}

SubTest numericValueList(const ListCondition &list, int (*attribute)(Digits), int lowest, int highest)
{
    return memoized(
        highest - lowest + 1, [attribute, lowest](Digits d) { return attribute(d) - lowest; },
        [&list, lowest](int key) {
            return valueListTest(list, [value = key + lowest](const QString &e) { return numericEntryEquals(e, value); });
        });
}

// 新旧跳 and 旧斜孤 mark each digit by the latest draws. The marks of a
// number's three digits are its key, and what the panel's lists decide for a
// key does not depend on the draws, so the verdicts outlive a change of
// history; only the digits' marks are looked up anew.
struct MarkPanel {
    std::array<int, 10> marks{};
    // Each list's verdict for the marks of H, T and U, given as digits.
    std::vector<std::function<bool(Digits marks)>> lists;
    std::array<signed char, 27> verdicts = [] {
        std::array<signed char, 27> unknown;
        unknown.fill(-1);
        return unknown;
    }();

    bool passes(Digits d)
    {
        const int key = (marks[std::size_t(d.h)] * 3 + marks[std::size_t(d.t)]) * 3 + marks[std::size_t(d.u)];
        signed char &verdict = verdicts[std::size_t(key)];
        if (verdict < 0) {
            const Digits m{key / 9, key / 3 % 3, key % 3};
            verdict = std::ranges::all_of(lists, [&](const auto &list) { return list(m); }) ? 1 : 0;
        }
        return verdict == 1;
    }
};

template<typename TextOf>
std::function<bool(Digits)> markList(const ListCondition &list, TextOf textOf, TextMatch how)
{
    return [&list, textOf, how](Digits m) {
        const QString text = textOf(m);
        return valueListTest(list, [&](const QString &entry) {
            return how == TextMatch::Equals ? entry == text : entry.contains(text);
        });
    };
}

// Digit sets in which digit v has mark v, 0 to 2, so that the texts of the
// marks come from the same functions as those of real draws.
const DrawDigitSets &marksAsDigits(bool newOldJump)
{
    static const DrawDigitSets byNewOldJump = [] {
        DrawDigitSets sets;
        sets.oldDigits = QStringLiteral("1");
        sets.jumpDigits = QStringLiteral("2");
        return sets;
    }();
    static const DrawDigitSets byOldDiagonal = [] {
        DrawDigitSets sets;
        sets.oldDigits = QStringLiteral("0");
        sets.diagonalDigits = QStringLiteral("1");
        sets.isolatedDigits = QStringLiteral("2");
        return sets;
    }();
    return newOldJump ? byNewOldJump : byOldDiagonal;
}

// The big/small lists hold two-way and three-way entries; an entry matches when
// it contains either of the number's two texts.
template<typename TwoWay, typename ThreeWay>
SubTest bigSmallEntryMatch(const ListCondition &list, TwoWay twoWay, ThreeWay threeWay)
{
    const DigitClasses classes = DigitClasses::byMark([](int v) {
        const Digits triple{v, v, v};
        return bigSmallShape(triple) + bigMidSmallShape(triple);
    });
    return byDigitClasses(classes, [&list, twoWay, threeWay](Digits d) {
        const QString two = kTwoWayPrefix + twoWay(d);
        const QString three = kThreeWayPrefix + threeWay(d);
        return entryMatchTest(list, [&](const QString &entry) { return entry.contains(two) || entry.contains(three); });
    });
}

// The kinds that hold for a number, one bit per vocabulary entry, are the key;
// an entry matches when it names a kind that holds.
template<std::size_t K>
SubTest kindEntryMatch(const ListCondition &list, std::array<bool, K> (*kindsOf)(Digits))
{
    return memoized(
        1 << K,
        [kindsOf](Digits d) {
            const std::array<bool, K> kinds = kindsOf(d);
            int mask = 0;
            for (std::size_t i = 0; i < K; ++i)
                mask |= int(kinds[i]) << i;
            return mask;
        },
        [&list](int mask) {
            return entryMatchTest(list, [&](const QString &entry) {
                const qsizetype i = list.vocabulary().indexOf(entry);
                return i >= 0 && (mask >> i) & 1;
            });
        });
}

std::array<bool, 14> consecutiveKindsOf(Digits d) { return consecutiveKinds(d); }
std::array<bool, 14> intervalKindsOf(Digits d) { return intervalKinds(d); }

// The numbers some chosen code of 直选双码 matches: a code matches the ten
// numbers that its star position leaves free.
std::bitset<1000> straightPairMatchSet(const ListCondition &list)
{
    std::bitset<1000> matched;
    for (const QString &code : list.chosen()) {
        const qsizetype star = code.indexOf(u'*');
        if (code.size() != 3 || star < 0)
            continue;
        QString text = code;
        for (int v = 0; v <= 9; ++v) {
            text[star] = QChar(u'0' + v);
            const int number = drawTextNumber(text);
            if (number >= 0)
                matched.set(std::size_t(number));
        }
    }
    return matched;
}

// The numbers some chosen code of 组选双码 matches. A code matches by the
// digits a number holds, so only codes of two digits can match at all.
std::bitset<1000> groupPairMatchSet(const ListCondition &list)
{
    std::array<std::array<bool, 10>, 10> wanted{};
    for (const QString &code : list.chosen()) {
        auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
        if (code.size() == 2 && isDigit(code.at(0)) && isDigit(code.at(1)))
            wanted[code.at(0).unicode() - u'0'][code.at(1).unicode() - u'0'] = true;
    }
    std::bitset<1000> matched;
    for (int number = 0; number < 1000; ++number) {
        const Digits d = digitsOf(number);
        std::array<int, 10> count{};
        ++count[d.h];
        ++count[d.t];
        ++count[d.u];
        for (int a : {d.h, d.t, d.u})
            for (int b : {d.h, d.t, d.u})
                if (wanted[a][b] && (a != b || count[a] >= 2))
                    matched.set(std::size_t(number));
    }
    return matched;
}

bool codeListVerdict(const ListCondition &list, bool matched)
{
    if (list.chosen().isEmpty())
        return true;
    return list.mode() == ListMode::Include ? matched : !matched;
}

} // namespace

struct FilterEngine::Impl {
    FilterSetup setup;
    bool straight = true;
    std::array<std::vector<SubTest>, kConditionCount + 1> panels;

    // conditions 10 and 11
    std::array<MarkPanel, 2> markPanels;

    // condition 1
    std::optional<int> omissionFrom;
    std::optional<int> omissionTo;
    int historyDepth = 0;
    bool needsOmission = false;
    std::optional<OmissionIndex> omissionIndex;
    std::bitset<1000> straightPairMatches;
    std::bitset<1000> groupPairMatches;

    explicit Impl(const FilterSetup &s);
    void setDigitSets(const DrawDigitSets &sets);
    int omission(int number);
    bool numberCondition(int number);
    bool test(int condition, int number);
};

FilterEngine::Impl::Impl(const FilterSetup &s) : setup(s), straight(s.viewMode == ViewMode::Straight)
{
    const ConditionSet &c = *setup.conditions;
    setDigitSets(setup.digitSets);

    const NumberConditionState &n = c.number;
    omissionFrom = readEditNumber(n.omissionFrom);
    omissionTo = readEditNumber(n.omissionTo);
    historyDepth = readEditNumber(n.historyDepth).value_or(0);
    needsOmission = omissionFrom || omissionTo || historyDepth > 0;
    if (straight)
        straightPairMatches = straightPairMatchSet(n.straightPairs);
    groupPairMatches = groupPairMatchSet(n.groupPairs);

    auto &p = panels;
    p[2] = {numericValueList(c.sum, digitSum, 0, 27), numericValueList(c.sumTail, sumTail, 0, 9)};
    p[3] = {numericValueList(c.average, average, 0, 9)};
    p[4] = {numericValueList(c.span, span, 0, 9)};
    p[5] = {numericValueList(c.ac, acValue, -1, 1)};

    // Shapes are positional, so group mode, whose entries are sorted forms,
    // leaves them out; ratios and the range do not depend on digit order.
    if (straight)
        p[6].push_back(bigSmallEntryMatch(c.bigSmall.shape, bigSmallShape, bigMidSmallShape));
    p[6].push_back(bigSmallEntryMatch(c.bigSmall.ratio, bigSmallRatio, bigMidSmallRatio));
    p[6].push_back([&c](int, Digits d) { return rangeTest(c.bigSmall.rangeMode, c.bigSmall.range, d); });

    auto shapeAndRatio = [&](int panel, const ListCondition &shape, const ListCondition &ratio, auto shapeOf,
                             auto ratioOf) {
        const DigitClasses classes = classesOfShape(shapeOf);
        if (straight)
            p[panel].push_back(textValueList(shape, classes, shapeOf, TextMatch::Equals));
        p[panel].push_back(textValueList(ratio, classes, ratioOf, TextMatch::Contains));
    };
    shapeAndRatio(7, c.oddEvenShape, c.oddEvenRatio, oddEvenShape, oddEvenRatio);
    shapeAndRatio(8, c.primeShape, c.primeRatio, primeCompositeShape, primeCompositeRatio);
    shapeAndRatio(9, c.mod3Shape, c.mod3Ratio, mod3Shape, mod3Ratio);
    auto &newOldJump = markPanels[0].lists;
    auto &oldDiagonal = markPanels[1].lists;
    if (straight)
        newOldJump.push_back(markList(
            c.newOldJumpShape, [](Digits m) { return newOldJumpShape(m, marksAsDigits(true)); }, TextMatch::Equals));
    newOldJump.push_back(markList(
        c.newOldJumpRatio, [](Digits m) { return newOldJumpRatio(m, marksAsDigits(true)); }, TextMatch::Contains));
    if (straight)
        oldDiagonal.push_back(markList(
            c.oldDiagonalShape, [](Digits m) { return oldDiagonalIsolatedShape(m, marksAsDigits(false)); },
            TextMatch::Equals));
    oldDiagonal.push_back(markList(
        c.oldDiagonalRatio, [](Digits m) { return oldDiagonalIsolatedRatio(m, marksAsDigits(false)); },
        TextMatch::Contains));

    p[12] = {kindEntryMatch(c.repeat, repeatKinds)};
    p[13] = {kindEntryMatch(c.consecutive, consecutiveKindsOf)};
    p[14] = {kindEntryMatch(c.interval, intervalKindsOf)};
}

void FilterEngine::Impl::setDigitSets(const DrawDigitSets &sets)
{
    setup.digitSets = sets;
    for (int v = 0; v <= 9; ++v) {
        markPanels[0].marks[std::size_t(v)] = sets.newOldJumpMark(v);
        markPanels[1].marks[std::size_t(v)] = sets.oldDiagonalIsolatedMark(v);
    }
}

int FilterEngine::Impl::omission(int number)
{
    static const QStringList noDraws;
    const QStringList &draws = setup.draws ? *setup.draws : noDraws;
    if (setup.omissionMethod == OmissionMethod::PerNumberScan)
        return straight ? scanOmission(draws, number) : scanGroupOmission(draws, number);
    if (setup.omissions)
        return straight ? setup.omissions->omission(number) : setup.omissions->groupOmission(number);
    if (!omissionIndex)
        omissionIndex = OmissionIndex::build(draws, straight ? OmissionIndex::Straight : OmissionIndex::Group);
    return straight ? omissionIndex->omission(number) : omissionIndex->groupOmission(number);
}

bool FilterEngine::Impl::numberCondition(int number)
{
    const NumberConditionState &n = setup.conditions->number;
    if (needsOmission) {
        const int d = omission(number);
        if (!omissionRangeTest(n.omissionMode, omissionFrom, omissionTo, d))
            return false;
        if (!historyTest(n.historyMode, historyDepth, d))
            return false;
    }
    if (straight && !codeListVerdict(n.straightPairs, straightPairMatches.test(std::size_t(number))))
        return false;
    return codeListVerdict(n.groupPairs, groupPairMatches.test(std::size_t(number)));
}

bool FilterEngine::Impl::test(int condition, int number)
{
    if (condition == 1)
        return numberCondition(number);
    if (condition == kConditionCount) {
        // Without a prepared script context the advanced conditions cannot
        // be evaluated, and a condition that cannot be evaluated keeps nothing.
        return setup.runner && setup.runner->test(number, setup.conditions->advanced.mode);
    }
    const Digits d = digitsOf(number);
    if (condition == 10 || condition == 11)
        return markPanels[std::size_t(condition - 10)].passes(d);
    for (SubTest &sub : panels[std::size_t(condition)])
        if (!sub(number, d))
            return false;
    return true;
}

FilterEngine::FilterEngine(const FilterSetup &setup) : d(std::make_unique<Impl>(setup)) {}

FilterEngine::~FilterEngine() = default;

void FilterEngine::setHistory(const DrawDigitSets &sets, const OmissionIndex &omissions)
{
    d->setDigitSets(sets);
    d->setup.draws = nullptr;
    d->setup.omissions = &omissions;
    d->omissionIndex.reset();
}

bool FilterEngine::readsDraws(int condition)
{
    return condition == 1 || condition == 10 || condition == 11 || condition == kConditionCount;
}

bool FilterEngine::conditionPasses(int condition, int number)
{
    if (condition < 1 || condition > kConditionCount || number < 0 || number > 999)
        return false;
    return d->test(condition, number);
}

namespace {

// The tolerance rule over the enabled conditions in order; `fails` is asked
// only until the number is rejected.
template<typename Fails>
bool passesUnder(const FilterSetup &s, Fails fails)
{
    int failures = 0;
    for (int condition = 1; condition <= kConditionCount; ++condition) {
        if (!s.enabled[std::size_t(condition)] || !fails(condition))
            continue;
        if (!s.conditions->tolerable[std::size_t(condition)])
            return false;
        if (++failures > s.toleranceIndex)
            return false;
    }
    return true;
}

} // namespace

bool FilterEngine::passes(int number)
{
    if (number < 0 || number > 999)
        return false;
    return passesUnder(d->setup, [&](int condition) { return !d->test(condition, number); });
}

bool FilterEngine::passesFailing(std::bitset<kConditionCount + 1> failing) const
{
    return passesUnder(d->setup, [&](int condition) { return failing.test(std::size_t(condition)); });
}

} // namespace numsieve
