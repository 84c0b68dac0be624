#include "core/analysis/Backtest.h"
#include "gui/analysis/CDialogBacktest.h"
#include "gui/analysis/CDialogCheck.h"
#include "gui/analysis/CDialogCompare.h"
#include "gui/analysis/CDialogFilterReport.h"
#include "gui/analysis/CsvExport.h"
#include "core/analysis/Money.h"
#include "gui/app/CMyNumSieveDlg.h"
#include "core/results/NumberListFile.h"
#include "core/scheme/SchemeFile.h"
#include "core/script/ScriptConditionRunner.h"

#include "AnalysisFixture.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "WorkspaceFingerprint.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace numsieve;
using namespace numsieve::gui;
using namespace guitest;
using namespace testsupport;

namespace {

constexpr int kSteps = 20;
const QString kNoPrizes = "没有设置这个彩种的奖金，只统计命中。在彩票管理中按“奖金...”设置后，也算投入和中奖。";
const QByteArray kPrizeLine = "1$2$1040$346$173\r\n";

QPointF lastPoint(QChartView *view, int series)
{
    const auto *line = qobject_cast<QLineSeries *>(view->chart()->series().value(series));
    return line && line->count() > 0 ? line->at(line->count() - 1) : QPointF(-1, -1);
}

} // namespace

// What the money windows show, 对奖 and 方案对比, against the core's own
// figures for a small history whose newest draws are 112, 777 and 381.
class TestMoneyGui : public AnalysisFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void backtestAndReportMoney_data();
    void backtestAndReportMoney();
    void checkLists_data();
    void checkLists();
    void compareSchemes();
    void stoppedComparisonShowsNothing_data();
    void stoppedComparisonShowsNothing();

private:
    QString data(const QString &name) const { return m_dir->filePath("data/" + name); }
    // A scheme file of the window's state, changed by `change`.
    QString schemeFile(const QString &name, const std::function<void(Workspace &)> &change = {});
};

void TestMoneyGui::init()
{
    QList<Draw> draws = seededDraws(20260301, 197, 2026001);
    for (const char *number : {"112", "777", "381"}) // the newest three
        draws.append({QString::number(2026001 + draws.size()), number});
    QVERIFY(writeFolder(draws));
    QVERIFY(writeBytes(data("prize.data"), kPrizeLine));
    Workspace &ws = openWindow();
    chooseDigitsSumAndSpan(ws);
    ws.selection.groupDigits.selectAll();
    m_window->refreshPanels();
}

QString TestMoneyGui::schemeFile(const QString &name, const std::function<void(Workspace &)> &change)
{
    Workspace scheme = m_window->workspace();
    if (change)
        change(scheme);
    const QString path = m_dir->filePath(name + ".cnd");
    return writeSchemeFile(path, buildSchemeText(scheme)) ? path : QString();
}

void TestMoneyGui::backtestAndReportMoney_data()
{
    QTest::addColumn<bool>("group");
    QTest::addColumn<QByteArray>("prizeFile");
    QTest::addColumn<QString>("averageReturn");   // of random lists, as the prize table gives it
    QTest::newRow("straight") << false << kPrizeLine << "52.00%";
    // 组选三 pays 346 for 3 draws in 1000, 组选六 173 for 6: both 51.9% of the price.
    QTest::newRow("group") << true << kPrizeLine << "51.90%";
    QTest::newRow("no prizes") << false << QByteArray("2$2$1040$346$173\r\n") << QString();
    QTest::newRow("prize file not GBK") << false << QByteArray("1$2$1040$346$173\xff\xff\r\n") << QString();
}

