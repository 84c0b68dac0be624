#include "core/Messages.h"
#include "core/model/Attributes.h"
#include "core/model/Number.h"
#include "core/script/ConditionList.h"
#include "core/script/EditorTokens.h"
#include "core/script/ScriptConditionRunner.h"
#include "core/script/ScriptEvaluator.h"
#include "core/script/ScriptEngine.h"

#include <QRandomGenerator>
#include <QTest>

using namespace numsieve;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(numsieve::EvaluationWay)

namespace {

QList<int> survivors(ScriptEvaluator &runner, ListMode mode, const QList<int> &numbers)
{
    QList<int> kept;
    for (int n : numbers)
        if (runner.test(n, mode))
            kept << n;
    return kept;
}

QList<int> allNumbers()
{
    QList<int> numbers;
    for (int n = 0; n < 1000; ++n)
        numbers << n;
    return numbers;
}

template<typename Pred>
QList<int> numbersWhere(Pred pred)
{
    QList<int> numbers;
    for (int n = 0; n < 1000; ++n)
        if (pred(n))
            numbers << n;
    return numbers;
}

void addWays()
{
    QTest::addColumn<EvaluationWay>("way");
    QTest::newRow("compiled") << EvaluationWay::Compiled;
    QTest::newRow("literal") << EvaluationWay::Literal;
}

} // namespace

class TestScriptRunner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void engineSteps();
    void sandbox();
    void includeExclude_data() { addWays(); }
    void includeExclude();
    void orderAndSideEffects_data() { addWays(); }
    void orderAndSideEffects();
    void precheck_data();
    void precheck();
    void runawayInPrecheck_data() { addWays(); }
    void runawayInPrecheck();
    void runawayPerNumber_data() { addWays(); }
    void runawayPerNumber();
    void bracketsClosedByTheExpression();
    void crossCheck();
};

void TestScriptRunner::engineSteps()
{
    ScriptEngine engine(200ms);
    engine.prepare();
    QCOMPARE(engine.run("compute").error(), ScriptFailure::Error);
    QVERIFY(engine.addCode("var x=[-1,4];"));
    QVERIFY(engine.addCode("function compute(){return x[1];}"));
    QCOMPARE(engine.run("compute").value(), 4);
    // A later compute replaces the earlier one.
    QVERIFY(engine.addCode("function compute(){return 7;}"));
    QCOMPARE(engine.run("compute").value(), 7);
    // A syntax error fails add code and keeps the last good definition.
    QCOMPARE(engine.addCode("function compute(){return (;}").error(), ScriptFailure::Error);
    QCOMPARE(engine.run("compute").value(), 7);
    // A run-time error fails run, not add code.
    QVERIFY(engine.addCode("function compute(){return x[5][1];}"));
    QCOMPARE(engine.run("compute").error(), ScriptFailure::Error);
    // A thrown error fails add code; an Error object as a value does not.
    QCOMPARE(engine.addCode("throw 1;").error(), ScriptFailure::Error);
    QVERIFY(engine.addCode("new Error('just a value')"));
    // Results are converted to a 32-bit integer.
    QVERIFY(engine.addCode("function compute(){return '12';}"));
    QCOMPARE(engine.run("compute").value(), 12);
    // A runaway is stopped, and the engine keeps working.
    QVERIFY(engine.addCode("function compute(){for(;;){}}"));
    QCOMPARE(engine.run("compute").error(), ScriptFailure::Interrupted);
    QCOMPARE(engine.addCode("while(true){}").error(), ScriptFailure::Interrupted);
    QVERIFY(engine.addCode("function compute(){return x[1]+1;}"));
    QCOMPARE(engine.run("compute").value(), 5);
    // Prepare forgets every definition.
    engine.prepare();
    QCOMPARE(engine.run("compute").error(), ScriptFailure::Error);
}

