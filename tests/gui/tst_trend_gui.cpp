#include "gui/analysis/CDialogTrend.h"
#include "gui/analysis/CsvExport.h"
#include "gui/analysis/TrendChartView.h"
#include "gui/analysis/TrendModel.h"
#include "gui/app/CMyNumSieveDlg.h"
#include "gui/filter/CDialogLeft.h"
#include "core/history/DataFolder.h"
#include "core/model/Number.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

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
    void opensWideEnoughForEveryTab();
    void chanceTexts_data();
    void chanceTexts();
    void csvBytes();
    void pictureOfTheWholeChart();
    void noDrawsSaysWhereToGetThem();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    FakeServices m_services;
};

void TestTrendGui::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_services = FakeServices();
    QRandomGenerator rng(99);
    QList<Draw> draws;
    for (int i = 0; i < 1200; ++i)
        draws.append({QString::number(2020001 + i), numberText(rng.bounded(1000))});
    QVERIFY(DataFolderBuilder(m_dir->filePath("data"))
                .lottery("1", "福彩3D", draws)
                .lottery("2", "排列三", "2026001$321\r\n2026002$555\r\n2026003$124\r\n")
                .write());
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
        QCOMPARE(model->footText(TrendModel::PChance, c), chanceText(expected.pChance, 2));
        marked += expected.marked();
    }
    // Each foot row says what it counts: the rows shown, or every draw,
    // from which omissions are counted.
    QStringList names;
    for (int foot = 0; foot < TrendModel::kFootRows; ++foot)
        names << model->footName(TrendModel::FootRow(foot));
    const QString span = QStringLiteral("(%1期)").arg(rows);
    QCOMPARE(names, QStringList({"出现次数" + span, "期望次数" + span, "平均遗漏" + span, "最大遗漏(从头算)",
                                 "最大连出" + span, "当前遗漏(从头算)", "偶然偏离概率" + span}));
    const QString chance =
        QStringLiteral("偶然偏离概率：假如开奖全凭运气，这个值在这%1期里开出的次数离期望次数（偏多或偏少）至少有这么远的"
                       "概率。低于5%的列标红。列多了，即使全凭运气也总有几列很低；它也说不出下一期会开什么，"
                       "因为每一期都是重新开出的。")
            .arg(rows);
    QCOMPARE(trend.noteLabel()->text(),
             QStringLiteral("共%1期，标红%2列。").arg(rows).arg(marked) + chance
                 + QStringLiteral("这里共%1列，全凭运气也约有二十分之一（约%2列）会被标红；把期数放大到500、1000"
                                  "或全部后仍然标红的，比时有时无的更值得留意。")
                       .arg(columns)
                       .arg(QString::number(columns / 20.0, 'f', 1)));
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

    // The tooltips of the foot: a row name explains its row, a cell its figure.
    const auto tipAt = [chart](QPoint pos) {
        QHelpEvent help(QEvent::ToolTip, pos, chart->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(chart->viewport(), &help);
        return QToolTip::text();
    };
    const int chanceRow = chart->viewport()->height() - chart->rowHeight() / 2;
    QCOMPARE(tipAt(QPoint(4, chanceRow)), chance);
    QCOMPARE(tipAt(QPoint(4, chanceRow - chart->rowHeight())),
             QStringLiteral("当前遗漏：到最新一期为止已经连续多少期没有开出，从全部开奖号码的第一期数起。"));
    chart->horizontalScrollBar()->setValue(0);
    const TrendStats &first = model->stats(0);
    const TrendColumn &column = trendColumns().at(model->tableColumn(0));
    QCOMPARE(tipAt(QPoint(chart->valuesLeft() + 2, chanceRow)),
             QStringLiteral("%1 %2\n这%3期出现%4次，期望%5次\n偶然偏离概率 %6\n\n")
                     .arg(trendGroupName(column.group), column.value)
                     .arg(rows)
                     .arg(first.hits)
                     .arg(QString::number(first.expected, 'f', 2), chanceText(first.pChance))
                 + chance);

    trend.omissionSwitch()->setChecked(false);
    trend.lineSwitch()->setChecked(false);
    QVERIFY(!chart->showsOmissions());
    QVERIFY(!chart->showsLines());
}

void TestTrendGui::opensWideEnoughForEveryTab()
{
    CDialogTrend trend(m_services, loadRegistry(m_dir->filePath("data")), 0);
    const QSize preferred = trend.preferredSize();
    const QMargins margins = trend.layout()->contentsMargins();
    int widest = 0;
    for (int tab = 0; tab < CDialogTrend::kTabCount; ++tab) {
        trend.tabBar()->setCurrentIndex(tab);
        widest = std::max(widest, trend.chart()->sizeHint().width() + margins.left() + margins.right());
    }
    QCOMPARE(preferred.width(), widest);
    // Opened within the screen's room, and as wide as it asks for where there is room.
    const QSize room = QGuiApplication::primaryScreen()->availableSize() - QSize(16, 40);
    QCOMPARE(trend.size(), preferred.boundedTo(room));
}

