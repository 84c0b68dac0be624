#include "core/analysis/Backtest.h"
#include "gui/analysis/CDialogBacktest.h"
#include "gui/analysis/CDialogFilterReport.h"
#include "gui/analysis/CsvExport.h"
#include "core/Messages.h"
#include "gui/app/CMyNumSieveDlg.h"
#include "core/scheme/SchemeFile.h"
#include "core/script/ScriptConditionRunner.h"

#include "AnalysisFixture.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "WorkspaceFingerprint.h"

#include <QGroupBox>
#include <QLabel>
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

constexpr int kDraws = 1500;

} // namespace

// 方案回测 and 过滤报告 from the 更多 menu, against the core's own figures.
class TestAnalysis : public AnalysisFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void backtestRunsToTheEnd();
    void cancelAndCloseLeaveTheWindowAlone();
    void progressSaysTimeLeft_data();
    void progressSaysTimeLeft();
    void scriptThatHadToBeStopped();
    void emptySelectionIsRefused();
    void filterReport();
};

void TestAnalysis::init()
{
    QVERIFY(writeFolder(seededDraws(20260101, kDraws, 2020001)));
    Workspace &ws = openWindow();
    QCOMPARE(ws.selectionNumbers.size(), qsizetype(kDraws));
    chooseDigitsSumAndSpan(ws);
    m_window->refreshPanels();
}