void TestScriptRunner::sandbox()
{
    ScriptEngine engine;
    engine.prepare();
    const QStringList absent{"console", "print", "Qt", "XMLHttpRequest", "require", "gc", "qsTr", "importScripts",
                             "ArrayBuffer", "SharedArrayBuffer", "Float64Array", "Uint8Array", "DataView", "Atomics",
                             "cap", "big", "guard"};
    for (const QString &name : absent) {
        QVERIFY(engine.addCode("function compute(){return typeof " + name + "==='undefined'?1:0;}"));
        QVERIFY2(engine.run("compute").value() == 1, qPrintable(name));
    }
    // The caps leave ordinary use alone.
    QVERIFY(engine.addCode(
        "function compute(){return Number([3,1,2].sort().join('')+[1].concat([2]).length)*10+'ab'.repeat(2).length;}"));
    QCOMPARE(engine.run("compute").value(), 12324);
    QCOMPARE(engine.addCode("import('/etc/passwd')").error(), ScriptFailure::Error);
}

void TestScriptRunner::includeExclude()
{
    QFETCH(EvaluationWay, way);
    ScriptEvaluator runner(way, 500ms);
    QVERIFY(runner.prepare("和值[0]>10;\r\n", {"456", "123"}));
    QCOMPARE(runner.plainExpressions(), way == EvaluationWay::Compiled);
    const QList<int> high = numbersWhere([](int n) { return digitSum(digitsOf(n)) > 10; });
    const QList<int> low = numbersWhere([](int n) { return digitSum(digitsOf(n)) <= 10; });
    QCOMPARE(survivors(runner, ListMode::Include, allNumbers()), high);
    QCOMPARE(survivors(runner, ListMode::Exclude, allNumbers()), low);

    // Exclude removes only numbers for which every expression holds.
    QVERIFY(runner.prepare("hz[0]>10;\r\n跨度[0]==0;\r\n", {"123"}));
    QCOMPARE(survivors(runner, ListMode::Exclude, allNumbers()),
             numbersWhere([](int n) { return !(digitSum(digitsOf(n)) > 10 && span(digitsOf(n)) == 0); }));
    QCOMPARE(survivors(runner, ListMode::Include, allNumbers()), (QList<int>{444, 555, 666, 777, 888, 999}));

    // The tested digits reach the expression through both names; 号码[1] is
    // the newest draw.
    QVERIFY(runner.prepare("号码[0][1]==hm[1][1]&&hm[0][3]==号码[2][3];pj[0]==平均值[2]&&ac[0]!=AC值[1];",
                           {"456", "123"}));
    QCOMPARE(survivors(runner, ListMode::Include, allNumbers()), (QList<int>{176, 186, 196}));

    // An empty list passes everything.
    QVERIFY(runner.prepare(" \r\n", {"123"}));
    QCOMPARE(survivors(runner, ListMode::Include, {5, 500}), (QList<int>{5, 500}));
}

