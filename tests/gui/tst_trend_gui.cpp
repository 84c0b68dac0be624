#include "analysis/CDialogTrend.h"
#include "analysis/TrendChartView.h"
#include "analysis/TrendModel.h"
#include "app/CMyNumSieveDlg.h"
#include "filter/CDialogLeft.h"
#include "history/DataFolder.h"
#include "model/Number.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

using namespace numsieve;
using namespace numsieve::gui;
using namespace guitest;
using namespace testsupport;

// The 走势图 window: opened from 更多 and from 图表分析, switching tabs and
// windows, its foot rows against the core's, and what it exports.
class TestTrendGui : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void opensBesideTheMainWindow();
    void footRowsAreTheCores_data();
    void footRowsAreTheCores();
    void csvBytes();
    void pictureOfTheVisibleChart();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    FakeServices m_services;
};

void TestTrendGui::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_services = FakeServices();
    QDir().mkpath(m_dir->filePath("data"));
    QVERIFY(writeBytes(m_dir->filePath("data/lottery.data"), gbk("1$福彩3D\r\n2$排列三\r\n")));
    QRandomGenerator rng(99);
    QByteArray file;
    for (int i = 0; i < 1200; ++i)
        file += QByteArray::number(2020001 + i) + '$' + numberText(rng.bounded(1000)).toLatin1() + "\r\n";
    QVERIFY(writeBytes(m_dir->filePath("data/lottery_1.data"), file));
    QVERIFY(writeBytes(m_dir->filePath("data/lottery_2.data"), "2026001$321\r\n2026002$555\r\n2026003$124\r\n"));
}

void TestTrendGui::opensBesideTheMainWindow()
{
    CMyNumSieveDlg w(m_services, m_dir->path());
    w.show();
    w.leftPanel()->setRegistry(w.leftPanel()->registry(), 1);
    QMenu *more = w.commandMenu(CMyNumSieveDlg::IdMore);
    QAction *item = nullptr;
    for (QAction *a : more->actions())
        if (a->data().toInt() == CMyNumSieveDlg::IdTrend)
            item = a;
    QVERIFY(item);
    QCOMPARE(item->text(), QStringLiteral("走势图..."));
    item->trigger();
    const auto opened = w.findChildren<CDialogTrend *>();
    QCOMPARE(opened.size(), 1);
    CDialogTrend *trend = opened.first();
    QVERIFY(trend->isVisible());
    QVERIFY(!trend->isModal());
    QVERIFY(m_services.modalDialogs.isEmpty());
    QCOMPARE(trend->windowTitle(), QStringLiteral("走势图"));
    // It follows the main window's lottery at opening.
    QCOMPARE(trend->lotteryBox()->currentText(), QStringLiteral("排列三"));
    QCOMPARE(trend->model()->rowCount(), 3);

    // Without an analysis site, 图表分析 brings the same window forward.
    w.runCommand(CMyNumSieveDlg::IdAnalysis);
    QCOMPARE(w.findChildren<CDialogTrend *>().size(), 1);
    QVERIFY(m_services.warnings.isEmpty());
    QVERIFY(m_services.openedUrls.isEmpty());
    // Raised again, it shows the draws as they are now, on the lottery it showed.
    LotteryRegistry later = w.leftPanel()->registry();
    later[1].draws.append({QStringLiteral("2026004"), QStringLiteral("909")});
    trend->lotteryBox()->setCurrentIndex(0);
    trend->lotteryBox()->setCurrentIndex(1);
    CDialogTrend::showFor(m_services, &w, later, 0);
    QCOMPARE(trend->lotteryBox()->currentText(), QStringLiteral("排列三"));
    QCOMPARE(trend->model()->rowCount(), 4);
    QCOMPARE(trend->model()->data(trend->model()->index(3, 1)).toString(), QStringLiteral("909"));
    trend->close();
    QTRY_COMPARE(w.findChildren<CDialogTrend *>().size(), 0);
    w.runCommand(CMyNumSieveDlg::IdAnalysis);
    QCOMPARE(w.findChildren<CDialogTrend *>().size(), 1);
}

void TestTrendGui::footRowsAreTheCores_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("windowIndex");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::newRow("positions, 100") << int(CDialogTrend::Positions) << 2 << 100 << 30;
    QTest::newRow("distribution, 30") << int(CDialogTrend::Distribution) << 0 << 30 << 10;
    QTest::newRow("sums, 1000") << int(CDialogTrend::Sums) << 5 << 1000 << 28;
    QTest::newRow("spans, all") << int(CDialogTrend::Spans) << 6 << 1200 << 10;
    QTest::newRow("tails, 500") << int(CDialogTrend::Tails) << 4 << 500 << 10;
    QTest::newRow("shapes, 50") << int(CDialogTrend::Shapes) << 1 << 50 << 27;
}

