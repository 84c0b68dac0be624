#include "core/Messages.h"
#include "core/Workspace.h"
#include "core/scheme/SchemeFile.h"

#include "CliRun.h"
#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace numsieve;
using namespace testsupport;

namespace {

Run cli(const QStringList &args)
{
    return run(QStringLiteral(NUMSIEVE_CLI_PATH), args);
}

// Chooses the entries with these texts, as a user's selection and 添加 would.
void choose(ListCondition &list, const QStringList &texts)
{
    QList<int> rows;
    for (const QString &t : texts)
        rows.append(int(list.available().indexOf(t)));
    QVERIFY(list.add(rows));
}

QString lines(const QStringList &numbers)
{
    return numbers.isEmpty() ? QString() : numbers.join('\n') + '\n';
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void filter_data();
    void filter();
    void intersect();
    void lotterySelection();
    void schemeErrors();
    void usageErrors();
    void specialFilesAndMissingFolder();
    void info();
    void help_data();
    void help();
    void backtestAndReport();
    void moneyAndComparison();

private:
    QString scheme(const QString &name, const std::function<void(Workspace &)> &setUp);
    QTemporaryDir m_dir;
    QString m_data = m_dir.filePath("data");
};

void TestCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(writeCliDataFolder(m_data, "1$999\r\n"));
}

QString TestCli::scheme(const QString &name, const std::function<void(Workspace &)> &setUp)
{
    Workspace w;
    setUp(w);
    const QString path = m_dir.filePath(name + ".cnd");
    if (!writeSchemeFile(path, buildSchemeText(w)))
        return {};
    return path;
}

void TestCli::filter_data()
{
    QTest::addColumn<QString>("schemePath");
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QStringList>("expected");

    auto positional = [](Workspace &w) {
        w.selection.hundreds.setSelected(1, true);
        w.selection.tens.setSelected(2, true);
        w.selection.tens.setSelected(3, true);
        w.selection.units.setSelected(4, true);
    };
    QTest::newRow("positional, nothing on")
        << scheme("p0", positional) << QStringList{} << QStringList{"124", "134"};
    QTest::newRow("positional, 和值 7") << scheme("p1", [&](Workspace &w) {
        positional(w);
        choose(w.conditions.sum, {"7"});
        w.updateConditionSwitch(2);
    }) << QStringList{} << QStringList{"124"};
    QTest::newRow("selected stage keeps the rejected")
        << scheme("p1b", [&](Workspace &w) {
               positional(w);
               choose(w.conditions.sum, {"7"});
               w.updateConditionSwitch(2);
           })
        << QStringList{"--stage", "selected"} << QStringList{"134"};
    QTest::newRow("group digits, 跨度 1") << scheme("g1", [](Workspace &w) {
        for (int d : {1, 2, 3})
            w.selection.groupDigits.setSelected(d, true);
        w.chooseSelectionPanel(2);
        choose(w.conditions.span, {"1"});
        w.updateConditionSwitch(4);
    }) << QStringList{} << QStringList{"112", "122", "223", "233"};
    QTest::newRow("group digits, group3 list") << scheme("g2", [](Workspace &w) {
        for (int d : {1, 2, 3})
            w.selection.groupDigits.setSelected(d, true);
        w.chooseSelectionPanel(2);
    }) << QStringList{"--list", "group6"} << QStringList{"123"};
    QTest::newRow("banker and drag, group") << scheme("b1", [](Workspace &w) {
        (void)w.selection.toggleBanker(1);
        w.selection.drag.setSelected(1, true);
        w.selection.drag.setSelected(2, true);
        w.selection.bankerType = SelectionType::Group;
        w.chooseSelectionPanel(3);
    }) << QStringList{} << QStringList{"112", "122"};
    QTest::newRow("base file, straight") << scheme("f1", [](Workspace &w) {
        w.selection.baseList(SelectionType::Straight) = {"900", "124", "555"};
        w.chooseSelectionPanel(4);
        choose(w.conditions.repeat, {"无重复号"});
        w.updateConditionSwitch(12);
    }) << QStringList{} << QStringList{"124"};
    // Newest draw 124, the one before 555: history 排除 over two draws drops both.
    QTest::newRow("history 排除 2") << scheme("h1", [](Workspace &w) {
        w.selection.baseList(SelectionType::Straight) = {"124", "555", "321", "777"};
        w.chooseSelectionPanel(4);
        w.conditions.number.historyMode = ListMode::Exclude;
        w.conditions.number.historyDepth = "2";
        w.updateConditionSwitch(1);
    }) << QStringList{} << QStringList{"321", "777"};
    // Old digits are those of 124: 777 is 新新新, 421 is 旧旧旧.
    QTest::newRow("新旧跳 shape") << scheme("n1", [](Workspace &w) {
        w.selection.baseList(SelectionType::Straight) = {"421", "777", "129"};
        w.chooseSelectionPanel(4);
        choose(w.conditions.newOldJumpShape, {"旧旧旧"});
        w.updateConditionSwitch(10);
    }) << QStringList{} << QStringList{"421"};
    // Two tolerable failures (和值, 跨度) pass under " 最多2次" but not " 最多1次".
    auto tolerant = [](int tolerance) {
        return [tolerance](Workspace &w) {
            w.selection.baseList(SelectionType::Straight) = {"999", "000"};
            w.chooseSelectionPanel(4);
            w.toleranceIndex = tolerance;
            choose(w.conditions.sum, {"0"});
            w.updateConditionSwitch(2);
            choose(w.conditions.span, {"9"});
            w.updateConditionSwitch(4);
            w.conditions.tolerable[2] = true;
            w.conditions.tolerable[4] = true;
        };
    };
    QTest::newRow("tolerance 2") << scheme("t2", tolerant(2)) << QStringList{} << QStringList{"000", "999"};
    QTest::newRow("tolerance 1") << scheme("t1", tolerant(1)) << QStringList{} << QStringList{"000"};
    QTest::newRow("advanced condition") << scheme("a1", [](Workspace &w) {
        w.selection.hundreds.setSelected(9, true);
        w.selection.tens.selectAll();
        w.selection.units.setSelected(9, true);
        w.conditions.advanced.conditionText = "和值[0]>和值[1]+18;\r\n";   // newest draw 124 has sum 7
        w.updateConditionSwitch(15);
    }) << QStringList{} << QStringList{"989", "999"};
}