void TestMoneyGui::backtestAndReportMoney()
{
    QFETCH(bool, group);
    QFETCH(QByteArray, prizeFile);
    QFETCH(QString, averageReturn);
    QVERIFY(writeBytes(data("prize.data"), prizeFile));
    const PrizeFile loaded = loadPrizeFile(m_dir->filePath("data"));
    const std::optional<Prizes> prizes = loaded.prizesOf("1");
    QCOMPARE(prizes.has_value(), !averageReturn.isEmpty());
    const QString noPrizes =
        loaded.readProblem.isEmpty() ? kNoPrizes : loaded.readProblem + "\n奖金文件无法读取，只统计命中。";
    QCOMPARE(loaded.readProblem.contains("prize.data"), QTest::currentDataTag() == QString("prize file not GBK"));
    if (group) {
        m_window->workspace().chooseSelectionPanel(2);
        m_window->refreshPanels();
    }
    CMyNumSieveDlg &w = *m_window;
    const QString before = workspaceFingerprint(w.workspace());

    ScriptConditionRunner runner;
    BacktestResult expected = runBacktest(w.workspace(), m_draws, {}, kSteps, &runner);
    QCOMPARE(expected.last(), kSteps);
    QVERIFY(expected.hits > 0);
    expected.prizes = prizes;
    const MoneySummary money = backtestMoney(expected);
    FilterReport report = runFilterReport(w.workspace(), {}, &runner);
    report.prizes = prizes;

    m_services.saveAnswers << m_dir->filePath("回测") << m_dir->filePath("报告");
    m_services.whileModal = [&](QDialog *dialog) {
        if (auto *r = qobject_cast<CDialogFilterReport *>(dialog)) {
            const QString line = filterReportMoneyText(report);
            QCOMPARE(line.startsWith("买下结果："), prizes.has_value());
            QCOMPARE(r->moneyLabel()->text(), prizes ? line : noPrizes);
            if (prizes)
                QVERIFY(line.endsWith("回报率" + averageReturn));
            QTest::mouseClick(r->exportButton(), Qt::LeftButton);
            QStringList lines = filterReportCsvLines(report);
            QCOMPARE(lines.first(), QString("step,name,failing,survivors"));
            lines.first() = "步骤,条件,单独淘汰,累计剩余";
            lines[1].replace(0, 8, "选号");
            const qsizetype result = lines.indexOf("result,容错后结果,," + QString::number(report.survivors));
            QVERIFY(result > 1);
            lines[result].replace(0, 6, "结果");
            QCOMPARE(lines.size(), result + (prizes ? 4 : 1));
            if (prizes) {
                QCOMPARE(lines.at(result + 2), QString("bets,cost,expected_won,expected_return"));
                lines[result + 2] = "注数,投入,随机平均中奖,随机平均回报率";
            }
            QCOMPARE(readBytes(m_dir->filePath("报告.csv")), gbk(lines.join("\r\n") + "\r\n"));
            return;
        }
        auto *backtest = qobject_cast<CDialogBacktest *>(dialog);
        QVERIFY(backtest);
        backtest->countBox()->setValue(kSteps);
        QSignalSpy finished(backtest, &CDialogBacktest::runFinished);
        backtest->start();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWait);
        QCOMPARE(backtest->summaryText(CDialogBacktest::Hits), QString::number(expected.hits));

        // Said once: the prizes, or why there are none.
        QCOMPARE(backtest->prizesLabel()->text(),
                 prizes ? QString("奖金：每注2元，直选1040元，组选三346元，组选六173元") : noPrizes);
        QCOMPARE(backtest->moneyCaption(CDialogBacktest::Spent)->isHidden(), !prizes);
        QCOMPARE(backtest->moneyChart()->isHidden(), !prizes);
        const QStringList note = backtest->noteLabel()->text().split('\n');
        QCOMPARE(note.size(), prizes ? 5 : 3);
        QVERIFY(note.last().startsWith(prizes ? "中奖偶然概率：每期都随便选同样多的号码时" : "偶然达到概率："));
        if (prizes) {
            QCOMPARE(backtest->moneyText(CDialogBacktest::Spent), QString("%1元").arg(money.spent));
            QCOMPARE(money.spent, qint64(expected.meanSurvivors * kSteps + 0.5) * 2);
            QCOMPARE(backtest->moneyText(CDialogBacktest::Won), QString("%1元").arg(money.won));
            QVERIFY(money.won > 0);
            QCOMPARE(backtest->moneyText(CDialogBacktest::ReturnRate), percentText(money.returnRate()));
            QCOMPARE(backtest->moneyText(CDialogBacktest::ExpectedWon),
                     QString("%1元（回报率%2）").arg(QString::number(money.expectedWon, 'f', 2), averageReturn));
            QCOMPARE(backtest->moneyText(CDialogBacktest::PWon), chanceText(money.pAtLeast));
            QVERIFY(money.pAtLeast > 0 && money.pAtLeast < 1);
            // The chart ends where the sums do.
            QCOMPARE(lastPoint(backtest->moneyChart(), 0), QPointF(kSteps, double(money.spent)));
            QCOMPARE(lastPoint(backtest->moneyChart(), 1), QPointF(kSteps, double(money.won)));
            QCOMPARE(lastPoint(backtest->moneyChart(), 2).x(), double(kSteps));
            QVERIFY(qFuzzyCompare(lastPoint(backtest->moneyChart(), 2).y(), money.expectedWon));
        }

        QTest::mouseClick(backtest->exportButton(), Qt::LeftButton);
        QStringList lines = backtestCsvLines(expected);
        const qsizetype summary = lines.size() - 2;
        if (prizes) {
            QCOMPARE(lines.at(0), QString("issue,number,survivors,chance,hit,cost,won"));
            QCOMPARE(lines.at(summary), QString("last,hits,hit_rate,expected_hits,lift,p_chance,mean_survivors,message,"
                                                "spent,won,return,expected_won,expected_return,p_won"));
            lines[0] = "期号,开奖号码,剩余注数,偶然命中概率,命中,投入,中奖";
            lines[summary] = "回测期数,命中,命中率,期望命中,提升倍数,偶然达到概率,平均注数,中止原因,"
                             "投入,中奖,回报率,随机平均中奖,随机平均回报率,中奖偶然概率";
        } else {
            lines[0] = "期号,开奖号码,剩余注数,偶然命中概率,命中";
            lines[summary] = "回测期数,命中,命中率,期望命中,提升倍数,偶然达到概率,平均注数,中止原因";
        }
        lines[kSteps + 2] = "条件编号,条件,淘汰开奖号,平均淘汰比例";
        QCOMPARE(readBytes(m_dir->filePath("回测.csv")), gbk(lines.join("\r\n") + "\r\n"));
    };
    triggerMoreItem(w, CMyNumSieveDlg::IdBacktest, "方案回测...");
    triggerMoreItem(w, CMyNumSieveDlg::IdFilterReport, "过滤报告...");
    QCOMPARE(m_services.modalDialogs, QStringList({"方案回测", "过滤报告"}));
    QVERIFY(m_services.warnings.isEmpty());
    QCOMPARE(workspaceFingerprint(w.workspace()), before);
}

