#include "FilterTestSupport.h"

#include "core/filter/Omission.h"
#include "core/filter/Predicates.h"
#include "core/model/Attributes.h"

#include <QRandomGenerator>
#include <QTest>

using namespace numsieve;
using namespace filtertest;

class TestPredicates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listConditions_data();
    void listConditions();
    void fullLists_data();
    void fullLists();
    void listsAsHeld_data();
    void listsAsHeld();
    void range_data();
    void range();
    void engineAgreesWithRules_data();
    void engineAgreesWithRules();
    void omission_data();
    void omission();
    void omissionIndexMatchesScan();
    void digitSets_data();
    void digitSets();
    void numberPanel_data();
    void numberPanel();
};

// ---------------------------------------------------------------- list panels

void TestPredicates::listConditions_data()
{
    QTest::addColumn<int>("panel");
    QTest::addColumn<int>("list");
    QTest::addColumn<bool>("include");
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<bool>("group");
    QTest::addColumn<QList<int>>("passing");
    QTest::addColumn<QList<int>>("failing");

    auto row = [](const char *name, int panel, int list, bool include, const QStringList &chosen, bool group,
                  const QList<int> &passing, const QList<int> &failing) {
        QTest::newRow(name) << panel << list << include << chosen << group << passing << failing;
    };
    row("和值 包含 10 11", 2, 0, true, {"10", "11"}, false, {19, 910}, {18, 0});
    row("和值 排除 0", 2, 0, false, {"0"}, false, {1}, {0});
    row("和尾数 包含 0", 2, 1, true, {"0"}, false, {19, 190, 118}, {117});
    row("平均值 包含 1", 3, 0, true, {"1"}, false, {2, 3, 4}, {5, 1});
    row("跨度 排除 9", 4, 0, false, {"9"}, false, {18, 0}, {90, 909});
    row("AC值 排除 -1", 5, 0, false, {"-1"}, false, {112, 121}, {0, 111, 999});
    row("AC值 包含 0", 5, 0, true, {"0"}, false, {112, 211, 123, 321}, {121, 132, 213});
    // group entries are sorted forms: 112 stands for 121 as well
    row("AC值 包含 0 group", 5, 0, true, {"0"}, true, {112, 123}, {13});
    row("大小形态 两态 大大大", 6, 0, true, {"[大小] 大大大"}, false, {999, 567}, {499});
    row("大小形态 三态 大大大", 6, 0, true, {"[大中小] 大大大"}, false, {789}, {567});
    row("大小形态 排除 两态", 6, 0, false, {"[大小] 大大大"}, false, {499}, {567, 999});
    row("大小形态 group not tested", 6, 0, true, {"[大小] 大大大"}, true, {1, 499}, {});
    row("大小比 包含 3:0", 6, 1, true, {"[大小] 3:0 (3大0小)"}, false, {567}, {459});
    row("大小比 三态 group", 6, 1, true, {"[大中小] 1:2:0 (1大2中0小)"}, true, {359, 358}, {135});
    row("奇偶形态 包含 奇奇奇", 7, 0, true, {"奇奇奇"}, false, {135}, {134});
    row("奇偶形态 group not tested", 7, 0, true, {"奇奇奇"}, true, {135, 134}, {});
    row("奇偶比 排除 3:0", 7, 1, false, {"3:0 (3奇0偶)"}, false, {134}, {135});
    row("质合形态 包含 合质质", 8, 0, true, {"合质质"}, false, {423}, {243});
    row("质合比 包含 0:3", 8, 1, true, {"0:3 (0质3合)"}, false, {468}, {467});
    row("除3余形态 排除 000", 9, 0, false, {"000"}, false, {368}, {369});
    row("除3余比 包含 1:1:1", 9, 1, true, {"1:1:1 (1零1壹1贰)"}, false, {12, 345}, {36});
    row("重复号 二个重复", 12, 0, true, {"二个重复"}, false, {112, 121, 211, 111}, {123});
    row("重复号 百十重复", 12, 0, true, {"百十重复"}, false, {112}, {121});
    row("重复号 排除 无重复号", 12, 0, false, {"无重复号"}, false, {112, 111}, {123, 987});
    row("重复号 十个重复 group", 12, 0, true, {"十个重复"}, true, {11}, {1, 12});
    row("重复号 百十重复 group", 12, 0, true, {"百十重复"}, true, {1}, {11});
    row("连号 二连号", 13, 0, true, {"二连号"}, false, {125}, {123, 111});
    row("连号 顺序三连号", 13, 0, true, {"顺序三连号"}, false, {123, 321}, {132});
    row("连号 十个连号", 13, 0, true, {"十个连号"}, false, {512}, {152});
    row("连号 顺序三连号 group", 13, 0, true, {"顺序三连号"}, true, {12}, {13});
    row("间隔号 组六百十间隔", 14, 0, true, {"组六百十间隔"}, false, {130}, {131});
    row("间隔号 排除 无间隔", 14, 0, false, {"无间隔"}, false, {135}, {111, 123, 243});
}

