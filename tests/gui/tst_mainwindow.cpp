#include "gui/app/CMyNumSieveApp.h"
#include "gui/app/CMyNumSieveDlg.h"
#include "gui/app/WindowMessages.h"
#include "gui/filter/CDialogLeft.h"
#include "gui/filter/ConditionPanel.h"
#include "gui/results/CDialogNumberInfo.h"
#include "gui/results/CDialogRight.h"
#include "core/scheme/SchemeFile.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QLockFile>
#include <QMenu>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace numsieve;
using namespace numsieve::gui;
using guitest::FakeServices;
using namespace testsupport;
using guitest::button;

namespace {

QStringList menuTexts(QMenu *menu)
{
    QStringList out;
    for (QAction *a : menu->actions())
        out.append(a->text());
    return out;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void startUpOnEmptyFolder();
    void startUpWithDraws();
    void selectAndFilterChangeTheMap();
    void saveCommands_data();
    void saveCommands();
    void printCommands();
    void menusFollowViewMode();
    void intersectMessages();
    void saveKeepsTheChosenName();
    void exitQuestion_data();
    void exitQuestion();
    void secondCloseWhileAsking();
    void schemeSavedAndLoaded();
    void enterAndEscapeDoNothing();
    void conditionListsFollowTheArrowKeys();
    void aboutBox();
    void oneProgramPerDataFolder();
    void readOnlyFolderOpensForReading();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    FakeServices m_services;
};

void TestMainWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_services = FakeServices();
}

void TestMainWindow::startUpOnEmptyFolder()
{
    CMyNumSieveDlg w(m_services, m_dir->path());
    QVERIFY(QFileInfo(m_dir->filePath("data")).isDir());
    QVERIFY(QFile::exists(m_dir->filePath("data/lottery.data")));
    QCOMPARE(w.progressLog(), (QStringList{"请稍候，系统正在启动...", "请稍候，系统正在计算遗漏数据..."}));
    QCOMPARE(w.size(), QSize(1021, 738));
    QCOMPARE(w.windowTitle(), QString("三位筛号器"));
    QCOMPARE(w.printFile(), m_dir->filePath("号码打印.txt"));
    QVERIFY(w.workspace().selectionNumbers.isEmpty());
    QCOMPARE(w.map()->geometry(), QRect(410, 60, 609, 637));
    QCOMPARE(w.leftPanel()->geometry(), QRect(2, 60, 408, 259));
    QVERIFY(!w.conditionPanel(1)->isHidden());
    for (int n = 2; n <= 15; ++n)
        QVERIFY(w.conditionPanel(n)->isHidden());
    QVERIFY(button(w, CMyNumSieveDlg::IdBuy)->isHidden());
    QVERIFY(!button(w, CMyNumSieveDlg::IdFilter)->isHidden());
    QVERIFY(m_services.warnings.isEmpty());
}

void TestMainWindow::startUpWithDraws()
{
    QVERIFY(DataFolderBuilder(m_dir->filePath("data"))
                .lottery("1", "福彩3D", "1$123\r\n2$456\r\n3$123\r\n4$789\r\n")
                .lottery("2", "排列三")
                .write());
    CMyNumSieveDlg w(m_services, m_dir->path());
    QCOMPARE(w.workspace().selectionNumbers, (QStringList{"123", "456", "123", "789"}));
    QCOMPARE(w.map()->drawList(), w.workspace().selectionNumbers);
    QVERIFY(QFile::exists(m_dir->filePath("data/lottery_2.data")));

    // A right click on the map shows the popup with the draws of the lottery.
    w.show();
    const QRect cell = w.map()->entryAt(QPoint(8 + 23 * 23 + 5, 29 + 17 * 4 + 5))->cell;
    QTest::mouseClick(w.map(), Qt::RightButton, {}, cell.center());
    QCOMPARE(w.map()->numberInfo()->number(), 123);
    QCOMPARE(w.map()->numberInfo()->lines().at(18), QString("开出次数　　2(50.00%)"));
    QCOMPARE(w.map()->numberInfo()->lines().at(23), QString("欲出几率　　2.00"));

    // Reloading after the files changed keeps the lottery and sees the new draws.
    QVERIFY(
        DataFolderBuilder(m_dir->filePath("data")).lottery("2", "排列三").lottery("1", "福彩3D", "1$123\r\n").write());
    w.sendMessage(WM_LOTTERY_RELOAD);
    QCOMPARE(w.workspace().selectionNumbers, QStringList{"123"});
    QCOMPARE(w.map()->drawList(), QStringList{"123"});
}

