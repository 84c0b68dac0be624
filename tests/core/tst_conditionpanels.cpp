#include "FilterTestSupport.h"

#include "core/Workspace.h"

#include <QTest>

using namespace numsieve;
using namespace filtertest;

class TestConditionPanels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addKeepsListOrder();
    void removeAppendsAndRemoveAllRestores();
    void addAllFillsInVocabularyOrder();
    void switches_data();
    void switches();
    void modes_data();
    void modes();
};

void TestConditionPanels::addKeepsListOrder()
{
    Workspace ws;
    QVERIFY(ws.addEntries(4, 0, {7, 2, 7}));
    QCOMPARE(ws.conditions.span.chosen(), (QStringList{"2", "7"}));
    QCOMPARE(ws.conditions.span.available(), (QStringList{"0", "1", "3", "4", "5", "6", "8", "9"}));
    QVERIFY(ws.addEntries(4, 0, {0}));
    QCOMPARE(ws.conditions.span.chosen(), (QStringList{"2", "7", "0"}));
    QVERIFY(!ws.addEntries(4, 0, {}));
    QVERIFY(!ws.addEntries(4, 2, {0}));   // panel 4 has one list
}

void TestConditionPanels::removeAppendsAndRemoveAllRestores()
{
    Workspace ws;
    QVERIFY(ws.addAllEntries(4, 0));
    QVERIFY(ws.removeEntries(4, 0, {5}));
    QVERIFY(ws.removeEntries(4, 0, {3}));
    QCOMPARE(ws.conditions.span.available(), (QStringList{"5", "3"}));
    QCOMPARE(ws.conditions.span.chosen(), (QStringList{"0", "1", "2", "4", "6", "7", "8", "9"}));
    QVERIFY(ws.addEntries(4, 0, {1}));   // "3" back to the end of the chosen list
    QCOMPARE(ws.conditions.span.chosen(), (QStringList{"0", "1", "2", "4", "6", "7", "8", "9", "3"}));
    QVERIFY(ws.removeAllEntries(4, 0));
    QCOMPARE(ws.conditions.span.available(), vocabulary(Vocab::Span));
    QVERIFY(ws.conditions.span.chosen().isEmpty());
    QVERIFY(!ws.removeAllEntries(4, 0));
}

void TestConditionPanels::addAllFillsInVocabularyOrder()
{
    Workspace ws;
    QVERIFY(ws.addEntries(2, 0, {27, 3}));
    QVERIFY(ws.addAllEntries(2, 0));
    QStringList sums;
    for (int v = 0; v <= 27; ++v)
        sums << QString::number(v);
    QCOMPARE(ws.conditions.sum.chosen(), sums);
    QVERIFY(ws.conditions.sum.available().isEmpty());
    QVERIFY(ws.enabled[2]);
    QCOMPARE(ws.currentConditionButton, 17);
    QVERIFY(!ws.addAllEntries(2, 0));
}

// Each operation is one word and its arguments:
//   add P L ROW | remove P L ROW | addall P L | removeall P L | none P L (add nothing)
//   field F TEXT | combo C INDEX | advanced TEXT | tolerable P | mode P PAIR | on P
// After each one the switch of the watched panel is compared.
void TestConditionPanels::switches_data()
{
    QTest::addColumn<int>("panel");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<QList<bool>>("enabledAfter");
    QTest::addColumn<int>("button");   // the current condition button at the end; 0: that of the last switch

    auto row = [](const char *name, int panel, const QStringList &ops, const QList<bool> &after, int button = 0) {
        QTest::newRow(name) << panel << ops << after << button;
    };
    row("和值 add, 和尾数 keeps it on", 2, {"add 2 0 0", "add 2 1 0", "remove 2 0 0", "remove 2 1 0"},
        {true, true, true, false});
    row("和尾数 alone", 2, {"add 2 1 4", "removeall 2 1"}, {true, false});
    row("add all, remove all", 2, {"addall 2 0", "removeall 2 0"}, {true, false});
    row("remove all with nothing chosen runs the off test", 3, {"on 3", "removeall 3 0"}, {true, false});
    row("add without rows sends nothing", 3, {"none 3 0"}, {false}, 1);
    row("remove without rows sends nothing", 3, {"on 3", "remove 3 0 -"}, {true, true});
    row("one-list panel", 12, {"add 12 0 5", "add 12 0 0", "remove 12 0 0", "remove 12 0 0"}, {true, true, true, false});
    row("two-list panel lower list", 10, {"add 10 1 9", "remove 10 1 0"}, {true, false});
    row("shape list of panel 11", 11, {"add 11 0 26", "removeall 11 0"}, {true, false});
    row("panel 1 depth typed and deleted", 1, {"field 2 5", "field 2 "}, {true, false});
    row("panel 1 other edit keeps it on", 1, {"field 0 3", "field 2 5", "field 2 ", "field 0 "},
        {true, true, true, false});
    row("panel 1 list keeps it on", 1, {"add 1 1 0", "field 1 7", "field 1 ", "remove 1 1 0"},
        {true, true, true, false});
    row("panel 1 code list", 1, {"add 1 0 299", "removeall 1 0"}, {true, false});
    row("panel 1 emptying an empty edit", 1, {"on 1", "field 0 "}, {true, false});
    row("panel 6 highest min digit", 6, {"combo 1 8", "combo 1 9"}, {true, false});
    row("panel 6 another combo away from default", 6, {"combo 0 2", "combo 1 8", "combo 1 9", "combo 0 0"},
        {true, true, true, false});
    row("panel 6 lowest max digit", 6, {"combo 2 3", "combo 3 4", "combo 2 0", "combo 3 9"}, {true, true, true, false});
    row("panel 6 list keeps it on", 6, {"add 6 1 0", "combo 3 5", "combo 3 9", "remove 6 1 0"},
        {true, true, true, false});
    row("panel 6 shape list", 6, {"add 6 0 34", "remove 6 0 0"}, {true, false});
    row("panel 15", 15, {"advanced a;\r\n", "advanced  \r\n", "advanced b;\r\n", "advanced "},
        {true, false, true, false});
    row("tolerable and modes switch nothing", 5, {"tolerable 5", "mode 5 0", "add 5 0 1", "tolerable 5", "mode 5 0"},
        {false, false, true, true, true});
}

