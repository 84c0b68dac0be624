#include "gui/app/CMyNumSieveDlg.h"
#include "gui/filter/CDialogLeft.h"
#include "gui/history/CDialogIssueUpdate.h"
#include "gui/history/CDialogManger.h"
#include "gui/history/CDialogPrizes.h"
#include "core/history/DataFolder.h"
#include "gui/results/CDialogRight.h"
#include "gui/ui/CBitComboBox.h"

#include "CannedHttpServer.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

using namespace numsieve;
using namespace numsieve::gui;
using namespace guitest;
using namespace testsupport;

Q_DECLARE_METATYPE(numsieve::gui::Answer)
Q_DECLARE_METATYPE(std::optional<QStringList>)

// The lottery manager as the player meets it: opened from the main window,
// edited, saved or cancelled, and the download window against a real server.
class TestManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void addedDrawReachesTheMainWindow();
    void cancelLeavesTheFilesAlone();
    void downloadAsksBeforeDroppingDraws_data();
    void downloadAsksBeforeDroppingDraws();
    void reAddedLotteryOffersItsDraws();
    void unreadableDrawFileIsShownAndKept();
    void firstDrawsTakeTheHintAway();
    void silentServerEndsWithTheMessage();
    void actsOnlyOnTheHighlightedEntry_data();
    void actsOnlyOnTheHighlightedEntry();
    void closingAsksBeforeDroppingChanges_data();
    void closingAsksBeforeDroppingChanges();
    void prizesEditedAndSaved_data();
    void prizesEditedAndSaved();

private:
    // Runs the manager from button 1000; `edit` drives it while it is open.
    void withManager(CMyNumSieveDlg &w, const std::function<void(CDialogManger &)> &edit);
    void type(CDialogManger &m, LotteryManager::Control edit, const QString &text);
    // The bytes of lottery.data, lottery_1.data and lottery_2.data.
    QList<QByteArray> dataFiles() const
    {
        QList<QByteArray> bytes;
        for (const char *name : {"data/lottery.data", "data/lottery_1.data", "data/lottery_2.data"})
            bytes << readBytes(m_dir->filePath(name));
        return bytes;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    FakeServices m_services;
    // Typed into 奖金设置 when it opens: the four amounts, or none for 不设置.
    std::optional<QStringList> m_prizesTyped = QStringList{"2", "1000", "320", "160"};
};

void TestManager::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_services = FakeServices();
    QVERIFY(writeTwoLotteryFolder(m_dir->filePath("data"), "2024001$123\r\n2024002$456\r\n"));
}

void TestManager::withManager(CMyNumSieveDlg &w, const std::function<void(CDialogManger &)> &edit)
{
    bool opened = false;
    m_services.whileModal = [&](QDialog *dialog) {
        if (qobject_cast<CDialogIssueUpdate *>(dialog)) {
            dialog->exec();   // the download window runs for real
        } else if (auto *prizes = qobject_cast<CDialogPrizes *>(dialog)) {
            if (!m_prizesTyped) {
                prizes->clearPrizes();
                return;
            }
            for (int field = CDialogPrizes::Price; field <= CDialogPrizes::GroupSix; ++field) {
                prizes->edit(CDialogPrizes::Field(field))->clear();
                QTest::keyClicks(prizes->edit(CDialogPrizes::Field(field)), m_prizesTyped->value(field));
            }
            prizes->takeTyped();
        } else if (auto *manager = qobject_cast<CDialogManger *>(dialog)) {
            opened = true;
            edit(*manager);
        }
    };
    button(w, CMyNumSieveDlg::IdLotteryManager)->click();
    QVERIFY(opened);
    QCOMPARE(m_services.modalDialogs.value(0), QString("彩票管理"));
}

void TestManager::type(CDialogManger &m, LotteryManager::Control edit, const QString &text)
{
    // As typed: through the edit's own editing, which the manager listens to.
    m.edit(edit)->selectAll();
    m.edit(edit)->del();
    m.edit(edit)->insert(text);
}

