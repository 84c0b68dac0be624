#include "FilterTestSupport.h"

#include "core/Workspace.h"
#include "core/filter/AdvancedCondition.h"
#include "core/filter/FilterRun.h"

#include <QTest>

#include <functional>

using namespace numsieve;
using namespace filtertest;

namespace {

const QString kScriptRejected = QStringLiteral("高级条件不完整或格式错误，无法进行过滤，请先检查并修改条件");

// Stands in for the script engine: records what it was asked and answers as told.
class FakeRunner : public AdvancedConditionRunner
{
public:
    std::expected<void, QString> prepareResult;
    std::function<bool(int)> keep = [](int) { return true; };
    int prepareCalls = 0;
    QString preparedText;
    QStringList preparedDraws;
    QList<int> tested;
    QList<ListMode> modes;

    std::expected<void, QString> prepare(const QString &conditionText, const QStringList &draws) override
    {
        ++prepareCalls;
        preparedText = conditionText;
        preparedDraws = draws;
        return prepareResult;
    }
    bool test(int number, ListMode mode) override
    {
        tested.append(number);
        modes.append(mode);
        return keep(number);
    }
};

// Panels whose condition 123 fails and 000 passes, one unit each.
void makeFailFor123(ConditionSet &cs, int panel)
{
    switch (panel) {
    case 3: choose(cs.average, {"0"}); break;          // average of 123 is 2
    case 4: choose(cs.span, {"0"}); break;             // span 2
    case 5: choose(cs.ac, {"-1"}); break;              // AC 0
    case 12: choose(cs.repeat, {"三个重复"}); break;
    default: QFAIL("no such panel in this test");
    }
}

QStringList stageTexts(const Workspace &ws, ListKind kind, ResultStage stage) { return ws.tables.extract(kind, stage); }

} // namespace

class TestFilterEngine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tolerance_data();
    void tolerance();
    void panelCostsOneUnit();
    void noConditionPassesAll();
    void advancedCondition();
    void stopsAtDecidingFailure();

    void runStraight();
    void runGroupLeavesStraightAlone();
    void runReplacesEarlierStages();
    void runPrepareFailure();
    void runAdvancedWithoutRunner();
    void runAdvancedOffSkipsRunner();
    void runOmissionMethodsAgree();
};

void TestFilterEngine::tolerance_data()
{
    QTest::addColumn<int>("tolerance");
    QTest::addColumn<QList<int>>("failing");    // enabled panels that 123 fails
    QTest::addColumn<QList<int>>("tolerable");  // panels with 容错 ticked
    QTest::addColumn<bool>("passes");

    const QList<int> all{3, 4, 5, 12};
    QTest::newRow("不使用, ticked") << 0 << QList<int>{3} << all << false;
    QTest::newRow("不使用, nothing fails") << 0 << QList<int>{} << all << true;
    QTest::newRow("最多1次, one ticked") << 1 << QList<int>{4} << all << true;
    QTest::newRow("最多2次, two of three ticked fail") << 2 << QList<int>{3, 4} << QList<int>{3, 4, 5} << true;
    QTest::newRow("最多2次, three ticked fail") << 2 << QList<int>{3, 4, 5} << QList<int>{3, 4, 5} << false;
    QTest::newRow("最多3次, three ticked fail") << 3 << QList<int>{3, 4, 5} << all << true;
    QTest::newRow("最多10次, one unticked fails") << 10 << QList<int>{3, 4, 12} << QList<int>{3, 4} << false;
    QTest::newRow("最多10次, unticked fails first") << 10 << QList<int>{3} << QList<int>{4, 5, 12} << false;
    QTest::newRow("最多10次, all ticked") << 10 << all << all << true;
    QTest::newRow("no selection, ticked") << -1 << QList<int>{12} << all << false;
}

void TestFilterEngine::tolerance()
{
    QFETCH(int, tolerance);
    QFETCH(QList<int>, failing);
    QFETCH(QList<int>, tolerable);
    QFETCH(bool, passes);

    ConditionSet cs;
    FilterSetup setup;
    setup.conditions = &cs;
    setup.toleranceIndex = tolerance;
    for (int panel : failing) {
        makeFailFor123(cs, panel);
        setup.enabled[panel] = true;
    }
    for (int panel : tolerable)
        cs.tolerable[panel] = true;
    // enabled panels that 123 passes cost nothing
    choose(cs.sum, {"6"});
    setup.enabled[2] = true;

    FilterEngine engine(setup);
    QCOMPARE(engine.passes(123), passes);
}

void TestFilterEngine::panelCostsOneUnit()
{
    ConditionSet cs;
    choose(cs.sum, {"7"});        // 123 has sum 6
    choose(cs.sumTail, {"7"});    // and tail 6
    cs.tolerable[2] = true;
    FilterSetup setup;
    setup.conditions = &cs;
    setup.enabled[2] = true;
    setup.toleranceIndex = 1;
    {
        FilterEngine engine(setup);
        QVERIFY(engine.passes(123));
    }
    // one more failing ticked panel makes two units
    makeFailFor123(cs, 4);
    cs.tolerable[4] = true;
    setup.enabled[4] = true;
    {
        FilterEngine engine(setup);
        QVERIFY(!engine.passes(123));
    }
    setup.toleranceIndex = 2;
    FilterEngine engine(setup);
    QVERIFY(engine.passes(123));
}