void TestPredicates::listConditions()
{
    QFETCH(int, panel);
    QFETCH(int, list);
    QFETCH(bool, include);
    QFETCH(QStringList, chosen);
    QFETCH(bool, group);
    QFETCH(QList<int>, passing);
    QFETCH(QList<int>, failing);

    ConditionSet cs;
    choose(listOf(cs, panel, list), chosen, include ? ListMode::Include : ListMode::Exclude);
    const ViewMode mode = group ? ViewMode::Group : ViewMode::Straight;
    for (int n : passing)
        QVERIFY2(conditionPasses(cs, panel, n, mode), qPrintable(numberText(n)));
    for (int n : failing)
        QVERIFY2(!conditionPasses(cs, panel, n, mode), qPrintable(numberText(n)));
}

// Every list condition with its whole vocabulary chosen: 包含 keeps every
// number, 排除 none, except that group mode leaves the shape lists out.
void TestPredicates::fullLists_data()
{
    QTest::addColumn<int>("panel");
    QTest::addColumn<int>("list");
    QTest::addColumn<bool>("group");
    QTest::addColumn<bool>("shape");

    for (int panel = 1; panel <= 14; ++panel) {
        for (int list = 0; list < ConditionSet().lists(panel).size(); ++list) {
            const bool shape = (panel == 1 && list == 0) || (panel >= 6 && panel <= 11 && list == 0);
            for (bool group : {false, true}) {
                const QByteArray name = QByteArray::number(panel) + '/' + QByteArray::number(list) + (group ? " group" : "");
                QTest::newRow(name.constData()) << panel << list << group << shape;
            }
        }
    }
}

void TestPredicates::fullLists()
{
    QFETCH(int, panel);
    QFETCH(int, list);
    QFETCH(bool, group);
    QFETCH(bool, shape);

    const ViewMode mode = group ? ViewMode::Group : ViewMode::Straight;
    const qsizetype all = group ? 210 : 1000;
    ConditionSet cs;
    ListCondition &c = listOf(cs, panel, list);
    QVERIFY(c.addAll());
    QCOMPARE(keptBy(cs, panel, mode).size(), all);
    c.setMode(ListMode::Exclude);
    QCOMPARE(keptBy(cs, panel, mode).size(), group && shape ? all : 0);
}