void TestAnalysis::backtestRunsToTheEnd()
{
    CMyNumSieveDlg &w = *m_window;
    const QString csv = m_dir->filePath("回测");
    m_services.saveAnswers << csv;
    m_services.whileModal = [&](QDialog *dialog) {
        auto *backtest = qobject_cast<CDialogBacktest *>(dialog);
        QVERIFY(backtest);
        QCOMPARE(backtest->countBox()->value(), 100);
        QCOMPARE(backtest->rangeLabel()->text(), QString("彩种：3D　回测开奖期号 2021401 至 2021500，共 100 期"));
        // What the three figures mean, in the dialog and at the figures.
        const QString tips[] = {
            "期望命中：每期剩下的号码若换成随便选的同样多的号码，靠运气能命中的次数："
            "各期剩余号码占全部可能开奖号码的比例之和。",
            "提升倍数 = 命中 ÷ 期望命中。1 表示条件和随便选同样多的号码一样好；大于 1 较好，小于 1 较差。",
            "偶然达到概率：每期都随便选同样多的号码时，靠运气至少命中这么多次的确切概率。只有很小（比如小于5%）"
            "才说明条件比运气好；它说的是已经开出的这些期，不保证以后的开奖。"};
        QCOMPARE(backtest->noteLabel()->text(), QStringList(std::begin(tips), std::end(tips)).join('\n'));
        QCOMPARE(backtest->summaryCaption(CDialogBacktest::ExpectedHits)->toolTip(), tips[0].mid(5));
        QCOMPARE(backtest->summaryCaption(CDialogBacktest::Lift)->toolTip(), tips[1]);
        QCOMPARE(backtest->summaryCaption(CDialogBacktest::PChance)->toolTip(), tips[2].mid(7));
        QCOMPARE(backtest->countBox()->maximum(), kDraws);
        backtest->countBox()->setValue(kDraws + 5);
        QCOMPARE(backtest->countBox()->value(), kDraws);
        backtest->countBox()->setValue(6);
        QCOMPARE(backtest->rangeLabel()->text(), QString("彩种：3D　回测开奖期号 2021495 至 2021500，共 6 期"));

        QSignalSpy finished(backtest, &CDialogBacktest::runFinished);
        QTest::mouseClick(backtest->startButton(), Qt::LeftButton);
        QVERIFY(backtest->cancelButton()->isEnabled());
        QVERIFY(!backtest->startButton()->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWait);
        QVERIFY(!backtest->isRunning());
        QCOMPARE(backtest->progressBar()->value(), 6);
        QCOMPARE(backtest->progressBar()->maximum(), 6);
        QCOMPARE(backtest->summaryBox()->title(), QString("回测结果"));

        ScriptConditionRunner runner;
        const BacktestResult expected = runBacktest(w.workspace(), m_draws, {}, 6, &runner);
        QCOMPARE(expected.last(), 6);
        QVERIFY(expected.tooFewToJudge());
        QVERIFY(expected.meanSurvivors > 0);
        QCOMPARE(backtest->summaryText(CDialogBacktest::Steps), QString("6"));
        QCOMPARE(backtest->summaryText(CDialogBacktest::Hits), QString::number(expected.hits));
        QCOMPARE(backtest->summaryText(CDialogBacktest::HitRate),
                 QString::number(expected.hitRate() * 100, 'f', 2) + '%');
        QCOMPARE(backtest->summaryText(CDialogBacktest::MeanSurvivors),
                 QString::number(expected.meanSurvivors, 'f', 1));
        QCOMPARE(backtest->summaryText(CDialogBacktest::ExpectedHits),
                 QString::number(expected.expectedHits, 'f', 2));
        QCOMPARE(backtest->summaryText(CDialogBacktest::Lift), QString::number(expected.lift, 'f', 2));
        QCOMPARE(backtest->summaryText(CDialogBacktest::PChance), chanceText(expected.pChance));
        QVERIFY(!backtest->warningLabel()->isHidden());
        QCOMPARE(backtest->warningLabel()->text(), QString("期望命中不足5次，结果不足以说明问题"));

        QTableWidget *table = backtest->conditionTable();
        QCOMPARE(table->rowCount(), int(expected.conditions.size()));
        QVERIFY(table->rowCount() >= 2);
        for (int row = 0; row < table->rowCount(); ++row) {
            const ConditionFigures &f = expected.conditions.at(row);
            QCOMPARE(cellText(table, row, 0), conditionName(f.condition));
            QCOMPARE(cellText(table, row, 1), QString::number(f.kills));
            QCOMPARE(cellText(table, row, 2), QString::number(f.meanRemoved * 100, 'f', 2) + '%');
        }

        QVERIFY(backtest->exportButton()->isEnabled());
        QTest::mouseClick(backtest->exportButton(), Qt::LeftButton);
        QCOMPARE(m_services.fileFilters, QStringList{"CSV文件(*.csv)"});
        QCOMPARE(m_services.suggestedNames, QStringList{"3D_方案回测_2021500.csv"});
        // The window's file has Chinese captions; the rows are the command line's.
        QStringList lines = backtestCsvLines(expected);
        const qsizetype conditions = 1 + expected.last() + 1;
        const qsizetype summary = conditions + 1 + expected.conditions.size() + 1;
        QCOMPARE(lines.at(0), QString("issue,number,survivors,chance,hit"));
        QCOMPARE(lines.at(conditions), QString("condition,name,kills,mean_removed"));
        QCOMPARE(lines.at(summary), QString("last,hits,hit_rate,expected_hits,lift,p_chance,mean_survivors,message"));
        lines[0] = "期号,开奖号码,剩余注数,偶然命中概率,命中";
        lines[conditions] = "条件编号,条件,淘汰开奖号,平均淘汰比例";
        lines[summary] = "回测期数,命中,命中率,期望命中,提升倍数,偶然达到概率,平均注数,中止原因";
        QCOMPARE(readBytes(csv + ".csv"), gbk(lines.join("\r\n") + "\r\n"));
    };
    triggerMoreItem(w, CMyNumSieveDlg::IdBacktest, "方案回测...");
    QCOMPARE(m_services.modalDialogs, QStringList{"方案回测"});
    QVERIFY(m_services.warnings.isEmpty());
}

