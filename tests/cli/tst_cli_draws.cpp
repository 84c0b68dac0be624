#include "CannedHttpServer.h"
#include "StaticHttpServer.h"
#include "TestSupport.h"

#include "core/history/DataFolder.h"

#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace testsupport;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

// Runs the tool while this process keeps serving events, so that a test
// server in it can answer the tool's requests.
Run cli(const QStringList &args, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(NUMSIEVE_CLI_PATH), args);
    if (!QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 60000))
        return {};
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

// numsieve-cli draws: the manager's draw operations for scripts.
class TestCliDraws : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void addAndList();
    void importKeepsTheGoodLines();
    void importTable();
    void exportWritesTheList();
    void download();
    void failedSaveChangesNothing();
    void publishedFeedIsDownloaded();
    void writesWaitForTheWindow();
    void prizesAndCheck_data();
    void prizesAndCheck();
    void everyEntryPassesTheGate_data();
    void everyEntryPassesTheGate();
    void refusalsLeaveEveryFileAsItWas_data();
    void refusalsLeaveEveryFileAsItWas();
    void lockFailuresSayWhy();
    void chosenFolderGetsTheBuiltInLotteries();

private:
    QStringList draws(const QStringList &args) { return QStringList{"draws"} + args + QStringList{"--data", m_data}; }
    QByteArray file(const QString &name) { return readBytes(m_data + '/' + name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_data;
};

void TestCliDraws::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_data = m_dir->filePath("data");
    QVERIFY(DataFolderBuilder(m_data).lottery("1", "福彩3D", "2026001$321\r\n").lottery("7", "自选", "").write());
}

void TestCliDraws::addAndList()
{
    Run r = cli(draws({"add", "--lottery", "7", "2024-001", "357"}));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(file("lottery_7.data"), QByteArray("2024-001$357\r\n"));
    QCOMPARE(file("lottery.data"), gbk("1$福彩3D\r\n7$自选\r\n"));

    // The manager's refusals, word for word, and nothing written.
    r = cli(draws({"add", "--lottery", "7", "2024-001", "111"}));
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QString("奖期已经存在，请选择其他奖期\n"));
    r = cli(draws({"add", "--lottery", "7", "2024-002", "11"}));
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QString("开奖号码必须是3个\n"));
    QCOMPARE(file("lottery_7.data"), QByteArray("2024-001$357\r\n"));
    // What the number edit would never take is a usage error.
    r = cli(draws({"add", "--lottery", "7", "2024-002", "12a"}));
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.startsWith("numsieve-cli: NUMBER takes digits only\n"), qPrintable(r.err));
    QVERIFY(cli(draws({"add", "--lottery", "7", "2024-002", "1234"})).err.startsWith("numsieve-cli: NUMBER takes at most three digits\n"));
    QCOMPARE(cli(draws({"add", "--lottery", "9", "1", "123"})).exitCode, 1);
    QCOMPARE(cli(draws({"list"})).exitCode, 2);

    r = cli(draws({"list", "--lottery", "1"}));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray("2026001$321\n"));
}

void TestCliDraws::importKeepsTheGoodLines()
{
    const QString source = m_dir->filePath("import.txt");
    QVERIFY(writeBytes(source, " 2026002 $ 456 \r\n2026003$45x\r\n2026001$999\r\n2026004$789\r\n"));
    const Run r = cli(draws({"import", "--lottery", "1", source}));
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QString("2026003期开奖号码不是数字，无法导入\n"
                            "1期的开奖号码与本地不同，保留了本地的号码：\n2026001：本地321，新的999\n"
                            "（用 --take-new 换成新的号码 / --take-new takes the new numbers）\n"));
    QCOMPARE(QString::fromUtf8(r.out), QString("成功导入2期号码,自动过滤掉1个已存在的奖期号码\n"));
    QCOMPARE(file("lottery_1.data"), QByteArray("2026001$321\r\n2026002$456\r\n2026004$789\r\n"));

    const Run missing = cli(draws({"import", "--lottery", "1", m_dir->filePath("gone.txt")}));
    QCOMPARE(missing.exitCode, 1);
    QCOMPARE(missing.err, QString("文件不存在\n"));
}