void TestConditionPanels::switches()
{
    QFETCH(int, panel);
    QFETCH(QStringList, operations);
    QFETCH(QList<bool>, enabledAfter);
    QFETCH(int, button);
    QCOMPARE(operations.size(), enabledAfter.size());

    Workspace ws;
    for (qsizetype i = 0; i < operations.size(); ++i) {
        const QString &op = operations[i];
        const QStringList w = op.split(u' ');
        auto arg = [&](int k) { return w.value(k).toInt(); };
        if (w[0] == "add")
            QVERIFY(ws.addEntries(arg(1), arg(2), {arg(3)}));
        else if (w[0] == "remove")
            ws.removeEntries(arg(1), arg(2), w[3] == "-" ? QList<int>{} : QList<int>{arg(3)});
        else if (w[0] == "none")
            QVERIFY(!ws.addEntries(arg(1), arg(2), {}));
        else if (w[0] == "addall")
            ws.addAllEntries(arg(1), arg(2));
        else if (w[0] == "removeall")
            ws.removeAllEntries(arg(1), arg(2));
        else if (w[0] == "field")
            ws.setNumberField(NumberField(arg(1)), op.section(u' ', 2));
        else if (w[0] == "combo")
            ws.setRangeCombo(arg(1), arg(2));
        else if (w[0] == "advanced")
            ws.setAdvancedConditionText(op.section(u' ', 1));
        else if (w[0] == "tolerable")
            ws.setTolerable(arg(1), !ws.conditions.tolerable[arg(1)]);
        else if (w[0] == "mode")
            ws.setListMode(arg(1), arg(2), ListMode::Exclude);
        else if (w[0] == "on")
            ws.switchCondition(arg(1));
        else
            QFAIL(qPrintable("unknown operation " + op));
        QVERIFY2(ws.enabled[panel] == enabledAfter[i], qPrintable(QString("after %1: %2").arg(i).arg(op)));
        for (int other = 1; other <= kConditionCount; ++other)
            QVERIFY2(other == panel || !ws.enabled[other], qPrintable(QString("condition %1 switched").arg(other)));
    }
    QCOMPARE(ws.currentConditionButton, button ? button : (enabledAfter.last() ? panel + kConditionCount : panel));
}

void TestConditionPanels::modes_data()
{
    QTest::addColumn<int>("panel");
    QTest::addColumn<int>("pair");
    QTest::addColumn<QString>("where");

    QTest::newRow("遗漏") << 1 << 0 << "omission";
    QTest::newRow("历史") << 1 << 1 << "history";
    QTest::newRow("直选双码") << 1 << 2 << "straightPairs";
    QTest::newRow("组选双码") << 1 << 3 << "groupPairs";
    QTest::newRow("和尾数") << 2 << 1 << "sumTail";
    QTest::newRow("大小比") << 6 << 1 << "bigSmallRatio";
    QTest::newRow("最大最小号") << 6 << 2 << "range";
    QTest::newRow("高级") << 15 << 0 << "advanced";
    QTest::newRow("panel 3 has one pair") << 3 << 1 << "";
    QTest::newRow("panel 1 has four") << 1 << 4 << "";
}

void TestConditionPanels::modes()
{
    QFETCH(int, panel);
    QFETCH(int, pair);
    QFETCH(QString, where);

    Workspace ws;
    ws.setListMode(panel, pair, ListMode::Exclude);
    const ConditionSet &c = ws.conditions;
    const std::map<QString, ListMode> seen{
        {"omission", c.number.omissionMode},       {"history", c.number.historyMode},
        {"straightPairs", c.number.straightPairs.mode()}, {"groupPairs", c.number.groupPairs.mode()},
        {"sumTail", c.sumTail.mode()},             {"bigSmallRatio", c.bigSmall.ratio.mode()},
        {"range", c.bigSmall.rangeMode},           {"advanced", c.advanced.mode},
        {"sum", c.sum.mode()},                     {"average", c.average.mode()},
    };
    for (const auto &[name, mode] : seen)
        QVERIFY2(mode == (name == where ? ListMode::Exclude : ListMode::Include), qPrintable(name));
    QCOMPARE(c.mode(panel, pair), where.isEmpty() ? std::optional<ListMode>() : std::optional(ListMode::Exclude));
}

QTEST_APPLESS_MAIN(TestConditionPanels)
#include "tst_conditionpanels.moc"