void TestMoneyGui::checkLists_data()
{
    QTest::addColumn<bool>("group");
    QTest::addColumn<int>("issue");   // 0 the newest (381), 1 (777), 2 (112)
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("kind");          // the 类型 chosen: -1 as guessed, 0 直选, 1 组选
    QTest::addColumn<QStringList>("row");   // 类型, 注数, 含开奖号码吗, 对奖结果
    QTest::newRow("group file") << false << 0 << QByteArray("138\r\n245\r\n") << -1
                                << QStringList{"组选", "2", "含组选六 138", "组选六中奖，奖金173元"};
    QTest::newRow("straight file") << true << 0 << QByteArray("381\r\n999\r\n000\r\n") << -1
                                   << QStringList{"直选", "3", "含开奖号码 381", "直选中奖，奖金1040元"};
    QTest::newRow("group file taken as straight")
        << false << 0 << QByteArray("138\r\n") << 0 << QStringList{"直选", "1", "不含开奖号码", "未中奖"};
    QTest::newRow("group three, an older issue") << true << 2 << QByteArray("345\n112\n") << -1
                                                 << QStringList{"组选", "2", "含组选三 112", "组选三中奖，奖金346元"};
    QTest::newRow("a triple pays no group") << false << 1 << QByteArray("077\r\n777\r\n") << 1
                                            << QStringList{"组选", "2", "开奖号码是豹子，组选不中", "未中奖"};
    QTest::newRow("not a number file") << false << 0 << QByteArray("381\r\n38x\r\n") << -1 << QStringList();
}

