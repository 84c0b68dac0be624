#include "core/analysis/TrendTable.h"
#include "core/model/Number.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>

using namespace numsieve;

namespace {

QList<Draw> drawsOf(const QStringList &numbers)
{
    QList<Draw> draws;
    for (qsizetype i = 0; i < numbers.size(); ++i)
        draws.append({QStringLiteral("2024%1").arg(i + 1, 3, 10, QLatin1Char('0')), numbers.at(i)});
    return draws;
}

int columnOf(TrendGroup group, const QString &value)
{
    const ColumnRange range = trendGroupColumns(group);
    for (int c = range.first; c < range.first + range.count; ++c)
        if (trendColumns().at(c).value == value)
            return c;
    return -1;
}

// The rows 0..5 of the hand-worked history: 120 and 123 twice, a triple, and
// a draw whose number is not one.
const QStringList kHistory = {QStringLiteral("123"), QStringLiteral("456"), QStringLiteral("120"),
                              QStringLiteral("777"), QStringLiteral("123"), QStringLiteral("1a3")};

// Sum of the probabilities of every count at least as far from n p as the
// observed one, term by term.
double bruteTwoSided(int n, double p, int observed)
{
    const double mean = n * p;
    const double distance = std::abs(observed - mean);
    double sum = 0;
    for (int k = 0; k <= n; ++k) {
        if (std::abs(k - mean) < distance - 1e-7 * std::max(1.0, mean))
            continue;
        sum += std::exp(std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0) + k * std::log(p)
                        + (n - k) * std::log1p(-p));
    }
    return std::min(1.0, sum);
}

} // namespace

class TrendTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void columnsAndChances_data();
    void columnsAndChances();
    void handWorked_data();
    void handWorked();
    void omissionsAndHits();
    void binomial_data();
    void binomial();
    void randomRecount();
    void csvAndJson();
};

void TrendTest::columnsAndChances_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("chance");
    using G = TrendGroup;
    QTest::newRow("百位 3") << int(G::Hundreds) << "3" << 10 << 0.1;
    QTest::newRow("anywhere 5") << int(G::Anywhere) << "5" << 10 << 0.271;
    QTest::newRow("sum 0") << int(G::Sum) << "0" << 28 << 0.001;
    QTest::newRow("sum 13") << int(G::Sum) << "13" << 28 << 0.075;
    QTest::newRow("span 1") << int(G::Span) << "1" << 10 << 0.054;
    QTest::newRow("tail 0") << int(G::Tail) << "0" << 10 << 0.1;
    QTest::newRow("two-way shape") << int(G::BigSmall) << "[大小] 大小大" << 8 << 0.125;
    QTest::newRow("odd/even") << int(G::OddEven) << "偶偶偶" << 8 << 0.125;
    QTest::newRow("prime") << int(G::PrimeComposite) << "质合合" << 8 << 0.125;
    QTest::newRow("triple") << int(G::Kind) << "豹子" << 3 << 0.01;
    QTest::newRow("group three") << int(G::Kind) << "组三" << 3 << 0.27;
    QTest::newRow("group six") << int(G::Kind) << "组六" << 3 << 0.72;
}

void TrendTest::columnsAndChances()
{
    QFETCH(int, group);
    QFETCH(QString, value);
    QFETCH(int, count);
    QFETCH(double, chance);
    QCOMPARE(trendColumns().size(), 115);
    QCOMPARE(trendGroupColumns(TrendGroup(group)).count, count);
    const int column = columnOf(TrendGroup(group), value);
    QVERIFY(column >= 0);
    QCOMPARE(trendColumns().at(column).chance, chance);
    double total = 0;
    const ColumnRange range = trendGroupColumns(TrendGroup(group));
    for (int c = range.first; c < range.first + range.count; ++c)
        total += trendColumns().at(c).chance;
    // One value per number, except a digit anywhere: a number holds one to three.
    QCOMPARE(std::round(total * 1000), TrendGroup(group) == TrendGroup::Anywhere ? 2710.0 : 1000.0);
}

