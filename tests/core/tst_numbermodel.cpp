#include "core/model/Attributes.h"
#include "core/model/Number.h"
#include "core/model/Vocabulary.h"

#include <QTest>

using namespace numsieve;

class TestNumberModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void vocabularies_data();
    void vocabularies();
    void vocabularyBytes();
    void tables();
    void sortedFormAndKind_data();
    void sortedFormAndKind();
    void digitAttributes_data();
    void digitAttributes();
    void shapesAndRatios_data();
    void shapesAndRatios();
    void kinds_data();
    void kinds();
};

void TestNumberModel::vocabularies_data()
{
    QTest::addColumn<int>("vocab");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<int>("sampleIndex");
    QTest::addColumn<QString>("sample");

    auto row = [](const char *name, Vocab v, int count, const QString &first, const QString &last, int i,
                  const QString &sample) { QTest::newRow(name) << int(v) << count << first << last << i << sample; };
    row("和值", Vocab::Sum, 28, "0", "27", 10, "10");
    row("和尾数", Vocab::SumTail, 10, "0", "9", 5, "5");
    row("AC值", Vocab::Ac, 3, "-1", "1", 1, "0");
    row("大小形态", Vocab::BigSmallShape, 35, "[大小] 大大大", "[大中小] 小小小", 8, "[大中小] 大大大");
    row("大小形态 three-way", Vocab::BigSmallShape, 35, "[大小] 大大大", "[大中小] 小小小", 11, "[大中小] 大中大");
    row("大小形态 two-way", Vocab::BigSmallShape, 35, "[大小] 大大大", "[大中小] 小小小", 7, "[大小] 小小小");
    row("大小比", Vocab::BigSmallRatio, 14, "[大小] 3:0 (3大0小)", "[大中小] 0:0:3 (0大0中3小)", 6,
        "[大中小] 2:0:1 (2大0中1小)");
    row("大小比 two-way", Vocab::BigSmallRatio, 14, "[大小] 3:0 (3大0小)", "[大中小] 0:0:3 (0大0中3小)", 3,
        "[大小] 0:3 (0大3小)");
    row("奇偶形态", Vocab::OddEvenShape, 8, "奇奇奇", "偶偶偶", 3, "奇偶偶");
    row("奇偶比", Vocab::OddEvenRatio, 4, "3:0 (3奇0偶)", "0:3 (0奇3偶)", 1, "2:1 (2奇1偶)");
    row("质合形态", Vocab::PrimeShape, 8, "质质质", "合合合", 4, "合质质");
    row("质合比", Vocab::PrimeRatio, 4, "3:0 (3质0合)", "0:3 (0质3合)", 2, "1:2 (1质2合)");
    row("除3余形态", Vocab::Mod3Shape, 27, "000", "222", 3, "010");
    row("除3余比", Vocab::Mod3Ratio, 10, "3:0:0 (3零0壹0贰)", "0:0:3 (0零0壹3贰)", 4, "1:1:1 (1零1壹1贰)");
    row("新旧跳形态", Vocab::NewOldJumpShape, 27, "新新新", "跳跳跳", 3, "新旧新");
    row("新旧跳比", Vocab::NewOldJumpRatio, 10, "3:0:0 (3新0旧0跳)", "0:0:3 (0新0旧3跳)", 1, "2:1:0 (2新1旧0跳)");
    row("旧斜孤形态", Vocab::OldDiagonalIsolatedShape, 27, "旧旧旧", "孤孤孤", 2, "旧旧孤");
    row("旧斜孤比", Vocab::OldDiagonalIsolatedRatio, 10, "3:0:0 (3旧0斜0孤)", "0:0:3 (0旧0斜3孤)", 4,
        "1:1:1 (1旧1斜1孤)");
    row("重复号", Vocab::Repeat, 6, "三个重复", "无重复号", 3, "百个重复");
    row("连号", Vocab::Consecutive, 14, "三连号", "无连号", 9, "组三十个连号");
    row("间隔号", Vocab::Interval, 14, "三间隔", "无间隔", 10, "组六百十间隔");
    row("直选双码", Vocab::StraightPair, 300, "00*", "*99", 100, "0*0");
    row("直选双码 middle", Vocab::StraightPair, 300, "00*", "*99", 199, "9*9");
    row("直选双码 last part", Vocab::StraightPair, 300, "00*", "*99", 207, "*07");
    row("组选双码", Vocab::GroupPair, 55, "00", "99", 10, "11");
    row("组选双码 tail", Vocab::GroupPair, 55, "00", "99", 53, "89");
}