void TestAnalysis::cancelAndCloseLeaveTheWindowAlone()
{
    CMyNumSieveDlg &w = *m_window;
    // A script condition makes every replayed draw a request to a worker.
    w.workspace().setAdvancedConditionText("和值[0]!=和值[1];\r\n跨度[0]>=2;\r\n");
    w.refreshPanels();
    const QString before = workspaceFingerprint(w.workspace());
    const QStringList numbersBefore = w.workspace().selectionNumbers;

    int opened = 0;
    m_services.whileModal = [&](QDialog *dialog) {
        auto *backtest = qobject_cast<CDialogBacktest *>(dialog);
        QVERIFY(backtest);
        backtest->countBox()->setValue(kDraws);
        QSignalSpy finished(backtest, &CDialogBacktest::runFinished);
        QSignalSpy closed(backtest, &QDialog::finished);
        // Stops a run as soon as its first draw is done.
        bool stopped = false;
        const auto onFirstDraw = [&](const std::function<void()> &stop) {
            QObject::connect(backtest->progressBar(), &QProgressBar::valueChanged, backtest, [&, stop](int done) {
                if (done > 0 && !stopped) {
                    stopped = true;
                    stop();
                }
            });
        };
        switch (++opened) {
        case 1:
            // 取消: the run stops short and says so.
            onFirstDraw([&] { QTest::mouseClick(backtest->cancelButton(), Qt::LeftButton); });
            backtest->start();
            QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWait);
            QVERIFY(stopped);
            QVERIFY(backtest->result()->cancelled);
            QVERIFY(backtest->result()->last() < kDraws);
            QCOMPARE(backtest->summaryText(CDialogBacktest::Steps), QString::number(backtest->result()->last()));
            QVERIFY(backtest->statusLabel()->text().startsWith("已取消"));
            QCOMPARE(backtest->summaryBox()->title(),
                     QString("回测结果（未完成：只含已回测的 %1 期）").arg(backtest->result()->last()));
            QVERIFY(backtest->startButton()->isEnabled());
            QCOMPARE(closed.count(), 0);
            break;
        case 2: {
            // Closing while it runs stops the run first, then the dialog.
            int closedAtOnce = -1;
            onFirstDraw([&] {
                backtest->reject();
                closedAtOnce = int(closed.count());
            });
            backtest->start();
            QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, kWait);
            QCOMPARE(closedAtOnce, 0);
            QVERIFY(!backtest->isRunning());
            QVERIFY(backtest->result()->cancelled);
            break;
        }
        default:
            // Gone while the run is in full swing: the dialog waits for it.
            backtest->start();
            break;
        }
    };
    for (int i = 0; i < 3; ++i)
        w.runCommand(CMyNumSieveDlg::IdBacktest);
    QCOMPARE(opened, 3);
    QCOMPARE(workspaceFingerprint(w.workspace()), before);
    QCOMPARE(w.workspace().selectionNumbers, numbersBefore);
    QVERIFY(m_services.warnings.isEmpty());
}

void TestAnalysis::progressSaysTimeLeft_data()
{
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("elapsedMs");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing done") << 0 << 100 << 0 << "正在回测：已完成 0/100 期，正在估计剩余时间...";
    QTest::newRow("too soon to tell") << 50 << 100 << 400 << "正在回测：已完成 50/100 期，正在估计剩余时间...";
    QTest::newRow("seconds") << 10 << 100 << 1000 << "正在回测：已完成 10/100 期，预计还需约 9 秒。";
    QTest::newRow("rounded up") << 3 << 4 << 1000 << "正在回测：已完成 3/4 期，预计还需约 1 秒。";
    QTest::newRow("minutes") << 1 << 7000 << 600 << "正在回测：已完成 1/7000 期，预计还需约 70 分 0 秒。";
}

void TestAnalysis::progressSaysTimeLeft()
{
    QFETCH(int, done);
    QFETCH(int, total);
    QFETCH(int, elapsedMs);
    QFETCH(QString, text);
    QCOMPARE(CDialogBacktest::progressText(done, total, elapsedMs), text);
}

void TestAnalysis::scriptThatHadToBeStopped()
{
    CMyNumSieveDlg &w = *m_window;
    QVERIFY(loadSchemeFile(QFINDTESTDATA("data/hostile/endless-precheck.cnd"), w.workspace()));
    w.refreshPanels();
    m_services.whileModal = [&](QDialog *dialog) {
        auto *backtest = qobject_cast<CDialogBacktest *>(dialog);
        QVERIFY(backtest);
        backtest->countBox()->setValue(6);
        QCOMPARE(backtest->rangeLabel()->text(), QString("彩种：3D　回测开奖期号 2021495 至 2021500，共 6 期"));
        QSignalSpy finished(backtest, &CDialogBacktest::runFinished);
        backtest->start();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWait);
        QCOMPARE(m_services.warnings, QStringList{msg::kAdvancedTimeout});
        QCOMPARE(backtest->statusLabel()->text(),
                 "已中止：只回测了 0 期（共要 6 期）。\n回测中止于第 1 期：" + msg::kAdvancedTimeout);
        QCOMPARE(backtest->summaryText(CDialogBacktest::Steps), QString("0"));
        QCOMPARE(backtest->summaryText(CDialogBacktest::Hits), QString("0"));
        QCOMPARE(backtest->summaryBox()->title(), QString("回测结果（未完成：只含已回测的 0 期）"));
    };
    triggerMoreItem(w, CMyNumSieveDlg::IdBacktest, "方案回测...");
    QCOMPARE(m_services.modalDialogs, QStringList{"方案回测"});
}