void TestMainWindow::selectAndFilterChangeTheMap()
{
    CMyNumSieveDlg w(m_services, m_dir->path());
    Workspace &ws = w.workspace();
    ws.selection.hundreds.setSelected(1, true);
    ws.selection.tens.selectAll();
    ws.selection.units.setSelected(4, true);
    button(w, CMyNumSieveDlg::IdSelect)->click();
    QCOMPARE(w.map()->countLines(), QStringList{"直选号码(选号10注,过滤0注,交集0注)"});

    ws.conditions.sum.add({7, 8});   // sums 7 and 8: 124 and 134
    w.sendMessage(WM_CONDITION_SWITCH, 2);
    QVERIFY(ws.enabled[2]);
    button(w, CMyNumSieveDlg::IdFilter)->click();
    QCOMPARE(w.map()->countLines(), QStringList{"直选号码(选号8注,过滤2注,交集0注)"});
    QCOMPARE(w.progressLog().last(), QString("请稍候，系统过滤选号信息..."));

    // Group mode shows the group counts; the straight stages stay.
    w.sendMessage(WM_SELECT_GROUP);
    QCOMPARE(w.map()->countLines(),
             (QStringList{"组三号码(选号0注,过滤0注,交集0注)", "组六号码(选号0注,过滤0注,交集0注)"}));
    w.sendMessage(WM_SELECT_STRAIGHT);
    QCOMPARE(w.map()->countLines(), QStringList{"直选号码(选号8注,过滤2注,交集0注)"});

    w.sendMessage(WM_SHOW_CONDITION_PANEL + 4);
    QVERIFY(!w.conditionPanel(4)->isHidden());
    QVERIFY(w.conditionPanel(1)->isHidden());
}

void TestMainWindow::saveCommands_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("straight filtered") << 32775 << "Out/NUMBERS" << "Out/NUMBERS.txt" << QByteArray("124\r\n134\r\n")
                                       << QString();
    QTest::newRow("straight selected") << 32774 << "Out/a.TXT" << "Out/a.TXT" << QByteArray("104\r\n") << QString();
    QTest::newRow("straight intersected empty") << 32776 << "" << "" << QByteArray() << "没有可保存的\"交集\"号码";
    QTest::newRow("group six empty") << 32777 << "" << "" << QByteArray() << "没有可保存的组六\"选号\"号码";
    QTest::newRow("group filtered") << 32784 << "Out/g.txt.bak" << "Out/g.txt.bak.txt" << QByteArray("001\r\n012\r\n")
                                    << QString();
    QTest::newRow("cancelled dialog") << 32775 << "" << "" << QByteArray() << QString();
}

void TestMainWindow::saveCommands()
{
    QFETCH(int, id);
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    CMyNumSieveDlg w(m_services, m_dir->path());
    QDir().mkpath(m_dir->filePath("Out"));
    ResultTables &t = w.workspace().tables;
    t.straight()[104].stage = ResultStage::Selected;
    t.straight()[124].stage = ResultStage::Filtered;
    t.straight()[134].stage = ResultStage::Filtered;
    t.groupThree()[0].stage = ResultStage::Filtered;
    t.groupSix()[0].stage = ResultStage::Filtered;
    if (!chosen.isEmpty())
        m_services.saveAnswers.enqueue(m_dir->filePath(chosen));
    w.runListCommand(id);
    QCOMPARE(m_services.warnings, message.isEmpty() ? QStringList{} : QStringList{message});
    // The empty-list message comes without a file dialog.
    QCOMPARE(m_services.fileFilters, message.isEmpty() ? QStringList{"文本文件(*.txt)"} : QStringList{});
    if (!written.isEmpty())
        QCOMPARE(readBytes(m_dir->filePath(written)), bytes);
    QCOMPARE(QDir(m_dir->filePath("Out")).entryList(QDir::Files).size(), written.isEmpty() ? 0 : 1);
}

