#include "core/history/DataFolder.h"
#include "core/history/LotteryManager.h"

#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace numsieve;
using namespace testsupport;
using M = LotteryManager;

Q_DECLARE_METATYPE(numsieve::Draw)

namespace {

LotteryRegistry registryOf(const QList<Lottery> &lotteries)
{
    LotteryRegistry registry;
    for (const Lottery &lottery : lotteries)
        registry.append(lottery);
    return registry;
}

// 福彩3D with three draws, then an ordinary lottery "01" whose issue has a dash.
LotteryRegistry sample()
{
    return registryOf({{"福彩3D", "1", {{"a", "111"}, {"b", "222"}, {"c", "333"}}}, {"自定", "01", {{"2024-001", "999"}}}});
}

QList<int> disabledControls(const M &m)
{
    QList<int> ids;
    for (int id = M::kFirstControl; id <= M::kLastControl; ++id) {
        if (!m.isEnabled(M::Control(id)))
            ids.append(id);
    }
    return ids;
}

QStringList edits(const M &m)
{
    return {m.editText(M::IdEdit), m.editText(M::NameEdit), m.editText(M::IssueEdit), m.editText(M::NumberEdit)};
}

} // namespace

class TestLotteryManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addLottery_data();
    void addLottery();
    void modifyLotteryLoadsThenRenames();
    void addDraw_data();
    void addDraw();
    void editModesAndDashedIssue();
    void movedDrawsReachTheFileOnlyAfterARebuild_data();
    void movedDrawsReachTheFileOnlyAfterARebuild();
    void import_data();
    void import();
    void downloadNumber_data();
    void downloadNumber();
    void deleteMoveAndSaveLotteries();
    void failedSaveChangesNoFile();
    void reAddedLotteryAndItsDrawFile_data();
    void reAddedLotteryAndItsDrawFile();
    void download_data();
    void download();
};

void TestLotteryManager::addLottery_data()
{
    QTest::addColumn<bool>("full");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("editsAfter");
    QTest::newRow("no id") << false << "" << "新" << "彩票ID不能为空" << QStringList{"", "新"};
    QTest::newRow("no name") << false << "7" << "" << "彩票名称不能为空" << QStringList{"7", ""};
    QTest::newRow("dollar name") << false << "7" << "a$b" << "彩票名称不能包含$" << QStringList{"7", ""};
    QTest::newRow("existing id") << false << "01" << "新" << "彩票ID已经存在，请选择其他ID" << QStringList{"", "新"};
    QTest::newRow("261st") << true << "999" << "新" << "彩票数量已达上限260个，无法添加" << QStringList{"999", "新"};
    QTest::newRow("001 is new") << false << "001" << "新" << "" << QStringList{"", ""};
    QTest::newRow("name gbk lacks") << false << "7" << "新\uAC00" << "彩票名称包含无法保存的字符：\uAC00" << QStringList{"7", ""};
    QTest::newRow("name with a tab") << false << "7" << "a\tb" << "彩票名称包含无法保存的字符：U+0009" << QStringList{"7", ""};
}

void TestLotteryManager::addLottery()
{
    QFETCH(bool, full);
    QFETCH(QString, id);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QStringList, editsAfter);
    LotteryRegistry start = sample();
    while (full && !start.isFull())
        start.append(Lottery{"L", QString::number(start.count() + 100), {}});
    M m(start);
    const QStringList entriesBefore = m.lotteryEntries();
    QVERIFY(m.setEdits(id, name, {}, {}));
    const QStringList shown = m.addLottery();
    QCOMPARE(edits(m).mid(0, 2), editsAfter);
    if (!message.isEmpty()) {
        QCOMPARE(shown, QStringList{message});
        QCOMPARE(m.lotteryEntries(), entriesBefore);
        QCOMPARE(m.registry(), start);
        QCOMPARE(m.currentId(), QStringLiteral("1"));
        return;
    }
    QCOMPARE(shown, QStringList{});
    QCOMPARE(m.lotteryEntries(), (QStringList{"1 - 福彩3D", "01 - 自定", "001 - 新"}));
    QCOMPARE(m.lotteryRow(), 2);
    QCOMPARE(m.currentId(), id);
    QCOMPARE(m.drawEntries(), QStringList{});
    QCOMPARE(m.registry().at(2), (Lottery{"新", "001", {}}));
}

