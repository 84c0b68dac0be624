#include "core/results/NumberStatistics.h"

#include <QTest>

using namespace numsieve;

class TestNumberStatistics : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void historyLines_data();
    void historyLines();
    void allLinesOfOneNumber();
};

namespace {

// 开出次数, 本期遗漏, 上期遗漏, 平均遗漏, 最大遗漏, 欲出几率
QStringList history(const QString &hits, const QString &current, const QString &previous, const QString &average,
                    const QString &maximum, const QString &chance)
{
    return {"开出次数　　" + hits,   "本期遗漏　　" + current, "上期遗漏　　" + previous,
            "平均遗漏　　" + average, "最大遗漏　　" + maximum, "欲出几率　　" + chance};
}

} // namespace

void TestNumberStatistics::historyLines_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("draws");
    QTest::addColumn<bool>("group");
    QTest::addColumn<QStringList>("lines");

    const QStringList spread{"123", "456", "123", "789"};
    QTest::newRow("never drawn") << 555 << QStringList{"123", "456", "789", "012", "345"} << false
                                 << history("0(0.00%)", "5", "无", "无", "无", "无");
    QTest::newRow("newest draw only") << 123 << QStringList{"456", "789", "000", "123"} << false
                                      << history("1(25.00%)", "0", "3", "3.00", "3", "无");
    QTest::newRow("two hits") << 123 << spread << false << history("2(50.00%)", "1", "1", "0.50", "1", "2.00");
    QTest::newRow("group counts any digit order")
        << 123 << QStringList{"321", "456", "213", "789"} << true << history("2(50.00%)", "1", "1", "0.50", "1", "2.00");
    QTest::newRow("straight counts exact texts only")
        << 123 << QStringList{"321", "456", "213", "789"} << false << history("0(0.00%)", "4", "无", "无", "无", "无");
    QTest::newRow("group number in any digit order")
        << 321 << QStringList{"456", "132", "999"} << true << history("1(33.33%)", "1", "1", "1.00", "1", "1.00");
    QTest::newRow("no draws") << 123 << QStringList{} << false << history("0(0.00%)", "0", "无", "无", "无", "无");
    QTest::newRow("the only draw") << 123 << QStringList{"123"} << false
                                   << history("1(100.00%)", "0", "无", "无", "无", "无");
    QTest::newRow("single hit in the oldest draw")
        << 7 << QStringList{"007", "100", "200"} << false << history("1(33.33%)", "2", "无", "无", "无", "∞");
    QTest::newRow("back-to-back hits from the start")
        << 555 << QStringList{"555", "555", "111"} << false << history("2(66.67%)", "1", "无", "无", "无", "∞");
    QTest::newRow("largest gap is not the last")
        << 9 << QStringList{"111", "111", "111", "009", "009", "222", "009", "333"} << false
        << history("3(37.50%)", "1", "1", "1.33", "3", "0.75");
    QTest::newRow("malformed draws never count in group mode")
        << 12 << QStringList{"12", " 12", "abc", "", "0012", "210"} << true
        << history("1(16.67%)", "0", "5", "5.00", "5", "无");
    QTest::newRow("nothing counts for 000 but 000")
        << 0 << QStringList{"abc", "0", "00", "000 "} << true << history("0(0.00%)", "4", "无", "无", "无", "无");
}

void TestNumberStatistics::historyLines()
{
    QFETCH(int, number);
    QFETCH(QStringList, draws);
    QFETCH(bool, group);
    QFETCH(QStringList, lines);

    const QStringList all = numberInfoLines(number, draws, group);
    QCOMPARE(all.size(), kNumberInfoLineCount);
    QCOMPARE(all.mid(18), lines);
}

void TestNumberStatistics::allLinesOfOneNumber()
{
    const QStringList draws{"482", "111", "222", "482", "333", "444", "555", "482", "666"};
    const QStringList expected{
        "号码　　　　482",     "和值　　　　14",     "和尾数　　　4",      "平均值　　　5",
        "跨度　　　　6",       "AC值　　　　1",      "大小形态　　小大小", "大小比　　　1:2",
        "大中小形态　中大小",  "大中小比　　1:1:1",  "最大号　　　8",      "最小号　　　2",
        "奇偶形态　　偶偶偶",  "奇偶比　　　0:3",    "质合形态　　合合质", "质合比　　　1:2",
        "除三余形态　122",     "除三余比　　0:1:2",  "开出次数　　3(33.33%)", "本期遗漏　　1",
        "上期遗漏　　3",       "平均遗漏　　1.67",   "最大遗漏　　3",      "欲出几率　　0.60",
    };
    QCOMPARE(numberInfoLines(482, draws, false), expected);
    QCOMPARE(numberInfoLines(7, {}, true).first(), QStringLiteral("号码　　　　007"));
}

QTEST_APPLESS_MAIN(TestNumberStatistics)
#include "tst_numberstatistics.moc"