void TestManager::addedDrawReachesTheMainWindow()
{
    CMyNumSieveDlg w(m_services, m_dir->path());
    withManager(w, [&](CDialogManger &m) {
        // Letters never reach the number edit, and it takes three digits at most.
        QTest::keyClicks(m.edit(LotteryManager::NumberEdit), "3a579");
        QCOMPARE(m.edit(LotteryManager::NumberEdit)->text(), QString("357"));
        type(m, LotteryManager::IssueEdit, "2024003");
        m.button(LotteryManager::AddDraw)->click();
        QCOMPARE(m.drawList()->currentItem()->text(), QString("2024003 - 357"));
        m.button(CDialogManger::IdOk)->click();
    });
    QVERIFY(m_services.warnings.isEmpty());
    QCOMPARE(readBytes(m_dir->filePath("data/lottery_1.data")), QByteArray("2024001$123\r\n2024002$456\r\n2024003$357\r\n"));
    // The main window read the files again: the new draw is the newest issue,
    // and the draw history of the next filter run ends with it.
    CBitComboBox *issues = w.leftPanel()->issueSelector();
    QCOMPARE(issues->count(), 3);
    QCOMPARE(issues->currentText(), QString(" 2024003"));
    QCOMPARE(w.workspace().selectionNumbers, (QStringList{"123", "456", "357"}));
}

void TestManager::cancelLeavesTheFilesAlone()
{
    const QList<QByteArray> before = dataFiles();
    CMyNumSieveDlg w(m_services, m_dir->path());
    withManager(w, [&](CDialogManger &m) {
        type(m, LotteryManager::IdEdit, "9");
        type(m, LotteryManager::NameEdit, "自选");
        m.button(LotteryManager::AddLottery)->click();
        m.lotteryList()->setCurrentRow(0);
        m.drawList()->setCurrentRow(1);
        m.button(LotteryManager::DeleteDraw)->click();
        m_services.confirmAnswers.enqueue(true);
        m.lotteryList()->setCurrentRow(1);
        m.button(LotteryManager::DeleteAllDraws)->click();
        QCOMPARE(m.drawList()->count(), 0);
        m_services.confirmAnswers.enqueue(true);
        m.button(CDialogManger::IdCancel)->click();
    });
    QCOMPARE(m_services.questions, (QStringList{"提示|您确定要全部删除吗", "提示|放弃未保存的修改吗？"}));
    QCOMPARE(dataFiles(), before);
    QVERIFY(!QFile::exists(m_dir->filePath("data/lottery_9.data")));
    QCOMPARE(w.workspace().selectionNumbers, (QStringList{"123", "456"}));
}

void TestManager::downloadAsksBeforeDroppingDraws_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<bool>("backup");
    const QByteArray local("2024001$123\r\n2024002$456\r\n");
    const QByteArray downloaded("2026001$111\r\n2026002$222\r\n2026003$333\r\n");
    QTest::newRow("替换") << Answer::Yes << downloaded << true;
    QTest::newRow("合并") << Answer::No << local + downloaded << false;
    QTest::newRow("取消") << Answer::Cancel << local << false;
}

void TestManager::downloadAsksBeforeDroppingDraws()
{
    QFETCH(Answer, answer);
    QFETCH(QByteArray, saved);
    QFETCH(bool, backup);
    CannedServer server("2026001$111\r\n\r\n2026002$222\r\n\r\n2026003$333\r\n");
    QVERIFY(writeBytes(m_dir->filePath("data/online.data"), "analysis$" + server.host().toLatin1() + "\r\n"));
    CMyNumSieveDlg w(m_services, m_dir->path());
    m_services.askAnswers.enqueue(answer);
    withManager(w, [&](CDialogManger &m) {
        m.button(LotteryManager::DownloadDraws)->click();
        QCOMPARE(m.drawList()->count(), saved.count('\n'));
        m.button(CDialogManger::IdOk)->click();
    });
    QCOMPARE(server.requestLines.size(), 1);
    QVERIFY(server.requestLines.first().startsWith("GET /analyse/issue_3d.jsp?"));
    QCOMPARE(m_services.questions,
             QStringList{"提示|下载到3期开奖号码（最新一期 2026003）。本地2期中有2期不在下载的号码里。|替换/合并"});
    const QString folder = QDir::toNativeSeparators(m_dir->filePath("data/backup"));
    QCOMPARE(m_services.warnings, backup ? QStringList{"保存前，被替换的开奖号码文件已备份到：\n" + folder} : QStringList{});
    QCOMPARE(readBytes(m_dir->filePath("data/lottery_1.data")), saved);
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), backup ? 1 : 0);
    QCOMPARE(w.workspace().selectionNumbers.size(), saved.count('\n'));
}