void TestMoneyGui::checkLists()
{
    QFETCH(bool, group);
    QFETCH(int, issue);
    QFETCH(QByteArray, file);
    QFETCH(int, kind);
    QFETCH(QStringList, row);
    CMyNumSieveDlg &w = *m_window;
    if (group) {
        w.workspace().chooseSelectionPanel(2);
        w.refreshPanels();
    }
    w.runCommand(CMyNumSieveDlg::IdSelect);
    w.runCommand(CMyNumSieveDlg::IdFilter);
    const QString path = m_dir->filePath("号码.txt");
    QVERIFY(writeBytes(path, file));
    m_services.openAnswers << path;

    // The filtered list of the view mode, checked by the core.
    const Draw &draw = m_draws.at(m_draws.size() - 1 - issue);
    const QStringList filtered =
        w.workspace().tables.extract(group ? ListKind::Group : ListKind::Straight, ResultStage::Filtered);
    QVERIFY(!filtered.isEmpty());
    QList<int> numbers;
    for (const QString &n : filtered)
        numbers.append(n.toInt());
    const Prizes prizes{2, 1040, 346, 173};
    const ListCheck stage = checkList(group ? BetKind::Group : BetKind::Straight, numbers, draw.number.toInt(), prizes);

    m_services.whileModal = [&](QDialog *dialog) {
        auto *check = qobject_cast<CDialogCheck *>(dialog);
        QVERIFY(check);
        QCOMPARE(check->issueBox()->currentText(), QString("2026200"));
        check->issueBox()->setCurrentIndex(issue);
        const QStringList kinds{"（组选六）", "（豹子）", "（组选三）"};
        QCOMPARE(check->drawLabel()->text(), "开奖号码 " + draw.number + kinds.at(issue));
        // The furthest stage the numbers reached is ticked; 交集 has none.
        QVERIFY(!check->stageBox(ResultStage::Selected)->isChecked());
        QVERIFY(check->stageBox(ResultStage::Filtered)->isChecked());
        QVERIFY(!check->stageBox(ResultStage::Intersected)->isEnabled());
        QCOMPARE(check->stageBox(ResultStage::Filtered)->text(), QString("过滤（%1注）").arg(filtered.size()));

        QTest::mouseClick(check->addFileButton(), Qt::LeftButton);
        QTableWidget *table = check->table();
        if (row.isEmpty()) {
            QCOMPARE(m_services.warnings, QStringList{path + "：" + readNumberListFile(path).error()});
            QCOMPARE(table->rowCount(), 1);
            return;
        }
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(cellText(table, 0, CDialogCheck::ListName), QString("当前过滤"));
        QCOMPARE(cellText(table, 0, CDialogCheck::Kind), QString(group ? "组选" : "直选"));
        QCOMPARE(cellText(table, 0, CDialogCheck::Bets), QString::number(filtered.size()));
        QCOMPARE(cellText(table, 0, CDialogCheck::Result), checkText(stage, draw.number.toInt(), true));
        QCOMPARE(cellText(table, 1, CDialogCheck::ListName), QString("号码.txt"));
        if (kind >= 0)
            check->kindBox(1)->setCurrentIndex(kind);
        QCOMPARE(check->kindBox(1)->currentText(), row.at(0));
        QCOMPARE((QStringList{cellText(table, 1, CDialogCheck::Kind), cellText(table, 1, CDialogCheck::Bets),
                              cellText(table, 1, CDialogCheck::Holds), cellText(table, 1, CDialogCheck::Result)}),
                 row);
        const int prize = row.at(3).section("奖金", 1).chopped(1).toInt();
        const int bets = int(filtered.size()) + row.at(1).toInt();
        QCOMPARE(check->totalLabel()->text(),
                 QString("合计：%1注，投入%2元，奖金%3元").arg(bets).arg(bets * 2).arg(stage.prize + prize));

        // Without the stage, the file alone; without the file, nothing.
        check->stageBox(ResultStage::Filtered)->setChecked(false);
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(cellText(table, 0, CDialogCheck::Result), row.at(3));
        table->setCurrentCell(0, 0);
        QTest::mouseClick(check->removeButton(), Qt::LeftButton);
        QCOMPARE(table->rowCount(), 0);
        QVERIFY(m_services.warnings.isEmpty());
    };
    triggerMoreItem(w, CMyNumSieveDlg::IdCheck, "对奖...");
    QCOMPARE(m_services.modalDialogs, QStringList{"对奖"});
    QCOMPARE(m_services.fileFilters, QStringList{"文本文件(*.txt)"});
}