void TestCli::filter()
{
    QFETCH(QString, schemePath);
    QFETCH(QStringList, extra);
    QFETCH(QStringList, expected);
    QVERIFY(!schemePath.isEmpty());
    const Run r = cli(QStringList{"filter", "--scheme", schemePath, "--data", m_data} + extra);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, lines(expected));
}

void TestCli::intersect()
{
    const QString path = scheme("i1", [](Workspace &w) {
        w.selection.hundreds.setSelected(1, true);
        w.selection.tens.selectAll();
        w.selection.units.setSelected(4, true);
    });
    const QString a = m_dir.filePath("a.txt"), b = m_dir.filePath("b.txt"), bad = m_dir.filePath("bad.txt");
    QVERIFY(writeBytes(a, "1 2 4\r\n999\r\n"));
    QVERIFY(writeBytes(b, "1,5,4\r\n"));
    QVERIFY(writeBytes(bad, "1.4\r\n"));
    Run r = cli({"filter", "--scheme", path, "--data", m_data, "--intersect", a, "--intersect", b});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QString("124\n154\n"));
    r = cli({"filter", "--scheme", path, "--data", m_data, "--intersect", a, "--stage", "filtered"});
    QCOMPARE(r.out.count('\n'), 9);
    r = cli({"filter", "--scheme", path, "--data", m_data, "--intersect", bad});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QString("号码不是数字，无法导入\n"));
    QCOMPARE(r.out, QString());
}

void TestCli::lotterySelection()
{
    const QString path = scheme("l1", [](Workspace &w) {
        w.selection.baseList(SelectionType::Straight) = {"999", "124"};
        w.chooseSelectionPanel(4);
        w.conditions.number.historyDepth = "1";
        w.updateConditionSwitch(1);
    });
    QCOMPARE(cli({"filter", "--scheme", path, "--data", m_data}).out, QString("124\n"));
    QCOMPARE(cli({"filter", "--scheme", path, "--data", m_data, "--lottery", "7"}).out, QString("999\n"));
    const Run r = cli({"filter", "--scheme", path, "--data", m_data, "--lottery", "01"});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.err.contains("01"));
}

void TestCli::schemeErrors()
{
    Run r = cli({"filter", "--scheme", m_dir.filePath("missing.cnd"), "--data", m_data});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QString("文件不存在\n"));
    QCOMPARE(r.out, QString());

    const QString bad = m_dir.filePath("bad.cnd");
    QVERIFY(writeBytes(bad, "0\r\n1\r\nAdvanced\r\n"));
    r = cli({"filter", "--scheme", bad, "--data", m_data});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QString("文件格式不正确，无法导入\n"));

    const QString runaway = scheme("a2", [](Workspace &w) {
        w.selection.units.setSelected(1, true);
        w.conditions.advanced.conditionText = "号码[31][1]>0;\r\n";
        w.updateConditionSwitch(15);
    });
    r = cli({"filter", "--scheme", runaway, "--data", m_data});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QString("高级条件不完整或格式错误，无法进行过滤，请先检查并修改条件\n"));
}