// A table copied from a web page, newest first, with a header, a test
// number and a title line: the dry run lists what the import then writes.
void TestCliDraws::importTable()
{
    const QString source = m_dir->filePath("table.csv");
    QVERIFY(writeBytes(source, gbk("福彩3D开奖\r\n期号,开奖日期,试机号,开奖号码\r\n2026003,2026-01-03,111,789\r\n"
                                   "2026002,2026-01-02,222,456\r\n2026001,2026-01-01,333,321\r\n")));
    const QByteArray stored = file("lottery_1.data");
    const QString head = "第1列为奖期，第4列为开奖号码，新的在前\n读取3期，1行未读取 / 3 draws read, 1 lines not read\n";
    const QString skipped = "第1行未读取：第1列不是奖期：福彩3D开奖\n";

    Run r = cli(draws({"import", "--lottery", "1", source, "--table", "--dry-run"}));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(QString::fromUtf8(r.out), head + "2026002$456\n2026003$789\n"
                                              "试运行，未写入任何文件 / dry run, nothing written: "
                                              "成功导入2期号码,自动过滤掉1个已存在的奖期号码\n");
    QCOMPARE(r.err, skipped);
    QCOMPARE(file("lottery_1.data"), stored);

    r = cli(draws({"import", "--lottery", "1", source, "--table"}));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(QString::fromUtf8(r.out), head + "成功导入2期号码,自动过滤掉1个已存在的奖期号码\n");
    QCOMPARE(r.err, skipped);
    QCOMPARE(file("lottery_1.data"), QByteArray("2026001$321\r\n2026002$456\r\n2026003$789\r\n"));

    // Without --table the same file is no "issue$number" file.
    r = cli(draws({"import", "--lottery", "7", source}));
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QString("文件格式不正确，无法导入\n"));
    QCOMPARE(file("lottery_7.data"), QByteArray());

    QVERIFY(writeBytes(source, "2026004 1 2 3 4\r\n"));
    r = cli(draws({"import", "--lottery", "1", source, "--table"}));
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QString("第1行的开奖号码不是3位数字，不是三位数彩票的开奖号码\n"));
    r = cli(draws({"import", "--lottery", "1", source, "--dry-run"}));
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(file("lottery_1.data"), QByteArray("2026001$321\r\n2026002$456\r\n2026003$789\r\n"));
}

void TestCliDraws::exportWritesTheList()
{
    QCOMPARE(cli(draws({"export", "--lottery", "1", m_dir->filePath("Draws")})).exitCode, 0);
    QCOMPARE(readBytes(m_dir->filePath("Draws.txt")), QByteArray("2026001$321\r\n"));
    QCOMPARE(cli(draws({"export", "--lottery", "1", m_dir->filePath("Two.TXT")})).exitCode, 0);
    QVERIFY(QFile::exists(m_dir->filePath("Two.TXT")));
    const Run r = cli(draws({"export", "--lottery", "1", m_dir->filePath("no/such/folder/x.txt")}));
    QCOMPARE(r.exitCode, 1);
    QVERIFY(!r.err.isEmpty());
}