// A scheme may load any texts into either list; the rules count and search
// them exactly as held.
void TestPredicates::listsAsHeld_data()
{
    QTest::addColumn<int>("panel");
    QTest::addColumn<QStringList>("available");
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<bool>("include");
    QTest::addColumn<QList<int>>("passing");
    QTest::addColumn<QList<int>>("failing");

    const QStringList sums = vocabulary(Vocab::Sum);
    QStringList allAndMore = sums;
    allAndMore << "5";
    QStringList twentyEightZeros;
    for (int i = 0; i < 28; ++i)
        twentyEightZeros << "0";

    // 包含 searches the available list, whatever the chosen list holds
    QTest::newRow("包含 reads available") << 2 << QStringList{"5"} << QStringList{} << true << QList<int>{6, 0}
                                        << QList<int>{5, 14};
    QTest::newRow("包含 same entry in both lists") << 2 << QStringList{"5"} << QStringList{"5"} << true << QList<int>{6}
                                                 << QList<int>{5};
    QTest::newRow("包含 both lists empty") << 2 << QStringList{} << QStringList{} << true << QList<int>{0, 999}
                                         << QList<int>{};
    // 排除 counts repeats: 28 entries are a full list whatever they are
    QTest::newRow("排除 28 repeats fail all") << 2 << QStringList{} << twentyEightZeros << false << QList<int>{}
                                            << QList<int>{0, 1, 999};
    QTest::newRow("排除 more than the vocabulary") << 2 << QStringList{} << allAndMore << false << QList<int>{0, 5, 999}
                                                 << QList<int>{};
    QTest::newRow("排除 foreign entry") << 2 << sums.mid(1) << QStringList{"abc"} << false << QList<int>{0, 999}
                                      << QList<int>{};
    QTest::newRow("比 entry contains the ratio") << 7 << QStringList{"2:1"} << QStringList{} << true << QList<int>{111}
                                                << QList<int>{112};
    // entry-match: a chosen text naming no kind matches nothing
    QTest::newRow("kind from another panel") << 12 << QStringList{} << QStringList{"二连号"} << true << QList<int>{}
                                             << QList<int>{0, 112, 123};
    QTest::newRow("kind list repeats") << 12 << QStringList{} << QStringList{"无重复号", "无重复号"} << true
                                       << QList<int>{123} << QList<int>{112};
}

void TestPredicates::listsAsHeld()
{
    QFETCH(int, panel);
    QFETCH(QStringList, available);
    QFETCH(QStringList, chosen);
    QFETCH(bool, include);
    QFETCH(QList<int>, passing);
    QFETCH(QList<int>, failing);

    ConditionSet cs;
    ListCondition &c = listOf(cs, panel, panel == 7 ? 1 : 0);
    c.setLists(available, chosen);
    c.setMode(include ? ListMode::Include : ListMode::Exclude);
    for (int n : passing)
        QVERIFY2(conditionPasses(cs, panel, n), qPrintable(numberText(n)));
    for (int n : failing)
        QVERIFY2(!conditionPasses(cs, panel, n), qPrintable(numberText(n)));
}

void TestPredicates::range_data()
{
    QTest::addColumn<bool>("include");
    QTest::addColumn<QList<int>>("range");
    QTest::addColumn<QList<int>>("passing");
    QTest::addColumn<QList<int>>("failing");
    QTest::addColumn<int>("keptCount");

    QTest::newRow("包含 2 5 6 9") << true << QList<int>{2, 5, 6, 9} << QList<int>{258, 852, 369} << QList<int>{158, 255}
                                << -1;
    QTest::newRow("排除 2 5 6 9") << false << QList<int>{2, 5, 6, 9} << QList<int>{158, 255} << QList<int>{258} << -1;
    QTest::newRow("包含 default") << true << QList<int>{0, 9, 0, 9} << QList<int>{0, 999} << QList<int>{} << 1000;
    QTest::newRow("排除 default fails all") << false << QList<int>{0, 9, 0, 9} << QList<int>{} << QList<int>{0, 999}
                                        << 0;
    QTest::newRow("包含 from above to") << true << QList<int>{5, 2, 0, 9} << QList<int>{} << QList<int>{555, 222} << 0;
}