void TestCli::usageErrors()
{
    for (const QStringList &args : QList<QStringList>{{},
                                                      {"sieve"},
                                                      {"filter"},
                                                      {"filter", "--scheme"},
                                                      {"filter", "--scheme", "x.cnd", "--list", "all"},
                                                      {"filter", "--scheme", "x.cnd", "--stage", "done"},
                                                      {"filter", "--scheme", "x.cnd", "--bogus"},
                                                      {"info"},
                                                      {"info", "1000"},
                                                      {"info", "12a"}}) {
        const Run r = cli(args);
        QVERIFY2(r.exitCode == 2, qPrintable(args.join(' ')));
        QVERIFY(!r.err.isEmpty());
        QCOMPARE(r.out, QString());
    }
}

void TestCli::specialFilesAndMissingFolder()
{
    const QString p0 = scheme("plain", [](Workspace &) {});
    const QString fifo = m_dir.filePath("pipe");
    QVERIFY(QProcess::execute("mkfifo", {fifo}) == 0);
    const QString missing = m_dir.filePath("no-such-folder");
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"filter", "--scheme", "/dev/zero", "--data", m_data}, "/dev/zero 不是普通文件，无法读取"},
        {{"filter", "--scheme", fifo, "--data", m_data}, fifo + " 不是普通文件，无法读取"},
        {{"filter", "--scheme", p0, "--data", m_data, "--intersect", "/dev/urandom"}, "/dev/urandom 不是普通文件，无法读取"},
        {{"info", "123", "--data", missing}, "数据文件夹 " + missing + " 不存在 / no such data folder"},
        {{"draws", "list", "--lottery", "1", "--data", missing}, "数据文件夹 " + missing + " 不存在 / no such data folder"},
    };
    for (const auto &c : cases) {
        const Run r = cli(c.args);
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err, c.message + '\n');
    }
    // The draw file of a lottery may be a pipe too: that is no empty
    // history, and nothing is counted from it as if it were.
    QVERIFY(QFile::rename(m_data + "/lottery_7.data", m_data + "/lottery_7.keep"));
    QVERIFY(QProcess::execute("mkfifo", {m_data + "/lottery_7.data"}) == 0);
    const Run r = cli({"info", "999", "--data", m_data, "--lottery", "7"});
    QVERIFY(QFile::remove(m_data + "/lottery_7.data"));
    QVERIFY(QFile::rename(m_data + "/lottery_7.keep", m_data + "/lottery_7.data"));
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, m_data + "/lottery_7.data 不是普通文件，无法读取\n");
    QCOMPARE(r.out, QString());
    QVERIFY(!QFileInfo::exists(missing));
}

void TestCli::info()
{
    Run r = cli({"info", "124", "--data", m_data});
    QCOMPARE(r.exitCode, 0);
    const QStringList l = r.out.split('\n');
    QCOMPARE(l.size(), 25);
    QCOMPARE(l.at(0), QString("号码　　　　124"));
    QCOMPARE(l.at(1), QString("和值　　　　7"));
    QCOMPARE(l.at(18), QString("开出次数　　1(33.33%)"));
    QCOMPARE(l.at(19), QString("本期遗漏　　0"));
    QCOMPARE(l.at(20), QString("上期遗漏　　2"));

    // A group number is shown in ascending digit order, as the popup of a group cell shows it.
    r = cli({"info", "321", "--group", "--data", m_data});
    QCOMPARE(r.out.split('\n').at(0), QString("号码　　　　123"));
    QCOMPARE(r.out.split('\n').at(18), QString("开出次数　　1(33.33%)"));
    QCOMPARE(r.out.split('\n').at(19), QString("本期遗漏　　2"));
}

