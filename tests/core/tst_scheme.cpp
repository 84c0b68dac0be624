#include "core/Messages.h"
#include "core/Workspace.h"
#include "core/model/Vocabulary.h"
#include "core/scheme/SchemeFile.h"

#include "TestSupport.h"
#include "WorkspaceFingerprint.h"

#include <QTemporaryDir>
#include <QTest>

using namespace numsieve;
using namespace testsupport;

namespace {

QString items(const QStringList &entries)
{
    QString s;
    for (const QString &e : entries)
        s += e + '|';
    return s;
}

QStringList linesOf(const QString &text)
{
    QStringList l = text.split('\n');
    return l;
}

// A workspace changed the way a user would change it.
Workspace edited()
{
    Workspace w;
    w.toleranceIndex = 3;
    w.selection.hundreds.setSelected(1, true);
    w.selection.tens.selectAll();
    w.selection.units.setSelected(9, true);
    w.selection.groupDigits.setSelected(4, true);
    (void)w.selection.toggleBanker(2);
    (void)w.selection.toggleBanker(7);
    w.selection.drag.setSelected(0, true);
    w.selection.bankerType = SelectionType::Group;
    w.selection.baseList(SelectionType::Straight) = {"123", "456"};
    w.selection.baseList(SelectionType::Group) = {"789"};
    w.chooseSelectionPanel(3);

    ConditionSet &c = w.conditions;
    c.tolerable[2] = true;
    c.sum.add({10, 11});
    w.updateConditionSwitch(2);
    c.span.add({5, 3});
    c.span.remove({1});             // "5" goes back to the end of the available list
    w.updateConditionSwitch(4);
    c.number.historyDepth = "10";
    c.number.omissionMode = ListMode::Exclude;
    c.number.groupPairs.add({12});
    w.updateConditionSwitch(1);
    c.bigSmall.range = {1, 9, 0, 8};
    w.updateConditionSwitch(6);
    c.oddEvenRatio.setMode(ListMode::Exclude);
    c.advanced.conditionText = "和值[0]>10;\r\n跨度[1]!=2;\r\n";
    w.updateConditionSwitch(15);
    w.clickConditionButton(19);     // the on-row button of condition 4
    return w;
}

} // namespace

class TestScheme : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUpScheme();
    void roundTripThroughFile();
    void applyLeavesClickState();
    void rejectsFaultyFiles_data();
    void rejectsFaultyFiles();
    void acceptedVariants();
    void refusedShownPanelLeavesWorkspace();
    void conditionsFollowLoadedContent();
    void missingFile();
};

void TestScheme::startUpScheme()
{
    const QString text = buildSchemeText(Workspace());
    QVERIFY(text.endsWith("\nAdvanced\n"));
    const QStringList l = linesOf(text);
    QCOMPARE(l.size(), 105);   // 104 lines with their breaks, nothing after the marker
    QCOMPARE(l.mid(0, 6), (QStringList{"0", "1", "1", "1", "1", "1"}));
    for (int n = 7; n <= 12; ++n)
        QCOMPARE(l.at(n - 1), QString("0000000000"));
    QCOMPARE(l.at(12), QString());
    QCOMPARE(l.at(13), QString());
    // panel 1
    QCOMPARE(l.mid(14, 6), (QStringList{"0", "1", "-1", "-1", "1", "-1"}));
    QCOMPARE(l.at(20), QString("1"));
    QCOMPARE(l.at(21), items(vocabulary(Vocab::StraightPair)));
    QCOMPARE(l.at(22), QString());
    QCOMPARE(l.at(24), items(vocabulary(Vocab::GroupPair)));
    // 和值 / 和尾数
    QCOMPARE(l.mid(26, 7), (QStringList{"0", "1", items(vocabulary(Vocab::Sum)), "", "1",
                                        items(vocabulary(Vocab::SumTail)), ""}));
    QCOMPARE(l.at(43), QString("-1|0|1|"));
    QCOMPARE(l.at(47), items(vocabulary(Vocab::BigSmallShape)));
    QCOMPARE(l.mid(52, 2), (QStringList{"1", "0909"}));
    QCOMPARE(l.at(99), items(vocabulary(Vocab::Interval)));
    QCOMPARE(l.mid(101, 3), (QStringList{"0", "1", "Advanced"}));
    for (int n : {15, 27, 34, 38, 42, 46, 55, 62, 69, 76, 83, 90, 94, 98, 102})
        QCOMPARE(l.at(n - 1), QString("0"));
}

