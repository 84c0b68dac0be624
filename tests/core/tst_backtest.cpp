#include "core/Messages.h"
#include "core/Workspace.h"
#include "core/analysis/Backtest.h"
#include "core/filter/FilterRun.h"
#include "core/model/Number.h"
#include "core/scheme/SchemeFile.h"
#include "core/script/ScriptConditionRunner.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <bitset>
#include <cmath>

using namespace numsieve;

namespace {

// A random scheme as a player could build it with the panels' own operations.
Workspace randomScheme(QRandomGenerator &rng, bool withScript)
{
    Workspace w;
    const int panel = rng.bounded(1, 5);
    w.chooseSelectionPanel(panel);
    SelectionState &s = w.selection;
    for (DigitRow *row : {&s.hundreds, &s.tens, &s.units, &s.groupDigits, &s.drag})
        for (int d = 0; d < 10; ++d)
            row->setSelected(d, rng.bounded(10) < 7);
    for (int b = rng.bounded(3); b > 0; --b)
        (void)s.toggleBanker(rng.bounded(10));
    s.bankerType = rng.bounded(2) ? SelectionType::Group : SelectionType::Straight;
    s.baseType = rng.bounded(2) ? SelectionType::Group : SelectionType::Straight;
    w.chooseSelectionPanel(panel);   // the 类型 may have changed the view mode
    for (int i = rng.bounded(400); i > 0; --i)
        s.baseList(s.baseType).append(numberText(rng.bounded(1000)));

    // A few conditions each, most entries kept, so that numbers survive.
    for (int p = 1; p <= 14; ++p) {
        if (rng.bounded(4) != 0)
            continue;
        const auto lists = w.conditions.lists(p);
        for (int l = 0; l < lists.size(); ++l) {
            const bool exclude = rng.bounded(4) == 0;
            QList<int> rows;
            const int available = int(lists[l]->available().size());
            for (int r = 0; r < available; ++r)
                if (rng.bounded(100) < (exclude ? 15 : 85))
                    rows.append(r);
            w.addEntries(p, l, rows);
            if (exclude)
                w.setListMode(p, l, ListMode::Exclude);
        }
        w.setTolerable(p, rng.bounded(2) == 0);
    }
    if (rng.bounded(2)) {
        w.setNumberField(NumberField::OmissionFrom, QString::number(rng.bounded(5)));
        w.setNumberField(NumberField::OmissionTo, QString::number(rng.bounded(5, 60)));
        if (rng.bounded(3) == 0)
            w.setNumberField(NumberField::HistoryDepth, QString::number(rng.bounded(1, 6)));
    }
    if (rng.bounded(2))
        w.setRangeCombo(rng.bounded(4), rng.bounded(10));
    if (withScript) {
        w.setAdvancedConditionText(rng.bounded(2) ? QStringLiteral("和值[0]!=和值[1];\r\nkd[0]>=kd[2]-3;\r\n")
                                                  : QStringLiteral("(m=hz[1])<hz[0]+9;\r\n"));
        w.setTolerable(15, rng.bounded(2));
    }
    w.toleranceIndex = rng.bounded(-1, 3);
    return w;
}

QList<Draw> randomDraws(QRandomGenerator &rng, int count)
{
    QList<Draw> draws;
    for (int i = 0; i < count; ++i)
        draws.append({QString::number(2026001 + i), numberText(rng.bounded(1000))});
    return draws;
}

double chanceOfList(const QStringList &list, ViewMode mode)
{
    if (mode == ViewMode::Straight)
        return list.size() / 1000.0;
    double orders = 0;
    for (const QString &t : list) {
        const Digits d = digitsOf(t.toInt());
        orders += (d.h == d.t || d.t == d.u || d.h == d.u) ? 3 : 6;
    }
    return orders / 1000.0;
}

} // namespace

class TestBacktest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stepsAgreeWithSeparateFilterRuns();
    void chanceTailIsExact();
    void edgeCases();
    void scriptInEveryStep_data();
    void scriptInEveryStep();
    void onePreCheckPerRun_data();
    void onePreCheckPerRun();
    void reportCountsEachCondition();
    void reportStopsWhenTheScriptCannotRun();
};