void TestLotteryManager::modifyLotteryLoadsThenRenames()
{
    M m(sample());
    m.selectLottery(1);
    QCOMPARE(m.modifyLottery(), QStringList{"彩票名称不能为空"});
    QCOMPARE(edits(m), (QStringList{"01", "自定", "", ""}));
    QVERIFY(m.setEditText(M::NameEdit, "改名"));
    QCOMPARE(m.modifyLottery(), QStringList{});
    QCOMPARE(m.lotteryEntries(), (QStringList{"1 - 福彩3D", "01 - 改名"}));
    QCOMPARE(m.lotteryRow(), 1);
    QCOMPARE(m.registry().at(1).name, QStringLiteral("改名"));
    QCOMPARE(edits(m), (QStringList{"", "", "", ""}));
    QCOMPARE(disabledControls(m), QList<int>{});
}

void TestLotteryManager::addDraw_data()
{
    QTest::addColumn<QString>("issue");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("editsAfter");
    QTest::newRow("no issue") << "" << "123" << "奖期不能为空" << QStringList{"", "123"};
    QTest::newRow("dollar issue") << "d$" << "123" << "奖期不能包含$" << QStringList{"", "123"};
    QTest::newRow("no number") << "d" << "" << "开奖号码不能为空" << QStringList{"d", ""};
    QTest::newRow("short number") << "d" << "12" << "开奖号码必须是3个" << QStringList{"d", ""};
    QTest::newRow("existing issue") << "b" << "123" << "奖期已经存在，请选择其他奖期" << QStringList{"", "123"};
    QTest::newRow("line break in issue") << "2099003\n" << "124" << "奖期包含无法保存的字符：U+000A" << QStringList{"", "124"};
    QTest::newRow("carriage return in issue") << "x\r2020500" << "124" << "奖期包含无法保存的字符：U+000D" << QStringList{"", "124"};
    QTest::newRow("delete character") << "x\x7f" << "124" << "奖期包含无法保存的字符：U+007F" << QStringList{"", "124"};
    QTest::newRow("issue gbk lacks") << "\uAC00" << "124" << "奖期包含无法保存的字符：\uAC00" << QStringList{"", "124"};
    // GBK's encoder takes these, but the file would not read back as it was:
    // U+F8F5 becomes a byte the reader refuses, U+FEFF becomes nothing.
    QTest::newRow("issue that would lock the file") << "x\uF8F5" << "124" << "奖期包含无法保存的字符：U+F8F5" << QStringList{"", "124"};
    QTest::newRow("issue that would lose its mark") << "2020\uFEFF002" << "124" << "奖期包含无法保存的字符：U+FEFF"
                                                    << QStringList{"", "124"};
}

void TestLotteryManager::addDraw()
{
    QFETCH(QString, issue);
    QFETCH(QString, number);
    QFETCH(QString, message);
    QFETCH(QStringList, editsAfter);
    M m(sample());
    QVERIFY(m.setEdits({}, {}, issue, number));
    QCOMPARE(m.addDraw(), QStringList{message});
    QCOMPARE(edits(m).mid(2), editsAfter);
    QCOMPARE(m.registry(), sample());
    QCOMPARE(m.drawEntries().size(), 3);
}