void TestPredicates::range()
{
    QFETCH(bool, include);
    QFETCH(QList<int>, range);
    QFETCH(QList<int>, passing);
    QFETCH(QList<int>, failing);
    QFETCH(int, keptCount);

    ConditionSet cs;
    cs.bigSmall.rangeMode = include ? ListMode::Include : ListMode::Exclude;
    cs.bigSmall.range = {range[0], range[1], range[2], range[3]};
    for (int n : passing)
        QVERIFY2(conditionPasses(cs, 6, n), qPrintable(numberText(n)));
    for (int n : failing)
        QVERIFY2(!conditionPasses(cs, 6, n), qPrintable(numberText(n)));
    if (keptCount >= 0) {
        QCOMPARE(keptBy(cs, 6).size(), keptCount);
        QCOMPARE(keptBy(cs, 6, ViewMode::Group).size(), keptCount == 0 ? 0 : 210);
    }
}

// ------------------------------------------- the engine against the plain rules

namespace {

bool equalsText(const ListCondition &c, const QString &t)
{
    return valueListTest(c, [&](const QString &e) { return e == t; });
}
bool containsText(const ListCondition &c, const QString &t)
{
    return valueListTest(c, [&](const QString &e) { return e.contains(t); });
}
bool numeric(const ListCondition &c, int v)
{
    return valueListTest(c, [&](const QString &e) { return numericEntryEquals(e, v); });
}
template<std::size_t K>
bool kinds(const ListCondition &c, const std::array<bool, K> &holds)
{
    return entryMatchTest(c, [&](const QString &e) {
        const qsizetype i = c.vocabulary().indexOf(e);
        return i >= 0 && holds[std::size_t(i)];
    });
}

// Each panel's test written straight from the rules, one number at a time.
bool reference(const ConditionSet &cs, int panel, int number, bool straight, const DrawDigitSets &sets)
{
    const Digits d = digitsOf(number);
    switch (panel) {
    case 2: return numeric(cs.sum, digitSum(d)) && numeric(cs.sumTail, sumTail(d));
    case 3: return numeric(cs.average, average(d));
    case 4: return numeric(cs.span, span(d));
    case 5: return numeric(cs.ac, acValue(d));
    case 6: {
        auto bigSmall = [&](const ListCondition &c, const QString &two, const QString &three) {
            return entryMatchTest(c, [&](const QString &e) { return e.contains(kTwoWayPrefix + two) || e.contains(kThreeWayPrefix + three); });
        };
        return (!straight || bigSmall(cs.bigSmall.shape, bigSmallShape(d), bigMidSmallShape(d)))
               && bigSmall(cs.bigSmall.ratio, bigSmallRatio(d), bigMidSmallRatio(d))
               && rangeTest(cs.bigSmall.rangeMode, cs.bigSmall.range, d);
    }
    case 7: return (!straight || equalsText(cs.oddEvenShape, oddEvenShape(d))) && containsText(cs.oddEvenRatio, oddEvenRatio(d));
    case 8: return (!straight || equalsText(cs.primeShape, primeCompositeShape(d))) && containsText(cs.primeRatio, primeCompositeRatio(d));
    case 9: return (!straight || equalsText(cs.mod3Shape, mod3Shape(d))) && containsText(cs.mod3Ratio, mod3Ratio(d));
    case 10:
        return (!straight || equalsText(cs.newOldJumpShape, newOldJumpShape(d, sets)))
               && containsText(cs.newOldJumpRatio, newOldJumpRatio(d, sets));
    case 11:
        return (!straight || equalsText(cs.oldDiagonalShape, oldDiagonalIsolatedShape(d, sets)))
               && containsText(cs.oldDiagonalRatio, oldDiagonalIsolatedRatio(d, sets));
    case 12: return kinds(cs.repeat, repeatKinds(d));
    case 13: return kinds(cs.consecutive, consecutiveKinds(d));
    case 14: return kinds(cs.interval, intervalKinds(d));
    }
    return false;
}

// Random content: a random part of the vocabulary chosen in random order, now
// and then a repeat or a bare ratio, and a random mode.
void shuffleLists(ConditionSet &cs, QRandomGenerator &random)
{
    for (int panel = 2; panel <= 14; ++panel) {
        for (ListCondition *c : cs.lists(panel)) {
            QStringList available = c->vocabulary();
            QStringList chosen;
            const int picks = int(random.bounded(available.size() + 1));
            for (int i = 0; i < picks; ++i)
                chosen << available.takeAt(random.bounded(available.size()));
            if (random.bounded(4) == 0 && !chosen.isEmpty())
                chosen << chosen.first();
            if (random.bounded(4) == 0 && !available.isEmpty())
                available << available.first().section(u' ', 0, 0);
            c->setLists(available, chosen);
            c->setMode(random.bounded(2) ? ListMode::Include : ListMode::Exclude);
        }
    }
    cs.bigSmall.rangeMode = random.bounded(2) ? ListMode::Include : ListMode::Exclude;
    cs.bigSmall.range = {int(random.bounded(10)), int(random.bounded(10)), int(random.bounded(10)), int(random.bounded(10))};
}

} // namespace

