#include "Messages.h"
#include "Workspace.h"
#include "filter/FilterRun.h"
#include "script/ScriptConditionRunner.h"

#include <QTest>

using namespace numsieve;

// The filter run with the script engine behind condition 15.
class TestFilterScript : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filtersWithExpressions();
    void runawayDuringTestsStopsTheRun();
    void refusedListStopsBeforeTesting();

private:
    static Workspace straightWorkspace(const QString &conditionText);
};

Workspace TestFilterScript::straightWorkspace(const QString &conditionText)
{
    Workspace w;
    w.selection.hundreds.selectAll();
    w.selection.tens.selectAll();
    w.selection.units.selectAll();
    w.selectionNumbers = {"456", "123"};
    w.setAdvancedConditionText(conditionText);
    return w;
}

void TestFilterScript::filtersWithExpressions()
{
    Workspace w = straightWorkspace("和值[0]>和值[1]+20;\r\n");   // newest draw 123: sum 6
    ScriptConditionRunner runner;
    QVERIFY(runFilter(w, &runner).has_value());
    QCOMPARE(w.tables.extract(ListKind::Straight, ResultStage::Filtered), QStringList{"999"});

    w.setListMode(15, 0, ListMode::Exclude);
    QVERIFY(runFilter(w, &runner).has_value());
    QCOMPARE(w.tables.counts(TableId::Straight), (std::array<int, 3>{1, 999, 0}));
    QCOMPARE(w.tables.extract(ListKind::Straight, ResultStage::Selected), QStringList{"999"});
}

void TestFilterScript::runawayDuringTestsStopsTheRun()
{
    // Harmless in the pre-check, where 和值[0] is -1; endless for 999.
    Workspace w = straightWorkspace("和值[0]<27||(function(){while(true){}})()>0;\r\n");
    ScriptConditionRunner runner(EvaluationWay::Compiled, std::chrono::milliseconds(200));
    const auto result = runFilter(w, &runner);
    QVERIFY(!result.has_value());
    QCOMPARE(result.error(), msg::kAdvancedIncomplete);
    QCOMPARE(w.tables.counts(TableId::Straight), (std::array<int, 3>{1000, 0, 0}));

    // The runner works again for the next run.
    w.setAdvancedConditionText("和值[0]==27;\r\n");
    QVERIFY(runFilter(w, &runner).has_value());
    QCOMPARE(w.tables.extract(ListKind::Straight, ResultStage::Filtered), QStringList{"999"});
}

void TestFilterScript::refusedListStopsBeforeTesting()
{
    Workspace w = straightWorkspace("号码[31][1]>0;\r\n");
    ScriptConditionRunner runner;
    const auto result = runFilter(w, &runner);
    QCOMPARE(result.error(), QStringLiteral("高级条件不完整或格式错误，无法进行过滤，请先检查并修改条件"));
    QCOMPARE(w.tables.counts(TableId::Straight), (std::array<int, 3>{1000, 0, 0}));
}

QTEST_GUILESS_MAIN(TestFilterScript)
#include "tst_filterscript.moc"