void TestLotteryManager::editModesAndDashedIssue()
{
    M m(sample());
    m.selectLottery(1);
    m.lotteryDoubleClicked();
    QCOMPARE(edits(m), (QStringList{"01", "自定", "", ""}));
    QCOMPARE(disabledControls(m), (QList<int>{1050, 1051, 1054, 1058, 1060}));

    // The other side's double-click frees this side and empties its edits.
    m.selectDraw(0);
    m.lotteryDoubleClicked();
    m.drawDoubleClicked();
    QCOMPARE(edits(m), (QStringList{"", "", "2024-001", "999"}));
    QCOMPARE(disabledControls(m), (QList<int>{1052, 1053, 1056, 1061, 1063, 1064, 1065, 1066, 1067}));

    QVERIFY(m.setEditText(M::NumberEdit, "789"));
    QCOMPARE(m.modifyDraw(), QStringList{});
    QCOMPARE(m.drawEntries(), QStringList{"2024-001 - 789"});
    QCOMPARE(m.registry().at(1).draws, (QList<Draw>{{"2024-001", "789"}}));
    QCOMPARE(disabledControls(m), QList<int>{});
}

void TestLotteryManager::movedDrawsReachTheFileOnlyAfterARebuild_data()
{
    QTest::addColumn<bool>("deleteAnother");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("move only") << false << QByteArray("a$111\r\nb$222\r\nc$333\r\n");
    QTest::newRow("move then delete") << true << QByteArray("b$222\r\na$111\r\n");
}

void TestLotteryManager::movedDrawsReachTheFileOnlyAfterARebuild()
{
    QFETCH(bool, deleteAnother);
    QFETCH(QByteArray, file);
    M m(sample());
    m.selectDraw(1);
    m.moveDrawUp();
    QCOMPARE(m.drawRow(), 0);
    QCOMPARE(m.exportLines(), (QStringList{"b$222", "a$111", "c$333"}));
    if (deleteAnother) {
        m.selectDraw(2);
        m.deleteDraw();
        QCOMPARE(m.drawRow(), 1);
    }
    QTemporaryDir dir;
    QVERIFY(m.save(dir.path()).has_value());
    QCOMPARE(readBytes(drawFilePath(dir.path(), "1")), file);
}

void TestLotteryManager::import_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("added");

    QTest::newRow("stops at a line without $")
        << QStringList{"d$444", " e $ 555 ", "f 666", "g$777"}
        << QStringList{"文件格式不正确，无法导入", "成功导入2期号码"} << QStringList{"d - 444", "e - 555"};
    QTest::newRow("all present, two of them differing")
        << QStringList{"a$111", "", "c$999", "b$000"}
        << QStringList{"2期的开奖号码与本地不同，保留了本地的号码：\nc：本地333，新的999\nb：本地222，新的000",
                       "成功导入0期号码,自动过滤掉3个已存在的奖期号码"}
        << QStringList{};
    QTest::newRow("repeated in the file") << QStringList{"d$444", "d$445", "e$555", "e$555", "a$111"}
                                          << QStringList{"3个号码没有导入：\n"
                                                         "d$444：同一期有不同的开奖号码（444、445），都没有取\n"
                                                         "d$445：同一期有不同的开奖号码（444、445），都没有取\n"
                                                         "e$555：重复出现，只取一次",
                                                         "成功导入1期号码,自动过滤掉1个已存在的奖期号码"}
                                          << QStringList{"e - 555"};
    QTest::newRow("faulty lines") << QStringList{"$123", "h$", "i$12", "j$1$2", "k$12a", "l$１２３", "m$456"}
                                  << QStringList{"奖期为空，无法导入", "h期开奖号码为空，无法导入",
                                                 "i期开奖号码不是3个，无法导入", "j期开奖号码包含$，无法导入",
                                                 "k期开奖号码不是数字，无法导入", "l期开奖号码不是数字，无法导入",
                                                 "成功导入1期号码"}
                                  << QStringList{"m - 456"};
    QTest::newRow("text that cannot be saved") << QStringList{"\uAC00$123", "a\tb$456", "n$789"}
                                               << QStringList{"奖期包含无法保存的字符：\uAC00，无法导入",
                                                              "奖期包含无法保存的字符：U+0009，无法导入", "成功导入1期号码"}
                                               << QStringList{"n - 789"};
    QTest::newRow("text the file would not read back") << QStringList{"o\uF8F5$123", "p$456"}
                                                       << QStringList{"奖期包含无法保存的字符：U+F8F5，无法导入", "成功导入1期号码"}
                                                       << QStringList{"p - 456"};
}

