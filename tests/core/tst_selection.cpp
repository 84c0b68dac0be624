#include "core/Messages.h"
#include "core/Workspace.h"
#include "core/results/ResultTables.h"
#include "core/selection/SelectionState.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace numsieve;
using namespace testsupport;

namespace {

DigitRow row(std::initializer_list<int> digits)
{
    DigitRow r;
    for (int d : digits)
        r.setSelected(d, true);
    return r;
}

QStringList selected(const ResultTables &t, ListKind kind)
{
    return t.extract(kind, ResultStage::Selected);
}

} // namespace

class TestSelection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void positional();
    void gatherResetsOnlyItsTables();
    void groupDigits_data();
    void groupDigits();
    void bankerDrag_data();
    void bankerDrag();
    void bankerLimit();
    void baseFileImport_data();
    void baseFileImport();
    void baseGathering();
    void menuItems();
    void randomDigits();
    void panelViewModes();
};

void TestSelection::positional()
{
    SelectionState s;
    s.hundreds = row({1});
    s.tens = row({2, 3});
    s.units = row({4});
    ResultTables t;
    gather(s, t);
    QCOMPARE(selected(t, ListKind::Straight), (QStringList{"124", "134"}));

    s.units.clear();
    gather(s, t);
    QCOMPARE(selected(t, ListKind::Straight), QStringList{});
}

void TestSelection::gatherResetsOnlyItsTables()
{
    ResultTables t;
    t.straight()[7].stage = ResultStage::Intersected;
    t.groupSix()[0].stage = ResultStage::Filtered;
    SelectionState s;
    s.hundreds.selectAll();
    s.tens = row({0});
    s.units = row({0});
    gather(s, t);
    QCOMPARE(t.straight()[7].stage, ResultStage::None);
    QCOMPARE(t.counts(TableId::Straight), (std::array<int, 3>{10, 0, 0}));
    QCOMPARE(t.groupSix()[0].stage, ResultStage::Filtered);
}

void TestSelection::groupDigits_data()
{
    QTest::addColumn<QList<int>>("digits");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("one digit") << QList<int>{1} << QStringList{};
    QTest::newRow("1 2") << QList<int>{1, 2} << QStringList{"112", "122"};
    QTest::newRow("1 2 3") << QList<int>{1, 2, 3} << QStringList{"112", "113", "122", "133", "223", "233", "123"};
}

void TestSelection::groupDigits()
{
    QFETCH(QList<int>, digits);
    QFETCH(QStringList, expected);
    SelectionState s;
    for (int d : digits)
        s.groupDigits.setSelected(d, true);
    s.choosePanel(2);
    ResultTables t;
    t.straight()[123].stage = ResultStage::Filtered;
    gather(s, t);
    QCOMPARE(selected(t, ListKind::Group), expected);
    QCOMPARE(t.straight()[123].stage, ResultStage::Filtered);
}

void TestSelection::bankerDrag_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<int>>("bankers");
    QTest::addColumn<QList<int>>("drags");
    QTest::addColumn<QStringList>("expected");
    const int straight = int(SelectionType::Straight), group = int(SelectionType::Group);
    QTest::newRow("one banker") << straight << QList<int>{1} << QList<int>{2} << QStringList{"122", "212", "221"};
    QTest::newRow("two bankers") << straight << QList<int>{1, 2} << QList<int>{3}
                                 << QStringList{"123", "132", "213", "231", "312", "321"};
    QTest::newRow("banker also drag") << straight << QList<int>{1} << QList<int>{1}
                                      << QStringList{"111"};
    QTest::newRow("no drag") << straight << QList<int>{1} << QList<int>{} << QStringList{};
    QTest::newRow("no banker") << straight << QList<int>{} << QList<int>{1, 2} << QStringList{};
    QTest::newRow("group") << group << QList<int>{1} << QList<int>{1, 2} << QStringList{"112", "122"};
    QTest::newRow("group two bankers") << group << QList<int>{0, 9} << QList<int>{0, 5}
                                       << QStringList{"009", "059"};
}

void TestSelection::bankerDrag()
{
    QFETCH(int, type);
    QFETCH(QList<int>, bankers);
    QFETCH(QList<int>, drags);
    QFETCH(QStringList, expected);
    Workspace w;
    w.selection.bankerType = SelectionType(type);
    for (int b : bankers)
        QVERIFY(w.selection.toggleBanker(b).has_value());
    for (int d : drags)
        w.selection.drag.setSelected(d, true);
    w.chooseSelectionPanel(3);
    QCOMPARE(w.tables.viewMode(), type == int(SelectionType::Straight) ? ViewMode::Straight : ViewMode::Group);
    gather(w.selection, w.tables);
    QCOMPARE(selected(w.tables, type == int(SelectionType::Straight) ? ListKind::Straight : ListKind::Group), expected);
}

void TestSelection::bankerLimit()
{
    SelectionState s;
    QVERIFY(s.toggleBanker(1).has_value());
    QVERIFY(s.toggleBanker(2).has_value());
    const auto third = s.toggleBanker(3);
    QVERIFY(!third.has_value());
    QCOMPARE(third.error(), QStringLiteral("胆码不能多于两个"));
    QCOMPARE(s.banker().toText(), QStringLiteral("0110000000"));
    QVERIFY(s.toggleBanker(1).has_value());   // deselecting is always allowed
    QVERIFY(s.toggleBanker(3).has_value());
    QCOMPARE(s.banker().digits(), (QList<int>{2, 3}));
    QVERIFY(!s.setBanker(row({1, 2, 3})).has_value());
    QCOMPARE(s.banker().digits(), (QList<int>{2, 3}));
}