void TestMoneyGui::compareSchemes()
{
    CMyNumSieveDlg &w = *m_window;
    // Names that look like the placeholders of a text are shown as they are.
    const QString both = schemeFile("和值跨度%3");
    const QString sumOnly = schemeFile("只看和值%4", [](Workspace &ws) { ws.removeAllEntries(4, 0); });
    const QString missing = m_dir->filePath("没有.cnd");
    const QString nothingSelected = schemeFile("空", [](Workspace &ws) { ws.selection.hundreds.clear(); });
    constexpr int kCount = 60;

    // The comparison the core makes of the same files.
    ScriptConditionRunner runner;
    QList<SchemeOutcome> outcomes;
    for (const QString &path : {both, sumOnly}) {
        Workspace scheme;
        for (const Draw &d : std::as_const(m_draws))
            scheme.selectionNumbers.append(d.number);
        QVERIFY(loadSchemeFile(path, scheme));
        BacktestResult result = runBacktest(scheme, m_draws, {}, kCount, &runner);
        result.prizes = Prizes{2, 1040, 346, 173};
        outcomes.append({QFileInfo(path).completeBaseName(), result});
    }
    const SchemeComparison expected = numsieve::compareSchemes(outcomes);
    QVERIFY(expected.best >= 0);
    const double p = expected.schemes.at(expected.best).result.pChance;
    QVERIFY(p < 1);
    QVERIFY(qFuzzyCompare(expected.bestByLuck, 1 - (1 - p) * (1 - p)));

    m_services.openAnswers << both << sumOnly << missing << both << nothingSelected;
    m_services.saveAnswers << m_dir->filePath("对比") << m_dir->filePath("对比图");
    m_services.whileModal = [&](QDialog *dialog) {
        auto *compare = qobject_cast<CDialogCompare *>(dialog);
        QVERIFY(compare);
        for (int i = 0; i < 5; ++i)
            QTest::mouseClick(compare->addButton(), Qt::LeftButton);
        QCOMPARE(m_services.warnings, QStringList({missing + "：文件不存在", "方案文件 " + both + " 已经添加过了。",
                                                   "方案文件 " + nothingSelected + " 的选号为空，没有号码可以回测。"}));
        QCOMPARE(compare->schemeList()->count(), 2);
        QVERIFY(!compare->exportCsvButton()->isEnabled());
        compare->countBox()->setValue(kCount);
        QCOMPARE(compare->rangeLabel()->text(), QString("彩种：3D　回测开奖期号 2026141 至 2026200，共 60 期"));
        QSignalSpy finished(compare, &CDialogCompare::runFinished);
        QTest::mouseClick(compare->startButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWait);
        QCOMPARE(compare->progressBar()->value(), 2 * kCount);

        QTableWidget *table = compare->table();
        QCOMPARE(table->rowCount(), 2);
        for (int row = 0; row < 2; ++row) {
            const BacktestResult &r = expected.schemes.at(row).result;
            const MoneySummary m = backtestMoney(r);
            QCOMPARE(cellText(table, row, CDialogCompare::Name),
                     (row == expected.best ? "★ " : "") + expected.schemes.at(row).name);
            QCOMPARE(cellText(table, row, CDialogCompare::Steps), QString::number(kCount));
            QCOMPARE(cellText(table, row, CDialogCompare::Hits), QString::number(r.hits));
            QCOMPARE(cellText(table, row, CDialogCompare::ExpectedHits), QString::number(r.expectedHits, 'f', 2));
            QCOMPARE(cellText(table, row, CDialogCompare::PChance), chanceText(r.pChance));
            QCOMPARE(cellText(table, row, CDialogCompare::Spent), QString("%1元").arg(m.spent));
            QCOMPARE(cellText(table, row, CDialogCompare::Won), QString("%1元").arg(m.won));
            QCOMPARE(cellText(table, row, CDialogCompare::PWon), chanceText(m.pAtLeast));
        }
        QVERIFY(!table->isColumnHidden(CDialogCompare::Spent));
        QVERIFY(compare->bestLabel()->text().startsWith(
            QString("最好的方案是“%1”：它的偶然达到概率是%2，在这2个方案里最小。")
                .arg(expected.schemes.at(expected.best).name, chanceText(p))));
        QVERIFY(compare->bestLabel()->text().contains(QString("其中最好的一个也至少这么好的概率是%1（1 − (1 − %2)^2）")
                                                          .arg(chanceText(expected.bestByLuck), chanceText(p))));
        // One solid line a scheme, each with its dashed expectation.
        QCOMPARE(compare->chart()->chart()->series().size(), 4);
        QCOMPARE(lastPoint(compare->chart(), 0), QPointF(kCount, expected.schemes.at(0).result.hits));

        QTest::mouseClick(compare->exportCsvButton(), Qt::LeftButton);
        QStringList lines = comparisonCsvLines(expected);
        QCOMPARE(lines.first(),
                 QString("scheme,last,mean_survivors,hits,expected_hits,lift,p_chance,spent,won,return,p_won,message"));
        lines.first() =
            "方案,回测期数,平均注数,命中,期望命中,提升倍数,偶然达到概率,投入,中奖,回报率,中奖偶然概率,中止原因";
        lines[4] = "最好的方案,方案数,最好的方案靠运气也这么好的概率";
        QCOMPARE(readBytes(m_dir->filePath("对比.csv")), gbk(lines.join("\r\n") + "\r\n"));
        QTest::mouseClick(compare->exportPictureButton(), Qt::LeftButton);
        QVERIFY(readBytes(m_dir->filePath("对比图.png")).startsWith("\x89PNG\r\n"));
    };
    triggerMoreItem(w, CMyNumSieveDlg::IdCompare, "方案对比...");
    QCOMPARE(m_services.modalDialogs, QStringList{"方案对比"});
    QCOMPARE(m_services.suggestedNames, QStringList({"3D_方案对比_2026200.csv", "3D_方案对比_2026200.png"}));
    QCOMPARE(m_services.warnings.size(), 3);
}