void TestMainWindow::printCommands()
{
    CMyNumSieveDlg w(m_services, m_dir->path());
    w.workspace().tables.straight()[5].stage = ResultStage::Filtered;
    w.runListCommand(32806);
    QCOMPARE(m_services.printed, QStringList{w.printFile()});
    QCOMPARE(readBytes(w.printFile()), QByteArray("005\r\n"));

    // Printing again replaces the file; without a print service the user is told.
    w.workspace().tables.straight()[5].stage = ResultStage::None;
    w.workspace().tables.straight()[7].stage = ResultStage::Filtered;
    m_services.printError = "没有找到打印服务";
    w.runListCommand(32806);
    QCOMPARE(readBytes(w.printFile()), QByteArray("007\r\n"));
    QCOMPARE(m_services.warnings, QStringList{"没有找到打印服务"});

    w.runListCommand(32805);
    QCOMPARE(m_services.warnings.last(), QString("没有可打印的\"选号\"号码"));
}

void TestMainWindow::menusFollowViewMode()
{
    CMyNumSieveDlg w(m_services, m_dir->path());
    QCOMPARE(menuTexts(w.commandMenu(CMyNumSieveDlg::IdSaveNumbers)),
             (QStringList{"保存  直选  选号号码", "保存  直选  过滤号码", "保存  直选  交集号码"}));
    w.sendMessage(WM_SELECT_GROUP);
    const QStringList group = menuTexts(w.commandMenu(CMyNumSieveDlg::IdPrint));
    QCOMPARE(group.size(), 9);
    QCOMPARE(group.first(), QString("打印  组六  选号号码"));
    QCOMPARE(group.last(), QString("打印  组选  交集号码"));
    QCOMPARE(menuTexts(w.commandMenu(CMyNumSieveDlg::IdMore)),
             (QStringList{"方案回测...", "方案对比...", "过滤报告...", "对奖...", "走势图...", "软件更新",
                          "提交错误/建议", "使用帮助", "关于..."}));

    // Triggering a menu item runs its command.
    w.workspace().tables.groupSix()[0].stage = ResultStage::Selected;
    QMenu *menu = w.commandMenu(CMyNumSieveDlg::IdSaveNumbers);
    menu->actions().at(1)->trigger();   // 组六 过滤: empty
    QCOMPARE(m_services.warnings, QStringList{"没有可保存的组六\"过滤\"号码"});
}

void TestMainWindow::intersectMessages()
{
    CMyNumSieveDlg w(m_services, m_dir->path());
    ResultTables &t = w.workspace().tables;
    t.straight()[123].stage = ResultStage::Filtered;
    t.straight()[456].stage = ResultStage::Filtered;
    const QString good = m_dir->filePath("good.txt"), bad = m_dir->filePath("bad.txt"),
                  letters = m_dir->filePath("letters.txt");
    QVERIFY(writeBytes(good, "1 2 3\r\n"));
    QVERIFY(writeBytes(bad, "123\r\n12\r\n"));
    QVERIFY(writeBytes(letters, "4x6\r\n"));
    m_services.openAnswers << m_dir->filePath("none.txt") << bad << letters << good;
    for (int i = 0; i < 4; ++i)
        button(w, CMyNumSieveDlg::IdIntersect)->click();
    QCOMPARE(m_services.warnings, (QStringList{"文件不存在", "文件格式不正确，无法导入", "号码不是数字，无法导入"}));
    QCOMPARE(w.map()->countLines(), QStringList{"直选号码(选号0注,过滤1注,交集1注)"});
    button(w, CMyNumSieveDlg::IdIntersect)->click();   // cancelled: nothing changes
    QCOMPARE(m_services.warnings.size(), 3);
}