void TestScheme::roundTripThroughFile()
{
    QTemporaryDir dir;
    const Workspace source = edited();
    const QString text = buildSchemeText(source);
    const QString path = dir.filePath("plan.cnd");
    QVERIFY(writeSchemeFile(path, text).has_value());
    const QByteArray bytes = readBytes(path);
    QVERIFY(bytes.startsWith("3\r\n3\r\n2\r\n2\r\n1\r\n4\r\n0100000000\r\n1111111111\r\n"));
    QVERIFY(bytes.endsWith("Advanced\r\n" + gbk("和值[0]>10;\r\n跨度[1]!=2;\r\n")));
    QVERIFY(!bytes.contains("\n\n"));

    Workspace loaded;
    QVERIFY(loadSchemeFile(path, loaded).has_value());
    QCOMPARE(buildSchemeText(loaded), text);

    // Without a final line break the advanced text gains one on loading.
    Workspace noBreak = edited();
    noBreak.conditions.advanced.conditionText = "和值[0]>10";
    QVERIFY(writeSchemeFile(path, buildSchemeText(noBreak)).has_value());
    Workspace again;
    QVERIFY(loadSchemeFile(path, again).has_value());
    QCOMPARE(again.conditions.advanced.conditionText, QString("和值[0]>10\r\n"));
    QCOMPARE(buildSchemeText(again), buildSchemeText(noBreak) + '\n');
}

void TestScheme::applyLeavesClickState()
{
    const Workspace source = edited();
    Workspace w;
    w.conditions.advanced.expression = "号码[0][1]";
    QVERIFY(applySchemeText(buildSchemeText(source), w).has_value());
    QCOMPARE(w.toleranceIndex, 3);
    QCOMPARE(w.selection.activePanel(), 3);
    QCOMPARE(w.tables.viewMode(), ViewMode::Group);
    QCOMPARE(w.selection.banker().digits(), (QList<int>{2, 7}));
    QCOMPARE(w.selection.baseLabel(), QString("大底共2注号码"));
    QCOMPARE(w.conditions.span.available().mid(6), (QStringList{"8", "9", "5"}));
    QCOMPARE(w.conditions.span.chosen(), QStringList{"3"});
    QCOMPARE(w.conditions.number.omissionMode, ListMode::Exclude);
    QCOMPARE(w.conditions.number.historyDepth, QString("10"));
    QCOMPARE(w.conditions.bigSmall.range, (std::array<int, 4>{1, 9, 0, 8}));
    QCOMPARE(w.conditions.advanced.expression, QString());
    QCOMPARE(w.enabled, source.enabled);
    QVERIFY(w.enabled[1] && w.enabled[2] && w.enabled[4] && w.enabled[6] && w.enabled[15]);
    QVERIFY(!w.enabled[3] && !w.enabled[7]);
    QCOMPARE(w.shownConditionPanel, 4);
    QCOMPARE(w.currentConditionButton, 19);
    QCOMPARE(w.markedCondition, 4);
}

void TestScheme::rejectsFaultyFiles_data()
{
    QTest::addColumn<int>("line");       // 1-based line to replace, 0 for structural changes
    QTest::addColumn<QString>("value");
    QTest::newRow("marker on line 103") << -103 << QString();
    QTest::newRow("marker on line 105") << -105 << QString();
    QTest::newRow("no marker") << -1 << QString();
    QTest::newRow("no line break") << -2 << QString();
    QTest::newRow("tolerance not digits") << 1 << "x";
    QTest::newRow("panel 5") << 2 << "5";
    QTest::newRow("view mode empty") << 3 << "";
    QTest::newRow("banker type 3") << 4 << "3";
    QTest::newRow("row nine digits") << 7 << "000000000";
    QTest::newRow("row with 2") << 10 << "0000000002";
    QTest::newRow("three bankers") << 11 << "1110000000";
    QTest::newRow("base entry not digits") << 13 << "123|12a|";
    QTest::newRow("base entry empty") << 14 << "123||";
    QTest::newRow("tolerable two chars") << 15 << "10";
    QTest::newRow("nine-digit edit") << 17 << "123456789";
    QTest::newRow("edit -2") << 18 << "-2";
    QTest::newRow("entry outside vocabulary") << 30 << "28|";
    QTest::newRow("code from another list") << 23 << "12|";
    QTest::newRow("line 54 five characters") << 54 << "09090";
    QTest::newRow("line 54 letter") << 54 << "09a9";
    QTest::newRow("mode empty") << 103 << "";
}