void TestNumberModel::vocabularies()
{
    QFETCH(int, vocab);
    QFETCH(int, count);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(int, sampleIndex);
    QFETCH(QString, sample);
    const QStringList &v = vocabulary(Vocab(vocab));
    QCOMPARE(v.size(), count);
    QCOMPARE(v.first(), first);
    QCOMPARE(v.last(), last);
    QCOMPARE(v.at(sampleIndex), sample);
    QCOMPARE(QSet<QString>(v.begin(), v.end()).size(), count);
}

void TestNumberModel::vocabularyBytes()
{
    // The two-way prefix ends with exactly one ASCII blank, and the ratio's
    // parenthesis follows one blank.
    QCOMPARE(vocabulary(Vocab::BigSmallShape).first().toUtf8(), QByteArray("[\xE5\xA4\xA7\xE5\xB0\x8F] \xE5\xA4\xA7\xE5\xA4\xA7\xE5\xA4\xA7"));
    QCOMPARE(vocabulary(Vocab::OddEvenRatio).at(1).toUtf8(), QByteArray("2:1 (2\xE5\xA5\x87" "1\xE5\x81\xB6)"));
    const QStringList &ratios = vocabulary(Vocab::Mod3Ratio);
    QStringList bare;
    for (const QString &r : ratios)
        bare.append(r.left(5));
    QCOMPARE(bare, QStringList({"3:0:0", "2:1:0", "2:0:1", "1:2:0", "1:1:1", "1:0:2", "0:3:0", "0:2:1", "0:1:2", "0:0:3"}));
}

void TestNumberModel::tables()
{
    QCOMPARE(straightNumbers()[0], 0);
    QCOMPARE(straightNumbers()[999], 999);

    const auto &three = groupThreeNumbers();
    QCOMPARE(three[0], 1);
    QCOMPARE(three[8], 9);
    QCOMPARE(three[9], 11);
    QCOMPARE(three[10], 22);
    QCOMPARE(three[17], 99);
    QCOMPARE(three[18], 112);
    QCOMPARE(three[26], 122);
    QCOMPARE(three[88], 889);
    QCOMPARE(three[89], 899);
    QVERIFY(std::is_sorted(three.begin(), three.end()));
    for (int n : three)
        QCOMPARE(groupKind(n), GroupKind::GroupThree);

    const auto &six = groupSixNumbers();
    QCOMPARE(six[0], 12);
    QCOMPARE(six[7], 19);
    QCOMPARE(six[8], 23);
    QCOMPARE(six[119], 789);
    QVERIFY(std::is_sorted(six.begin(), six.end()));
    for (int n : six)
        QCOMPARE(sortedForm(n), n);
}

void TestNumberModel::sortedFormAndKind_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("sorted");
    QTest::addColumn<int>("kind");
    QTest::newRow("930") << 930 << 39 << int(GroupKind::GroupSix);
    QTest::newRow("212") << 212 << 122 << int(GroupKind::GroupThree);
    QTest::newRow("090") << 90 << 9 << int(GroupKind::GroupThree);
    QTest::newRow("019") << 19 << 19 << int(GroupKind::GroupSix);
    QTest::newRow("777") << 777 << 777 << int(GroupKind::Triple);
    QTest::newRow("000") << 0 << 0 << int(GroupKind::Triple);
}

void TestNumberModel::sortedFormAndKind()
{
    QFETCH(int, number);
    QFETCH(int, sorted);
    QFETCH(int, kind);
    QCOMPARE(sortedForm(number), sorted);
    QCOMPARE(int(groupKind(number)), kind);
    QCOMPARE(numberText(number).size(), 3);
}

void TestNumberModel::digitAttributes_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("sum");
    QTest::addColumn<int>("tail");
    QTest::addColumn<int>("avg");
    QTest::addColumn<int>("span");
    QTest::addColumn<int>("ac");
    QTest::newRow("000") << 0 << 0 << 0 << 0 << 0 << -1;
    QTest::newRow("999") << 999 << 27 << 7 << 9 << 0 << -1;
    QTest::newRow("sum 1") << 1 << 1 << 1 << 0 << 1 << 0;
    QTest::newRow("sum 2") << 2 << 2 << 2 << 1 << 2 << 0;
    QTest::newRow("sum 4") << 13 << 4 << 4 << 1 << 3 << 1;
    QTest::newRow("sum 5") << 5 << 5 << 5 << 2 << 5 << 0;
    QTest::newRow("sum 26") << 899 << 26 << 6 << 9 << 1 << 0;
    QTest::newRow("121") << 121 << 4 << 4 << 1 << 1 << 1;
    QTest::newRow("112") << 112 << 4 << 4 << 1 << 1 << 0;
    QTest::newRow("211") << 211 << 4 << 4 << 1 << 1 << 0;
    QTest::newRow("123") << 123 << 6 << 6 << 2 << 2 << 0;
    QTest::newRow("321") << 321 << 6 << 6 << 2 << 2 << 0;
    QTest::newRow("132") << 132 << 6 << 6 << 2 << 2 << 1;
    QTest::newRow("213") << 213 << 6 << 6 << 2 << 2 << 1;
}

