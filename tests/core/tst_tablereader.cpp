#include "history/LotteryManager.h"
#include "history/TableReader.h"

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
    if (!reading->note.isEmpty())
        text += QStringLiteral("note: ") + reading->note + QLatin1Char('\n');
    if (reading->headerLine > 0)
        text += QStringLiteral("header: %1\n").arg(reading->headerLine);
    for (const TableRow &row : reading->rows)
        text += QStringLiteral("%1$%2 @%3 %4\n").arg(row.draw.issue, row.draw.number).arg(row.line).arg(row.source);
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
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("newest first, as found") << false << QStringList{"2024100$000", "2024101$096", "2024102$443", "2024103$718"}
                                           << QStringList{"成功导入3期号码"};
    QTest::newRow("flipped by the user") << true << QStringList{"2024100$000", "2024103$718", "2024102$443", "2024101$096"}
                                         << QStringList{"成功导入3期号码"};
}

// The draws go through the manager's import merge: known issues are counted
// and left, the rest appended in the order chosen.
void TestTableReader::flippedOrderAndMerge()
{
    QFETCH(bool, flip);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, messages);
    auto reading = readTable("2024103,718\r\n2024102,443\r\n2024101,096\r\n");
    QVERIFY(reading);
    QCOMPARE(reading->newestFirst, true);
    if (flip) {
        reading->reverse();
        QCOMPARE(reading->description(), QString("第1列为奖期，第2列为开奖号码，旧的在前"));
    }
    LotteryRegistry registry;
    registry.append(Lottery{QStringLiteral("福彩3D"), QStringLiteral("1"), {Draw{"2024100", "000"}}});
    LotteryManager manager(registry);
    QCOMPARE(manager.importDraws(reading->draws()), messages);
    QCOMPARE(manager.exportLines(), stored);
    // Again: every issue is known now.
    QCOMPARE(manager.importDraws(reading->draws()), QStringList{"成功导入0期号码,自动过滤掉3个已存在的奖期号码"});
    QCOMPARE(manager.exportLines(), stored);
}

QTEST_GUILESS_MAIN(TestTableReader)
#include "tst_tablereader.moc"