void TestSelection::baseFileImport_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("label");
    QTest::newRow("repeats dropped") << QByteArray("1 2 3\r\n1,2,3\r\n123\r\n") << QStringList{"123"} << QString()
                                     << QStringLiteral("大底共1注号码");
    QTest::newRow("order kept") << QByteArray("9-8-7\n\n1+2+3\n987\n") << QStringList{"987", "123"} << QString()
                                << QStringLiteral("大底共2注号码");
    QTest::newRow("short line") << QByteArray("123\r\n12\r\n") << QStringList{} << msg::kBadFormat
                                << QStringLiteral("大底共0注号码");
    QTest::newRow("letter") << QByteArray("1a3\r\n") << QStringList{} << msg::kNotNumeric
                            << QStringLiteral("大底共0注号码");
}

void TestSelection::baseFileImport()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, list);
    QFETCH(QString, error);
    QFETCH(QString, label);
    QTemporaryDir dir;
    const QString path = dir.filePath("base.txt");
    QVERIFY(writeBytes(path, content));
    SelectionState s;
    s.baseList(SelectionType::Straight) = {"555"};
    s.baseList(SelectionType::Group) = {"111", "222"};
    const auto result = s.importBaseFile(path);
    QCOMPARE(result.has_value(), error.isEmpty());
    if (!error.isEmpty())
        QCOMPARE(result.error(), error);
    QCOMPARE(s.baseList(SelectionType::Straight), list);
    QCOMPARE(s.baseLabel(), label);
    // The other 类型 keeps its own list; switching shows its count.
    s.baseType = SelectionType::Group;
    QCOMPARE(s.baseLabel(), QStringLiteral("大底共2注号码"));
}

void TestSelection::baseGathering()
{
    Workspace w;
    w.selection.baseList(SelectionType::Straight) = {"123", "007"};
    w.selection.baseList(SelectionType::Group) = {"211", "321", "455", "12345", "444"};
    w.chooseSelectionPanel(4);
    gather(w.selection, w.tables);
    QCOMPARE(selected(w.tables, ListKind::Straight), (QStringList{"007", "123"}));

    w.selection.baseType = SelectionType::Group;
    w.chooseSelectionPanel(4);
    QCOMPARE(w.tables.viewMode(), ViewMode::Group);
    gather(w.selection, w.tables);
    QCOMPARE(selected(w.tables, ListKind::Group), (QStringList{"112", "455", "123"}));

    SelectionState missing;
    missing.importBaseFile("/nonexistent/base.txt");
    QCOMPARE(missing.importBaseFile("/nonexistent/base.txt").error(), msg::kFileMissing);
}

void TestSelection::menuItems()
{
    const QStringList &items = DigitRow::menuItems();
    QCOMPARE(items.size(), 19);
    QCOMPARE(items.first(), QStringLiteral("小 01234"));
    QCOMPARE(items.at(7), QStringLiteral("除三余零 0369"));
    QCOMPARE(items.at(10), QStringLiteral("随机1个号码"));
    QCOMPARE(items.last(), QStringLiteral("随机9个号码"));
    const QStringList rows{"1111100000", "0001111000", "0000011111", "0101010101", "1010101010",
                           "0111010100", "1000101011", "1001001001", "0100100100", "0010010010"};
    DigitRow r;
    for (int i = 0; i < 10; ++i) {
        r.selectAll();
        r.applyMenuItem(i);
        QCOMPARE(r.toText(), rows.at(i));
    }
}

void TestSelection::randomDigits()
{
    RandomSource a(42), b(42), c(43);
    QStringList runA, runB, runC;
    for (int n = 1; n <= 9; ++n) {
        DigitRow ra, rb, rc;
        ra.selectAll();
        ra.applyMenuItem(9 + n, a);
        rb.applyMenuItem(9 + n, b);
        rc.applyMenuItem(9 + n, c);
        QCOMPARE(ra.count(), n);
        runA << ra.toText();
        runB << rb.toText();
        runC << rc.toText();
    }
    QCOMPARE(runA, runB);
    QVERIFY(runA != runC);
}

void TestSelection::panelViewModes()
{
    Workspace w;
    w.selection.bankerType = SelectionType::Group;
    w.chooseSelectionPanel(2);
    QCOMPARE(w.tables.viewMode(), ViewMode::Group);
    w.chooseSelectionPanel(1);
    QCOMPARE(w.tables.viewMode(), ViewMode::Straight);
    w.chooseSelectionPanel(3);   // the panel's own 类型, not the previous tab
    QCOMPARE(w.tables.viewMode(), ViewMode::Group);
    w.chooseSelectionPanel(4);
    QCOMPARE(w.tables.viewMode(), ViewMode::Straight);
    QCOMPARE(w.selection.activePanel(), 4);
}

QTEST_APPLESS_MAIN(TestSelection)
#include "tst_selection.moc"