void TestPredicates::engineAgreesWithRules_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<QStringList>("draws");
    QTest::newRow("no draws") << 1u << QStringList{};
    QTest::newRow("one draw") << 2u << QStringList{"105"};
    QTest::newRow("two draws") << 3u << QStringList{"123", "345"};
    QTest::newRow("repeated digits") << 4u << QStringList{"909", "555"};
    QTest::newRow("more") << 5u << QStringList{"780", "091", "264"};
}

void TestPredicates::engineAgreesWithRules()
{
    QFETCH(quint32, seed);
    QFETCH(QStringList, draws);
    QRandomGenerator random(seed);
    const DrawDigitSets sets = DrawDigitSets::fromDraws(draws);
    for (int round = 0; round < 12; ++round) {
        ConditionSet cs;
        shuffleLists(cs, random);
        for (ViewMode mode : {ViewMode::Straight, ViewMode::Group}) {
            const bool straight = mode == ViewMode::Straight;
            for (int panel = 2; panel <= 14; ++panel) {
                const QList<int> kept = keptBy(cs, panel, mode, draws);
                const QList<int> expected
                    = numbersWhere(mode, [&](int n) { return reference(cs, panel, n, straight, sets); });
                QVERIFY2(kept == expected, qPrintable(QStringLiteral("round %1 panel %2 %3").arg(round).arg(panel).arg(straight ? "straight" : "group")));
            }
        }
    }
}

// ---------------------------------------------------------- draw-relative

void TestPredicates::omission_data()
{
    QTest::addColumn<QStringList>("draws");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("straight");
    QTest::addColumn<int>("group");   // of the number's sorted form

    const QStringList d{"123", "456"};
    QTest::newRow("latest") << d << 456 << 0 << 0;
    QTest::newRow("one before") << d << 123 << 1 << 1;
    QTest::newRow("never drawn") << d << 789 << 2 << 2;
    QTest::newRow("no draws") << QStringList{} << 123 << -1 << -1;
    QTest::newRow("group any order") << QStringList{"321"} << 123 << 1 << 0;
    QTest::newRow("group most recent") << QStringList{"123", "456", "231", "555"} << 312 << 4 << 1;
    QTest::newRow("group: drawing 312 resets 123") << QStringList{"123", "456", "312"} << 123 << 2 << 0;
    QTest::newRow("leading zero") << QStringList{"012", "999"} << 12 << 1 << 1;
    QTest::newRow("short text no straight match") << QStringList{"12", "999"} << 12 << 2 << 1;
    QTest::newRow("foreign texts") << QStringList{"abc", "1234", ""} << 0 << 3 << 3;
}