void TestLotteryManager::import()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, added);
    M m(sample());
    m.selectDraw(0);
    m.moveDrawDown();
    QCOMPARE(m.importLines(lines), messages);
    const QStringList expected = QStringList{"b - 222", "a - 111", "c - 333"} + added;
    QCOMPARE(m.drawEntries(), expected);
    QCOMPARE(m.registry().at(0).draws.size(), expected.size());
}

void TestLotteryManager::downloadNumber_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("number");
    QTest::newRow("01") << "01" << 1;
    QTest::newRow("4") << "4" << 4;
    QTest::newRow("leading digits") << "3x" << 3;
    QTest::newRow("5") << "5" << 0;
    QTest::newRow("long") << "100000000000000000001" << 0;
}

void TestLotteryManager::downloadNumber()
{
    QFETCH(QString, id);
    QFETCH(int, number);
    M m(registryOf({{"L", id, {{"old", "000"}}}}));
    const auto got = m.downloadLotteryNumber();
    if (number == 0) {
        QVERIFY(!got.has_value());
        QCOMPARE(got.error(), QStringLiteral(
                                  "目前只支持\"福彩3D\"、\"排列三\"、\"时时乐\"和\"时时彩\"的号码自动更新\n注意:\"福彩3D\"ID"
                                  "必须为1，\"排列三\"ID必须为2，\"时时乐\"ID必须为3，\"时时彩\"ID必须为4，否则无法更新"));
        return;
    }
    QCOMPARE(got.value_or(0), number);
    m.applyDownload({{"n1", "123"}, {"n2", "456"}});
    QCOMPARE(m.drawEntries(), (QStringList{"n1 - 123", "n2 - 456"}));
    QCOMPARE(m.registry().at(0).issues(), (QStringList{"n1", "n2"}));
}

void TestLotteryManager::deleteMoveAndSaveLotteries()
{
    QTemporaryDir dir;
    const QString data = dir.path();
    QVERIFY(
        DataFolderBuilder(data).lottery("1", "福彩3D").lottery("01", "自定", "x$999\r\n").lottery("5", "其他").write());
    M m(loadRegistry(data));
    QCOMPARE(m.deleteLottery(), QStringList{"\"福彩3D\"、\"排列三\"、\"时时乐\"和\"时时彩\"是系统默认彩种，无法删除"});
    m.selectLottery(2);
    m.moveLotteryUp();
    m.moveLotteryUp();
    m.moveLotteryUp();   // already first
    QCOMPARE(m.lotteryEntries(), (QStringList{"5 - 其他", "1 - 福彩3D", "01 - 自定"}));
    m.selectLottery(2);
    QCOMPARE(m.currentId(), QStringLiteral("01"));
    QCOMPARE(m.deleteLottery(), QStringList{});
    QCOMPARE(m.currentId(), QStringLiteral("5"));

    QVERIFY(m.save(data).has_value());
    // Listed in the list's order, though the working copy still holds 1 before 5.
    QCOMPARE(readBytes(registryFilePath(data)), gbk("5$其他\r\n1$福彩3D\r\n"));
    QCOMPARE(readBytes(drawFilePath(data, "01")), QByteArray("x$999\r\n"));
}

void TestLotteryManager::failedSaveChangesNoFile()
{
    QTemporaryDir dir;
    const QString data = dir.path();
    QVERIFY(writeBytes(registryFilePath(data), "01$A\r\n"));
    QVERIFY(writeBytes(drawFilePath(data, "1"), "x$1\r\n"));
    // Nothing can replace a folder standing where the last draw file goes;
    // the draw file written before it keeps its old content all the same.
    QVERIFY(QDir(data).mkdir("lottery_01.data"));
    const auto saved = M(sample()).save(data);
    QVERIFY(!saved.has_value());
    QVERIFY2(saved.error().contains("lottery_01.data"), qPrintable(saved.error()));
    QCOMPARE(readBytes(registryFilePath(data)), QByteArray("01$A\r\n"));
    QCOMPARE(readBytes(drawFilePath(data, "1")), QByteArray("x$1\r\n"));
    QCOMPARE(QDir(data).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{"lottery.data", "lottery_01.data", "lottery_1.data"}));
}