void TestManager::reAddedLotteryOffersItsDraws()
{
    // Lottery 5 was deleted; its draw file stayed behind.
    QVERIFY(writeBytes(m_dir->filePath("data/lottery_5.data"), "1$111\r\n2$222\r\n"));
    CMyNumSieveDlg w(m_services, m_dir->path());
    m_services.confirmAnswers.enqueue(true);
    withManager(w, [&](CDialogManger &m) {
        type(m, LotteryManager::IdEdit, "5");
        type(m, LotteryManager::NameEdit, "五");
        m.button(LotteryManager::AddLottery)->click();
        QCOMPARE(m.drawList()->count(), 2);
        QCOMPARE(m.drawList()->item(1)->text(), QString("2 - 222"));
        m.button(CDialogManger::IdOk)->click();
    });
    QCOMPARE(m_services.questions, QStringList{"提示|数据文件夹中已有彩票ID为5的开奖号码2期，是否沿用这些号码？"});
    QCOMPARE(readBytes(m_dir->filePath("data/lottery_5.data")), QByteArray("1$111\r\n2$222\r\n"));
    QVERIFY(readBytes(m_dir->filePath("data/lottery.data")).endsWith(gbk("\r\n5$五\r\n")));
    QVERIFY(m_services.warnings.isEmpty());
}

void TestManager::silentServerEndsWithTheMessage()
{
    CannedServer server({}, {}, true);
    QVERIFY(writeBytes(m_dir->filePath("data/online.data"), "analysis$" + server.host().toLatin1() + "\r\n"));
    CMyNumSieveDlg w(m_services, m_dir->path());
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    withManager(w, [&](CDialogManger &m) {
        m.setDownloadTimeout(400);
        m.button(LotteryManager::DownloadDraws)->click();
        QCOMPARE(m.drawList()->count(), 2);
        m.button(CDialogManger::IdCancel)->click();
    });
    QCOMPARE(m_services.warnings, QStringList{"找不到更新服务器，请检查您的电脑是否连通网络，或稍后再试"});
    // The event loop ran all the while: the window could paint.
    QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
    QCOMPARE(readBytes(m_dir->filePath("data/lottery_1.data")), QByteArray("2024001$123\r\n2024002$456\r\n"));
}

void TestManager::unreadableDrawFileIsShownAndKept()
{
    const QString fifo = m_dir->filePath("data/lottery_2.data");
    QVERIFY(QFile::remove(fifo));
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    CMyNumSieveDlg w(m_services, m_dir->path());
    const QString problem = fifo + " 不是普通文件，无法读取";
    QCOMPARE(m_services.warnings, QStringList{problem + "\n这些文件中的开奖号码没有载入。为了不丢失它们，"
                                                        "在把文件移出数据文件夹之前，不会保存覆盖它们。"});
    m_services.warnings.clear();
    withManager(w, [&](CDialogManger &m) {
        m.lotteryList()->setCurrentRow(1);
        type(m, LotteryManager::IssueEdit, "6");
        type(m, LotteryManager::NumberEdit, "666");
        m.button(LotteryManager::AddDraw)->click();
        QCOMPARE(m.drawList()->count(), 0);
        m.lotteryList()->setCurrentRow(0);
        type(m, LotteryManager::IssueEdit, "2024003");
        type(m, LotteryManager::NumberEdit, "357");
        m.button(LotteryManager::AddDraw)->click();
        m.button(CDialogManger::IdOk)->click();
    });
    // Said once when the window opened, once more for the refused draw; the
    // reload after saving does not repeat it.
    QCOMPARE(m_services.warnings, QStringList{keptUnreadableMessage(problem)});
    QCOMPARE(readBytes(m_dir->filePath("data/lottery_1.data")), QByteArray("2024001$123\r\n2024002$456\r\n2024003$357\r\n"));
    QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
}

namespace {

enum Gesture { BlankClick, CtrlClick, CtrlSpace };
enum Close { CancelButton, Escape, CloseBox };

void takeHighlightAway(QListWidget *list, int row, Gesture gesture)
{
    switch (gesture) {
    case BlankClick:
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 5));
        break;
    case CtrlClick:
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->visualItemRect(list->item(row)).center());
        break;
    case CtrlSpace:
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
        break;
    }
}

void clickRow(QListWidget *list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

} // namespace

void TestManager::actsOnlyOnTheHighlightedEntry_data()
{
    QTest::addColumn<bool>("draws");
    QTest::addColumn<int>("gesture");
    for (const bool draws : {false, true}) {
        const char *side = draws ? "draws" : "lotteries";
        QTest::addRow("%s, blank click", side) << draws << int(BlankClick);
        QTest::addRow("%s, ctrl+click", side) << draws << int(CtrlClick);
        QTest::addRow("%s, ctrl+space", side) << draws << int(CtrlSpace);
    }
}