void TestBacktest::stepsAgreeWithSeparateFilterRuns()
{
    ScriptConditionRunner runner;
    for (quint32 seed = 1; seed <= 30; ++seed) {
        QRandomGenerator rng(seed);
        const Workspace scheme = randomScheme(rng, seed % 4 == 0);
        const QList<Draw> draws = randomDraws(rng, rng.bounded(0, 60));
        QList<QStringList> intersections;
        if (seed % 3 == 0) {
            QStringList list;
            for (int i = rng.bounded(600); i > 0; --i)
                list.append(numberText(rng.bounded(1000)));
            intersections.append(list);
        }
        const int last = rng.bounded(0, int(draws.size()) + 3);
        const BacktestResult result = runBacktest(scheme, draws, intersections, last, &runner);
        QVERIFY2(result.message.isEmpty(), qPrintable(result.message));
        QCOMPARE(result.last(), std::min(last, int(draws.size())));

        const ViewMode mode = scheme.tables.viewMode();
        const ListKind kind = mode == ViewMode::Straight ? ListKind::Straight : ListKind::Group;
        const ResultStage stage = intersections.isEmpty() ? ResultStage::Filtered : ResultStage::Intersected;
        int hits = 0;
        double expected = 0;
        QList<double> chances;
        for (int i = 0; i < result.last(); ++i) {
            const int k = int(draws.size()) - result.last() + i;
            const BacktestStep &step = result.steps[i];
            QCOMPARE(step.issue, draws[k].issue);
            Workspace w = scheme;
            for (int j = 0; j < k; ++j)
                w.selectionNumbers.append(draws[j].number);
            QStringList survivors;
            if (runFilter(w, &runner)) {
                for (const QStringList &list : intersections)
                    w.tables.intersect(list);
                survivors = w.tables.extract(kind, stage);
            }
            const QString message = QStringLiteral("seed %1 step %2").arg(seed).arg(i);
            QVERIFY2(step.survivors == survivors.size(), qPrintable(message));
            QVERIFY2(step.chance == chanceOfList(survivors, mode), qPrintable(message));
            const int drawn = step.number.toInt();
            const QString key = numberText(mode == ViewMode::Straight ? drawn : sortedForm(drawn));
            QVERIFY2(step.hit == survivors.contains(key), qPrintable(message));
            hits += step.hit;
            expected += step.chance;
            chances.append(step.chance);
        }
        QCOMPARE(result.hits, hits);
        QVERIFY(std::abs(result.expectedHits - expected) < 1e-9);
        QCOMPARE(result.pChance, poissonBinomialTail(chances, hits));
        if (expected > 0)
            QVERIFY(std::abs(result.lift - hits / expected) < 1e-9);
    }
}

void TestBacktest::chanceTailIsExact()
{
    QRandomGenerator rng(7);
    for (int round = 0; round < 30; ++round) {
        QList<double> p;
        for (int i = rng.bounded(0, 11); i > 0; --i)
            p.append(rng.bounded(4) == 0 ? 0.0 : rng.generateDouble());
        const int n = int(p.size());
        QList<double> exactly(n + 1, 0.0);
        for (int outcome = 0; outcome < (1 << n); ++outcome) {
            double chance = 1;
            for (int i = 0; i < n; ++i)
                chance *= (outcome >> i) & 1 ? p[i] : 1 - p[i];
            exactly[std::popcount(unsigned(outcome))] += chance;
        }
        for (int hits = 0; hits <= n + 1; ++hits) {
            double tail = 0;
            for (int j = hits; j <= n; ++j)
                tail += exactly[j];
            QVERIFY2(std::abs(poissonBinomialTail(p, hits) - tail) < 1e-12, qPrintable(QString::number(round)));
        }
    }
}