void TestLotteryManager::reAddedLotteryAndItsDrawFile_data()
{
    QTest::addColumn<QByteArray>("file");   // lottery_5.data; "fifo" makes a pipe of it
    QTest::addColumn<bool>("keep");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<bool>("backup");
    const QByteArray old("2024001$123\r\n2024002$456\r\n");
    const QStringList question{"数据文件夹中已有彩票ID为5的开奖号码2期，是否沿用这些号码？"};
    QTest::newRow("keep them") << old << true << question << QStringList{"2024001 - 123", "2024002 - 456"} << old << false;
    QTest::newRow("start empty") << old << false << question << QStringList{} << QByteArray() << true;
    QTest::newRow("empty file") << QByteArray() << true << QStringList{} << QStringList{} << QByteArray() << false;
    QTest::newRow("unreadable") << QByteArray("fifo") << true << QStringList{} << QStringList{} << QByteArray("fifo")
                                << false;
}

void TestLotteryManager::reAddedLotteryAndItsDrawFile()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, keep);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, entries);
    QFETCH(QByteArray, saved);
    QFETCH(bool, backup);
    QTemporaryDir dir;
    const QString path = drawFilePath(dir.path(), "5");
    const bool fifo = file == "fifo";
    if (fifo)
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    else
        QVERIFY(writeBytes(path, file));

    M m(sample());
    QStringList asked;
    QVERIFY(m.setEdits("5", "五", {}, {}));
    const QStringList messages = m.addLottery(dir.path(), [&](const QString &q) {
        asked.append(q);
        return keep;
    });
    QCOMPARE(asked, shown);
    QCOMPARE(m.currentId(), QStringLiteral("5"));
    QCOMPARE(m.drawEntries(), entries);
    if (fifo) {
        const QString problem = QStringLiteral("%1 不是普通文件，无法读取").arg(path);
        QCOMPARE(messages, QStringList{problem});
        QVERIFY(m.setEdits({}, {}, "1", "123"));
        QCOMPARE(m.addDraw(), QStringList{keptUnreadableMessage(problem)});
        QVERIFY(m.save(dir.path()).has_value());
        QVERIFY(QFileInfo(path).exists() && !QFileInfo(path).isFile());
        return;
    }
    QCOMPARE(messages, QStringList{});
    const auto report = m.save(dir.path());
    QVERIFY(report.has_value());
    QCOMPARE(readBytes(path), saved);
    QCOMPARE(report->backups.size(), backup ? 1 : 0);
    if (backup)
        QCOMPARE(readBytes(report->backups.first()), file);
}