void TrendTest::handWorked_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("window");
    QTest::addColumn<int>("hits");
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("meanOmission");
    QTest::addColumn<int>("maxOmission");
    QTest::addColumn<int>("maxRun");
    QTest::addColumn<int>("current");
    using G = TrendGroup;
    // 百位 1 on rows 0, 2, 4; the window of 3 starts at row 3.
    QTest::newRow("hundreds 1, last 3") << int(G::Hundreds) << "1" << 3 << 1 << 0.3 << 1.0 << 1 << 1 << 1;
    // 百位 4 only on row 1: the window of 2 starts with its omission of 3.
    QTest::newRow("omission across the start") << int(G::Hundreds) << "4" << 2 << 0 << 0.2 << 2.0 << 4 << 0 << 4;
    QTest::newRow("never seen") << int(G::Hundreds) << "9" << 2 << 0 << 0.2 << 2.0 << 6 << 0 << 6;
    // 组六 on rows 0, 1, 2 and 4.
    QTest::newRow("run of three") << int(G::Kind) << "组六" << 0 << 4 << 4.32 << 0.4 << 1 << 3 << 1;
    QTest::newRow("run cut by the window") << int(G::Kind) << "组六" << 4 << 2 << 2.88 << 2.0 / 3 << 1 << 1 << 1;
    QTest::newRow("window longer than history") << int(G::Hundreds) << "1" << 1000 << 3 << 0.6 << 0.75 << 1 << 1 << 1;
    QTest::newRow("anywhere 7 once") << int(G::Anywhere) << "7" << 0 << 1 << 1.626 << 2.5 << 3 << 1 << 2;
    QTest::newRow("sum 6") << int(G::Sum) << "6" << 30 << 2 << 0.168 << 4.0 / 3 << 3 << 1 << 1;
    QTest::newRow("triple") << int(G::Kind) << "豹子" << 0 << 1 << 0.06 << 2.5 << 3 << 1 << 2;
}

void TrendTest::handWorked()
{
    QFETCH(int, group);
    QFETCH(QString, value);
    QFETCH(int, window);
    const TrendTable table(drawsOf(kHistory));
    const int column = columnOf(TrendGroup(group), value);
    QVERIFY(column >= 0);
    const TrendStats s = table.stats(column, window);
    QTEST(s.hits, "hits");
    QFETCH(double, expected);
    QVERIFY2(std::abs(s.expected - expected) < 1e-12, qPrintable(QString::number(s.expected)));
    QFETCH(double, meanOmission);
    QVERIFY2(std::abs(s.meanOmission - meanOmission) < 1e-12, qPrintable(QString::number(s.meanOmission)));
    QTEST(s.maxOmission, "maxOmission");
    QTEST(s.maxRun, "maxRun");
    QTEST(s.currentOmission, "current");
}

void TrendTest::omissionsAndHits()
{
    const TrendTable table(drawsOf(kHistory));
    QCOMPARE(table.rowCount(), 6);
    const int four = columnOf(TrendGroup::Hundreds, QStringLiteral("4"));
    QList<int> omissions;
    for (int row = 0; row < 6; ++row)
        omissions << table.omission(row, four);
    QCOMPARE(omissions, (QList<int>{1, 0, 1, 2, 3, 4}));
    // A digit anywhere counts as often as the number holds it.
    QCOMPARE(table.hitCount(3, columnOf(TrendGroup::Anywhere, QStringLiteral("7"))), 3);
    QCOMPARE(table.hitCount(2, columnOf(TrendGroup::Anywhere, QStringLiteral("0"))), 1);
    QCOMPARE(table.hitCount(2, columnOf(TrendGroup::Anywhere, QStringLiteral("3"))), 0);
    // The shapes are the program's own texts.
    QCOMPARE(trendColumns().at(table.hitColumn(1, TrendGroup::BigSmall)).value, QStringLiteral("[大小] 小大大"));
    QCOMPARE(trendColumns().at(table.hitColumn(1, TrendGroup::OddEven)).value, QStringLiteral("偶奇偶"));
    QCOMPARE(trendColumns().at(table.hitColumn(1, TrendGroup::PrimeComposite)).value, QStringLiteral("合质合"));
    QCOMPARE(trendColumns().at(table.hitColumn(3, TrendGroup::Kind)).value, QStringLiteral("豹子"));
    QCOMPARE(trendColumns().at(table.hitColumn(2, TrendGroup::Span)).value, QStringLiteral("2"));
    // The draw that is no number has no value at all.
    QCOMPARE(table.hitColumn(5, TrendGroup::Units), -1);
    for (int c = 0; c < int(trendColumns().size()); ++c)
        QVERIFY(!table.hit(5, c));
}