void TestScriptRunner::orderAndSideEffects()
{
    QFETCH(EvaluationWay, way);
    ScriptEvaluator runner(way, 500ms);
    // B holds for every number only when A runs before it.
    QVERIFY(runner.prepare("(和值[1]=和值[0])>=0;\r\n和值[1]==和值[0];\r\n", {"999"}));
    QVERIFY(!runner.plainExpressions());
    QCOMPARE(survivors(runner, ListMode::Include, allNumbers()), allNumbers());
    // Reversed, B fails first and include stops there, so A never runs again.
    QVERIFY(runner.prepare("和值[1]==和值[0];\r\n(和值[1]=和值[0])>=0;\r\n", {"999"}));
    QCOMPARE(survivors(runner, ListMode::Include, {27, 999, 998}), QList<int>{});
    // Exclude runs both: B sees the sum A left from the number before.
    QVERIFY(runner.prepare("和值[1]==和值[0];\r\n(和值[1]=和值[0])>=0;\r\n", {"999"}));
    QCOMPARE(survivors(runner, ListMode::Exclude, {27, 999, 888, 800, 440}), (QList<int>{27, 999, 888, 800}));

    // Changes to the arrays persist across numbers: the pre-check takes the
    // counter to 1, the i-th tested number to i + 2.
    QVERIFY(runner.prepare("(hz[1]=hz[1]+1)>0&&hz[1]%2==0", {"000"}));
    QCOMPARE(survivors(runner, ListMode::Include, allNumbers()), numbersWhere([](int n) { return n % 2 == 0; }));
    // A new run starts from the history again.
    QVERIFY(runner.prepare("(hz[1]=hz[1]+1)>0&&hz[1]%2==0", {"000"}));
    QCOMPARE(survivors(runner, ListMode::Include, {7, 8, 9}), (QList<int>{7, 9}));
    // So does one whose expressions keep something outside the arrays.
    const QString keeps = QStringLiteral("(Math.q=Math.q===undefined?hz[1]:Math.q)==hz[1];\r\n");
    QVERIFY(runner.prepare(keeps, {"005"}));
    QCOMPARE(survivors(runner, ListMode::Include, {1, 2}), (QList<int>{1, 2}));
    QVERIFY(runner.prepare(keeps, {"009"}));
    QCOMPARE(survivors(runner, ListMode::Include, {1, 2}), (QList<int>{1, 2}));

    // Index 0 is assigned anew before every expression, even after an
    // expression changed it.
    QVERIFY(runner.prepare("(和值[0]=100)>0;hz[0]<100&&和值[0]==hz[0];", {"000"}));
    QCOMPARE(survivors(runner, ListMode::Include, {0, 27}), (QList<int>{0, 27}));
}

void TestScriptRunner::precheck_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("draws");
    QTest::addColumn<bool>("accepted");

    const QStringList two{"456", "123"};
    QTest::newRow("good") << "和值[0]>10;\r\n号码[2][1]==4;\r\n" << two << true;
    QTest::newRow("index 0 is -1") << "和值[0]>=0;" << two << true;
    QTest::newRow("leading separator makes an empty expression") << ";和值[0]>10;" << two << false;
    QTest::newRow("no such draw") << "和值[0]>10;号码[3][1]>0;" << two << false;
    QTest::newRow("no draws at all") << "号码[1][1]>0" << QStringList{} << false;
    QTest::newRow("an element past the digits") << "号码[2][4]>0||1>0;" << two << true;
    QTest::newRow("a draw past the history") << "号码[3][4]>0||1>0;" << two << false;
    QTest::newRow("syntax") << "和值[0]>>>;" << two << false;
    QTest::newRow("runaway") << "和值[0]>1;(function(){for(;;){}})()>0;" << two << false;
    QTest::newRow("huge") << "new Array(1e9).fill(0).length>0" << two << false;
}

void TestScriptRunner::precheck()
{
    QFETCH(QString, text);
    QFETCH(QStringList, draws);
    QFETCH(bool, accepted);
    QStringList thirty;
    for (int i = 0; i < 30; ++i)
        thirty << numberText(i * 33);
    for (EvaluationWay way : {EvaluationWay::Compiled, EvaluationWay::Literal}) {
        ScriptEvaluator runner(way, 200ms);
        const auto result = runner.prepare(text, draws);
        QCOMPARE(result.has_value(), accepted);
        // The same after a run over a long history, as in a back-test.
        ScriptEvaluator reused(way, 200ms);
        if (reused.prepare(text, thirty))
            (void)survivors(reused, ListMode::Include, {0, 999});
        QCOMPARE(reused.prepare(text, draws).has_value(), accepted);
        if (!accepted) {
            QCOMPARE(result.error(), msg::kAdvancedIncomplete);
            // Nothing passes a refused list, under either mode.
            QCOMPARE(survivors(runner, ListMode::Exclude, {0, 999}), QList<int>{});
            QCOMPARE(survivors(runner, ListMode::Include, {0, 999}), QList<int>{});
        }
    }
}

void TestScriptRunner::runawayInPrecheck()
{
    QFETCH(EvaluationWay, way);
    ScriptEvaluator runner(way, 200ms);
    QCOMPARE(runner.prepare("(function(){while(1){}})()>0", {"123"}).error(), msg::kAdvancedTimeout);
    QVERIFY(runner.prepare("和值[0]>25", {"123"}));
    QCOMPARE(survivors(runner, ListMode::Include, allNumbers()), (QList<int>{899, 989, 998, 999}));
    QVERIFY(!runner.abortMessage());
}