void TestNumberModel::digitAttributes()
{
    QFETCH(int, number);
    const Digits d = digitsOf(number);
    QTEST(digitSum(d), "sum");
    QTEST(sumTail(d), "tail");
    QTEST(average(d), "avg");
    QTEST(span(d), "span");
    QTEST(acValue(d), "ac");
}

void TestNumberModel::shapesAndRatios_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("texts");
    // big/small shape, ratio; three-way shape, ratio; odd/even; prime; mod 3
    QTest::newRow("359") << 359
                         << QStringList{"小大大", "2:1", "中中大", "1:2:0", "奇奇奇", "3:0", "质质合", "2:1", "020", "2:0:1"};
    QTest::newRow("000") << 0
                         << QStringList{"小小小", "0:3", "小小小", "0:0:3", "偶偶偶", "0:3", "合合合", "0:3", "000", "3:0:0"};
    QTest::newRow("999") << 999
                         << QStringList{"大大大", "3:0", "大大大", "3:0:0", "奇奇奇", "3:0", "合合合", "0:3", "000", "3:0:0"};
    QTest::newRow("567") << 567
                         << QStringList{"大大大", "3:0", "中中大", "1:2:0", "奇偶奇", "2:1", "质合质", "2:1", "201", "1:1:1"};
}

void TestNumberModel::shapesAndRatios()
{
    QFETCH(int, number);
    QFETCH(QStringList, texts);
    const Digits d = digitsOf(number);
    const QStringList got{bigSmallShape(d),    bigSmallRatio(d),       bigMidSmallShape(d), bigMidSmallRatio(d),
                          oddEvenShape(d),     oddEvenRatio(d),        primeCompositeShape(d),
                          primeCompositeRatio(d), mod3Shape(d),        mod3Ratio(d)};
    QCOMPARE(got, texts);
}

namespace {

QStringList names(Vocab v, const auto &flags)
{
    QStringList out;
    for (size_t i = 0; i < flags.size(); ++i)
        if (flags[i])
            out.append(vocabulary(v).at(int(i)));
    return out;
}

} // namespace

void TestNumberModel::kinds_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("repeat");
    QTest::addColumn<QStringList>("consecutive");
    QTest::addColumn<QStringList>("interval");
    QTest::newRow("000") << 0 << QStringList{"三个重复", "二个重复", "百十重复", "百个重复", "十个重复"}
                         << QStringList{"无连号"} << QStringList{"无间隔"};
    QTest::newRow("123") << 123 << QStringList{"无重复号"} << QStringList{"三连号", "顺序三连号"}
                         << QStringList{"无间隔"};
    QTest::newRow("135") << 135 << QStringList{"无重复号"} << QStringList{"无连号"}
                         << QStringList{"三间隔", "顺序三间隔"};
    QTest::newRow("153") << 153 << QStringList{"无重复号"} << QStringList{"无连号"}
                         << QStringList{"三间隔", "乱序三间隔"};
    QTest::newRow("130") << 130 << QStringList{"无重复号"} << QStringList{"二连号", "百个连号", "组六百个连号"}
                         << QStringList{"二间隔", "百十间隔", "组六百十间隔"};
    QTest::newRow("212") << 212 << QStringList{"二个重复", "百个重复"}
                         << QStringList{"二连号", "百十连号", "十个连号", "组三百十连号", "组三十个连号"}
                         << QStringList{"无间隔"};
    QTest::newRow("243") << 243 << QStringList{"无重复号"} << QStringList{"三连号", "乱序三连号"}
                         << QStringList{"无间隔"};
    QTest::newRow("131") << 131 << QStringList{"二个重复", "百个重复"} << QStringList{"无连号"}
                         << QStringList{"二间隔", "百十间隔", "十个间隔", "组三百十间隔", "组三十个间隔"};
    QTest::newRow("512") << 512 << QStringList{"无重复号"} << QStringList{"二连号", "十个连号", "组六十个连号"}
                         << QStringList{"无间隔"};
}

void TestNumberModel::kinds()
{
    QFETCH(int, number);
    const Digits d = digitsOf(number);
    QTEST(names(Vocab::Repeat, repeatKinds(d)), "repeat");
    QTEST(names(Vocab::Consecutive, consecutiveKinds(d)), "consecutive");
    QTEST(names(Vocab::Interval, intervalKinds(d)), "interval");
}

QTEST_APPLESS_MAIN(TestNumberModel)
#include "tst_numbermodel.moc"
