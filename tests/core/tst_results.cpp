#include "core/Messages.h"
#include "core/results/NumberListFile.h"
#include "core/results/ResultTables.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace numsieve;
using namespace testsupport;

class TestResults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void extractTwelveLists_data();
    void extractTwelveLists();
    void countsAndStepping();
    void intersectStraight();
    void intersectGroup();
    void parseNumberLines_data();
    void parseNumberLines();
    void readMissingFile();
    void savePathRule_data();
    void savePathRule();
    void numberListFileBytes();

private:
    static ResultTables sampleTables();
};

// Straight: 005 selected, 123 filtered, 456 intersected, 999 filtered.
// Group three: 001 filtered, 899 selected. Group six: 012 filtered, 789 intersected.
ResultTables TestResults::sampleTables()
{
    ResultTables t;
    t.straight()[5].stage = ResultStage::Selected;
    t.straight()[123].stage = ResultStage::Filtered;
    t.straight()[456].stage = ResultStage::Intersected;
    t.straight()[999].stage = ResultStage::Filtered;
    t.groupThree()[0].stage = ResultStage::Filtered;
    t.groupThree()[89].stage = ResultStage::Selected;
    t.groupSix()[0].stage = ResultStage::Filtered;
    t.groupSix()[119].stage = ResultStage::Intersected;
    return t;
}

void TestResults::extractTwelveLists_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("stage");
    QTest::addColumn<QStringList>("expected");
    const auto S = int(ListKind::Straight), G6 = int(ListKind::GroupSix), G3 = int(ListKind::GroupThree),
               G = int(ListKind::Group);
    QTest::newRow("直选 选号") << S << 1 << QStringList{"005"};
    QTest::newRow("直选 过滤") << S << 2 << QStringList{"123", "999"};
    QTest::newRow("直选 交集") << S << 3 << QStringList{"456"};
    QTest::newRow("组六 选号") << G6 << 1 << QStringList{};
    QTest::newRow("组六 过滤") << G6 << 2 << QStringList{"012"};
    QTest::newRow("组六 交集") << G6 << 3 << QStringList{"789"};
    QTest::newRow("组三 选号") << G3 << 1 << QStringList{"899"};
    QTest::newRow("组三 过滤") << G3 << 2 << QStringList{"001"};
    QTest::newRow("组三 交集") << G3 << 3 << QStringList{};
    QTest::newRow("组选 选号") << G << 1 << QStringList{"899"};
    QTest::newRow("组选 过滤") << G << 2 << QStringList{"001", "012"};
    QTest::newRow("组选 交集") << G << 3 << QStringList{"789"};
}

void TestResults::extractTwelveLists()
{
    QFETCH(int, kind);
    QFETCH(int, stage);
    QFETCH(QStringList, expected);
    QCOMPARE(sampleTables().extract(ListKind(kind), ResultStage(stage)), expected);
}

void TestResults::countsAndStepping()
{
    ResultTables t = sampleTables();
    QCOMPARE(t.counts(TableId::Straight), (std::array<int, 3>{1, 2, 1}));
    QCOMPARE(t.counts(TableId::GroupThree), (std::array<int, 3>{1, 1, 0}));
    QCOMPARE(t.counts(TableId::GroupSix), (std::array<int, 3>{0, 1, 1}));

    ResultStage s = ResultStage::None;
    QList<ResultStage> seen;
    for (int i = 0; i < 4; ++i) {
        s = ResultTables::nextStage(s);
        seen.append(s);
    }
    QCOMPARE(seen, (QList<ResultStage>{ResultStage::Selected, ResultStage::Filtered, ResultStage::Intersected,
                                       ResultStage::None}));
}

void TestResults::intersectStraight()
{
    ResultTables t = sampleTables();
    // 005 is only selected: never promoted. 123 is filtered: promoted. 999 stays.
    t.intersect({"005", "123", "321"});
    QCOMPARE(t.extract(ListKind::Straight, ResultStage::Intersected), (QStringList{"123", "456"}));
    QCOMPARE(t.extract(ListKind::Straight, ResultStage::Selected), QStringList{"005"});
    // A second import adds to the first; stage 3 is never taken back.
    t.intersect({"999"});
    QCOMPARE(t.extract(ListKind::Straight, ResultStage::Intersected), (QStringList{"123", "456", "999"}));
    // Group tables are not touched in straight mode.
    QCOMPARE(t.extract(ListKind::Group, ResultStage::Filtered), (QStringList{"001", "012"}));
    // Nothing imported changes nothing.
    ResultTables untouched = sampleTables();
    untouched.intersect({});
    QCOMPARE(untouched.extract(ListKind::Straight, ResultStage::Filtered), (QStringList{"123", "999"}));
}