void TestManager::actsOnlyOnTheHighlightedEntry()
{
    QFETCH(bool, draws);
    QFETCH(int, gesture);
    CMyNumSieveDlg w(m_services, m_dir->path());
    withManager(w, [&](CDialogManger &m) {
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        type(m, LotteryManager::IdEdit, "9");
        type(m, LotteryManager::NameEdit, "自选");
        m.button(LotteryManager::AddLottery)->click();
        clickRow(m.lotteryList(), 0);
        QListWidget *list = draws ? m.drawList() : m.lotteryList();
        const auto del = draws ? LotteryManager::DeleteDraw : LotteryManager::DeleteLottery;
        const auto modify = draws ? LotteryManager::ModifyDraw : LotteryManager::ModifyLottery;
        const int row = draws ? 1 : 2;
        const auto entries = [&] { return draws ? m.manager().drawEntries() : m.manager().lotteryEntries(); };
        const QStringList before = entries();
        QCOMPARE(before.size(), draws ? 2 : 3);

        clickRow(list, row);
        takeHighlightAway(list, row, Gesture(gesture));
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(draws ? m.manager().drawRow() : m.manager().lotteryRow(), -1);
        m.button(del)->click();
        m.button(modify)->click();
        QCOMPARE(entries(), before);
        QVERIFY(m_services.warnings.isEmpty());
        // Nothing was loaded: the issue edit holds only the next issue, waiting.
        QCOMPARE(m.edit(draws ? LotteryManager::IssueEdit : LotteryManager::IdEdit)->text(),
                 draws ? QString("2024003") : QString());

        // Highlighted again, the same entry is the one 删除 removes.
        clickRow(list, row);
        m.button(del)->click();
        QStringList expected = before;
        expected.removeAt(row);
        QCOMPARE(entries(), expected);
    });
}

void TestManager::closingAsksBeforeDroppingChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("close");
    QTest::addColumn<bool>("asks");
    QTest::newRow("nothing, 取消") << "" << int(CancelButton) << false;
    QTest::newRow("nothing, Esc") << "" << int(Escape) << false;
    QTest::newRow("added draw, 取消") << "add draw" << int(CancelButton) << true;
    QTest::newRow("added draw, Esc") << "add draw" << int(Escape) << true;
    QTest::newRow("added draw, close box") << "add draw" << int(CloseBox) << true;
    QTest::newRow("lottery moved") << "move lottery" << int(CancelButton) << true;
    QTest::newRow("lottery renamed") << "rename lottery" << int(CloseBox) << true;
    // Only the list moves; 保存 would write the draws as they were.
    QTest::newRow("draw moved in the list") << "move draw" << int(Escape) << false;
    QTest::newRow("added draw, saved") << "add draw, save" << int(CancelButton) << false;
    QTest::newRow("prizes set") << "prizes" << int(CancelButton) << true;
}

void TestManager::closingAsksBeforeDroppingChanges()
{
    QFETCH(QString, change);
    QFETCH(int, close);
    QFETCH(bool, asks);
    const QList<QByteArray> before = dataFiles();
    CMyNumSieveDlg w(m_services, m_dir->path());
    withManager(w, [&](CDialogManger &m) {
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        if (change.startsWith("add draw")) {
            type(m, LotteryManager::IssueEdit, "2024003");
            type(m, LotteryManager::NumberEdit, "357");
            m.button(LotteryManager::AddDraw)->click();
        } else if (change == "move lottery") {
            m.button(LotteryManager::LotteryDown)->click();
        } else if (change == "rename lottery") {
            type(m, LotteryManager::IdEdit, "1");
            type(m, LotteryManager::NameEdit, "福彩");
            m.button(LotteryManager::ModifyLottery)->click();
            QCOMPARE(m.manager().lotteryEntries().first(), QString("1 - 福彩"));
        } else if (change == "move draw") {
            m.drawList()->setCurrentRow(0);
            m.button(LotteryManager::DrawDown)->click();
        } else if (change == "prizes") {
            m.button(CDialogManger::IdPrizes)->click();
        }
        if (change.endsWith("save"))
            m.button(CDialogManger::IdSave)->click();
        QVERIFY(m_services.warnings.isEmpty());
        const QStringList lotteries = m.manager().lotteryEntries();
        const QStringList draws = m.manager().drawEntries();
        const auto closeIt = [&] {
            if (close == CancelButton)
                m.button(CDialogManger::IdCancel)->click();
            else if (close == Escape)
                QTest::keyClick(&m, Qt::Key_Escape);
            else
                m.close();
        };
        closeIt();
        if (asks) {
            // 否: back in the manager with every change still there.
            QCOMPARE(m_services.questions, QStringList{"提示|放弃未保存的修改吗？"});
            QVERIFY(m.isVisible());
            QCOMPARE(m.manager().lotteryEntries(), lotteries);
            QCOMPARE(m.manager().drawEntries(), draws);
            m_services.confirmAnswers.enqueue(true);
            closeIt();
            QCOMPARE(m_services.questions.size(), 2);
        } else {
            QVERIFY(m_services.questions.isEmpty());
        }
        QVERIFY(!m.isVisible());
        QCOMPARE(m.result(), int(QDialog::Rejected));
    });
    const bool saved = change.endsWith("save");
    QCOMPARE(readBytes(m_dir->filePath("data/lottery_1.data")),
             saved ? QByteArray("2024001$123\r\n2024002$456\r\n2024003$357\r\n") : before.at(1));
    QCOMPARE(readBytes(m_dir->filePath("data/lottery.data")), before.at(0));
    QCOMPARE(readBytes(m_dir->filePath("data/lottery_2.data")), before.at(2));
}