void TestTrendGui::chanceTexts_data()
{
    QTest::addColumn<double>("chance");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("text");
    QTest::newRow("certain") << 1.0 << 3 << "100%";
    QTest::newRow("certain, in the foot") << 1.0 << 2 << "100%";
    QTest::newRow("ordinary") << 0.40213 << 3 << "40.2%";
    QTest::newRow("ordinary, in the foot") << 0.868 << 2 << "87%";
    QTest::newRow("at the mark") << 0.05 << 3 << "5%";
    QTest::newRow("under the mark") << 0.0494 << 3 << "4.94%";
    QTest::newRow("under the mark, in the foot") << 0.0494 << 2 << "4.9%";
    QTest::newRow("under the mark, would round to it") << 0.049962 << 3 << "4.996%";
    QTest::newRow("in the foot, would round to it") << 0.0497 << 2 << "4.97%";
    QTest::newRow("a hair under the mark") << 0.04999996 << 3 << "4.999996%";
    QTest::newRow("small") << 0.000123456 << 3 << "0.0123%";
    QTest::newRow("smaller than shown") << 3e-9 << 2 << "<0.001%";
    QTest::newRow("impossible") << 0.0 << 3 << "0%";
}

void TestTrendGui::chanceTexts()
{
    QFETCH(double, chance);
    QFETCH(int, digits);
    QFETCH(QString, text);
    QCOMPARE(chanceText(chance, digits), text);
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

void TestTrendGui::pictureOfTheWholeChart()
{
    LotteryRegistry registry = loadRegistry(m_dir->filePath("data"));
    CDialogTrend trend(m_services, registry, 0);
    trend.resize(500, 400);
    trend.show();
    trend.windowBox()->setCurrentIndex(3);
    const QString path = m_dir->filePath("chart.png");
    m_services.saveAnswers.enqueue(path);
    QVERIFY(trend.exportPicture());
    QCOMPARE(m_services.fileFilters, QStringList{"PNG图片(*.png)"});
    QCOMPARE(m_services.suggestedNames, QStringList{"福彩3D_走势图_百十个位_2021200.png"});
    QCOMPARE(readBytes(path).left(8), QByteArray("\x89PNG\r\n\x1a\n"));
    // Every column and every one of the 200 rows, far more than the window
    // shows, under a title line that names what it is.
    const QDate today = QDate::currentDate();
    QCOMPARE(trend.pictureTitle(today), QStringLiteral("福彩3D　百十个位走势图　最近200期　最新一期 2021200　%1制图")
                                            .arg(today.toString("yyyy-MM-dd")));
    TrendChartView *chart = trend.chart();
    const QImage whole = chart->wholeChart();
    QVERIFY(whole.width() > chart->viewport()->width() && whole.height() > chart->viewport()->height());
    // The chart of the picture is what a view large enough would show.
    TrendChartView large(trend.model());
    large.setFont(chart->font());
    large.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    large.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    large.resize(whole.size() + 2 * QSize(large.frameWidth(), large.frameWidth()));
    QCOMPARE(large.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32), whole);
    const QImage saved = QImage(path).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(saved, trend.picture(today));
    QCOMPARE(saved.copy(0, saved.height() - whole.height(), whole.width(), whole.height()), whole);
    const int titleAndFrame = saved.height() - 200 * chart->rowHeight();

    // A file that cannot be written is said, and the chart stays.
    m_services.saveAnswers.enqueue(m_dir->filePath("no/such/folder/chart.png"));
    QVERIFY(!trend.exportPicture());
    QCOMPARE(m_services.warnings.size(), 1);
    QCOMPARE(m_services.warnings.first(), QStringLiteral("无法保存文件 %1：文件夹不存在").arg(m_dir->filePath("no/such/folder/chart.png")));

    // A window too long for one picture is refused before a file is asked for.
    for (int i = 0; i < 800; ++i)
        registry[0].draws.append({QString::number(2030001 + i), QStringLiteral("123")});
    trend.setLotteries(registry);
    trend.windowBox()->setCurrentIndex(6);
    QCOMPARE(trend.model()->rowCount(), 2000);
    m_services.warnings.clear();
    QVERIFY(!trend.exportPicture());
    QCOMPARE(m_services.suggestedNames.size(), 2);
    const int fit = (CDialogTrend::kPictureMaxHeight - titleAndFrame) / chart->rowHeight();
    QCOMPARE(m_services.warnings,
             QStringList{QStringLiteral("走势图太长：一张图片最多画%1期。请把期数选少一些，再导出图片。").arg(fit)});
}

// Without draws the chart says where they come from, as the back-test does,
// and offers nothing to export.
void TestTrendGui::noDrawsSaysWhereToGetThem()
{
    QVERIFY(writeBytes(m_dir->filePath("data/lottery_2.data"), ""));
    CDialogTrend trend(m_services, loadRegistry(m_dir->filePath("data")), 1);
    trend.show();
    QVERIFY(!trend.chart()->isVisible());
    QVERIFY(trend.noDrawsLabel()->isVisible());
    QVERIFY(!trend.noteLabel()->isVisible());
    QCOMPARE(trend.noDrawsLabel()->text(),
             QStringLiteral("所选彩票没有开奖号码，无法画走势图。请点“彩种管理”，输入或导入开奖号码；有人发布开奖号码时，"
                            "在数据文件夹的 online.data 中加入一行 analysis$主机名，再在彩种管理中点“更新号码”下载。"));
    for (QPushButton *b : trend.findChildren<QPushButton *>())
        QVERIFY2(!b->isEnabled(), qPrintable(b->text()));
    trend.lotteryBox()->setCurrentIndex(0);
    QVERIFY(trend.chart()->isVisible());
    QVERIFY(!trend.noDrawsLabel()->isVisible());
}

QTEST_MAIN(TestTrendGui)
#include "tst_trend_gui.moc"