void TestFilterEngine::noConditionPassesAll()
{
    ConditionSet cs;
    for (int panel = 2; panel <= 14; ++panel)
        for (ListCondition *c : cs.lists(panel))
            choose(*c, {c->vocabulary().first()}, ListMode::Exclude);   // content, but switched off
    FilterSetup setup;
    setup.conditions = &cs;
    FilterEngine engine(setup);
    QCOMPARE(numbersWhere(ViewMode::Straight, [&](int n) { return engine.passes(n); }).size(), 1000);
}

void TestFilterEngine::advancedCondition()
{
    ConditionSet cs;
    cs.advanced.mode = ListMode::Exclude;
    FilterSetup setup;
    setup.conditions = &cs;
    setup.enabled[15] = true;
    {
        // no script context: nothing passes, not even with 容错 unticked
        FilterEngine engine(setup);
        QCOMPARE(numbersWhere(ViewMode::Straight, [&](int n) { return engine.passes(n); }).size(), 0);
    }
    {
        // a failure of condition 15 is a failure like any other
        cs.tolerable[15] = true;
        setup.toleranceIndex = 1;
        FilterEngine engine(setup);
        QVERIFY(engine.passes(5));
        cs.tolerable[15] = false;
        setup.toleranceIndex = 0;
    }
    FakeRunner runner;
    runner.keep = [](int n) { return n % 2 == 0; };
    setup.runner = &runner;
    FilterEngine engine(setup);
    QVERIFY(engine.passes(4));
    QVERIFY(!engine.passes(5));
    QCOMPARE(runner.tested, (QList<int>{4, 5}));
    QCOMPARE(runner.modes, (QList<ListMode>{ListMode::Exclude, ListMode::Exclude}));
}

void TestFilterEngine::stopsAtDecidingFailure()
{
    ConditionSet cs;
    choose(cs.span, {"0"});       // only triples pass condition 4
    FilterSetup setup;
    setup.conditions = &cs;
    setup.enabled[4] = true;
    setup.enabled[15] = true;
    FakeRunner runner;
    setup.runner = &runner;
    FilterEngine engine(setup);
    const QList<int> kept = numbersWhere(ViewMode::Straight, [&](int n) { return engine.passes(n); });
    QCOMPARE(kept, (QList<int>{0, 111, 222, 333, 444, 555, 666, 777, 888, 999}));
    QCOMPARE(runner.tested, kept);
}

// ------------------------------------------------------------------- the run

void TestFilterEngine::runStraight()
{
    Workspace ws;
    ws.selection.hundreds.setSelected(1, true);
    for (int t : {2, 3})
        ws.selection.tens.setSelected(t, true);
    for (int u : {4, 5, 6})
        ws.selection.units.setSelected(u, true);
    ws.tables.groupSix()[0].stage = ResultStage::Intersected;
    ws.selectionNumbers = QStringList{"123", "345"};
    ws.addEntries(4, 0, {3});   // 跨度 "3"
    QVERIFY(ws.enabled[4]);

    QVERIFY(runFilter(ws, nullptr).has_value());
    QCOMPARE(stageTexts(ws, ListKind::Straight, ResultStage::Filtered), (QStringList{"124", "134"}));
    QCOMPARE(stageTexts(ws, ListKind::Straight, ResultStage::Selected), (QStringList{"125", "126", "135", "136"}));
    QCOMPARE(ws.tables.groupSix()[0].stage, ResultStage::Intersected);
    QCOMPARE(ws.drawDigitSets.oldDigits, QStringLiteral("345"));
    QCOMPARE(ws.drawDigitSets.jumpDigits, QStringLiteral("12"));
}

void TestFilterEngine::runGroupLeavesStraightAlone()
{
    Workspace ws;
    ws.chooseSelectionPanel(2);
    QCOMPARE(ws.tables.viewMode(), ViewMode::Group);
    for (int d : {1, 2, 3})
        ws.selection.groupDigits.setSelected(d, true);
    ws.tables.straight()[123].stage = ResultStage::Intersected;
    ws.tables.straight()[7].stage = ResultStage::Selected;
    choose(ws.conditions.repeat, {"无重复号"});
    ws.switchCondition(12);
    // a shape list that would reject everything is left out in group mode
    choose(ws.conditions.oddEvenShape, {"奇奇奇"}, ListMode::Exclude);
    ws.conditions.oddEvenShape.addAll();
    ws.switchCondition(7);

    QVERIFY(runFilter(ws, nullptr).has_value());
    QCOMPARE(stageTexts(ws, ListKind::Group, ResultStage::Filtered), (QStringList{"123"}));
    QCOMPARE(stageTexts(ws, ListKind::Group, ResultStage::Selected),
             (QStringList{"112", "113", "122", "133", "223", "233"}));
    QCOMPARE(ws.tables.straight()[123].stage, ResultStage::Intersected);
    QCOMPARE(ws.tables.straight()[7].stage, ResultStage::Selected);
    QCOMPARE(ws.tables.counts(TableId::Straight), (std::array<int, 3>{1, 0, 1}));
}