void TestResults::intersectGroup()
{
    ResultTables t;
    t.setViewMode(ViewMode::Group);
    for (int i : {0, 89}) // 001, 899
        t.groupThree()[i].stage = ResultStage::Filtered;
    for (int i : {0, 119}) // 012, 789
        t.groupSix()[i].stage = ResultStage::Filtered;
    t.groupThree()[55].stage = ResultStage::Filtered;
    QCOMPARE(t.groupThree()[55].number, 355);
    t.straight()[210].stage = ResultStage::Filtered;

    t.intersect({"100", "201", "553", "555", "210"});
    QCOMPARE(t.extract(ListKind::Group, ResultStage::Intersected), (QStringList{"001", "355", "012"}));
    QCOMPARE(t.extract(ListKind::Group, ResultStage::Filtered), (QStringList{"899", "789"}));
    QCOMPARE(t.straight()[210].stage, ResultStage::Filtered);
}

void TestResults::parseNumberLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<QString>("error");
    QTest::newRow("separators") << QStringList{"1, 2, 3", "12 3", " 4-5+6 ", "7　8　9"}
                                << QStringList{"123", "123", "456", "789"} << QString();
    QTest::newRow("blank lines skipped") << QStringList{"", "   ", "\t", "001"} << QStringList{"001"} << QString();
    QTest::newRow("only blanks") << QStringList{" ", ""} << QStringList{} << QString();
    QTest::newRow("decimal point") << QStringList{"123", "1.2"} << QStringList{} << msg::kNotNumeric;
    QTest::newRow("letter") << QStringList{"1a3"} << QStringList{} << msg::kNotNumeric;
    QTest::newRow("four digits") << QStringList{"123", "1234"} << QStringList{} << msg::kBadFormat;
    QTest::newRow("tab inside") << QStringList{"12\t3"} << QStringList{} << msg::kBadFormat;
    QTest::newRow("two digits") << QStringList{"12"} << QStringList{} << msg::kBadFormat;
    QTest::newRow("first bad line decides") << QStringList{"1x", "abc"} << QStringList{} << msg::kBadFormat;
}

void TestResults::parseNumberLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, numbers);
    QFETCH(QString, error);
    const auto result = numsieve::parseNumberLines(lines);
    if (error.isEmpty()) {
        QVERIFY(result.has_value());
        QCOMPARE(*result, numbers);
    } else {
        QVERIFY(!result.has_value());
        QCOMPARE(result.error(), error);
    }
}

void TestResults::readMissingFile()
{
    QTemporaryDir dir;
    const auto result = readNumberListFile(dir.filePath("nothing.txt"));
    QVERIFY(!result.has_value());
    QCOMPARE(result.error(), msg::kFileMissing);

    const QString path = dir.filePath("list.txt");
    QVERIFY(writeBytes(path, gbk("１２３\r\n")));   // full-width digits are not digits here
    QCOMPARE(readNumberListFile(path).error(), msg::kNotNumeric);
}

void TestResults::savePathRule_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("ext");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << "/home/u/NUMBERS" << ".txt" << "/home/u/NUMBERS.txt";
    QTest::newRow("upper .TXT kept") << "/home/u/Documents/Lottery/Draws.TXT" << ".txt"
                                     << "/home/u/Documents/Lottery/Draws.TXT";
    QTest::newRow("txt not at end") << "/tmp/a.txt.bak" << ".txt" << "/tmp/a.txt.bak.txt";
    QTest::newRow("folder case kept") << "/tmp/MyDir/x.txt" << ".txt" << "/tmp/MyDir/x.txt";
    QTest::newRow("scheme") << "/data/Plan.CND" << ".cnd" << "/data/Plan.CND";
    QTest::newRow("scheme wrong order") << "/data/x.cnd.txt" << ".cnd" << "/data/x.cnd.txt.cnd";
    QTest::newRow("non-ascii kept") << "/tmp/号码Ａ" << ".txt" << "/tmp/号码Ａ.txt";
}

void TestResults::savePathRule()
{
    QFETCH(QString, chosen);
    QFETCH(QString, ext);
    QFETCH(QString, written);
    QCOMPARE(savePathWithExtension(chosen, ext), written);
}

void TestResults::numberListFileBytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("group.txt");
    const QStringList list = sampleTables().extract(ListKind::Group, ResultStage::Filtered);
    QVERIFY(writeNumberListFile(path, list).has_value());
    QCOMPARE(readBytes(path), QByteArray("001\r\n012\r\n"));
    // What is written reads back through the intersect clean-up unchanged.
    QCOMPARE(*readNumberListFile(path), list);
    // Writing again replaces the old content completely.
    QVERIFY(writeNumberListFile(path, {"999"}).has_value());
    QCOMPARE(readBytes(path), QByteArray("999\r\n"));
}

QTEST_APPLESS_MAIN(TestResults)
#include "tst_results.moc"