void TestManager::prizesEditedAndSaved_data()
{
    QTest::addColumn<QByteArray>("file");              // prize.data before
    QTest::addColumn<std::optional<QStringList>>("typed");
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("saved");
    const QByteArray other("2$2$1040$346$173\r\n");
    QTest::newRow("set") << other << std::optional<QStringList>(QStringList{"2", "1000", "320", "160"}) << QStringList{}
                         << "每注2元　直选1000元\n组选三320元　组选六160元" << other + "1$2$1000$320$160\r\n";
    // The dialog stays open with the reason; nothing changes.
    QTest::newRow("price too high") << other << std::optional<QStringList>(QStringList{"200", "1000", "320", "160"})
                                    << QStringList{"每注价格须是1到100元的整数"} << "没有设置奖金" << other;
    QTest::newRow("none") << QByteArray("1$2$1040$346$173\r\n") + other << std::optional<QStringList>() << QStringList{}
                          << "没有设置奖金" << other;
}

void TestManager::prizesEditedAndSaved()
{
    QFETCH(QByteArray, file);
    QFETCH(std::optional<QStringList>, typed);
    QFETCH(QStringList, warnings);
    QFETCH(QString, shown);
    QFETCH(QByteArray, saved);
    QVERIFY(writeBytes(m_dir->filePath("data/prize.data"), file));
    m_prizesTyped = typed;
    CMyNumSieveDlg w(m_services, m_dir->path());
    withManager(w, [&](CDialogManger &m) {
        m.button(CDialogManger::IdPrizes)->click();
        QCOMPARE(m_services.warnings, warnings);
        QCOMPARE(m.prizesLabel()->text(), shown);
        m.button(CDialogManger::IdOk)->click();
    });
    QCOMPARE(m_services.modalDialogs, (QStringList{"彩票管理", "奖金设置"}));
    QCOMPARE(readBytes(m_dir->filePath("data/prize.data")), saved);
}

void TestManager::firstDrawsTakeTheHintAway()
{
    QVERIFY(writeBytes(m_dir->filePath("data/lottery_1.data"), ""));
    CMyNumSieveDlg w(m_services, m_dir->path());
    w.show();
    QLabel *hint = w.findChild<CDialogRight *>()->noDrawsHint();
    QVERIFY(hint->isVisible());
    QCOMPARE(hint->text(), CDialogRight::kNoDrawsHint);
    // Lottery 2 has a draw: no hint there.
    w.leftPanel()->lotterySelector()->setCurrentIndex(1);
    QVERIFY(!hint->isVisible());
    w.leftPanel()->lotterySelector()->setCurrentIndex(0);
    QVERIFY(hint->isVisible());
    withManager(w, [&](CDialogManger &m) {
        type(m, LotteryManager::IssueEdit, "2024001");
        type(m, LotteryManager::NumberEdit, "123");
        m.button(LotteryManager::AddDraw)->click();
        m.button(CDialogManger::IdOk)->click();
    });
    QVERIFY(!hint->isVisible());
}

QTEST_MAIN(TestManager)
#include "tst_manager.moc"
