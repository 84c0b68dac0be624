#include "CliRun.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;

namespace {

Run cli(const QStringList &args)
{
    return run(QStringLiteral(NUMSIEVE_CLI_PATH), args);
}

} // namespace

class TestCliTrend : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void output_data();
    void output();
    void refusals_data();
    void refusals();

private:
    QTemporaryDir m_dir;
    QString m_data = m_dir.filePath("data");
};

void TestCliTrend::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(writeCliDataFolder(m_data, "1$999\r\n2$990\r\n"));
}

void TestCliTrend::output_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("expected");
    QTest::newRow("text, the newest draw of lottery 7")
        << QStringList{"--lottery", "7", "--group", "span", "--last", "1"}
        << QStringLiteral("走势图：彩种 自选，最近1期\n"
                          "分组      号码              出现次数  期望次数  平均遗漏  最大遗漏  最大连出  当前遗漏  偶然概率\n"
                          "跨度      0                        0      0.01      1.00         1         0         1         1\n"
                          "跨度      1                        0      0.05      1.00         2         0         2         1\n"
                          "跨度      2                        0      0.10      1.00         2         0         2         1\n"
                          "跨度      3                        0      0.13      1.00         2         0         2         1\n"
                          "跨度      4                        0      0.14      1.00         2         0         2         1\n"
                          "跨度      5                        0      0.15      1.00         2         0         2         1\n"
                          "跨度      6                        0      0.14      1.00         2         0         2         1\n"
                          "跨度      7                        0      0.13      1.00         2         0         2         1\n"
                          "跨度      8                        0      0.10      1.00         2         0         2         1\n"
                          "跨度      9                        1      0.05      0.00         0         1         0     0.054\n"
                          "\n"
                          "偶然概率低于5%的列已标出；这里共10列，即使全凭偶然，也约有二十分之一（约0.5列）会被标出。\n");
    QTest::newRow("csv, first lottery, all draws")
        << QStringList{"--group", "position", "--format", "csv", "--last", "all"}
        << QStringLiteral("奖期,开奖号,百位 0,百位 1,百位 2,百位 3,百位 4,百位 5,百位 6,百位 7,百位 8,百位 9,"
                          "十位 0,十位 1,十位 2,十位 3,十位 4,十位 5,十位 6,十位 7,十位 8,十位 9,"
                          "个位 0,个位 1,个位 2,个位 3,个位 4,个位 5,个位 6,个位 7,个位 8,个位 9\n");
}

void TestCliTrend::output()
{
    QFETCH(QStringList, args);
    QFETCH(QString, expected);
    const Run r = cli(QStringList{"trend", "--data", m_data} + args);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.exitCode, 0);
    if (args.contains("csv")) {
        const QStringList lines = r.out.split('\n');
        QCOMPARE(lines.first() + '\n', expected);
        QCOMPARE(lines.size(), 1 + 3 + 7 + 1);
        QCOMPARE(lines.at(3), QStringLiteral("2026003,124,3,0,3,2,3,1,3,3,3,3,3,3,0,3,3,1,3,3,3,3,3,2,3,3,0,1,3,3,3,3"));
        QCOMPARE(lines.at(4), QStringLiteral("出现次数,,0,1,0,1,0,1,0,0,0,0,0,0,2,0,0,1,0,0,0,0,0,1,0,0,1,1,0,0,0,0"));
    } else {
        QCOMPARE(r.out, expected);
    }
}

void TestCliTrend::refusals_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("err");
    QTest::newRow("unknown group") << QStringList{"--group", "shapes"} << 2
                                   << "numsieve-cli: --group takes position, distribution, sum, span, tail or shape\n";
    QTest::newRow("last 0") << QStringList{"--last", "0"} << 2
                            << "numsieve-cli: --last takes a count of draws, 1 or more, or all\n";
    QTest::newRow("format") << QStringList{"--format", "xml"} << 2 << "numsieve-cli: --format takes text, csv or json\n";
    QTest::newRow("no such lottery") << QStringList{"--lottery", "9"} << 1
                                     << QStringLiteral("找不到编号为 9 的彩种 / no lottery with id 9\n");
}

void TestCliTrend::refusals()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, err);
    const Run r = cli(QStringList{"trend", "--data", m_data} + args);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.startsWith(err), qPrintable(r.err));
    QCOMPARE(r.out, QString());
}

QTEST_APPLESS_MAIN(TestCliTrend)
#include "tst_cli_trend.moc"