void TestScriptRunner::runawayPerNumber()
{
    QFETCH(EvaluationWay, way);
    ScriptEvaluator runner(way, 200ms);
    // Harmless in the pre-check (index 0 is -1), endless for 999 only.
    QVERIFY(runner.prepare("和值[0]>=25;和值[0]==27?(function(){while(1){}})()>0:1>0;", {"123"}));
    QCOMPARE(survivors(runner, ListMode::Include, {799, 997, 998, 999, 989}), (QList<int>{799, 997, 998}));
    QCOMPARE(runner.abortMessage().value_or(QString()), msg::kAdvancedTimeout);

    // The next run works normally again.
    QVERIFY(runner.prepare("和值[0]>=25;", {"123"}));
    QVERIFY(!runner.abortMessage());
    QCOMPARE(survivors(runner, ListMode::Include, allNumbers()),
             (QList<int>{799, 889, 898, 899, 979, 988, 989, 997, 998, 999}));
}

void TestScriptRunner::bracketsClosedByTheExpression()
{
    // Valid only inside the compute text: it ends compute early (returning
    // nothing, so it never holds) and declares a second function.
    const QString text = "1){}}other=function(){if(1";
    QList<int> kept[2];
    for (EvaluationWay way : {EvaluationWay::Compiled, EvaluationWay::Literal}) {
        ScriptEvaluator runner(way, 500ms);
        QVERIFY(runner.prepare(text, {"123"}));
        QCOMPARE(runner.activeWay(), EvaluationWay::Literal);
        kept[int(way)] = survivors(runner, ListMode::Include, {1, 2, 3});
        QCOMPARE(survivors(runner, ListMode::Exclude, {1, 2, 3}), (QList<int>{1, 2, 3}));
    }
    QCOMPARE(kept[0], QList<int>{});
    QCOMPARE(kept[1], QList<int>{});
}