void TestCliDraws::download()
{
    CannedServer good("2026101$111\r\n\r\n2026102$222\r\n");
    QVERIFY(writeBytes(m_data + "/online.data", "analysis$" + good.host().toLatin1() + "\r\n"));
    // A list that lacks a draw held here is merged in, unless --replace says otherwise.
    Run r = cli(draws({"download", "--lottery", "1"}));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray("downloaded 2, added 2, removed 0\n"));
    QCOMPARE(file("lottery_1.data"), QByteArray("2026001$321\r\n2026101$111\r\n2026102$222\r\n"));
    QCOMPARE(good.requestLines.size(), 1);
    r = cli(draws({"download", "--lottery", "1", "--replace"}));
    QCOMPARE(r.exitCode, 0);
    const QString backup = QDir(numsieve::backupFolderPath(m_data)).entryInfoList(QDir::Files).value(0).filePath();
    QCOMPARE(QString::fromUtf8(r.out), "被替换的开奖号码已备份到 / old draws kept in " + backup
                                           + "\ndownloaded 2, added 0, removed 1\n");
    QCOMPARE(file("lottery_1.data"), QByteArray("2026101$111\r\n2026102$222\r\n"));
    QCOMPARE(readBytes(backup), QByteArray("2026001$321\r\n2026101$111\r\n2026102$222\r\n"));
    QCOMPARE(cli(draws({"add", "--lottery", "1", "--replace", "1", "111"})).exitCode, 2);

    // A login page, or one draw of four digits among good ones: refused whole.
    for (const QByteArray &answer : {QByteArray("<html>login</html>\r\n2026103$12a\r\n"),
                                     QByteArray("2026103$333\r\n2026104$3570\r\n")}) {
        CannedServer portal(answer);
        QVERIFY(writeBytes(m_data + "/online.data", "analysis$" + portal.host().toLatin1() + "\r\n"));
        r = cli(draws({"download", "--lottery", "1"}));
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err, QString("更新服务器无法连接，更新数据无法导入，请稍后再试\n服务器的回答不是开奖号码列表\n"));
        QCOMPARE(file("lottery_1.data"), QByteArray("2026101$111\r\n2026102$222\r\n"));
    }

    r = cli(draws({"download", "--lottery", "7"}));
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.err.startsWith(QString::fromUtf8("目前只支持")));
}

void TestCliDraws::failedSaveChangesNothing()
{
    // A folder stands where lottery 7's draw file would be written.
    QVERIFY(QFile::remove(m_data + "/lottery_7.data"));
    QVERIFY(QDir().mkpath(m_data + "/lottery_7.data"));
    const QByteArray registry = file("lottery.data");
    const Run r = cli(draws({"add", "--lottery", "7", "2024001", "357"}));
    QCOMPARE(r.exitCode, 1);
    QVERIFY(!r.err.isEmpty());
    QCOMPARE(file("lottery.data"), registry);
    QCOMPARE(file("lottery_1.data"), QByteArray("2026001$321\r\n"));
    QVERIFY(QFileInfo(m_data + "/lottery_7.data").isDir());
    QCOMPARE(QDir(m_data).entryList(QDir::Files | QDir::Hidden).size(), 2);   // no temporary file left
}