void TestBacktest::edgeCases()
{
    Workspace all;
    all.selection.hundreds.selectAll();
    all.selection.tens.selectAll();
    all.selection.units.selectAll();
    const QList<Draw> draws{{"1", "123"}, {"2", "555"}, {"3", "901"}};

    // More draws asked for than there are: every draw, the first with no history.
    BacktestResult r = runBacktest(all, draws, {}, 10, nullptr);
    QCOMPARE(r.requested, 10);
    QCOMPARE(r.last(), 3);
    QCOMPARE(r.hits, 3);
    QCOMPARE(r.expectedHits, 3.0);
    QCOMPARE(r.lift, 1.0);
    QCOMPARE(r.pChance, 1.0);
    QVERIFY(r.tooFewToJudge());

    for (const BacktestResult &empty : {runBacktest(all, draws, {}, 0, nullptr), runBacktest(all, {}, {}, 5, nullptr)}) {
        QCOMPARE(empty.last(), 0);
        QCOMPARE(empty.hits, 0);
        QCOMPARE(empty.expectedHits, 0.0);
        QCOMPARE(empty.lift, 0.0);
        QCOMPARE(empty.pChance, 1.0);
        QCOMPARE(empty.meanSurvivors, 0.0);
    }

    // Group mode: every group entry kept, yet a triple has no entry to hit.
    Workspace group;
    group.chooseSelectionPanel(2);
    group.selection.groupDigits.selectAll();
    r = runBacktest(group, draws, {}, 3, nullptr);
    QCOMPARE(r.candidates, 210);
    QCOMPARE(r.steps[0].chance, 0.99);
    QCOMPARE(r.steps[0].hit, true);
    QCOMPARE(r.steps[1].hit, false);
    QCOMPARE(r.steps[2].hit, true);

    // A condition that kills: sum 6 only. 123 survives, 555 and 901 do not.
    Workspace sum = all;
    sum.addEntries(2, 0, {int(sum.conditions.lists(2)[0]->available().indexOf("6"))});
    r = runBacktest(sum, draws, {}, 3, nullptr);
    QCOMPARE(r.steps[0].survivors, 28);
    QCOMPARE(r.hits, 1);
    QCOMPARE(r.conditions.size(), 1);
    QCOMPARE(r.conditions[0].condition, 2);
    QCOMPARE(r.conditions[0].kills, 2);
    QCOMPARE(r.conditions[0].meanRemoved, 0.972);
    QCOMPARE(r.steps[1].killedBy[2], true);

    // A step's 新旧跳 marks come from the draws before it: 789 after 123 and
    // 456 is 新新新, not the 旧旧旧 it would be were it its own history.
    Workspace jump = all;
    jump.addEntries(10, 0, {int(jump.conditions.newOldJumpShape.available().indexOf("旧旧旧"))});
    r = runBacktest(jump, {{"1", "123"}, {"2", "456"}, {"3", "789"}}, {}, 1, nullptr);
    QCOMPARE(r.steps[0].survivors, 27);
    QCOMPARE(r.steps[0].hit, false);
    QCOMPARE(r.steps[0].killedBy[10], true);

    // A cancelled run keeps what it did.
    std::atomic<bool> cancel{false};
    int reported = 0;
    r = runBacktest(all, draws, {}, 3, nullptr, {[&](int done, int total) {
                                                      reported = done;
                                                      QCOMPARE(total, 3);
                                                      if (done == 2)
                                                          cancel = true;
                                                  },
                                                  &cancel});
    QVERIFY(r.cancelled);
    QCOMPARE(r.last(), 2);
    QCOMPARE(reported, 2);

    // A script that has to be stopped ends the run there, and says why.
    struct StopsOnSecondRun : AdvancedConditionRunner {
        int runs = 0;
        std::expected<void, QString> prepare(const QString &, const QStringList &) override { return {}; }
        bool test(int, ListMode) override { return true; }
        bool repeatableVerdicts() const override { return true; }
        std::expected<QList<bool>, QString> testMany(const QList<int> &numbers, ListMode) override
        {
            if (++runs == 2)
                return std::unexpected(msg::kAdvancedTimeout);
            return QList<bool>(numbers.size(), true);
        }
    } stops;
    Workspace scripted = all;
    scripted.setAdvancedConditionText("hz[0]>=0;\r\n");
    r = runBacktest(scripted, draws, {}, 3, &stops);
    QCOMPARE(r.message, msg::kAdvancedTimeout);
    QCOMPARE(r.last(), 1);
    QVERIFY(!r.cancelled);

    // 取消 while a step's script runs gives up its request; the run says it
    // was cancelled, not why the request failed.
    struct CancelledMidStep : AdvancedConditionRunner {
        std::atomic<bool> *cancel = nullptr;
        std::expected<void, QString> prepare(const QString &, const QStringList &) override
        {
            *cancel = true;
            return std::unexpected(msg::kAdvancedAborted);
        }
        bool test(int, ListMode) override { return true; }
    } midStep;
    cancel = false;
    midStep.cancel = &cancel;
    r = runBacktest(scripted, draws, {}, 3, &midStep, {{}, &cancel});
    QVERIFY(r.cancelled);
    QCOMPARE(r.message, QString());
    QCOMPARE(r.last(), 0);
}

