#include "analysis/Backtest.h"
#include "analysis/CDialogBacktest.h"
#include "analysis/CDialogFilterReport.h"
#include "analysis/CsvExport.h"
#include "analysis/Money.h"
#include "app/CMyNumSieveDlg.h"
#include "script/ScriptConditionRunner.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "WorkspaceFingerprint.h"

#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
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

constexpr int kWait = 120000;
constexpr int kSteps = 20;
const QString kNoPrizes = "没有设置这个彩种的奖金，只统计命中。在彩票管理中按“奖金...”设置后，也算投入和中奖。";
const QByteArray kPrizeLine = "1$2$1040$346$173\r\n";

void triggerMoreItem(CMyNumSieveDlg &w, int id, const QString &text)
{
    triggerMenuItem(w.commandMenu(CMyNumSieveDlg::IdMore), id, text);
}

QPointF lastPoint(QChartView *view, int series)
{
    const auto *line = qobject_cast<QLineSeries *>(view->chart()->series().value(series));
    return line && line->count() > 0 ? line->at(line->count() - 1) : QPointF(-1, -1);
}

} // namespace

// What the money windows show against the core's own figures for a small
// history whose newest draws are 112, 777 and 381.
class TestMoneyGui : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void backtestAndReportMoney_data();
    void backtestAndReportMoney();

private:
    QString data(const QString &name) const { return m_dir->filePath("data/" + name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CMyNumSieveDlg> m_window;
    QList<Draw> m_draws;
    FakeServices m_services;
};

void TestMoneyGui::init()
{
    m_window.reset();
    m_dir = std::make_unique<QTemporaryDir>();
    m_services = FakeServices();
    QDir().mkpath(m_dir->filePath("data"));
    QVERIFY(writeBytes(data("lottery.data"), "1$3D\r\n"));
    QVERIFY(writeBytes(data("prize.data"), kPrizeLine));
    QByteArray file;
    m_draws.clear();
    quint32 seed = 20260301;
    for (int i = 0; i < 200; ++i) {
        seed = seed * 1103515245u + 12345u;
        const QString number = i < 197 ? QString::asprintf("%03u", (seed >> 8) % 1000) : QString("112,777,381").section(',', i - 197, i - 197);
        m_draws.append({QString::number(2026001 + i), number});
        file += m_draws.last().issue.toLatin1() + '$' + number.toLatin1() + "\r\n";
    }
    QVERIFY(writeBytes(data("lottery_1.data"), file));
    m_window = std::make_unique<CMyNumSieveDlg>(m_services, m_dir->path());
    Workspace &ws = m_window->workspace();
    ws.selection.hundreds.selectAll();
    ws.selection.tens.selectAll();
    ws.selection.units.selectAll();
    ws.selection.groupDigits.selectAll();
    ws.addEntries(2, 0, {10, 11, 12, 13, 14, 15, 16, 17});
    ws.addEntries(4, 0, {4, 5, 6, 7});
    ws.setTolerable(4, true);
    ws.toleranceIndex = 1;
    m_window->refreshPanels();
}

void TestMoneyGui::backtestAndReportMoney_data()
{
    QTest::addColumn<bool>("group");
    QTest::addColumn<QByteArray>("prizeFile");   // "-": none
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
    const QString noPrizes = loaded.readProblem.isEmpty() ? kNoPrizes
                                                          : loaded.readProblem + "\n奖金文件无法读取，只统计命中。";
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

QTEST_MAIN(TestMoneyGui)
#include "tst_money_gui.moc"
