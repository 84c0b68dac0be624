#include "core/history/LotteryManager.h"
#include "core/history/TableReader.h"

#include "TestSupport.h"

#include <QDir>
#include <QTest>

using namespace numsieve;
using namespace testsupport;

// Tables as players have them, each a file of tests/data/table beside the
// reading it must give (NAME.expected): the layout in words, any note, the
// header line, the draws oldest first with their lines, and the lines not
// read with their reasons; or the refusal.
class TestTableReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layouts_data();
    void layouts();
    void flippedOrderAndMerge_data();
    void flippedOrderAndMerge();
};

namespace {

QString rendered(const std::expected<TableReading, QString> &reading)
{
    if (!reading)
        return QStringLiteral("refused: ") + reading.error() + QLatin1Char('\n');
    QString text = reading->description() + QLatin1Char('\n');
    for (const QString &note : reading->notes)
        text += QStringLiteral("note: ") + note + QLatin1Char('\n');
    if (reading->headerLine > 0)
        text += QStringLiteral("header: %1\n").arg(reading->headerLine);
    for (qsizetype i = 0; i < reading->size(); ++i) {
        const Draw draw = reading->draw(i);
        text += QStringLiteral("%1$%2 @%3 %4\n").arg(draw.issue, draw.number).arg(reading->line(i)).arg(reading->source(i));
    }
    for (const TableSkip &skip : reading->skipped)
        text += QStringLiteral("skip %1: %2 | %3\n").arg(skip.line).arg(skip.reason, skip.source);
    return text;
}

} // namespace

void TestTableReader::layouts_data()
{
    QTest::addColumn<QString>("table");
    const QDir dir(QFINDTESTDATA("data/table"));
    const QStringList tables = dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    QVERIFY(tables.size() >= 12);
    for (const QString &name : tables)
        QTest::newRow(qPrintable(name)) << dir.filePath(name);
}

void TestTableReader::layouts()
{
    QFETCH(QString, table);
    const QString actual = rendered(readTable(readBytes(table)));
    const QString expectedPath = table.chopped(4) + QStringLiteral(".expected");
    QCOMPARE(actual, QString::fromUtf8(readBytes(expectedPath)));
}

void TestTableReader::flippedOrderAndMerge_data()
{
    QTest::addColumn<bool>("flip");
    QTest::addColumn<QString>("held");
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("newest first, as found") << false << "2024100" << QStringList{"2024100$000", "2024101$096", "2024102$443", "2024103$718"};
    // Issues of digits stand in their order, whichever way the table ran.
    QTest::newRow("flipped, issue order all the same")
        << true << "2024100" << QStringList{"2024100$000", "2024101$096", "2024102$443", "2024103$718"};
    // Beside an issue that is not digits, the order chosen is the order stored.
    QTest::newRow("flipped beside other issues") << true << "x" << QStringList{"x$000", "2024103$718", "2024102$443", "2024101$096"};
}

// The draws go through the manager's import merge: known issues are counted
// and left, the rest added.
void TestTableReader::flippedOrderAndMerge()
{
    QFETCH(bool, flip);
    QFETCH(QString, held);
    QFETCH(QStringList, stored);
    auto reading = readTable("2024103,718\r\n2024102,443\r\n2024101,096\r\n");
    QVERIFY(reading);
    QCOMPARE(reading->newestFirst, true);
    if (flip) {
        reading->reverse();
        QCOMPARE(reading->description(), QString("第1列为奖期，第2列为开奖号码，旧的在前"));
    }
    LotteryRegistry registry;
    registry.append(Lottery{QStringLiteral("福彩3D"), QStringLiteral("1"), {Draw{held, "000"}}});
    LotteryManager manager(registry);
    QCOMPARE(manager.importLines(manager.exportLines()).last(), QString("成功导入0期号码,自动过滤掉1个已存在的奖期号码"));
    const auto imported = manager.importDraws(reading->draws());
    QVERIFY(imported);
    QCOMPARE(LotteryManager::importMessages(*imported), QStringList{"成功导入3期号码"});
    QCOMPARE(manager.exportLines(), stored);
    // Again: every issue is known now.
    QCOMPARE(LotteryManager::importMessages(*manager.importDraws(reading->draws())),
             QStringList{"成功导入0期号码,自动过滤掉3个已存在的奖期号码"});
    QCOMPARE(manager.exportLines(), stored);
}

QTEST_GUILESS_MAIN(TestTableReader)
#include "tst_tablereader.moc"