void TestPredicates::omission()
{
    QFETCH(QStringList, draws);
    QFETCH(int, number);
    QFETCH(int, straight);
    QFETCH(int, group);
    const OmissionIndex index = OmissionIndex::build(draws);
    QCOMPARE(index.omission(number), straight);
    QCOMPARE(scanOmission(draws, number), straight);
    QCOMPARE(index.groupOmission(sortedForm(number)), group);
    QCOMPARE(scanGroupOmission(draws, sortedForm(number)), group);

    // The index a back-test keeps, one draw appended at a time.
    OmissionIndex grown;
    for (const QString &draw : draws)
        grown.append(draw);
    QCOMPARE(grown.omission(number), straight);
    QCOMPARE(grown.groupOmission(sortedForm(number)), group);
}

void TestPredicates::omissionIndexMatchesScan()
{
    QRandomGenerator random(7);
    for (int size : {1, 50, 3000}) {
        QStringList draws;
        for (int i = 0; i < size; ++i)
            draws << numberText(int(random.bounded(size < 100 ? 40 : 1000)));
        if (size == 50)
            draws[10] = QStringLiteral(" 17");
        for (OmissionIndex::Need need : {OmissionIndex::Straight, OmissionIndex::Group, OmissionIndex::Both}) {
            const OmissionIndex index = OmissionIndex::build(draws, need);
            for (int n = 0; n < 1000; ++n) {
                if (need & OmissionIndex::Straight)
                    QCOMPARE(index.omission(n), scanOmission(draws, n));
                if (need & OmissionIndex::Group)
                    QCOMPARE(index.groupOmission(sortedForm(n)), scanGroupOmission(draws, sortedForm(n)));
            }
        }
    }
}

void TestPredicates::digitSets_data()
{
    QTest::addColumn<QStringList>("draws");
    QTest::addColumn<QStringList>("sets");   // new, old, jump, diagonal, isolated
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("marks");   // 新旧跳 shape and ratio, 旧斜孤 shape and ratio

    QTest::newRow("no draws") << QStringList{} << QStringList{"0123456789", "", "", "", "0123456789"} << 0
                              << QStringList{"新新新", "3:0:0", "孤孤孤", "0:0:3"};
    QTest::newRow("one draw") << QStringList{"105"} << QStringList{"2346789", "105", "", "246", "0135789"} << 135
                              << QStringList{"旧新旧", "1:2:0", "旧孤旧", "2:0:1"};
    QTest::newRow("9 has only 8") << QStringList{"105"} << QStringList{"2346789", "105", "", "246", "0135789"} << 964
                                  << QStringList{"新新新", "3:0:0", "孤斜斜", "0:2:1"};
    QTest::newRow("two draws") << QStringList{"777", "123", "345"} << QStringList{"06789", "345", "12", "26", "01345789"}
                               << 135 << QStringList{"跳旧旧", "0:2:1", "孤旧旧", "2:0:1"};
    QTest::newRow("repeats dropped") << QStringList{"552", "909"} << QStringList{"134678", "90", "52", "18", "02345679"}
                                     << 518 << QStringList{"跳新新", "2:0:1", "孤斜斜", "0:2:1"};
}

void TestPredicates::digitSets()
{
    QFETCH(QStringList, draws);
    QFETCH(QStringList, sets);
    QFETCH(int, number);
    QFETCH(QStringList, marks);
    const DrawDigitSets s = DrawDigitSets::fromDraws(draws);
    QCOMPARE((QStringList{s.newDigits, s.oldDigits, s.jumpDigits, s.diagonalDigits, s.isolatedDigits}), sets);
    const Digits d = digitsOf(number);
    QCOMPARE((QStringList{newOldJumpShape(d, s), newOldJumpRatio(d, s), oldDiagonalIsolatedShape(d, s),
                          oldDiagonalIsolatedRatio(d, s)}),
             marks);

    // the panels match the same texts
    ConditionSet cs;
    choose(cs.newOldJumpShape, {marks[0]});
    choose(cs.oldDiagonalRatio, {vocabulary(Vocab::OldDiagonalIsolatedRatio).filter(marks[3] + " ").value(0)});
    QVERIFY(conditionPasses(cs, 10, number, ViewMode::Straight, draws));
    QVERIFY(conditionPasses(cs, 11, number, ViewMode::Straight, draws));
    cs.newOldJumpShape.setMode(ListMode::Exclude);
    cs.oldDiagonalRatio.setMode(ListMode::Exclude);
    QVERIFY(!conditionPasses(cs, 10, number, ViewMode::Straight, draws));
    QVERIFY(!conditionPasses(cs, 11, number, ViewMode::Straight, draws));
}

