#include "core/analysis/Backtest.h"
#include "core/analysis/Money.h"
#include "core/history/DataFolder.h"
#include "core/history/LotteryManager.h"
#include "core/model/Number.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

#include <sys/stat.h>

using namespace numsieve;
using namespace testsupport;

Q_DECLARE_METATYPE(numsieve::BetKind)

namespace {

const Prizes kPrizes{2, 1040, 346, 173};

} // namespace

// What lists cost and pay, against the exact chance of random lists, and the
// prize file the figures come from.
class TestMoney : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void prizeRules_data();
    void prizeRules();
    void chanceAgainstEveryDraw_data();
    void chanceAgainstEveryDraw();
    void prizeFile_data();
    void prizeFile();
    void bestOfTries_data();
    void bestOfTries();
};

void TestMoney::prizeRules_data()
{
    QTest::addColumn<BetKind>("kind");
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<int>("drawn");
    QTest::addColumn<int>("prize");
    QTest::addColumn<QString>("said");
    const BetKind straight = BetKind::Straight;
    const BetKind group = BetKind::Group;
    QTest::newRow("straight, the number") << straight << QList<int>{5, 312} << 312 << 1040 << "直选中奖，奖金1040元";
    QTest::newRow("straight, its digits in another order") << straight << QList<int>{123} << 312 << 0 << "未中奖";
    QTest::newRow("straight, a triple") << straight << QList<int>{111} << 111 << 1040 << "直选中奖，奖金1040元";
    QTest::newRow("group, group three in any order") << group << QList<int>{112} << 211 << 346 << "组选三中奖，奖金346元";
    QTest::newRow("group, group six in any order") << group << QList<int>{123, 456} << 312 << 173 << "组选六中奖，奖金173元";
    QTest::newRow("group, a triple pays nothing") << group << QList<int>{111} << 111 << 0 << "未中奖";
    QTest::newRow("group, not held") << group << QList<int>{124} << 312 << 0 << "未中奖";
}

void TestMoney::prizeRules()
{
    QFETCH(BetKind, kind);
    QFETCH(QList<int>, numbers);
    QFETCH(int, drawn);
    QFETCH(int, prize);
    QFETCH(QString, said);
    const ListCheck check = checkList(kind, numbers, drawn, kPrizes);
    QCOMPARE(check.prize, prize);
    QCOMPARE(prizeWon(kind, numbers, drawn, kPrizes), prize);
    QCOMPARE(checkText(check, drawn, true), said);
}

void TestMoney::chanceAgainstEveryDraw_data()
{
    QTest::addColumn<BetKind>("kind");
    QTest::addColumn<QList<int>>("first");
    QTest::addColumn<QList<int>>("second");
    QTest::newRow("straight") << BetKind::Straight << QList<int>{1, 2, 3, 999} << QList<int>{500, 501};
    // 组三 entries stand for 3 draws each, 组六 for 6: both kinds in one list.
    QTest::newRow("group") << BetKind::Group << QList<int>{112, 123, 789} << QList<int>{5, 345};
}

// Two draws, every one of the million pairs: the exact expectation and tail
// must be what counting every pair gives.
void TestMoney::chanceAgainstEveryDraw()
{
    QFETCH(BetKind, kind);
    QFETCH(QList<int>, first);
    QFETCH(QList<int>, second);
    std::vector<int> won1(1000), won2(1000);
    for (int d = 0; d < 1000; ++d) {
        won1[size_t(d)] = prizeWon(kind, first, d, kPrizes);
        won2[size_t(d)] = prizeWon(kind, second, d, kPrizes);
    }
    const auto groupThree = [](const QList<int> &list) {
        return int(std::ranges::count_if(list, [](int n) { return groupKind(n) == GroupKind::GroupThree; }));
    };
    double expected = 0;
    for (int d = 0; d < 1000; ++d)
        expected += (won1[size_t(d)] + won2[size_t(d)]) / 1000.0;
    for (const int observed : {0, 173, 346, 519, 1040, 2080}) {
        qint64 atLeast = 0;
        for (int a = 0; a < 1000; ++a)
            for (int b = 0; b < 1000; ++b)
                atLeast += won1[size_t(a)] + won2[size_t(b)] >= observed;
        const QList<MoneyStep> steps{{kind, int(first.size()), groupThree(first), observed},
                                     {kind, int(second.size()), groupThree(second), 0}};
        const MoneySummary summary = summarizeMoney(steps, kPrizes);
        QCOMPARE(summary.spent, qint64(first.size() + second.size()) * 2);
        QCOMPARE(summary.won, qint64(observed));
        QVERIFY2(qAbs(summary.expectedWon - expected) < 1e-9, qPrintable(QString::number(summary.expectedWon)));
        QVERIFY2(qAbs(summary.pAtLeast - atLeast / 1e6) < 1e-12,
                 qPrintable(QStringLiteral("%1: %2 against %3").arg(observed).arg(summary.pAtLeast).arg(atLeast / 1e6)));
    }
}