void TestCli::help_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("usage");     // the first usage line
    QTest::addColumn<QString>("section");   // a line of the command's own section
    QTest::newRow("all") << QStringList{"--help"} << "  numsieve-cli filter --scheme FILE [--data DIR] [--lottery ID] [--intersect FILE]..."
                         << "  numsieve-cli info NUMBER [--group] [--data DIR] [--lottery ID]";
    const std::pair<const char *, QStringList> commands[] = {
        {"filter", {"filter", "--help"}},     {"info", {"info", "-h"}},
        {"draws", {"draws", "--help"}},       {"draws", {"draws", "add", "--lottery", "1", "--help"}},
        {"draws", {"draws", "download", "--help"}}, {"draws", {"draws", "list", "--help"}},
        {"draws", {"draws", "import", "--help"}},   {"draws", {"draws", "export", "-h"}},
        {"publish", {"publish", "--help"}},
        {"backtest", {"backtest", "--help"}}, {"report", {"report", "--scheme", "x.cnd", "--help"}},
        {"trend", {"trend", "--help"}},
    };
    for (const auto &[command, args] : commands)
        QTest::newRow(qPrintable(args.join(' '))) << args << QStringLiteral("  numsieve-cli %1 ").arg(command)
                                                  << QString(command);
}

void TestCli::help()
{
    QFETCH(QStringList, args);
    QFETCH(QString, usage);
    QFETCH(QString, section);
    const Run r = cli(args);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QString());
    const QStringList lines = r.out.split('\n');
    QVERIFY2(lines.value(0) == "numsieve-cli — 三位筛号器命令行工具 / NumSieve command-line tool"
                 || (lines.value(0) == "用法 / Usage:" && lines.value(1).startsWith(usage)),
             qPrintable(r.out));
    QVERIFY2(std::ranges::any_of(lines, [&](const QString &l) { return l.startsWith(section); }), qPrintable(r.out));
    if (args.size() > 1) {
        QVERIFY2(!r.out.contains("numsieve-cli publish") || section == "publish", qPrintable(r.out));
        return;
    }
    // The window answers --help and --version without a display.
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    noDisplay.insert("QT_QPA_PLATFORM", "xcb");
    noDisplay.remove("DISPLAY");
    noDisplay.remove("WAYLAND_DISPLAY");
    for (const char *option : {"--help", "--version"}) {
        const Run window = run(QStringLiteral(NUMSIEVE_GUI_PATH), {QString::fromLatin1(option)}, noDisplay);
        QCOMPARE(window.exitCode, 0);
        QCOMPARE(window.err, QString());
        QVERIFY2(window.out.startsWith("numsieve") || window.out.startsWith("三位筛号器"), qPrintable(window.out));
    }
}

void TestCli::backtestAndReport()
{
    // Only sums of 6 survive: of 321, 555 and 124 (oldest first) 321 hits.
    const QString path = scheme("bt", [](Workspace &w) {
        w.selection.hundreds.selectAll();
        w.selection.tens.selectAll();
        w.selection.units.selectAll();
        w.addEntries(2, 0, {int(w.conditions.lists(2)[0]->available().indexOf("6"))});
    });
    Run r = cli({"backtest", "--scheme", path, "--data", m_data, "--last", "9", "--format", "json"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QString("只有3期开奖号码，回测3期 / only 3 draws, back-testing 3\n"));
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(o.value("last").toInt(), 3);
    QCOMPARE(o.value("hits").toInt(), 1);
    QCOMPARE(o.value("expected_hits").toDouble(), 0.084);
    QCOMPARE(o.value("mean_survivors").toDouble(), 28.0);
    const QJsonArray steps = o.value("steps").toArray();
    QCOMPARE(steps.size(), 3);
    QCOMPARE(steps[0].toObject().value("issue").toString(), QString("2026001"));
    QCOMPARE(steps[0].toObject().value("hit").toBool(), true);
    QCOMPARE(steps[2].toObject().value("number").toString(), QString("124"));
    QCOMPARE(steps[2].toObject().value("survivors").toInt(), 28);
    const QJsonObject condition = o.value("conditions").toArray().at(0).toObject();
    QCOMPARE(condition.value("condition").toInt(), 2);
    QCOMPARE(condition.value("kills").toInt(), 2);

    r = cli({"backtest", "--scheme", path, "--data", m_data, "--last", "1", "--format", "csv"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.out.startsWith("issue,number,survivors,chance,hit\n2026003,124,28,0.028,0\n\n"), qPrintable(r.out));

    r = cli({"report", "--scheme", path, "--data", m_data});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out.split('\n').mid(2, 3), QStringList({"选号" + QString(26, ' ') + "1000",
                                                      "和值和尾             972        28",
                                                      "容错后结果" + QString(22, ' ') + "28"}));

    // A script condition that had to be stopped ends either command with its message.
    const QString hostile = QFINDTESTDATA("data/hostile/endless-precheck.cnd");
    r = cli({"backtest", "--scheme", hostile, "--data", m_data, "--last", "3"});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, msg::kAdvancedTimeout + '\n');
    r = cli({"report", "--scheme", hostile, "--data", m_data});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, msg::kAdvancedTimeout + '\n');

    QCOMPARE(cli({"backtest", "--scheme", path, "--data", m_data, "--last", "-1"}).exitCode, 2);
    QCOMPARE(cli({"report", "--scheme", path, "--format", "xml"}).exitCode, 2);
    QCOMPARE(cli({"report", "--scheme", path, "--last", "3"}).exitCode, 2);
}

