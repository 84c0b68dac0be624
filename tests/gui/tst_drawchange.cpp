#include "gui/analysis/CDialogTrend.h"
#include "gui/analysis/TrendChartView.h"
#include "gui/analysis/TrendModel.h"
#include "gui/app/CMyNumSieveDlg.h"
#include "gui/filter/CDialogLeft.h"
#include "gui/history/CDialogIssueUpdate.h"
#include "gui/history/CDialogManger.h"
#include "gui/results/CDialogNumberInfo.h"
#include "gui/results/CDialogRight.h"
#include "core/results/NumberStatistics.h"
#include "gui/ui/CBitComboBox.h"

#include "CannedHttpServer.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

using namespace numsieve;
using namespace numsieve::gui;
using namespace guitest;
using namespace testsupport;

// Whatever the window shows of a lottery's draws follows every change the
// lottery manager makes to them: the open 走势图, the issue selector, the
// number popup, and a filter result computed from the draws before, which
// says so until the next 过滤.
class TestDrawChange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void viewsFollow_data();
    void viewsFollow();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    FakeServices m_services;
    QByteArray m_draws;
};

namespace {

enum Change { Typed, Imported, Downloaded };

// 保存  直选  过滤号码
constexpr int kSaveStraightFiltered = 32775;

} // namespace

void TestDrawChange::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_services = FakeServices();
    m_draws.clear();
    for (int i = 0; i < 150; ++i)
        m_draws += QByteArray::number(2024001 + i) + '$' + QByteArray::number(100 + (i * 37) % 900) + "\r\n";
    QVERIFY(writeTwoLotteryFolder(m_dir->filePath("data"), m_draws));
}

void TestDrawChange::viewsFollow_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("typed, 确定") << int(Typed);
    QTest::newRow("imported, 保存") << int(Imported);
    QTest::newRow("downloaded, 确定") << int(Downloaded);
}

void TestDrawChange::viewsFollow()
{
    QFETCH(int, change);
    const QByteArray added = "2024151$357\r\n";
    CannedServer server(m_draws + added);
    QVERIFY(writeBytes(m_dir->filePath("data/online.data"), "analysis$" + server.host().toLatin1() + "\r\n"));
    QVERIFY(writeBytes(m_dir->filePath("import.txt"), added));

    CMyNumSieveDlg w(m_services, m_dir->path());
    w.show();
    Workspace &ws = w.workspace();
    ws.selection.hundreds.selectAll();
    ws.selection.tens.selectAll();
    ws.selection.units.selectAll();
    w.runCommand(CMyNumSieveDlg::IdFilter);
    QCOMPARE(w.map()->outdatedNote(), QString());
    // The chart on 50 draws of 和值, made smaller; the popup of 357 open.
    w.runCommand(CMyNumSieveDlg::IdTrend);
    auto *trend = w.findChild<CDialogTrend *>();
    QVERIFY(trend);
    trend->windowBox()->setCurrentIndex(1);
    trend->tabBar()->setCurrentIndex(CDialogTrend::Sums);
    trend->resize(700, 500);
    const QSize size = trend->size();
    CDialogNumberInfo *info = w.map()->numberInfo();
    info->showFor(357, w.map()->drawList(), false, QPoint(20, 20));

    m_services.whileModal = [&](QDialog *dialog) {
        if (qobject_cast<CDialogIssueUpdate *>(dialog)) {
            dialog->exec();   // the download runs for real
            return;
        }
        auto *m = qobject_cast<CDialogManger *>(dialog);
        QVERIFY(m);
        switch (Change(change)) {
        case Typed:
            for (const auto &[edit, text] : {std::pair{LotteryManager::IssueEdit, "2024151"},
                                             std::pair{LotteryManager::NumberEdit, "357"}}) {
                m->edit(edit)->selectAll();
                m->edit(edit)->insert(text);
            }
            m->button(LotteryManager::AddDraw)->click();
            m->button(CDialogManger::IdOk)->click();
            break;
        case Imported:
            m_services.openAnswers.enqueue(m_dir->filePath("import.txt"));
            m->button(LotteryManager::ImportDraws)->click();
            m->button(CDialogManger::IdSave)->click();
            m->button(CDialogManger::IdCancel)->click();
            break;
        case Downloaded:
            m->button(LotteryManager::DownloadDraws)->click();
            m->button(CDialogManger::IdOk)->click();
            break;
        }
    };
    w.runCommand(CMyNumSieveDlg::IdLotteryManager);
    QCOMPARE(readBytes(m_dir->filePath("data/lottery_1.data")), m_draws + added);

    // The chart: the new draw is its newest row, in sight, on the tab, the
    // window and the size it had.
    QCOMPARE(trend->size(), size);
    QCOMPARE(trend->windowBox()->currentText(), QStringLiteral("50期"));
    QCOMPARE(trend->tabBar()->currentIndex(), int(CDialogTrend::Sums));
    TrendModel *model = trend->model();
    QCOMPARE(model->rowCount(), 50);
    QCOMPARE(model->data(model->index(49, 0)).toString(), QStringLiteral("2024151"));
    QCOMPARE(model->data(model->index(49, 1)).toString(), QStringLiteral("357"));
    (void)trend->chart()->viewport()->grab();
    QCOMPARE(trend->chart()->lastPaintedRow(), 49);
    // The issue selector and the popup.
    QCOMPARE(w.leftPanel()->issueSelector()->currentText(), QStringLiteral(" 2024151"));
    QCOMPARE(info->lines(), numberInfoLines(357, ws.selectionNumbers, false));
    QCOMPARE(ws.selectionNumbers.last(), QStringLiteral("357"));

    // The result: said where the counts are, and asked before saving.
    QCOMPARE(w.map()->outdatedNote(), QStringLiteral("开奖号码已更新，结果需要重新过滤"));
    m_services.questions.clear();
    w.runListCommand(kSaveStraightFiltered);
    QCOMPARE(m_services.questions,
             QStringList{"提示|开奖号码已更新，结果需要重新过滤。\n仍然保存这些号码吗？"});
    QVERIFY(m_services.suggestedNames.isEmpty());
    // Filtered again, it is current: nothing said, nothing asked.
    w.runCommand(CMyNumSieveDlg::IdFilter);
    QCOMPARE(w.map()->outdatedNote(), QString());
    m_services.questions.clear();
    m_services.saveAnswers.enqueue(m_dir->filePath("numbers"));
    w.runListCommand(kSaveStraightFiltered);
    QVERIFY(m_services.questions.isEmpty());
    QCOMPARE(m_services.suggestedNames.last(), QStringLiteral("福彩3D_直选过滤号码_2024151.txt"));
    QCOMPARE(readBytes(m_dir->filePath("numbers.txt")).count('\n'), 1000);
}

QTEST_MAIN(TestDrawChange)
#include "tst_drawchange.moc"