void TestMoney::prizeFile_data()
{
    QTest::addColumn<QByteArray>("file");   // prize.data before; "fifo" makes a pipe of it
    QTest::addColumn<QString>("set");       // "price,直选,组三,组六" typed for lottery 1, or "" to clear
    QTest::addColumn<QString>("refusal");   // what setting it says, if it is refused
    QTest::addColumn<QString>("shown");     // lottery 1's prizes after
    QTest::addColumn<QByteArray>("saved");
    const QByteArray defaults = defaultPrizeFileBytes();
    const QString kept = "KEPT";   // the message of a file that could not be read
    QTest::newRow("set, other lines kept") << QByteArray("9$x\r\n2$2$1040$346$173\r\n") << "2,1000,320,160" << ""
                                           << "每注2元，直选1000元，组选三320元，组选六160元"
                                           << QByteArray("9$x\r\n2$2$1040$346$173\r\n1$2$1000$320$160\r\n");
    QTest::newRow("cleared") << defaults << "" << "" << "" << QByteArray("2$2$1040$346$173\r\n");
    const QString shipped = "每注2元，直选1040元，组选三346元，组选六173元";
    QTest::newRow("not digits") << defaults << "2,1040,34a,173" << "组选三奖金须是1到10000000元的整数" << shipped << defaults;
    QTest::newRow("price out of range") << defaults << "0,1040,346,173" << "每注价格须是1到100元的整数" << shipped << defaults;
    QTest::newRow("three numbers") << defaults << "2,1040,346" << "奖金须写成“每注价格,直选,组选三,组选六”，如 2,1040,346,173"
                                   << shipped << defaults;
    QTest::newRow("unreadable file kept") << QByteArray("1$2$1040$346$173\r\n\xff\xff\r\n") << "2,1000,320,160" << kept
                                          << "" << QByteArray("1$2$1040$346$173\r\n\xff\xff\r\n");
    QTest::newRow("a pipe in its place") << QByteArray("fifo") << "2,1000,320,160" << kept << "" << QByteArray("fifo");
}

// Edited through the manager as the window and the command line edit it, and
// saved with the draws.
void TestMoney::prizeFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, set);
    QFETCH(QString, refusal);
    QFETCH(QString, shown);
    QFETCH(QByteArray, saved);
    QTemporaryDir dir;
    const QString data = dir.path();
    QVERIFY(DataFolderBuilder(data).lottery("1", "A").lottery("2", "B").write());
    const QString path = prizeFilePath(data);
    if (file == "fifo")
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    else
        QVERIFY(writeBytes(path, file));

    LotteryManager manager(loadRegistry(data));
    manager.setPrizeFile(loadPrizeFile(data));
    const LotteryManager before = manager;
    QString said;
    if (set.isEmpty()) {
        said = manager.setCurrentPrizes(std::nullopt).join('\n');
    } else if (const auto prizes = parsePrizeList(set)) {
        said = manager.setCurrentPrizes(*prizes).join('\n');
    } else {
        said = prizes.error();
    }
    if (refusal == "KEPT")
        QVERIFY2(said.endsWith("为了不丢失其中的数据，在把这个文件移出数据文件夹之前，不能保存。"), qPrintable(said));
    else
        QCOMPARE(said, refusal);
    QCOMPARE(manager.currentPrizes() ? prizesText(*manager.currentPrizes()) : QString(), shown);
    // 取消 asks before dropping a change, and only then.
    QCOMPARE(manager.savesSameAs(before), !refusal.isEmpty());
    QVERIFY(manager.save(data).has_value());
    if (file == "fifo")
        QVERIFY(QFileInfo(path).exists() && !QFileInfo(path).isFile());
    else
        QCOMPARE(readBytes(path), saved);
}

void TestMoney::bestOfTries_data()
{
    QTest::addColumn<double>("smallest");
    QTest::addColumn<int>("tries");
    QTest::addColumn<double>("byLuck");
    QTest::newRow("one try is its own chance") << 0.05 << 1 << 0.05;
    QTest::newRow("ten tries") << 0.05 << 10 << 1 - std::pow(0.95, 10);
    // A tiny chance must not vanish in the rounding of 1 − p.
    QTest::newRow("tiny") << 1e-15 << 3 << 3e-15;
    QTest::newRow("certain") << 1.0 << 3 << 1.0;
    QTest::newRow("impossible") << 0.0 << 3 << 0.0;
}

// The chance that the best of k schemes without skill looks at least as
// good as the best one did: the smallest of k chances at or below p.
void TestMoney::bestOfTries()
{
    QFETCH(double, smallest);
    QFETCH(int, tries);
    QFETCH(double, byLuck);
    QVERIFY2(qAbs(bestOfChance(smallest, tries) - byLuck) <= 1e-12 * byLuck + 1e-300,
             qPrintable(QString::number(bestOfChance(smallest, tries), 'g', 17)));
    // compareSchemes picks the smallest chance and applies it.
    QList<SchemeOutcome> schemes;
    for (int i = 0; i < tries; ++i) {
        BacktestResult r;
        r.steps.append(BacktestStep{});
        r.pChance = i == tries / 2 ? smallest : 1.0;
        schemes.append({QString::number(i), r});
    }
    const SchemeComparison c = compareSchemes(schemes);
    QCOMPARE(c.best, smallest < 1 ? tries / 2 : 0);
    QCOMPARE(c.bestByLuck, bestOfChance(smallest, tries));
}

QTEST_APPLESS_MAIN(TestMoney)
#include "tst_money.moc"