void TestMainWindow::saveKeepsTheChosenName()
{
    CMyNumSieveDlg w(m_services, m_dir->path());
    w.workspace().tables.straight()[124].stage = ResultStage::Filtered;
    QVERIFY(writeBytes(m_dir->filePath("MyList.txt"), "999\r\n"));
    QVERIFY(writeBytes(m_dir->filePath("plan1.cnd"), "old"));
    QVERIFY(writeBytes(m_dir->filePath("Plan2.cnd"), "old"));

    // The existing file the dialog confirmed is the one replaced; no other appears.
    m_services.saveAnswers.enqueue(m_dir->filePath("MyList.txt"));
    w.runListCommand(32775);
    QCOMPARE(readBytes(m_dir->filePath("MyList.txt")), QByteArray("124\r\n"));
    // A typed name that only gets its extension here names a file of its own ...
    m_services.saveAnswers.enqueue(m_dir->filePath("Plan1"));
    QVERIFY(w.saveScheme());
    QCOMPARE(readBytes(m_dir->filePath("plan1.cnd")), QByteArray("old"));
    QVERIFY(QFile::exists(m_dir->filePath("Plan1.cnd")));
    QVERIFY(m_services.questions.isEmpty());
    // ... and when that file exists, the user is asked first: no keeps it, yes replaces it.
    m_services.saveAnswers << m_dir->filePath("Plan2") << m_dir->filePath("Plan2");
    m_services.confirmAnswers << false << true;
    QVERIFY(!w.saveScheme());
    QCOMPARE(readBytes(m_dir->filePath("Plan2.cnd")), QByteArray("old"));
    QVERIFY(w.saveScheme());
    QVERIFY(readBytes(m_dir->filePath("Plan2.cnd")) != "old");
    QCOMPARE(m_services.questions, QStringList(2, "提示|Plan2.cnd 已存在。\n要替换它吗？"));
    QStringList files = QDir(m_dir->path()).entryList({"*.txt", "*.cnd"}, QDir::Files);
    files.sort();
    QCOMPARE(files, (QStringList{"MyList.txt", "Plan1.cnd", "Plan2.cnd", "plan1.cnd"}));
}

void TestMainWindow::exitQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("message");
    QTest::newRow("yes") << int(Answer::Yes) << "Exit.CND" << true << true << QString();
    // Yes means keep the conditions: without a scheme written the window stays.
    QTest::newRow("yes, dialog cancelled") << int(Answer::Yes) << "" << false << false << QString();
    QTest::newRow("yes, save failed") << int(Answer::Yes) << "gone/Exit.CND" << false << false << "无法保存文件 %1：";
    QTest::newRow("no") << int(Answer::No) << "" << true << false << QString();
    QTest::newRow("cancel") << int(Answer::Cancel) << "" << false << false << QString();
}