void TestCliDraws::publishedFeedIsDownloaded()
{
    // A club publishes its draws ...
    QVERIFY(writeBytes(m_data + "/lottery_1.data", "2026001$321\r\n2026002$654\r\n2026003$987\r\n"));
    const QString site = m_dir->filePath("site");
    Run r = cli({"publish", "--data", m_data, "--out", site, "--version", "1.6 Beta", "--purchase", "http://shop/"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray("analyse/issue_3d.jsp\nanalyse/issue_pl3.jsp\nanalyse/issue_ssl.jsp\n"
                               "analyse/issue_ssc.jsp\nsoft/trisift/update.txt\nsoft/trisift/config.txt\n"
                               "soft/trisift/online.jsp\n"));
    QCOMPARE(readBytes(site + "/soft/trisift/update.txt"), QByteArray("1.6 Beta\r\n\r\n"));
    QCOMPARE(readBytes(site + "/soft/trisift/config.txt"), QByteArray("true\r\nhttp://shop/\r\n"));
    QCOMPARE(readBytes(site + "/analyse/issue_ssl.jsp"), QByteArray());

    // ... any web server serves them, and a member's download fetches exactly those draws.
    StaticHttpServer server(site);
    QVERIFY(server.isListening());
    const QString member = m_dir->filePath("member");
    QVERIFY(DataFolderBuilder(member).lottery("1", "3D").write());
    QVERIFY(writeBytes(member + "/online.data", "analysis$" + server.host().toLatin1() + "\r\n"));
    r = cli({"draws", "download", "--lottery", "1", "--data", member});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(readBytes(member + "/lottery_1.data"), file("lottery_1.data"));
    QCOMPARE(server.count("/analyse/issue_3d.jsp"), 1);
    QCOMPARE(cli({"publish", "--data", m_data}).exitCode, 2);
}

void TestCliDraws::writesWaitForTheWindow()
{
    QLockFile window(numsieve::dataLockPath(m_data));   // as the window holds it while it runs
    QVERIFY(window.tryLock(0));
    Run r = cli(draws({"add", "--lottery", "1", "2026002", "555"}));
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, "数据文件夹 " + m_data + " 正在被三位筛号器使用，请先关闭它再修改 / the data folder is in use\n");
    QCOMPARE(file("lottery_1.data"), QByteArray("2026001$321\r\n"));
    // Reading needs no lock.
    QCOMPARE(cli(draws({"list", "--lottery", "1"})).out, QByteArray("2026001$321\n"));
    // --wait waits for the window to let the folder go.
    QProcess waiting;
    waiting.start(QStringLiteral(NUMSIEVE_CLI_PATH), draws({"add", "--lottery", "1", "2026002", "555", "--wait", "30"}));
    QVERIFY(waiting.waitForStarted());
    QTest::qWait(600);
    QCOMPARE(waiting.state(), QProcess::Running);
    window.unlock();
    QVERIFY(waiting.waitForFinished(30000));
    QCOMPARE(waiting.exitCode(), 0);
    QCOMPARE(file("lottery_1.data"), QByteArray("2026001$321\r\n2026002$555\r\n"));
    QCOMPARE(cli(draws({"add", "--lottery", "1", "2026003", "555", "--wait", "x"})).exitCode, 2);
}

void TestCliDraws::chosenFolderGetsTheBuiltInLotteries()
{
    const QString fresh = m_dir->filePath("fresh");
    QVERIFY(QDir().mkpath(fresh));
    const Run r = cli({"draws", "list", "--lottery", "4", "--data", fresh});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(readBytes(fresh + "/lottery.data"), gbk("1$福彩3D\r\n2$排列三\r\n3$时时乐\r\n4$时时彩\r\n"));
    QCOMPARE(readBytes(fresh + "/prize.data"), QByteArray("1$2$1040$346$173\r\n2$2$1040$346$173\r\n"));
    // A registry already there, even an empty one, is the user's.
    QVERIFY(writeBytes(fresh + "/lottery.data", ""));
    QCOMPARE(cli({"draws", "list", "--lottery", "4", "--data", fresh}).exitCode, 1);
    QCOMPARE(readBytes(fresh + "/lottery.data"), QByteArray());
    // A folder chosen in the environment that does not exist yet is made
    // with them.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("NUMSIEVE_DATA", m_dir->filePath("new/data"));
    QCOMPARE(cli({"draws", "list", "--lottery", "4"}, env).exitCode, 0);
    QCOMPARE(readBytes(m_dir->filePath("new/data/lottery.data")), gbk("1$福彩3D\r\n2$排列三\r\n3$时时乐\r\n4$时时彩\r\n"));
}