// Random expressions composed from the editor's tokens, plus a few that change
// the arrays or fail for some tested numbers only; both ways must keep exactly
// the same numbers, or both refuse the list. The compiled way runs each list
// over three histories in turn, as a back-test does, so that it answers from
// what the runs before found; histories drawn from a few numbers agree at
// many places.
void TestScriptRunner::crossCheck()
{
    QRandomGenerator rng(20240611);
    auto pick = [&](int n) { return int(rng.bounded(n)); };

    const QStringList arithmetic{"+", "-", "*", "/", "%"};
    const QStringList comparisons{">", ">=", "<", "<=", "==", "!="};
    const QStringList logical{"||", "&&"};
    const QStringList special{"(和值[1]=和值[0])>=0", "(hz[1]=hz[1]+1)%3!=0", "号码[和值[0]%4][1]>=号码[1][2]",
                              "(号码[0]=[-1,9,9,9])[1]==9", "跨度[跨度[0]]>1", "(ac[2]=ac[0])==ac[1]||kd[0]>4",
                              "(和值[0]=和值[0]+5)>12", "(hz[0]=0)==0", "(跨度[0]=0)==0", "(AC值[0]=-1)<0", "(号码[0][2]=9)>hm[0][1]",
                              "(pj[0]=kd[0])<3&&(AC值[0]=1)>0"};

    int periods = 0;
    std::function<QString(int)> operand = [&](int depth) -> QString {
        const int kind = pick(depth > 0 ? 4 : 3);
        if (kind == 0)
            return QString::number(pick(28));
        if (kind == 3)
            return appendToken(appendToken(appendToken("(", operand(depth - 1)), arithmetic[pick(5)]),
                               operand(depth - 1)) + "  )";
        // Mostly the tested number or an existing period; now and then one
        // past the history.
        const int roll = pick(10);
        const int period = roll < 4 ? 0 : (roll == 9 ? periods + 1 : pick(periods + 1));
        QString reference = referenceText(pick(6), std::min(period, 30), pick(3));
        if (pick(4) == 0) {
            static const QStringList chinese{"号码", "和值", "和尾数", "平均值", "跨度", "AC值"};
            static const QStringList aliases{"hm", "hz", "hw", "pj", "kd", "ac"};
            const int name = int(chinese.indexOf(reference.left(reference.indexOf('['))));
            reference.replace(0, chinese[name].size(), aliases[name]);
        }
        return reference;
    };
    auto comparison = [&]() {
        QString text = operand(2);
        if (pick(2))
            text = appendToken(appendToken(text, arithmetic[pick(5)]), operand(1));
        return appendToken(appendToken(text, comparisons[pick(6)]), operand(2));
    };

    auto history = [&]() {
        QStringList draws;
        const int drawCount = pick(6) == 0 ? 0 : pick(35);
        const bool few = pick(2) == 0;
        for (int i = 0; i < drawCount; ++i)
            draws << QString::asprintf("%.3d", few ? 111 * pick(3) + pick(2) : pick(1000));
        return draws;
    };

    int plain = 0;
    int general = 0;
    int refused = 0;
    int remembered = 0;
    for (int round = 0; round < 150; ++round) {
        periods = int(std::min<qsizetype>(history().size(), 30));

        QString list;
        const int count = 1 + pick(3);
        for (int e = 0; e < count; ++e) {
            QString composed;
            if (pick(4) == 0) {
                composed = special[pick(special.size())];
            } else {
                composed = comparison();
                if (pick(3) == 0)
                    composed = appendToken(appendToken(composed, logical[pick(2)]), comparison());
            }
            list += cleanExpression(composed) + ";\r\n";
        }
        const ListMode mode = pick(2) ? ListMode::Include : ListMode::Exclude;
        QList<int> numbers;
        const int start = pick(900);
        for (int n = start; n < start + 100; ++n)
            numbers << (pick(2) ? n : sortedForm(n));

        ScriptEvaluator compiled(EvaluationWay::Compiled, 2s);
        // And the way the program runs them: compiled, in the script worker.
        ScriptConditionRunner isolated(EvaluationWay::Compiled, 2s);
        for (int run = 0; run < 3; ++run) {
            const QStringList draws = history();
            const QString context = list + QStringLiteral(" over ") + draws.join(u',');
            ScriptEvaluator literal(EvaluationWay::Literal, 2s);
            const auto a = compiled.prepare(list, draws);
            const auto b = literal.prepare(list, draws);
            QVERIFY2(a.has_value() == b.has_value(), qPrintable(context));
            QVERIFY2(isolated.prepare(list, draws).has_value() == a.has_value(), qPrintable(context));
            if (!a) {
                ++refused;
                continue;
            }
            QCOMPARE(compiled.activeWay(), EvaluationWay::Compiled);
            const QList<int> kept = survivors(compiled, mode, numbers);
            QVERIFY2(kept == survivors(literal, mode, numbers), qPrintable(context));
            const auto verdicts = isolated.testMany(numbers, mode);
            QVERIFY2(verdicts.has_value(), qPrintable(context));
            QList<int> keptInWorker;
            for (qsizetype i = 0; i < numbers.size(); ++i)
                if (verdicts->at(i))
                    keptInWorker << numbers[i];
            QVERIFY2(kept == keptInWorker, qPrintable(context));
            QVERIFY(!compiled.abortMessage() && !literal.abortMessage());
            ++(compiled.plainExpressions() ? plain : general);
            remembered += compiled.remembersOutcomes() ? 1 : 0;
        }
    }
    // Every kind of outcome must have been exercised.
    QVERIFY2(plain > 150 && general > 100 && refused > 30 && remembered > 100,
             qPrintable(QString("plain %1, general %2, refused %3, remembered %4")
                            .arg(plain).arg(general).arg(refused).arg(remembered)));
}

QTEST_GUILESS_MAIN(TestScriptRunner)
#include "tst_scriptrunner.moc"
