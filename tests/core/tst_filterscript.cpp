#include "core/Messages.h"
#include "core/Workspace.h"
#include "core/filter/FilterRun.h"
#include "core/script/ScriptConditionRunner.h"

#include <QElapsedTimer>
#include <QTest>

using namespace std::chrono_literals;

using namespace numsieve;

// The filter run with the script engine behind condition 15.
class TestFilterScript : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filtersWithExpressions();
    void runawayDuringTestsStopsTheRun();
    void refusedListStopsBeforeTesting();
    void hostileExpressionsEndBounded_data();
    void hostileExpressionsEndBounded();
    void oversizedListRefusedUnevaluated_data();
    void oversizedListRefusedUnevaluated();

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
    QCOMPARE(result.error(), msg::kAdvancedTimeout);
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

void TestFilterScript::hostileExpressionsEndBounded_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QStringList>("messages");   // any of these; which one can depend on the machine's speed

    const QStringList timeout{msg::kAdvancedTimeout};
    const QStringList memory{msg::kAdvancedAborted};
    const QStringList either{msg::kAdvancedTimeout, msg::kAdvancedAborted};
    // Blanks are cut out of expressions; a tab keeps two words apart.
    QTest::newRow("recursion caught at every depth") << "(function\tf(){try{f()}catch(e){f()}})()>0" << timeout;
    QTest::newRow("replace to a terabyte") << "'x'.repeat(1e6).replace(/x/g,'y'.repeat(1e6)).length>0" << memory;
    QTest::newRow("join to a terabyte") << "Array(1e6).join('y'.repeat(1e6)).length>0" << either;
    QTest::newRow("length getter past the guard")
        << "Array.prototype.fill.call({n:0,get\tlength(){return\t++this.n>1?1e9:1}},1)!=0" << either;
    QTest::newRow("slow for every number, under the limit")
        << "和值[0]<0||(function(t){while(Date.now()-t<150){}return\t1})(Date.now())>0" << timeout;
    QTest::newRow("growth kept from number to number")
        << "(this.g=(this.g||'')+'x'.repeat(1e6)+this.g).length>0" << either;
    QTest::newRow("syntax stays a syntax error") << "和值[0]>(" << QStringList{msg::kAdvancedIncomplete};
}

void TestFilterScript::hostileExpressionsEndBounded()
{
    QFETCH(QString, expression);
    QFETCH(QStringList, messages);
    const QString text = expression + ";\r\n";
    Workspace w = straightWorkspace(text);
    const std::chrono::milliseconds budget = 1s;
    ScriptConditionRunner runner(EvaluationWay::Compiled, 200ms, budget);
    QElapsedTimer clock;
    clock.start();
    const auto result = runFilter(w, &runner);
    // The budget, the worker's grace before it is killed, and room for a busy machine.
    QVERIFY2(clock.elapsed() < budget.count() + 2000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!result.has_value());
    QVERIFY2(messages.contains(result.error()), qPrintable(result.error()));
    QCOMPARE(w.tables.counts(TableId::Straight), (std::array<int, 3>{1000, 0, 0}));
    QCOMPARE(w.conditions.advanced.conditionText, text);

    // Whatever became of the worker, the next run is served.
    w.setAdvancedConditionText("和值[0]==27;\r\n");
    QVERIFY(runFilter(w, &runner).has_value());
    QCOMPARE(w.tables.extract(ListKind::Straight, ResultStage::Filtered), QStringList{"999"});
}

void TestFilterScript::oversizedListRefusedUnevaluated_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("refused");

    // Every expression would run until stopped, so an evaluated list ends
    // with the time-out message instead.
    const QString endless = "(function(){while(1){}})()>0;\r\n";
    QTest::newRow("1001 expressions") << endless.repeated(1001) << true;
    QTest::newRow("over 1 MB in one expression") << "1>0" + QString(1 << 20, u'\t') + ";" << true;
    QTest::newRow("10^6 expressions") << QString("1<2;").repeated(1000000) << true;
    QTest::newRow("one expression") << endless << false;
}

void TestFilterScript::oversizedListRefusedUnevaluated()
{
    QFETCH(QString, text);
    QFETCH(bool, refused);
    Workspace w = straightWorkspace(text);
    ScriptConditionRunner runner(EvaluationWay::Compiled, 200ms, 1s);
    const auto result = runFilter(w, &runner);
    QCOMPARE(result.error(), refused ? msg::kAdvancedTooMany : msg::kAdvancedTimeout);
    QCOMPARE(w.tables.counts(TableId::Straight), (std::array<int, 3>{1000, 0, 0}));
}

QTEST_GUILESS_MAIN(TestFilterScript)
#include "tst_filterscript.moc"