void TestCliDraws::prizesAndCheck_data()
{
    QTest::addColumn<QByteArray>("prizes");   // prize.data before, "" for none
    QTest::addColumn<QStringList>("args");    // LIST names a list file holding 123 and 321
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QByteArray>("after");    // prize.data after
    const QByteArray set("1$2$1040$346$173\r\n");
    const QString shown = "每注2元，直选1040元，组选三346元，组选六173元\n";
    QTest::newRow("none set") << QByteArray() << QStringList{"draws", "prizes", "--lottery", "1"} << 0
                              << "没有设置奖金 / no prizes set\n" << "" << QByteArray();
    QTest::newRow("set") << QByteArray() << QStringList{"draws", "prizes", "--lottery", "1", "--set", "2,1040,346,173"} << 0
                         << shown << "" << set;
    QTest::newRow("refused") << set << QStringList{"draws", "prizes", "--lottery", "1", "--set", "2,1040,34a,173"} << 1 << ""
                             << "组选三奖金须是1到10000000元的整数\n" << set;
    QTest::newRow("cleared") << QByteArray("1$2$1040$346$173\r\n7$1$9$8$7\r\n")
                             << QStringList{"draws", "prizes", "--lottery", "1", "--set", "none"} << 0
                             << "没有设置奖金 / no prizes set\n" << "" << QByteArray("7$1$9$8$7\r\n");
    // The newest draw, 321, is held in that order by the straight list.
    QTest::newRow("check") << set << QStringList{"check", "--lottery", "1", "LIST"} << 0
                           << "第2026001期开奖号码 321\n" + shown + "LIST：2注（直选），直选中奖，奖金1040元\n" << "" << set;
    QTest::newRow("check as group bets") << set << QStringList{"check", "--lottery", "1", "--kind", "group", "LIST"} << 0
                                         << "第2026001期开奖号码 321\n" + shown + "LIST：2注（组选），组选六中奖，奖金173元\n" << ""
                                         << set;
    QTest::newRow("check, no prizes") << QByteArray() << QStringList{"check", "--lottery", "1", "LIST"} << 0
                                      << "第2026001期开奖号码 321\n"
                                         "没有设置奖金，只对号码 / no prizes set: numbers only (numsieve-cli draws prizes --set)\n"
                                         "LIST：2注（直选），直选中奖\n"
                                      << "" << QByteArray();
    QTest::newRow("check, an issue not held") << set << QStringList{"check", "--lottery", "1", "--issue", "2025001", "LIST"}
                                              << 1 << "" << "没有奖期为 2025001 的开奖号码 / no draw of issue 2025001\n" << set;
}

// The prizes of a lottery, shown and set, and 对奖 of list files with them.
void TestCliDraws::prizesAndCheck()
{
    QFETCH(QByteArray, prizes);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QByteArray, after);
    if (!prizes.isEmpty())
        QVERIFY(writeBytes(m_data + "/prize.data", prizes));
    const QString list = m_dir->filePath("list.txt");
    QVERIFY(writeBytes(list, "123\r\n321\r\n"));
    const Run r = cli(args.replaceInStrings("LIST", list) + QStringList{"--data", m_data});
    QCOMPARE(r.err, err);
    QCOMPARE(QString::fromUtf8(r.out), QString(out).replace("LIST", list));
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(file("prize.data"), after);
}