// With prizes set, what the lists would have cost and paid beside random
// lists of their sizes; several schemes side by side with the best-of-k chance.
void TestCli::moneyAndComparison()
{
    QVERIFY(writeBytes(m_data + "/prize.data", "1$2$1040$346$173\r\n"));
    const auto sumSix = [](Workspace &w) {
        w.addEntries(2, 0, {int(w.conditions.lists(2)[0]->available().indexOf("6"))});
    };
    // 28 straight numbers sum to 6, and 321 hits; as group entries they are
    // 006 015 024 033 114 123, three of each kind, and 321 hits as 组六.
    const QString straight = scheme("straight", [&](Workspace &w) {
        w.selection.hundreds.selectAll();
        w.selection.tens.selectAll();
        w.selection.units.selectAll();
        sumSix(w);
    });
    const QString group = scheme("group", [&](Workspace &w) {
        w.chooseSelectionPanel(2);
        w.selection.groupDigits.selectAll();
        sumSix(w);
    });
    const struct {
        QString scheme;
        double spent, won, expectedWon, pWon;
    } cases[] = {
        {straight, 168, 1040, 3 * 28 * 1.04, 1 - std::pow(0.972, 3)},
        {group, 36, 173, 3 * (3 * 3 * 0.346 + 3 * 6 * 0.173), 1 - std::pow(1 - 0.027, 3)},
    };
    for (const auto &c : cases) {
        const Run r = cli({"backtest", "--scheme", c.scheme, "--data", m_data, "--last", "3", "--format", "json"});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject money = QJsonDocument::fromJson(r.out.toUtf8()).object().value("money").toObject();
        QCOMPARE(money.value("spent").toDouble(), c.spent);
        QCOMPARE(money.value("won").toDouble(), c.won);
        QVERIFY(qAbs(money.value("expected_won").toDouble() - c.expectedWon) < 1e-9);
        QVERIFY(qAbs(money.value("p_won").toDouble() - c.pWon) < 1e-12);
    }
    Run r = cli({"backtest", "--scheme", straight, "--data", m_data, "--last", "1", "--format", "csv"});
    QVERIFY2(r.out.startsWith("issue,number,survivors,chance,hit,cost,won\n2026003,124,28,0.028,0,56,0\n\n"), qPrintable(r.out));
    r = cli({"report", "--scheme", straight, "--data", m_data});
    QVERIFY2(r.out.contains("买下结果：28注，投入56元；随机选同样多的号码平均中奖29.12元，回报率52.00%\n"), qPrintable(r.out));

    // Two schemes over the same three draws, one hit each: the group one,
    // covering fewer draws, is the less likely by chance, and the best of two
    // by luck is 1 − (1 − p)².
    r = cli({"backtest", "--scheme", straight, "--scheme", group, "--data", m_data, "--last", "3", "--format", "json"});
    QCOMPARE(r.exitCode, 0);
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(o.value("schemes").toArray().size(), 2);
    QCOMPARE(o.value("best").toString(), QString("group"));
    const double p = 1 - std::pow(0.973, 3);
    QVERIFY(qAbs(o.value("best_by_luck").toDouble() - (1 - (1 - p) * (1 - p))) < 1e-12);
    r = cli({"backtest", "--scheme", straight, "--scheme", group, "--data", m_data, "--last", "3"});
    QVERIFY2(r.out.contains("最好的方案：group（偶然概率0.07883）。2个方案中最好的一个，靠运气也至少这么好的概率：0.1515"),
             qPrintable(r.out));

    QVERIFY(QFile::remove(m_data + "/prize.data"));
    r = cli({"backtest", "--scheme", straight, "--data", m_data, "--last", "3"});
    QVERIFY(r.out.contains("没有设置这个彩种的奖金，只统计命中"));
    QCOMPARE(cli({"report", "--scheme", straight, "--scheme", group, "--data", m_data}).exitCode, 2);
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
