#include "core/history/DrawGate.h"

#include <QTest>

using namespace numsieve;

namespace {

// "issue$number" texts, as draw files write them.
QList<Draw> draws(const QStringList &lines)
{
    QList<Draw> list;
    for (const QString &line : lines)
        list.append(Draw{line.section(QLatin1Char('$'), 0, 0), line.section(QLatin1Char('$'), 1)});
    return list;
}

QStringList lines(const QList<Draw> &list)
{
    QStringList texts;
    for (const Draw &draw : list)
        texts.append(draw.issue + QLatin1Char('$') + draw.number);
    return texts;
}

} // namespace

// The one gate every draw passes into a history: where new draws stand, what
// is left out and why, and what happens to an issue held with another number.
class TestDrawGate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void intake_data();
    void intake();
};

void TestDrawGate::intake_data()
{
    QTest::addColumn<QStringList>("held");
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<bool>("takeNew");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("said");   // placed runs, differing, refused, then "known removed"

    QTest::newRow("new draws between the held ones")
        << QStringList{"2020001$111", "2020003$333", "2020005$555"}
        << QStringList{"2020006$666", "2020004$444", "2019364$998", "2020002$222", "2019365$999"} << false << false
        << QStringList{"2019364$998", "2019365$999", "2020001$111", "2020002$222", "2020003$333", "2020004$444",
                       "2020005$555", "2020006$666"}
        << QStringList{"2019364至2019365（共2期）插入到2020001之前", "2020002插入到2020003之前", "2020004插入到2020005之前", "0 0"};
    // The player moved draws by hand: their order stays, a new draw goes
    // after the last held one of a smaller issue.
    QTest::newRow("held out of order") << QStringList{"2020004$444", "2020001$111", "2020009$999"}
                                       << QStringList{"2020002$222", "2020010$000"} << false << false
                                       << QStringList{"2020004$444", "2020001$111", "2020002$222", "2020009$999", "2020010$000"}
                                       << QStringList{"2020002插入到2020009之前", "0 0"};
    QTest::newRow("values, not texts") << QStringList{"99$111", "100$222"} << QStringList{"098$333", "0101$444"} << false
                                       << false << QStringList{"098$333", "99$111", "100$222", "0101$444"}
                                       << QStringList{"098插入到99之前", "0 0"};
    QTest::newRow("the same issue written with a leading zero")
        << QStringList{"2024001$111", "2024002$222"} << QStringList{"02024001$111", "02024002$999", "002024003$333", "2024003$333"}
        << false << false << QStringList{"2024001$111", "2024002$222", "002024003$333"}
        << QStringList{"02024002：本地222，新的999", "2024003$333：重复出现，只取一次", "1 0"};
    QTest::newRow("issues not all digits: appended as offered")
        << QStringList{"a$111"} << QStringList{"2024002$222", "2024001$333"} << false << false
        << QStringList{"a$111", "2024002$222", "2024001$333"} << QStringList{"0 0"};
    QTest::newRow("a differing number kept") << QStringList{"2024001$111", "2024002$222"}
                                             << QStringList{"2024001$111", "2024002$999"} << false << false
                                             << QStringList{"2024001$111", "2024002$222"}
                                             << QStringList{"2024002：本地222，新的999", "1 0"};
    QTest::newRow("a differing number taken") << QStringList{"2024001$111", "2024002$222"}
                                              << QStringList{"2024002$999"} << false << true
                                              << QStringList{"2024001$111", "2024002$999"}
                                              << QStringList{"2024002：本地222，新的999", "0 0"};
    QTest::newRow("offered twice, fewer digits, faulty")
        << QStringList{"2024001$111"}
        << QStringList{"2024002$222", "2024002$222", "2024003$333", "2024003$334", "24004$444", "2024\t005$555", "2024006$66"}
        << false << false << QStringList{"2024001$111", "2024002$222"}
        << QStringList{"2024002$222：重复出现，只取一次", "2024003$333：同一期有不同的开奖号码（333、334），都没有取",
                       "2024003$334：同一期有不同的开奖号码（333、334），都没有取", "24004$444：奖期只有5位，本地的奖期都是7位",
                       "2024\t005$555：奖期包含无法保存的字符：U+0009", "2024006$66：开奖号码不是3个", "0 0"};
    QTest::newRow("replaced, newest first, a differing number kept")
        << QStringList{"2024001$111", "2024002$222", "2024003$333"} << QStringList{"2024004$444", "2024003$999", "2024002$222"}
        << true << false << QStringList{"2024002$222", "2024003$333", "2024004$444"}
        << QStringList{"2024003：本地333，新的999", "1 1"};
    QTest::newRow("replaced by nothing usable: nothing changes")
        << QStringList{"2024001$111"} << QStringList{"24001$111"} << true << false << QStringList{"2024001$111"}
        << QStringList{"24001$111：奖期只有5位，本地的奖期都是7位", "0 0"};
}

void TestDrawGate::intake()
{
    QFETCH(QStringList, held);
    QFETCH(QStringList, offered);
    QFETCH(bool, replace);
    QFETCH(bool, takeNew);
    QFETCH(QStringList, after);
    QFETCH(QStringList, said);
    QList<Draw> history = draws(held);
    const Differing differing = takeNew ? Differing::TakeOffered : Differing::KeepHeld;
    const Intake intake = replace ? replaceDraws(history, draws(offered), differing) : mergeDraws(history, draws(offered), differing);
    QCOMPARE(lines(history), after);
    QStringList texts;
    for (const PlacedRun &run : intake.inserted)
        texts.append(placedRunText(run));
    for (const DifferingDraw &draw : intake.differing)
        texts.append(differingText(draw));
    for (const RefusedDraw &refused : intake.refused)
        texts.append(refusedText(refused));
    texts.append(QStringLiteral("%1 %2").arg(intake.known).arg(intake.removed));
    QCOMPARE(texts, said);
    QCOMPARE(intake.differingTaken, takeNew);
}

QTEST_APPLESS_MAIN(TestDrawGate)
#include "tst_drawgate.moc"