void TrendTest::binomial_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("p");
    QTest::addColumn<int>("observed");
    QTest::addColumn<double>("expected");
    QTest::newRow("3 of 10 at 0.1") << 10 << 0.1 << 3 << 1 - 0.3486784401 - 0.387420489 - 0.1937102445;
    QTest::newRow("on the mean") << 10 << 0.1 << 1 << 1.0;
    QTest::newRow("0 of 10 at 0.1") << 10 << 0.1 << 0 << 1 - 0.387420489;
    QTest::newRow("0 of 4 fair") << 4 << 0.5 << 0 << 0.125;
    QTest::newRow("3 of 4 fair, both tails") << 4 << 0.5 << 3 << 0.625;
    QTest::newRow("no draws") << 0 << 0.1 << 0 << 1.0;
}

void TrendTest::binomial()
{
    QFETCH(int, n);
    QFETCH(double, p);
    QFETCH(int, observed);
    QFETCH(double, expected);
    const double got = binomialTwoSided(n, p, observed);
    QVERIFY2(std::abs(got - expected) < 1e-9, qPrintable(QString::number(got, 'g', 12)));
}

// Every statistic of every column against a plain recount over the rows,
// with omissions counted by their definition draw by draw.
void TrendTest::randomRecount()
{
    QRandomGenerator rng(20240523);
    for (int round = 0; round < 40; ++round) {
        const int n = rng.bounded(1, 400);
        QStringList numbers;
        for (int i = 0; i < n; ++i)
            numbers << (rng.bounded(50) == 0 ? QStringLiteral("12") : numberText(rng.bounded(1000)));
        const TrendTable table(drawsOf(numbers));
        const int window = rng.bounded(2) ? kTrendWindows[std::size_t(rng.bounded(int(kTrendWindows.size())))]
                                          : rng.bounded(1, n + 20);
        const int w = window <= 0 ? n : std::min(window, n);
        QCOMPARE(table.windowSize(window), w);
        for (int c = 0; c < int(trendColumns().size()); ++c) {
            const TrendColumn &column = trendColumns().at(c);
            int omission = 0;
            int hits = 0, maxOmission = 0, run = 0, maxRun = 0;
            for (int row = 0; row < n; ++row) {
                const QString &text = numbers.at(row);
                bool has = false;
                if (text.size() == 3) {
                    const int number = text.toInt();
                    has = column.group == TrendGroup::Anywhere ? text.contains(column.value)
                                                               : table.hitColumn(row, column.group) == c;
                    if (column.group == TrendGroup::Hundreds)
                        QCOMPARE(has, digitsOf(number).h == column.value.toInt());
                    if (column.group == TrendGroup::Sum)
                        QCOMPARE(has, digitsOf(number).h + digitsOf(number).t + digitsOf(number).u == column.value.toInt());
                }
                omission = has ? 0 : omission + 1;
                QCOMPARE(table.omission(row, c), omission);
                QCOMPARE(table.hit(row, c), has);
                if (row < n - w)
                    continue;
                hits += has;
                maxOmission = std::max(maxOmission, omission);
                run = has ? run + 1 : 0;
                maxRun = std::max(maxRun, run);
            }
            const TrendStats s = table.stats(c, window);
            QCOMPARE(s.hits, hits);
            QCOMPARE(s.maxOmission, maxOmission);
            QCOMPARE(s.maxRun, maxRun);
            QCOMPARE(s.currentOmission, omission);
            QVERIFY(std::abs(s.expected - w * column.chance) < 1e-9);
            QVERIFY(std::abs(s.meanOmission - double(w - hits) / (hits + 1)) < 1e-12);
            const double brute = bruteTwoSided(w, column.chance, hits);
            QVERIFY2(std::abs(s.pChance - brute) <= 1e-9 * std::max(1.0, brute),
                     qPrintable(QStringLiteral("%1 vs %2").arg(s.pChance).arg(brute)));
            QCOMPARE(s.marked(), s.pChance < 0.05);
        }
    }
    // A long history far from chance still gives a probability, not a NaN.
    const double far = binomialTwoSided(100000, 0.001, 400);
    QVERIFY(far >= 0 && far < 1e-20);
}