void TestPredicates::numberPanel_data()
{
    QTest::addColumn<QStringList>("draws");
    QTest::addColumn<QStringList>("fields");     // from, to, depth
    QTest::addColumn<QList<int>>("modes");       // 遗漏, 历史, 直选双码, 组选双码 (1 包含, 0 排除)
    QTest::addColumn<QStringList>("straightPairs");
    QTest::addColumn<QStringList>("groupPairs");
    QTest::addColumn<bool>("group");
    QTest::addColumn<QList<int>>("passing");
    QTest::addColumn<QList<int>>("failing");

    // 100 .. 119 drawn in that order: omission of 1xx is 119 - 1xx, others 20
    QStringList twenty;
    for (int n = 100; n < 120; ++n)
        twenty << numberText(n);
    const QList<int> inc{1, 1, 1, 1};
    const QStringList none;

    QTest::newRow("遗漏 0..0") << QStringList{"123", "456"} << QStringList{"0", "0", ""} << inc << none << none << false
                             << QList<int>{456} << QList<int>{123, 654};
    QTest::newRow("遗漏 10..5 as 5..10") << twenty << QStringList{"10", "5", ""} << inc << none << none << false
                                       << QList<int>{114, 109} << QList<int>{115, 108, 999};
    QTest::newRow("遗漏 排除 5..10") << twenty << QStringList{"5", "10", ""} << QList<int>{0, 1, 1, 1} << none << none
                                 << false << QList<int>{115, 108, 999} << QList<int>{114, 109};
    QTest::newRow("遗漏 only from 5") << twenty << QStringList{"5", "", ""} << inc << none << none << false
                                    << QList<int>{114, 999} << QList<int>{115};
    QTest::newRow("遗漏 排除 only from 5") << twenty << QStringList{"5", "", ""} << QList<int>{0, 1, 1, 1} << none << none
                                       << false << QList<int>{115, 119} << QList<int>{114, 999};
    QTest::newRow("遗漏 only to 3") << twenty << QStringList{"", "3", ""} << inc << none << none << false
                                  << QList<int>{119, 116} << QList<int>{115};
    QTest::newRow("遗漏 not a number reads 0") << twenty << QStringList{"x", "0", ""} << inc << none << none << false
                                           << QList<int>{119} << QList<int>{118};
    QTest::newRow("历史 排除 10") << twenty << QStringList{"", "", "10"} << QList<int>{1, 0, 1, 1} << none << none << false
                              << QList<int>{109, 999} << QList<int>{110, 119};
    QTest::newRow("历史 包含 10") << twenty << QStringList{"", "", "10"} << inc << none << none << false
                              << QList<int>{110, 119} << QList<int>{109, 999};
    QTest::newRow("历史 0 imposes nothing") << twenty << QStringList{"", "", "0"} << QList<int>{1, 0, 1, 1} << none << none
                                       << false << QList<int>{119, 999} << QList<int>{};
    QTest::newRow("no draws 遗漏 from 0") << QStringList{} << QStringList{"0", "", ""} << inc << none << none << false
                                      << QList<int>{} << QList<int>{0, 999};
    QTest::newRow("no draws 历史 包含") << QStringList{} << QStringList{"", "", "3"} << inc << none << none << false
                                    << QList<int>{0, 999} << QList<int>{};
    QTest::newRow("no draws 历史 排除") << QStringList{} << QStringList{"", "", "3"} << QList<int>{1, 0, 1, 1} << none
                                    << none << false << QList<int>{} << QList<int>{0, 999};
    QTest::newRow("group omission") << QStringList{"555", "321"} << QStringList{"0", "0", ""} << inc << none << none
                                    << true << QList<int>{123} << QList<int>{124, 5};
    QTest::newRow("直选双码 12*") << QStringList{} << QStringList{"", "", ""} << inc << QStringList{"12*"} << none << false
                               << QList<int>{120, 129} << QList<int>{312, 112};
    QTest::newRow("直选双码 1*3 排除") << QStringList{} << QStringList{"", "", ""} << QList<int>{1, 1, 0, 1}
                                   << QStringList{"1*3"} << none << false << QList<int>{134, 311} << QList<int>{103, 193};
    QTest::newRow("直选双码 malformed") << QStringList{} << QStringList{"", "", ""} << inc << QStringList{"**3", "12"}
                                     << none << false << QList<int>{} << QList<int>{123, 3};
    QTest::newRow("直选双码 not in group mode") << QStringList{} << QStringList{"", "", ""} << inc << QStringList{"12*"}
                                           << none << true << QList<int>{13, 789} << QList<int>{};
    QTest::newRow("组选双码 12") << QStringList{} << QStringList{"", "", ""} << inc << none << QStringList{"12"} << false
                              << QList<int>{123, 213, 112, 921} << QList<int>{134, 111};
    QTest::newRow("组选双码 11") << QStringList{} << QStringList{"", "", ""} << inc << none << QStringList{"11"} << false
                              << QList<int>{112, 111} << QList<int>{123};
    QTest::newRow("组选双码 11 group") << QStringList{} << QStringList{"", "", ""} << inc << none << QStringList{"11"}
                                    << true << QList<int>{112, 11} << QList<int>{123};
    QTest::newRow("组选双码 排除") << QStringList{} << QStringList{"", "", ""} << QList<int>{1, 1, 1, 0} << none
                                << QStringList{"12", "34"} << false << QList<int>{135} << QList<int>{213, 345};
    QTest::newRow("组选双码 bad length") << QStringList{} << QStringList{"", "", ""} << inc << none << QStringList{"1", "123"}
                                      << false << QList<int>{} << QList<int>{123, 1};
    QTest::newRow("parts in order") << twenty << QStringList{"0", "0", ""} << inc << QStringList{"12*"} << none << false
                                    << QList<int>{} << QList<int>{119, 120};
}