void TestCliDraws::everyEntryPassesTheGate_data()
{
    QTest::addColumn<QByteArray>("input");   // the file FILE names
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QByteArray>("stored");   // lottery_1.data after; it held 2026001 to 2026003
    const QByteArray held("2026001$321\r\n2026002$654\r\n2026003$987\r\n");
    const QStringList import{"import", "--lottery", "1", "FILE"};
    QTest::newRow("a byte the reader refuses") << QByteArray("2026004\xff$789\r\n") << import << 1 << "成功导入0期号码\n"
                                               << "奖期包含无法保存的字符：U+F8F5，无法导入\n" << held;
    QTest::newRow("a mark inside an issue") << QByteArray() << QStringList{"add", "--lottery", "1", "2026\uFEFF004", "555"} << 1
                                            << "" << "奖期包含无法保存的字符：U+FEFF\n" << held;
    QTest::newRow("older draws go before the newer")
        << QByteArray("2025364$111\r\n2025365$222\r\n2026005$333\r\n") << import << 0
        << "2025364至2025365（共2期）插入到2026001之前\n成功导入3期号码\n" << ""
        << "2025364$111\r\n2025365$222\r\n" + held + "2026005$333\r\n";
    QTest::newRow("an older draw typed") << QByteArray() << QStringList{"add", "--lottery", "1", "2026000", "555"} << 0
                                         << "2026000插入到2026001之前\n" << "" << "2026000$555\r\n" + held;
    QTest::newRow("a differing draw is kept and named")
        << QByteArray("2026002$456\r\n") << import << 0 << "成功导入0期号码,自动过滤掉1个已存在的奖期号码\n"
        << "1期的开奖号码与本地不同，保留了本地的号码：\n2026002：本地654，新的456\n"
           "（用 --take-new 换成新的号码 / --take-new takes the new numbers）\n"
        << held;
    QTest::newRow("a differing draw taken when asked")
        << QByteArray("2026002$456\r\n") << (import + QStringList{"--take-new"}) << 0
        << "BACKUP1期的开奖号码与本地不同，已换成新的号码：\n2026002：本地654，新的456\n成功导入0期号码\n" << ""
        << QByteArray("2026001$321\r\n2026002$456\r\n2026003$987\r\n");
    QTest::newRow("an issue twice with two numbers")
        << QByteArray("2026004$111\r\n2026004$112\r\n2026005$333\r\n") << import << 1 << "成功导入1期号码\n"
        << "2个号码没有导入 / 2 draws not taken：\n2026004$111：同一期有不同的开奖号码（111、112），都没有取\n"
           "2026004$112：同一期有不同的开奖号码（111、112），都没有取\n"
        << held + "2026005$333\r\n";
    QTest::newRow("a table of older draws, tried first")
        << QByteArray("期号,开奖号码\r\n2025002,456\r\n2025001,123\r\n")
        << QStringList{"import", "--lottery", "1", "FILE", "--table", "--dry-run"} << 0
        << "第1列为奖期，第2列为开奖号码，新的在前\n读取2期，0行未读取 / 2 draws read, 0 lines not read\n"
           "2025001$123\n2025002$456\n2025001至2025002（共2期）插入到2026001之前\n"
           "试运行，未写入任何文件 / dry run, nothing written: 成功导入2期号码\n"
        << "" << held;
}

// Typed, imported or read from a table, every draw enters by the same rules:
// nothing the reader would refuse, new draws in issue order, and a number
// that differs from the one held named and kept unless --take-new says.
void TestCliDraws::everyEntryPassesTheGate()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QByteArray, stored);
    QVERIFY(writeBytes(m_data + "/lottery_1.data", "2026001$321\r\n2026002$654\r\n2026003$987\r\n"));
    const QString source = m_dir->filePath("input.txt");
    QVERIFY(writeBytes(source, input));
    const Run r = cli(draws(args.replaceInStrings("FILE", source)));
    QCOMPARE(r.err, err);
    const QString backups = numsieve::backupFolderPath(m_data);
    const QStringList kept = QDir(backups).entryList(QDir::Files);
    if (out.startsWith("BACKUP")) {   // a number replaced: the old file was kept first
        QCOMPARE(kept.size(), 1);
        out.replace("BACKUP", "被替换的开奖号码已备份到 / old draws kept in " + QDir(backups).filePath(kept.first()) + '\n');
    } else {
        QCOMPARE(kept.size(), 0);
    }
    QCOMPARE(QString::fromUtf8(r.out), out);
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(file("lottery_1.data"), stored);
    // Whatever came in, the history reads back.
    QCOMPARE(cli(draws({"list", "--lottery", "1"})).exitCode, 0);
}