void TestFilterEngine::runReplacesEarlierStages()
{
    Workspace ws;
    ws.selection.hundreds.setSelected(0, true);
    ws.selection.tens.setSelected(0, true);
    ws.selection.units.selectAll();
    QVERIFY(runFilter(ws, nullptr).has_value());
    QCOMPARE(stageTexts(ws, ListKind::Straight, ResultStage::Filtered).size(), 10);

    ws.addEntries(2, 0, {9});   // 和值 "9"
    QVERIFY(runFilter(ws, nullptr).has_value());
    QCOMPARE(stageTexts(ws, ListKind::Straight, ResultStage::Filtered), (QStringList{"009"}));
    QCOMPARE(stageTexts(ws, ListKind::Straight, ResultStage::Selected).size(), 9);
}

void TestFilterEngine::runPrepareFailure()
{
    Workspace ws;
    ws.selection.hundreds.setSelected(5, true);
    ws.selection.tens.setSelected(5, true);
    ws.selection.units.setSelected(5, true);
    ws.tables.straight()[1].stage = ResultStage::Filtered;
    ws.selectionNumbers = QStringList{"001", "002"};
    ws.setAdvancedConditionText(QStringLiteral("号码[0]>;\r\n"));
    QVERIFY(ws.enabled[15]);
    FakeRunner runner;
    runner.prepareResult = std::unexpected(kScriptRejected);

    const auto result = runFilter(ws, &runner);
    QVERIFY(!result.has_value());
    QCOMPARE(result.error(), kScriptRejected);
    QCOMPARE(runner.preparedText, QStringLiteral("号码[0]>;\r\n"));
    QCOMPARE(runner.preparedDraws, (QStringList{"001", "002"}));
    QVERIFY(runner.tested.isEmpty());
    QCOMPARE(stageTexts(ws, ListKind::Straight, ResultStage::Selected), (QStringList{"555"}));
    QCOMPARE(ws.tables.counts(TableId::Straight), (std::array<int, 3>{1, 0, 0}));
}

void TestFilterEngine::runAdvancedWithoutRunner()
{
    Workspace ws;
    ws.selection.hundreds.selectAll();
    ws.selection.tens.selectAll();
    ws.selection.units.selectAll();
    ws.setAdvancedConditionText(QStringLiteral("和值[0]>5;\r\n"));
    QVERIFY(runFilter(ws, nullptr).has_value());
    QCOMPARE(ws.tables.counts(TableId::Straight), (std::array<int, 3>{1000, 0, 0}));
}

void TestFilterEngine::runAdvancedOffSkipsRunner()
{
    Workspace ws;
    ws.selection.hundreds.setSelected(1, true);
    ws.selection.tens.setSelected(1, true);
    ws.selection.units.setSelected(1, true);
    ws.conditions.advanced.conditionText = QStringLiteral("和值[0]>5;\r\n");   // content, switch left off
    FakeRunner runner;
    runner.keep = [](int) { return false; };
    QVERIFY(runFilter(ws, &runner).has_value());
    QCOMPARE(runner.prepareCalls, 0);
    QVERIFY(runner.tested.isEmpty());
    QCOMPARE(stageTexts(ws, ListKind::Straight, ResultStage::Filtered), (QStringList{"111"}));
}

void TestFilterEngine::runOmissionMethodsAgree()
{
    for (ViewMode mode : {ViewMode::Straight, ViewMode::Group}) {
        QList<QStringList> results;
        for (OmissionMethod method : {OmissionMethod::Index, OmissionMethod::PerNumberScan}) {
            Workspace ws;
            if (mode == ViewMode::Group) {
                ws.chooseSelectionPanel(2);
                ws.selection.groupDigits.selectAll();
            } else {
                ws.selection.hundreds.selectAll();
                ws.selection.tens.selectAll();
                ws.selection.units.selectAll();
            }
            for (int i = 0; i < 400; ++i)
                ws.selectionNumbers << numberText((i * 7919 + 13) % 1000);
            ws.setNumberField(NumberField::OmissionFrom, QStringLiteral("3"));
            ws.setNumberField(NumberField::OmissionTo, QStringLiteral("40"));
            QVERIFY(runFilter(ws, nullptr, method).has_value());
            results << stageTexts(ws, mode == ViewMode::Group ? ListKind::Group : ListKind::Straight, ResultStage::Filtered);
        }
        QVERIFY(!results[0].isEmpty());
        QCOMPARE(results[0], results[1]);
    }
}

QTEST_APPLESS_MAIN(TestFilterEngine)
#include "tst_filterengine.moc"