void TestTrendGui::footRowsAreTheCores()
{
    QFETCH(int, tab);
    QFETCH(int, windowIndex);
    QFETCH(int, rows);
    QFETCH(int, columns);
    const LotteryRegistry registry = loadRegistry(m_dir->filePath("data"));
    CDialogTrend trend(m_services, registry, 0);
    trend.show();
    QCOMPARE(trend.windowBox()->currentText(), QStringLiteral("100期"));
    trend.tabBar()->setCurrentIndex(tab);
    trend.windowBox()->setCurrentIndex(windowIndex);
    TrendModel *model = trend.model();
    QCOMPARE(model->rowCount(), rows);
    QCOMPARE(model->valueColumnCount(), columns);
    QCOMPARE(model->groups(), CDialogTrend::groupsOf(CDialogTrend::Tab(tab)));

    const TrendTable core(registry.at(0).draws);
    const int window = kTrendWindows[std::size_t(windowIndex)];
    int marked = 0;
    for (int c = 0; c < columns; ++c) {
        const TrendStats expected = core.stats(model->tableColumn(c), window);
        const TrendStats &shown = model->stats(c);
        QCOMPARE(shown.hits, expected.hits);
        QCOMPARE(shown.expected, expected.expected);
        QCOMPARE(shown.meanOmission, expected.meanOmission);
        QCOMPARE(shown.maxOmission, expected.maxOmission);
        QCOMPARE(shown.maxRun, expected.maxRun);
        QCOMPARE(shown.currentOmission, expected.currentOmission);
        QCOMPARE(shown.pChance, expected.pChance);
        QCOMPARE(model->footText(TrendModel::Hits, c), QString::number(expected.hits));
        QCOMPARE(model->footText(TrendModel::PChance, c), QString::number(expected.pChance, 'f', 2));
        marked += expected.marked();
    }
    QCOMPARE(trend.noteLabel()->text(), QStringLiteral("共%1期，标红%2列。").arg(rows).arg(marked) + trendMarkNote(columns));
    // The newest row of the window is the last, with its true omission.
    const QModelIndex newest = model->index(rows - 1, TrendModel::kFixedColumns);
    QCOMPARE(model->data(model->index(rows - 1, 0)).toString(), QStringLiteral("2021200"));
    QCOMPARE(model->data(newest, TrendModel::OmissionRole).toInt(), core.omission(1199, model->tableColumn(0)));
    QCOMPARE(model->data(model->index(0, 0)).toString(), QString::number(2021200 - rows + 1));

    // Scrolled to the newest draw, and only the rows in sight painted.
    TrendChartView *chart = trend.chart();
    (void)chart->viewport()->grab();
    QCOMPARE(chart->verticalScrollBar()->value(), chart->verticalScrollBar()->maximum());
    QCOMPARE(chart->lastPaintedRow(), rows - 1);
    QVERIFY(chart->lastPaintedRow() - chart->firstPaintedRow() <= chart->viewport()->height() / chart->rowHeight() + 1);
    QVERIFY(rows < 100 || chart->firstPaintedRow() > 0);

    trend.omissionSwitch()->setChecked(false);
    trend.lineSwitch()->setChecked(false);
    QVERIFY(!chart->showsOmissions());
    QVERIFY(!chart->showsLines());
}

void TestTrendGui::csvBytes()
{
    CDialogTrend trend(m_services, loadRegistry(m_dir->filePath("data")), 1);
    trend.tabBar()->setCurrentIndex(CDialogTrend::Tails);
    const QString path = m_dir->filePath("尾数");
    m_services.saveAnswers.enqueue(path);
    QVERIFY(trend.exportCsv());
    QCOMPARE(m_services.fileFilters, QStringList{"CSV文件(*.csv)"});
    QCOMPARE(m_services.suggestedNames, QStringList{"排列三_走势图_和尾_2026003.csv"});
    QCOMPARE(readBytes(path + ".csv"),
             gbk("奖期,开奖号,和尾 0,和尾 1,和尾 2,和尾 3,和尾 4,和尾 5,和尾 6,和尾 7,和尾 8,和尾 9\r\n"
                 "2026001,321,1,1,1,1,1,1,0,1,1,1\r\n"
                 "2026002,555,2,2,2,2,2,0,1,2,2,2\r\n"
                 "2026003,124,3,3,3,3,3,1,2,0,3,3\r\n"
                 "出现次数,,0,0,0,0,0,1,1,1,0,0\r\n"
                 "期望次数,,0.3,0.3,0.3,0.3,0.3,0.3,0.3,0.3,0.3,0.3\r\n"
                 "平均遗漏,,3,3,3,3,3,1,1,1,3,3\r\n"
                 "最大遗漏,,3,3,3,3,3,1,2,2,3,3\r\n"
                 "最大连出,,0,0,0,0,0,1,1,1,0,0\r\n"
                 "当前遗漏,,3,3,3,3,3,1,2,0,3,3\r\n"
                 "偶然概率,,1,1,1,1,1,0.271,0.271,0.271,1,1\r\n"));
    // Cancelled: nothing written, nothing said.
    QVERIFY(!trend.exportCsv());
    QVERIFY(m_services.warnings.isEmpty());
}

void TestTrendGui::pictureOfTheVisibleChart()
{
    CDialogTrend trend(m_services, loadRegistry(m_dir->filePath("data")), 0);
    trend.show();
    const QString path = m_dir->filePath("chart.png");
    m_services.saveAnswers.enqueue(path);
    QVERIFY(trend.exportPicture());
    QCOMPARE(m_services.fileFilters, QStringList{"PNG图片(*.png)"});
    QCOMPARE(readBytes(path).left(8), QByteArray("\x89PNG\r\n\x1a\n"));
    const QImage image(path);
    QCOMPARE(image.size() / image.devicePixelRatio(), trend.chart()->viewport()->size());
    // A file that cannot be written is said, and the chart stays.
    m_services.saveAnswers.enqueue(m_dir->filePath("no/such/folder/chart.png"));
    QVERIFY(!trend.exportPicture());
    QCOMPARE(m_services.warnings.size(), 1);
    QVERIFY(m_services.warnings.first().startsWith(QStringLiteral("无法保存图片文件")));
}

QTEST_MAIN(TestTrendGui)
#include "tst_trend_gui.moc"