void TestCliDraws::refusalsLeaveEveryFileAsItWas_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("err");
    const QString importFile = "IMPORT";   // replaced by the path of a good import file
    QTest::newRow("line break in an issue") << "" << QStringList{"add", "--lottery", "1", "2099003\n", "124"}
                                            << "奖期包含无法保存的字符：U+000A\n";
    QTest::newRow("carriage return in an issue") << "" << QStringList{"add", "--lottery", "1", "x\r2026001", "124"}
                                                 << "奖期包含无法保存的字符：U+000D\n";
    QTest::newRow("draw file unreadable") << "fifo" << QStringList{"add", "--lottery", "1", "2026002", "124"}
                                          << "DATA/lottery_1.data 不是普通文件，无法读取\n"
                                             "为了不丢失其中的数据，在把这个文件移出数据文件夹之前，不能保存。\n";
    QTest::newRow("draw file unreadable, listed") << "fifo" << QStringList{"list", "--lottery", "1"}
                                                  << "DATA/lottery_1.data 不是普通文件，无法读取\n";
    QTest::newRow("registry unreadable") << "registry" << QStringList{"import", "--lottery", "1", importFile}
                                         << "无法读取文件 DATA/lottery.data：既不是GBK也不是UTF-8编码的文本\n"
                                            "为了不丢失其中的数据，在把这个文件移出数据文件夹之前，不能保存。\n";
    QTest::newRow("import whose save fails says no success")
        << "outside" << QStringList{"import", "--lottery", "1", importFile}
        << "DATA/lottery.data 是指向文件夹 DATA 以外的链接，不能保存\n";
}

void TestCliDraws::refusalsLeaveEveryFileAsItWas()
{
    QFETCH(QString, setup);
    QFETCH(QStringList, args);
    QFETCH(QString, err);
    const QString importFile = m_dir->filePath("import.txt");
    QVERIFY(writeBytes(importFile, "2026009$999\r\n"));
    args.replaceInStrings("IMPORT", importFile);
    if (setup == "fifo") {
        QVERIFY(QFile::remove(m_data + "/lottery_1.data"));
        QVERIFY(::mkfifo(QFile::encodeName(m_data + "/lottery_1.data").constData(), 0600) == 0);
    } else if (setup == "registry") {
        QVERIFY(writeBytes(m_data + "/lottery.data", "1$\xFF\xFF\r\n"));
    } else if (setup == "outside") {
        QVERIFY(QFile::rename(m_data + "/lottery.data", m_dir->filePath("lottery.data")));
        QVERIFY(QFile::link(m_dir->filePath("lottery.data"), m_data + "/lottery.data"));
    }
    auto state = [this] {
        QStringList entries;
        for (const QFileInfo &info : QDir(m_data).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot,
                                                                 QDir::Name))
            entries << info.fileName() + (info.isFile() ? ":" + QString::fromLatin1(readBytes(info.filePath()).toHex()) : "");
        return entries;
    };
    const QStringList before = state();
    const Run r = cli(draws(args));
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QString(err).replace("DATA", m_data));
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(state(), before);
}

void TestCliDraws::lockFailuresSayWhy()
{
    // A lock file left empty by a killed program is stale at once.
    QVERIFY(writeBytes(numsieve::dataLockPath(m_data), QByteArray()));
    Run r = cli(draws({"add", "--lottery", "1", "2026002", "555"}));
    QCOMPARE(r.err, QString());
    QCOMPARE(r.exitCode, 0);

    ReadOnlyFolder readOnly(m_data);
    if (!readOnly.effective())
        QSKIP("this machine cannot make a folder read-only");
    r = cli(draws({"add", "--lottery", "1", "2026003", "556"}));
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, "数据文件夹 " + m_data + " 是只读的，不能在其中保存\n");
    QCOMPARE(cli(draws({"list", "--lottery", "1"})).out, QByteArray("2026001$321\n2026002$555\n"));
}


QTEST_GUILESS_MAIN(TestCliDraws)
#include "tst_cli_draws.moc"