void TestMainWindow::exitQuestion()
{
    QFETCH(int, answer);
    QFETCH(QString, chosen);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    QFETCH(QString, message);
    CMyNumSieveDlg w(m_services, m_dir->path());
    w.show();
    w.workspace().conditions.sum.add({7, 8});
    w.sendMessage(WM_CONDITION_SWITCH, 2);
    w.workspace().setAdvancedConditionText("[百位]+[十位]>3\r\n");
    const QString conditions = buildSchemeText(w.workspace());
    m_services.askAnswers.enqueue(Answer(answer));
    if (!chosen.isEmpty())
        m_services.saveAnswers.enqueue(m_dir->filePath(chosen));
    button(w, CMyNumSieveDlg::IdClose)->click();
    QCOMPARE(m_services.questions,
             QStringList{"退出|需要保存条件吗\n\n是　保存条件然后退出\n否　直接退出\n取消　不退出"});
    QCOMPARE(w.isVisible(), !closed);
    QCOMPARE(QFile::exists(m_dir->filePath("Exit.CND")), saved);
    // A failed save says why; a cancelled one says nothing.
    QCOMPARE(m_services.warnings.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY2(m_services.warnings.first().startsWith(message.arg(m_dir->filePath(chosen))),
                 qPrintable(m_services.warnings.first()));
    if (!closed) {
        QCOMPARE(buildSchemeText(w.workspace()), conditions);
        // Asked again on the next close.
        m_services.askAnswers.enqueue(Answer::No);
        w.close();
        QCOMPARE(m_services.questions.size(), 2);
        QVERIFY(!w.isVisible());
    }
}

void TestMainWindow::secondCloseWhileAsking()
{
    CMyNumSieveDlg w(m_services, m_dir->path());
    w.show();
    m_services.whileAsking = [&] { button(w, CMyNumSieveDlg::IdClose)->click(); };
    m_services.askAnswers.enqueue(Answer::Yes);
    m_services.saveAnswers.enqueue(m_dir->filePath("never.cnd"));
    button(w, CMyNumSieveDlg::IdClose)->click();
    QVERIFY(!w.isVisible());
    QCOMPARE(m_services.questions.size(), 1);
    QVERIFY(!QFile::exists(m_dir->filePath("never.cnd")));
    QVERIFY(m_services.fileFilters.isEmpty());
}

void TestMainWindow::schemeSavedAndLoaded()
{
    CMyNumSieveDlg w(m_services, m_dir->path());
    Workspace &ws = w.workspace();
    ws.toleranceIndex = 2;
    ws.conditions.span.add({3});
    ws.updateConditionSwitch(4);
    ws.clickConditionButton(19);
    ws.selection.groupDigits.setSelected(5, true);
    ws.chooseSelectionPanel(2);
    m_services.saveAnswers.enqueue(m_dir->filePath("Plan.CND"));
    button(w, CMyNumSieveDlg::IdSaveScheme)->click();
    QVERIFY(QFile::exists(m_dir->filePath("Plan.CND")));
    QCOMPARE(m_services.fileFilters, QStringList{"文本文件(*.cnd)"});

    CMyNumSieveDlg other(m_services, m_dir->path());
    // A row picked before the load is no longer picked after it.
    auto *list = other.conditionPanel(1)->findChild<QListWidget *>();
    list->item(0)->setSelected(true);
    m_services.openAnswers.enqueue(m_dir->filePath("Plan.CND"));
    button(other, CMyNumSieveDlg::IdLoadScheme)->click();
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(m_services.warnings.isEmpty());
    QCOMPARE(other.progressLog().mid(2),
             (QStringList{"请稍候，系统正在验证导入信息...", "请稍候，系统正在添加导入信息..."}));
    QCOMPARE(other.workspace().toleranceIndex, 2);
    QVERIFY(other.workspace().enabled[4]);
    QCOMPARE(other.workspace().tables.viewMode(), ViewMode::Group);
    QVERIFY(!other.conditionPanel(4)->isHidden());
    QVERIFY(other.conditionPanel(1)->isHidden());
    QCOMPARE(other.map()->countLines().size(), 2);

    // A broken file changes nothing and says so.
    QVERIFY(writeBytes(m_dir->filePath("broken.cnd"), "0\r\nAdvanced\r\n"));
    m_services.openAnswers << m_dir->filePath("broken.cnd") << m_dir->filePath("gone.cnd");
    button(other, CMyNumSieveDlg::IdLoadScheme)->click();
    button(other, CMyNumSieveDlg::IdLoadScheme)->click();
    QCOMPARE(m_services.warnings, (QStringList{"文件格式不正确，无法导入", "文件不存在"}));
    QCOMPARE(other.workspace().toleranceIndex, 2);
}

void TestMainWindow::enterAndEscapeDoNothing()
{
    CMyNumSieveDlg w(m_services, m_dir->path());
    w.show();
    QTest::keyClick(&w, Qt::Key_Escape);
    QTest::keyClick(&w, Qt::Key_Return);
    QTest::keyClick(&w, Qt::Key_Enter);
    QVERIFY(w.isVisible());
    QVERIFY(m_services.questions.isEmpty());
}

void TestMainWindow::conditionListsFollowTheArrowKeys()
{
    CMyNumSieveDlg w(m_services, m_dir->path());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ConditionPanel *panel = w.conditionPanel(1);
    auto *available = qobject_cast<QListWidget *>(panel->control(1024));
    auto *chosen = qobject_cast<QListWidget *>(panel->control(1025));
    QVERIFY(available && chosen && available->count() >= 5);
    const auto selected = [&] {
        QList<int> rows;
        for (int i = 0; i < available->count(); ++i)
            if (available->item(i)->isSelected())
                rows.append(i);
        return rows;
    };
    const auto click = [&](int row) {
        QTest::mouseClick(available->viewport(), Qt::LeftButton, {}, available->visualItemRect(available->item(row)).center());
    };

    click(0);
    QTest::keyClick(available, Qt::Key_Down);
    QTest::keyClick(available, Qt::Key_Down);
    QCOMPARE(selected(), QList<int>{2});
    QTest::keyClick(available, Qt::Key_Up);
    QCOMPARE(selected(), QList<int>{1});
    // A click still adds one entry to the picks; an arrow again picks one alone.
    click(3);
    QCOMPARE(selected(), (QList<int>{1, 3}));
    QTest::keyClick(available, Qt::Key_Down);
    QCOMPARE(selected(), QList<int>{4});

    const QString picked = available->item(4)->text();
    const int before = available->count();
    qobject_cast<QAbstractButton *>(panel->control(1029))->click();
    QCOMPARE(chosen->count(), 1);
    QCOMPARE(chosen->item(0)->text(), picked);
    QCOMPARE(available->count(), before - 1);
}

void TestMainWindow::aboutBox()
{
    CMyNumSieveDlg w(m_services, m_dir->path());
    w.runCommand(CMyNumSieveDlg::IdAbout);
    QCOMPARE(m_services.modalDialogs, QStringList{"关于 三位筛号器"});
}

void TestMainWindow::oneProgramPerDataFolder()
{
    const QString data = m_dir->filePath("data");
    QVERIFY(DataFolderBuilder(data).lottery("1", "A").write());
    const auto first = lockDataFolder(m_services, data);
    QVERIFY(first);
    const QStringList before = QDir(data).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    // A second program on the same folder says so and touches nothing.
    QVERIFY(!lockDataFolder(m_services, data));
    QCOMPARE(m_services.warnings, QStringList{"三位筛号器已经在使用数据文件夹：\n" + data + "\n请不要同时运行两个三位筛号器。"});
    QCOMPARE(QDir(data).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    QCOMPARE(readBytes(data + "/lottery.data"), QByteArray("1$A\r\n"));
}

void TestMainWindow::readOnlyFolderOpensForReading()
{
    const QString data = m_dir->filePath("data");
    QVERIFY(DataFolderBuilder(data).lottery("1", "A", "2024001$123\r\n").write());
    ReadOnlyFolder readOnly(data);
    if (!readOnly.effective())
        QSKIP("this machine cannot make a folder read-only");
    // Not refused as if another program held it: opened, with the reason.
    QVERIFY(lockDataFolder(m_services, data));
    QCOMPARE(m_services.warnings, QStringList{"数据文件夹 " + data + " 是只读的，不能在其中保存\n"
                                                                      "可以查看号码、过滤和回测，但不能保存任何修改。"});
    CMyNumSieveDlg w(m_services, m_dir->path());
    QCOMPARE(w.workspace().selectionNumbers, QStringList{"123"});
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