// With no number selected there is nothing to replay: 开始 says so and runs
// nothing, rather than report a certain chance of no hits.
void TestAnalysis::emptySelectionIsRefused()
{
    Workspace &ws = m_window->workspace();
    ws.selection.hundreds.clear();
    m_window->refreshPanels();
    CDialogBacktest backtest(m_services, ws, m_window->analysedLottery());
    QSignalSpy finished(&backtest, &CDialogBacktest::runFinished);
    QTest::mouseClick(backtest.startButton(), Qt::LeftButton);
    QCOMPARE(m_services.warnings, QStringList{"选号为空，没有号码可以回测。请先在选号区选出号码，再开始回测。"});
    QVERIFY(!backtest.isRunning());
    QVERIFY(backtest.startButton()->isEnabled());
    QVERIFY(!backtest.result().has_value());
    QCOMPARE(backtest.summaryText(CDialogBacktest::PChance), QString("—"));
    QCOMPARE(finished.count(), 0);

    // One digit in the emptied position is a selection again.
    ws.selection.hundreds.toggle(3);
    CDialogBacktest selected(m_services, ws, m_window->analysedLottery());
    QSignalSpy done(&selected, &CDialogBacktest::runFinished);
    selected.countBox()->setValue(3);
    QTest::mouseClick(selected.startButton(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, kWait);
    QCOMPARE(m_services.warnings.size(), 1);
    QCOMPARE(selected.result()->candidates, 100);
}

void TestAnalysis::filterReport()
{
    CMyNumSieveDlg &w = *m_window;
    ScriptConditionRunner runner;
    const FilterReport expected = runFilterReport(w.workspace(), {}, &runner);
    QVERIFY(expected.rows.size() >= 2);
    const QString before = workspaceFingerprint(w.workspace());

    m_services.saveAnswers << m_dir->filePath("报告") << m_dir->filePath("missing/报告.csv");
    m_services.whileModal = [&](QDialog *dialog) {
        auto *report = qobject_cast<CDialogFilterReport *>(dialog);
        QVERIFY(report);
        QTableWidget *table = report->table();
        const int last = int(expected.rows.size()) + 1;
        QCOMPARE(table->rowCount(), last + 1);
        QCOMPARE(cellText(table, 0, 0), QString("选号"));
        QCOMPARE(cellText(table, 0, 2), QString::number(expected.gathered));
        for (int i = 0; i < int(expected.rows.size()); ++i) {
            QCOMPARE(cellText(table, i + 1, 0), conditionName(expected.rows.at(i).condition));
            QCOMPARE(cellText(table, i + 1, 1), QString::number(expected.rows.at(i).failing));
            QCOMPARE(cellText(table, i + 1, 2), QString::number(expected.rows.at(i).survivors));
        }
        QCOMPARE(cellText(table, last, 0), QString("容错后结果"));
        QCOMPARE(cellText(table, last, 2), QString::number(expected.survivors));
        QVERIFY(report->messageLabel()->isHidden());

        QTest::mouseClick(report->exportButton(), Qt::LeftButton);
        QStringList lines = filterReportCsvLines(expected);
        QCOMPARE(lines.first(), QString("step,name,failing,survivors"));
        QCOMPARE(lines.at(1), "gathered,选号,," + QString::number(expected.gathered));
        QCOMPARE(lines.last(), "result,容错后结果,," + QString::number(expected.survivors));
        lines.first() = "步骤,条件,单独淘汰,累计剩余";
        lines[1] = "选号,选号,," + QString::number(expected.gathered);
        lines.last() = "结果,容错后结果,," + QString::number(expected.survivors);
        QCOMPARE(readBytes(m_dir->filePath("报告.csv")), gbk(lines.join("\r\n") + "\r\n"));
        QCOMPARE(m_services.suggestedNames, QStringList{"3D_过滤报告_2021500.csv"});
        // A save that fails says why.
        QTest::mouseClick(report->exportButton(), Qt::LeftButton);
        QCOMPARE(m_services.warnings.size(), 1);
    };
    triggerMoreItem(w, CMyNumSieveDlg::IdFilterReport, "过滤报告...");
    QCOMPARE(m_services.modalDialogs, QStringList{"过滤报告"});
    QCOMPARE(workspaceFingerprint(w.workspace()), before);
}

QTEST_MAIN(TestAnalysis)
#include "tst_analysis.moc"