void TestLotteryManager::download_data()
{
    using L = QList<Draw>;
    QTest::addColumn<L>("local");
    QTest::addColumn<L>("downloaded");
    QTest::addColumn<bool>("merge");
    QTest::addColumn<bool>("takeNew");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("outcome");   // "downloaded added removed", or the refusal
    QTest::addColumn<L>("after");
    const L local{{"2024199", "111"}, {"2024200", "222"}, {"2024201", "333"}};
    // Newest first, as some servers list them, and an issue older than any held.
    const L shortList{{"2024203", "555"}, {"2024201", "333"}, {"2024100", "000"}};
    const QString lacks = "下载到3期开奖号码（最新一期 2024203）。本地3期中有2期不在下载的号码里。";
    QTest::newRow("only adds") << local << (local + L{{"2024202", "444"}}) << false << false << QString() << "4 1 0"
                               << (local + L{{"2024202", "444"}});
    QTest::newRow("newest first replaces in issue order")
        << local << L{{"2024202", "444"}, {"2024201", "333"}, {"2024200", "222"}, {"2024199", "111"}} << false << false
        << QString() << "4 1 0" << (local + L{{"2024202", "444"}});
    QTest::newRow("short list replaces") << local << shortList << false << false << lacks << "3 2 2"
                                         << L{{"2024100", "000"}, {"2024201", "333"}, {"2024203", "555"}};
    QTest::newRow("short list merges in issue order")
        << local << shortList << true << false << lacks << "3 2 0"
        << L{{"2024100", "000"}, {"2024199", "111"}, {"2024200", "222"}, {"2024201", "333"}, {"2024203", "555"}};
    QTest::newRow("a differing number is kept")
        << local << L{{"2024199", "111"}, {"2024200", "999"}, {"2024201", "333"}} << true << false << QString() << "3 0 0"
        << local;
    QTest::newRow("a differing number is taken when asked")
        << local << L{{"2024199", "111"}, {"2024200", "999"}, {"2024201", "333"}} << false << true << QString() << "3 0 0"
        << L{{"2024199", "111"}, {"2024200", "999"}, {"2024201", "333"}};
    QTest::newRow("issues of fewer digits are left out")
        << local << L{{"24202", "444"}, {"2024202", "555"}} << true << false
        << "下载到2期开奖号码（最新一期 2024202）。本地3期中有3期不在下载的号码里。" << "2 1 0"
        << (local + L{{"2024202", "555"}});
    QTest::newRow("issues not all digits are appended")
        << L{{"b", "111"}, {"a", "222"}} << L{{"c", "333"}, {"a", "222"}} << true << false
        << "下载到2期开奖号码（最新一期 a）。本地2期中有1期不在下载的号码里。" << "2 1 0"
        << L{{"b", "111"}, {"a", "222"}, {"c", "333"}};
    // The server's text is shown as it came: a "%3" in it stays a "%3".
    QTest::newRow("an issue that looks like a place holder")
        << L{{"b", "111"}, {"a", "222"}} << L{{"a", "222"}, {"c%3", "333"}} << true << false
        << "下载到2期开奖号码（最新一期 c%3）。本地2期中有1期不在下载的号码里。" << "2 1 0"
        << L{{"b", "111"}, {"a", "222"}, {"c%3", "333"}};
    QTest::newRow("empty issue refused") << local << L{{"", "123"}} << true << false << QString()
                                         << "服务器的回答不是开奖号码列表" << local;
    QTest::newRow("issue gbk lacks refused") << local << L{{"2024\uAC00", "123"}} << true << false << QString()
                                             << "下载的奖期包含无法保存的字符：\uAC00" << local;
    QTest::newRow("issue with a byte the reader refuses") << local << L{{"2024\uF8F5", "123"}} << true << false
                                                          << QString() << "下载的奖期包含无法保存的字符：U+F8F5" << local;
}

void TestLotteryManager::download()
{
    using L = QList<Draw>;
    QFETCH(L, local);
    QFETCH(L, downloaded);
    QFETCH(bool, merge);
    QFETCH(bool, takeNew);
    QFETCH(QString, question);
    QFETCH(QString, outcome);
    QFETCH(L, after);
    M m(registryOf({{"福彩3D", "1", local}}));
    QCOMPARE(m.downloadQuestion(downloaded).value_or(QString()), question);
    const auto applied = m.applyDownload(downloaded, merge ? M::DownloadMode::Merge : M::DownloadMode::Replace,
                                         takeNew ? Differing::TakeOffered : Differing::KeepHeld);
    if (applied)
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(applied->downloaded).arg(applied->added).arg(applied->removed), outcome);
    else
        QCOMPARE(applied.error(), outcome);
    QCOMPARE(m.registry().at(0).draws, after);
    QCOMPARE(m.drawEntries().size(), after.size());
}


QTEST_APPLESS_MAIN(TestLotteryManager)
#include "tst_lotterymanager.moc"