void TestBacktest::scriptInEveryStep_data()
{
    QTest::addColumn<QString>("scheme");   // a file of tests/data/hostile, or else
    QTest::addColumn<QString>("text");     // the script conditions of an everything scheme
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("budgetMs");     // the script budget at the start, and
    QTest::addColumn<int>("perStepMs");    // what each step adds
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("steps");        // -1: stopped somewhere before the last

    // Over a history of 430 draws.
    const QString needsThree = QStringLiteral("号码[3][1]>=0;\r\n");
    QTest::newRow("refused: too few draws at the first step") << QString() << needsThree << 430 << 10000 << 100
                                                               << msg::kAdvancedIncomplete << 0;
    QTest::newRow("enough draws at every step") << QString() << needsThree << 2 << 10000 << 100 << QString() << 2;
    // A step sees the thirty draws before it, no more.
    const QString needsThirty = QStringLiteral("号码[30][1]>=0;\r\n");
    QTest::newRow("the 30th draw before a step is seen") << QString() << needsThirty << 10 << 10000 << 100
                                                         << QString() << 10;
    QTest::newRow("29 draws before the first step") << QString() << needsThirty << 401 << 10000 << 100
                                                    << msg::kAdvancedIncomplete << 0;
    QTest::newRow("never a 31st") << QString() << QStringLiteral("号码[31][1]>=0;\r\n") << 1 << 10000 << 100
                                  << msg::kAdvancedIncomplete << 0;
    QTest::newRow("stopped at the time limit") << "endless-precheck.cnd" << QString() << 10 << 10000 << 100
                                               << msg::kAdvancedTimeout << 0;
    // Everyday conditions (that hold for every number) use a small part of
    // what each step adds, so any number of steps finish; a pre-check of a
    // quarter second at every step uses more than it adds and ends early.
    const QString everyday = QStringLiteral("跨度[0]>=跨度[1]-9;\r\n和尾数[0]!=和尾数[2]+10;\r\n平均值[0]+平均值[1]<20;\r\n"
                                            "AC值[0]>=-1;\r\nhz[0]+hz[3]>=hz[0];\r\nkd[0]<=9&&kd[30]>=0;\r\n"
                                            "号码[0][3]!=号码[5][3]+10;\r\n");
    QTest::newRow("everyday conditions finish") << QString() << everyday << 400 << 2000 << 20 << QString() << 400;
    QTest::newRow("slow at every step ends early") << "slow-precheck.cnd" << QString() << 400 << 2000 << 20
                                                   << msg::kAdvancedTimeout << -1;
}

void TestBacktest::scriptInEveryStep()
{
    QFETCH(QString, scheme);
    QFETCH(QString, text);
    QFETCH(int, last);
    QFETCH(int, budgetMs);
    QFETCH(int, perStepMs);
    QFETCH(QString, message);
    QFETCH(int, steps);

    Workspace w;
    if (scheme.isEmpty()) {
        w.selection.hundreds.selectAll();
        w.selection.tens.selectAll();
        w.selection.units.selectAll();
        w.setAdvancedConditionText(text);
    } else {
        const QString path = QFINDTESTDATA("data/hostile/" + scheme);
        QVERIFY(loadSchemeFile(path, w));
    }
    QList<Draw> draws;
    for (int i = 0; i < 430; ++i)
        draws.append({QString::number(i + 1), numberText((i * 137 + 123) % 1000)});

    ScriptConditionRunner runner;
    BacktestControl control;
    control.scriptBudget = std::chrono::milliseconds(budgetMs);
    control.scriptBudgetPerStep = std::chrono::milliseconds(perStepMs);
    const BacktestResult r = runBacktest(w, draws, {}, last, &runner, control);
    QCOMPARE(r.message, message);
    if (steps >= 0)
        QCOMPARE(r.last(), steps);
    else
        QVERIFY2(r.last() < last, qPrintable(QString::number(r.last())));
    QVERIFY(!r.cancelled);
    // Conditions that hold for every number, or could not run, kill nothing:
    // every step done kept everything.
    QCOMPARE(r.conditions.size(), 1);
    QCOMPARE(r.conditions[0].condition, 15);
    QCOMPARE(r.conditions[0].kills, 0);
    QCOMPARE(r.hits, r.last());
    for (const BacktestStep &step : r.steps)
        QCOMPARE(step.survivors, 1000);
}

void TestBacktest::onePreCheckPerRun_data()
{
    QTest::addColumn<bool>("repeatable");
    QTest::newRow("verdicts that only read") << true;
    QTest::newRow("verdicts that depend on the questions before") << false;
}