void TestPredicates::numberPanel()
{
    QFETCH(QStringList, draws);
    QFETCH(QStringList, fields);
    QFETCH(QList<int>, modes);
    QFETCH(QStringList, straightPairs);
    QFETCH(QStringList, groupPairs);
    QFETCH(bool, group);
    QFETCH(QList<int>, passing);
    QFETCH(QList<int>, failing);

    ConditionSet cs;
    cs.number.omissionFrom = fields[0];
    cs.number.omissionTo = fields[1];
    cs.number.historyDepth = fields[2];
    cs.number.omissionMode = ListMode(modes[0]);
    cs.number.historyMode = ListMode(modes[1]);
    choose(cs.number.straightPairs, straightPairs, ListMode(modes[2]));
    choose(cs.number.groupPairs, groupPairs, ListMode(modes[3]));
    const ViewMode mode = group ? ViewMode::Group : ViewMode::Straight;
    for (int n : passing)
        QVERIFY2(conditionPasses(cs, 1, n, mode, draws), qPrintable(numberText(n)));
    for (int n : failing)
        QVERIFY2(!conditionPasses(cs, 1, n, mode, draws), qPrintable(numberText(n)));
}

QTEST_APPLESS_MAIN(TestPredicates)
#include "tst_predicates.moc"