void TrendTest::csvAndJson()
{
    const TrendTable table(drawsOf(kHistory));
    QCOMPARE(trendCsvLines(table, 2, {TrendGroup::Kind}),
             (QStringList{QStringLiteral("奖期,开奖号,组选形态 豹子,组选形态 组三,组选形态 组六"),
                          QStringLiteral("2024005,123,1,5,0"), QStringLiteral("2024006,1a3,2,6,1"),
                          QStringLiteral("出现次数,,0,0,1"), QStringLiteral("期望次数,,0.02,0.54,1.44"),
                          QStringLiteral("平均遗漏,,2,2,0.5"), QStringLiteral("最大遗漏,,2,6,1"),
                          QStringLiteral("最大连出,,0,0,1"), QStringLiteral("当前遗漏,,2,6,1"),
                          QStringLiteral("偶然概率,,1,0.6058,1")}));

    const QString json = formatTrend(table, QStringLiteral("1"), 2, trendGroupsNamed(QStringLiteral("position")),
                                     ReportFormat::Json);
    QVERIFY(json.startsWith(QStringLiteral("{\n  \"lottery\": \"1\",\n  \"last\": 2,\n  \"columns\": [\n    { \"group\": "
                                           "\"hundreds\", \"value\": \"0\", \"hits\": 0, \"expected\": 0.2, ")));
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(json.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonArray columns = o.value(QStringLiteral("columns")).toArray();
    QCOMPARE(columns.size(), 30);
    const QJsonObject units3 = columns.at(23).toObject();
    QCOMPARE(units3.value(QStringLiteral("group")).toString(), QStringLiteral("units"));
    QCOMPARE(units3.value(QStringLiteral("value")).toString(), QStringLiteral("3"));
    QCOMPARE(units3.value(QStringLiteral("hits")).toInt(), 1);
    QCOMPARE(units3.value(QStringLiteral("max_omission")).toInt(), 1);
    QCOMPARE(units3.value(QStringLiteral("current_omission")).toInt(), 1);
    QCOMPARE(units3.value(QStringLiteral("mean_omission")).toDouble(), 0.5);
    const QJsonArray rows = o.value(QStringLiteral("rows")).toArray();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(1).toObject().value(QStringLiteral("number")).toString(), QStringLiteral("1a3"));
    const QJsonObject omission = rows.at(1).toObject().value(QStringLiteral("omission")).toObject();
    QCOMPARE(omission.size(), 30);
    QCOMPARE(omission.value(QStringLiteral("hundreds:4")).toInt(), 4);
    QCOMPARE(omission.value(QStringLiteral("tens:2")).toInt(), 1);
    QCOMPARE(trendGroupsNamed(QStringLiteral("shape")).size(), 4);
    QVERIFY(trendGroupsNamed(QStringLiteral("shapes")).isEmpty());

    // Written as it is made: the head, a piece per row, the tail (csv: the
    // captions, a line per row, the seven foot rows).
    for (const auto &[format, pieces] : {std::pair{ReportFormat::Json, 2 + 5}, std::pair{ReportFormat::Csv, 1 + 5 + 7}}) {
        QStringList written;
        writeTrend(table, QStringLiteral("1"), 5, {TrendGroup::Sum}, format, [&](const QString &p) { written << p; });
        QCOMPARE(written.size(), pieces);
        QCOMPARE(written.join(QString()), formatTrend(table, QStringLiteral("1"), 5, {TrendGroup::Sum}, format));
    }
}

QTEST_APPLESS_MAIN(TrendTest)
#include "tst_trend.moc"