// A comparison stopped by 取消 or by closing shows nothing: a scheme replayed
// over fewer draws than the others would not compare fairly.
void TestMoneyGui::stoppedComparisonShowsNothing_data()
{
    QTest::addColumn<bool>("close");
    QTest::newRow("取消") << false;
    QTest::newRow("关闭") << true;
}

void TestMoneyGui::stoppedComparisonShowsNothing()
{
    QFETCH(bool, close);
    // A script condition makes every replayed draw a request to a worker.
    const QString slow =
        schemeFile("慢", [](Workspace &ws) { ws.setAdvancedConditionText("和值[0]!=和值[1];\r\n跨度[0]>=2;\r\n"); });
    const QString quick = schemeFile("快");
    CDialogCompare compare(m_services, m_window->analysedLottery());
    QVERIFY(compare.addScheme(quick));
    QVERIFY(compare.addScheme(slow));
    compare.countBox()->setValue(3);
    QSignalSpy finished(&compare, &CDialogCompare::runFinished);
    compare.start();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWait);
    QCOMPARE(compare.table()->rowCount(), 2);

    // Stopped once the second scheme is under way.
    QSignalSpy closed(&compare, &QDialog::finished);
    compare.countBox()->setValue(200);
    bool stopped = false;
    QObject::connect(compare.progressBar(), &QProgressBar::valueChanged, &compare, [&](int done) {
        if (done > 200 && !stopped) {
            stopped = true;
            close ? compare.reject() : compare.cancel();
        }
    });
    compare.start();
    QCOMPARE(compare.table()->rowCount(), 0);
    QVERIFY(!compare.exportCsvButton()->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, kWait);
    QVERIFY(stopped);
    QVERIFY(!compare.isRunning());
    QVERIFY(!compare.comparison().has_value());
    QCOMPARE(compare.table()->rowCount(), 0);
    QCOMPARE(compare.chart()->chart()->series().size(), 0);
    QVERIFY(compare.bestLabel()->text().isEmpty());
    QVERIFY(!compare.exportCsvButton()->isEnabled());
    QVERIFY(!compare.exportPictureButton()->isEnabled());
    QVERIFY(!compare.exportCsv());
    QCOMPARE(closed.count(), close ? 1 : 0);
    if (!close)
        QCOMPARE(compare.statusLabel()->text(),
                 QString("已取消：对比没有做完，不显示结果（只回测了一部分期数的方案和别的方案比较并不公平）。"));
    QVERIFY(m_services.suggestedNames.isEmpty());
    QVERIFY(m_services.warnings.isEmpty());
}

QTEST_MAIN(TestMoneyGui)
#include "tst_money_gui.moc"