void TestScheme::rejectsFaultyFiles()
{
    QFETCH(int, line);
    QFETCH(QString, value);
    QStringList l = linesOf(buildSchemeText(Workspace()));
    QString text;
    if (line == -103)
        l.removeAt(102);
    else if (line == -105)
        l.insert(103, "1");
    else if (line == -1)
        l.removeAt(103);
    if (line > 0)
        l[line - 1] = value;
    text = line == -2 ? QString("0") : l.join('\n');

    QCOMPARE(validateSchemeText(text).error(), msg::kBadFormat);

    // Loading the faulty file changes nothing.
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.cnd");
    QVERIFY(writeSchemeFile(path, text).has_value());
    Workspace w = edited();
    const QString before = buildSchemeText(w);
    QCOMPARE(loadSchemeFile(path, w).error(), msg::kBadFormat);
    QCOMPARE(buildSchemeText(w), before);
}

void TestScheme::acceptedVariants()
{
    QStringList l = linesOf(buildSchemeText(Workspace()));
    l[103] = "aDVANCED";
    l[29] = "3|5";              // 和值 chosen: the piece after the last "|" is ignored
    l[28] = "0|1|2|4|";         // available as the file says
    l[3] = "02";                // "02" is 2
    l[16] = "00000000";
    l << "Advanced" << "";      // an empty line, then "Advanced" as ordinary text
    const QString text = l.join('\n');
    QVERIFY(validateSchemeText(text).has_value());
    Workspace w;
    QVERIFY(applySchemeText(text, w).has_value());
    QCOMPARE(w.conditions.sum.chosen(), QStringList{"3"});
    QCOMPARE(w.conditions.sum.available(), (QStringList{"0", "1", "2", "4"}));
    QCOMPARE(w.selection.bankerType, SelectionType::Group);
    QCOMPARE(w.conditions.number.omissionFrom, QString("00000000"));
    QVERIFY(w.enabled[1] && w.enabled[2]);
    // After the marker "Advanced" is ordinary text.
    QCOMPARE(w.conditions.advanced.conditionText, QString("\r\nAdvanced\r\n"));
    QVERIFY(w.enabled[15]);
}

void TestScheme::refusedShownPanelLeavesWorkspace()
{
    // Line 6 is checked only once everything else has been applied; its
    // refusal must still leave no trace.
    QTemporaryDir dir;
    for (const QString shown : {"15", "7a", ""}) {
        QStringList l = linesOf(buildSchemeText(edited()));
        l[5] = shown;
        const QString text = l.join('\n');
        QVERIFY(validateSchemeText(text).has_value());
        Workspace w;
        w.clickConditionButton(7);
        const QString before = workspaceFingerprint(w);
        QCOMPARE(applySchemeText(text, w).error(), msg::kBadFormat);
        QCOMPARE(workspaceFingerprint(w), before);

        const QString path = dir.filePath("shown.cnd");
        QVERIFY(writeSchemeFile(path, text).has_value());
        QCOMPARE(loadSchemeFile(path, w).error(), msg::kBadFormat);
        QCOMPARE(workspaceFingerprint(w), before);
    }
}

void TestScheme::conditionsFollowLoadedContent()
{
    Workspace w = edited();
    QVERIFY(w.enabled[2]);
    QVERIFY(applySchemeText(buildSchemeText(Workspace()), w).has_value());
    for (int n = 1; n <= 15; ++n)
        QVERIFY2(!w.enabled[n], qPrintable(QString::number(n)));
    QCOMPARE(w.currentConditionButton, 1);
    QCOMPARE(w.shownConditionPanel, 1);
    QCOMPARE(w.tables.viewMode(), ViewMode::Straight);

    // Line 6 of 0 shows the advanced panel; a tolerance past the last entry selects nothing.
    QStringList l = linesOf(buildSchemeText(edited()));
    l[5] = "0";
    l[0] = "11";
    QVERIFY(applySchemeText(l.join('\n'), w).has_value());
    QCOMPARE(w.shownConditionPanel, 15);
    QCOMPARE(w.currentConditionButton, 30);
    QCOMPARE(w.toleranceIndex, -1);
    QCOMPARE(linesOf(buildSchemeText(w)).first(), QString("0"));
}

void TestScheme::missingFile()
{
    Workspace w;
    QCOMPARE(loadSchemeFile("/nonexistent/x.cnd", w).error(), msg::kFileMissing);
}

QTEST_APPLESS_MAIN(TestScheme)
#include "tst_scheme.moc"