void TestBacktest::onePreCheckPerRun()
{
    QFETCH(bool, repeatable);
    struct Counting : AdvancedConditionRunner {
        bool repeatable = false;
        int prepares = 0;
        std::optional<std::chrono::milliseconds> cap;
        std::chrono::milliseconds largestCap{0};
        std::expected<void, QString> prepare(const QString &, const QStringList &) override
        {
            ++prepares;
            return {};
        }
        bool test(int number, ListMode) override { return number % 2 == 0; }
        bool repeatableVerdicts() const override { return repeatable; }
        void capBudget(std::optional<std::chrono::milliseconds> c) override
        {
            cap = c;
            largestCap = std::max(largestCap, c.value_or(largestCap));
        }
    } runner;
    runner.repeatable = repeatable;

    Workspace w;
    w.selection.hundreds.selectAll();
    w.selection.tens.selectAll();
    w.selection.units.selectAll();
    w.setAdvancedConditionText("hz[0]>=0;\r\n");
    const QList<Draw> draws{{"1", "123"}, {"2", "556"}, {"3", "901"}};
    const BacktestResult r = runBacktest(w, draws, {}, 3, &runner);
    QCOMPARE(runner.prepares, 3);
    QCOMPARE(r.steps[1].survivors, 500);
    QCOMPARE(r.hits, 1);
    QCOMPARE(r.conditions[0].kills, 2);
    // The runner is left with its whole budget for whatever runs next.
    QCOMPARE(runner.cap, std::nullopt);
    // What the three steps together may spend grows with each of them.
    QVERIFY(runner.largestCap > kDefaultFilterBudget + 2 * kBacktestBudgetPerStep);
    QVERIFY(runner.largestCap <= kDefaultFilterBudget + 3 * kBacktestBudgetPerStep);

    runner.prepares = 0;
    w.selectionNumbers = {"123"};
    const FilterReport report = runFilterReport(w, {}, &runner);
    QCOMPARE(runner.prepares, 1);
    QCOMPARE(report.rows.size(), 1);
    QCOMPARE(report.rows[0].failing, 500);
    QCOMPARE(report.survivors, 500);
}

void TestBacktest::reportCountsEachCondition()
{
    Workspace w;
    w.selection.hundreds.selectAll();
    w.selection.tens.selectAll();
    w.selection.units.selectAll();
    w.selectionNumbers = {"123"};
    w.addEntries(2, 0, {int(w.conditions.lists(2)[0]->available().indexOf("10"))});   // 63 numbers
    w.addEntries(4, 0, {int(w.conditions.lists(4)[0]->available().indexOf("9"))});    // 54 numbers
    w.setTolerable(2, true);
    w.toleranceIndex = 1;
    const QString before = buildSchemeText(w);
    const FilterReport r = runFilterReport(w, {{"019", "091", "555"}}, nullptr);
    QCOMPARE(r.gathered, 1000);
    QCOMPARE(r.rows.size(), 2);
    QCOMPARE(r.rows[0].condition, 2);
    QCOMPARE(r.rows[0].failing, 937);
    QCOMPARE(r.rows[0].survivors, 63);
    QCOMPARE(r.rows[1].condition, 4);
    QCOMPARE(r.rows[1].failing, 946);
    QCOMPARE(r.rows[1].survivors, 6);   // 019 and its orders
    QCOMPARE(r.survivors, 54);          // the sum is forgiven once
    QCOMPARE(r.intersected, std::optional<int>(2));
    QCOMPARE(buildSchemeText(w), before);
    QCOMPARE(formatFilterReport(r, ReportFormat::Csv),
             QStringLiteral("step,name,failing,survivors\ngathered,选号,,1000\n2,和值和尾,937,63\n4,跨度,946,6\n"
                            "result,容错后结果,,54\nintersected,交集后结果,,2\n"));
}

void TestBacktest::reportStopsWhenTheScriptCannotRun()
{
    Workspace w;
    QVERIFY(loadSchemeFile(QFINDTESTDATA("data/hostile/endless-precheck.cnd"), w));
    w.selectionNumbers = {"123"};
    ScriptConditionRunner runner;
    const FilterReport r = runFilterReport(w, {{"123"}}, &runner);
    QCOMPARE(r.message, msg::kAdvancedTimeout);
    QCOMPARE(r.gathered, 1000);
    QCOMPARE(r.rows.size(), 0);
    QCOMPARE(formatFilterReport(r, ReportFormat::Csv),
             "step,name,failing,survivors\ngathered,选号,,1000\nstopped," + msg::kAdvancedTimeout + ",,\n");
}

QTEST_GUILESS_MAIN(TestBacktest)
#include "tst_backtest.moc"
