#include "core/Workspace.h"
#include "gui/app/WindowMessages.h"
#include "gui/filter/CDialogLeft.h"
#include "gui/selection/CDialog_Left_Sub1.h"
#include "gui/selection/CDialog_Left_Sub2.h"
#include "gui/selection/CDialog_Left_Sub3.h"
#include "gui/selection/CDialog_Left_Sub4.h"
#include "gui/selection/CDigitRowCtrl.h"
#include "gui/selection/CSelectionTypePair.h"
#include "gui/ui/CBitComboBox.h"
#include "gui/ui/CBitmapButtonEx.h"
#include "gui/ui/CButtonEx.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace numsieve;
using namespace numsieve::gui;
using guitest::FakeServices;

namespace {

using Message = std::pair<int, int>;

// Stands in for the main window and keeps what it was told.
class RecordingHandler : public MessageHandler
{
public:
    QList<Message> messages;
    int sendMessage(int message, int wParam) override
    {
        messages.append({message, wParam});
        return 0;
    }
    QList<int> codes() const
    {
        QList<int> out;
        for (const Message &m : messages)
            out.append(m.first);
        return out;
    }
};

Lottery lottery(const QString &name, const QString &id, int draws, int firstIssue = 2024001)
{
    Lottery l{name, id, {}};
    for (int i = 0; i < draws; ++i)
        l.draws.append({QString::number(firstIssue + i), QString::asprintf("%03d", (i * 37) % 1000)});
    return l;
}

LotteryRegistry threeLotteries()
{
    LotteryRegistry r;
    r.append(lottery("福彩3D", "1", 3));
    r.append(lottery("排列三", "2", 5, 2023100));
    r.append(lottery("新彩种", "7", 0));
    return r;
}

QStringList items(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out.append(box->itemText(i));
    return out;
}

QList<int> shownDigits(const CDigitRowCtrl *row)
{
    QList<int> out;
    for (int d = 0; d < 10; ++d)
        if (row->digitButton(d)->property("selected").toBool())
            out.append(d);
    return out;
}

void click(QAbstractButton *b)
{
    QVERIFY(b);
    QVERIFY2(b->isVisible(), qPrintable(b->text()));
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
}

} // namespace

class TestLeftPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void lotterySelector();
    void lotteryChange_data();
    void lotteryChange();
    void registryEdges_data();
    void registryEdges();
    void manyDraws();
    void tolerance();
    void tabs_data();
    void tabs();
    void subpanelTypeSwitch_data();
    void subpanelTypeSwitch();
    void conditionButtons();
    void switchedConditionAfterRefresh();
    void bankerLimit();
    void baseFile_data();
    void baseFile();
    void baseFileCancelKeepsList();
    void baseLabelFollowsType();
    void selectMenu_data();
    void selectMenu();
    void randomMenuItems();
    void allAndClear();
    void refreshShowsWorkspace();

private:
    std::unique_ptr<Workspace> m_ws;
    std::unique_ptr<RecordingHandler> m_main;
    std::unique_ptr<FakeServices> m_services;
    std::unique_ptr<CDialogLeft> m_left;
};

void TestLeftPanel::init()
{
    m_ws = std::make_unique<Workspace>();
    m_main = std::make_unique<RecordingHandler>();
    m_services = std::make_unique<FakeServices>();
    m_left = std::make_unique<CDialogLeft>(*m_ws, *m_main, *m_services);
    m_left->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_left.get()));
}

void TestLeftPanel::cleanup()
{
    m_left.reset();
    m_services.reset();
    m_main.reset();
    m_ws.reset();
}

void TestLeftPanel::lotterySelector()
{
    QCOMPARE(m_left->size(), QSize(408, 259));
    QCOMPARE(m_left->lotterySelector()->count(), 0);
    QCOMPARE(m_left->selectedLottery(), -1);

    m_left->setRegistry(threeLotteries(), 0);
    QCOMPARE(items(m_left->lotterySelector()), QStringList({" 福彩3D", " 排列三", " 新彩种"}));
    QCOMPARE(m_left->selectedLottery(), 0);
    QCOMPARE(items(m_left->issueSelector()), QStringList({" 2024001", " 2024002", " 2024003"}));
    QCOMPARE(m_left->issueSelector()->currentIndex(), 2);
    QCOMPARE(m_ws->selectionNumbers, QStringList({"000", "037", "074"}));
    QCOMPARE(m_main->messages, QList<Message>({{WM_LOTTERY_SELECTED, 0}}));
    QCOMPARE(m_left->registry(), threeLotteries());

    for (const char *text : {"彩票", "奖期", "容错"}) {
        auto *label = m_left->findChild<QLabel *>(text);
        QVERIFY(label);
        QCOMPARE(label->text(), QString(text));
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 54, 101));
    }
}

void TestLeftPanel::lotteryChange_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("issues");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("numbers");

    QTest::newRow("five draws") << 1
                                << QStringList{" 2023100", " 2023101", " 2023102", " 2023103", " 2023104"} << 4
                                << QStringList{"000", "037", "074", "111", "148"};
    QTest::newRow("no draws") << 2 << QStringList{} << -1 << QStringList{};
}

void TestLeftPanel::lotteryChange()
{
    QFETCH(int, index);
    QFETCH(QStringList, issues);
    QFETCH(int, current);
    QFETCH(QStringList, numbers);

    m_left->setRegistry(threeLotteries(), 0);
    m_left->issueSelector()->setCurrentIndex(0);   // an older issue changes nothing
    QCOMPARE(m_main->messages.size(), 1);
    QCOMPARE(m_ws->selectionNumbers.size(), 3);

    m_left->lotterySelector()->setCurrentIndex(index);
    QCOMPARE(items(m_left->issueSelector()), issues);
    QCOMPARE(m_left->issueSelector()->currentIndex(), current);
    QCOMPARE(m_ws->selectionNumbers, numbers);
    QCOMPARE(m_left->selectedLottery(), index);
    QCOMPARE(m_main->codes(), QList<int>({WM_LOTTERY_SELECTED, WM_LOTTERY_SELECTED}));
}

void TestLeftPanel::registryEdges_data()
{
    QTest::addColumn<int>("lotteries");
    QTest::addColumn<int>("selectIndex");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("issues");

    QTest::newRow("index kept") << 3 << 1 << 1 << 5;
    QTest::newRow("index past the end") << 3 << 7 << 0 << 3;
    QTest::newRow("no index") << 3 << -1 << 0 << 3;
    QTest::newRow("no lotteries") << 0 << 0 << -1 << 0;
}

void TestLeftPanel::registryEdges()
{
    QFETCH(int, lotteries);
    QFETCH(int, selectIndex);
    QFETCH(int, selected);
    QFETCH(int, issues);

    // A registry shown before must not leave issues or draws behind.
    m_left->setRegistry(threeLotteries(), 1);
    LotteryRegistry registry;
    for (int i = 0; i < lotteries; ++i)
        registry.append(threeLotteries().at(i));
    m_main->messages.clear();

    m_left->setRegistry(registry, selectIndex);
    QCOMPARE(m_left->lotterySelector()->count(), lotteries);
    QCOMPARE(m_left->selectedLottery(), selected);
    QCOMPARE(m_left->issueSelector()->count(), issues);
    QCOMPARE(m_left->issueSelector()->currentIndex(), issues - 1);
    QCOMPARE(m_ws->selectionNumbers.size(), issues);
    QCOMPARE(m_main->messages, QList<Message>({{WM_LOTTERY_SELECTED, 0}}));
}

void TestLeftPanel::manyDraws()
{
    LotteryRegistry registry = threeLotteries();
    registry.append(lottery("大奖池", "9", 100000, 1000000));
    m_left->setRegistry(registry, 3);
    QCOMPARE(m_left->issueSelector()->count(), 100000);
    QCOMPARE(m_left->issueSelector()->currentIndex(), 99999);
    QCOMPARE(m_left->issueSelector()->currentText(), QString(" 1099999"));
    QCOMPARE(m_left->issueSelector()->itemText(0), QString(" 1000000"));
    QCOMPARE(m_ws->selectionNumbers.size(), 100000);
    QCOMPARE(m_ws->selectionNumbers.last(), QString::asprintf("%03d", (99999 * 37) % 1000));

    // And back to a small one: the big list is gone.
    m_left->lotterySelector()->setCurrentIndex(0);
    QCOMPARE(m_left->issueSelector()->count(), 3);
    QCOMPARE(m_left->issueSelector()->currentText(), QString(" 2024003"));
}

void TestLeftPanel::tolerance()
{
    CBitComboBox *box = m_left->toleranceSelector();
    QCOMPARE(items(box), QStringList({" 不使用", " 最多1次", " 最多2次", " 最多3次", " 最多4次", " 最多5次",
                                      " 最多6次", " 最多7次", " 最多8次", " 最多9次", " 最多10次"}));
    QCOMPARE(box->currentIndex(), 0);
    box->setCurrentIndex(3);
    QCOMPARE(m_ws->toleranceIndex, 3);
    box->setCurrentIndex(10);
    QCOMPARE(m_ws->toleranceIndex, 10);

    m_ws->toleranceIndex = 7;
    m_left->refresh();
    QCOMPARE(box->currentText(), QString(" 最多7次"));
    QVERIFY(m_main->messages.isEmpty());
}

void TestLeftPanel::tabs_data()
{
    QTest::addColumn<QList<int>>("tabs");
    QTest::addColumn<int>("bankerType");
    QTest::addColumn<int>("baseType");
    QTest::addColumn<QList<int>>("sent");
    QTest::addColumn<int>("viewMode");

    const int s = WM_SELECT_STRAIGHT, g = WM_SELECT_GROUP;
    const int straight = int(SelectionType::Straight), group = int(SelectionType::Group);
    QTest::newRow("组选") << QList<int>{2} << straight << straight << QList<int>{g} << int(ViewMode::Group);
    QTest::newRow("组选 then 胆拖 straight") << QList<int>{2, 3} << straight << group << QList<int>{g, s}
                                             << int(ViewMode::Straight);
    QTest::newRow("直选 tab is active already") << QList<int>{1} << straight << straight << QList<int>{}
                                               << int(ViewMode::Straight);
    QTest::newRow("胆拖 group then 直选") << QList<int>{3, 1} << group << straight << QList<int>{g, s}
                                        << int(ViewMode::Straight);
    QTest::newRow("大底 group") << QList<int>{4} << straight << group << QList<int>{g} << int(ViewMode::Group);
    QTest::newRow("组选 then 大底 straight") << QList<int>{2, 4} << group << straight << QList<int>{g, s}
                                             << int(ViewMode::Straight);
}

void TestLeftPanel::tabs()
{
    QFETCH(QList<int>, tabs);
    QFETCH(int, bankerType);
    QFETCH(int, baseType);
    QFETCH(QList<int>, sent);
    QFETCH(int, viewMode);

    m_ws->selection.bankerType = SelectionType(bankerType);
    m_ws->selection.baseType = SelectionType(baseType);
    m_left->refresh();
    for (int t : tabs) {
        // The active look of the chosen tab does not react; click it instead.
        CBitmapButtonEx *b = m_left->tab(t, false);
        if (!b->isVisible())
            b = m_left->tab(t, true);
        click(b);
    }
    QCOMPARE(m_main->codes(), sent);
    const int last = tabs.last();
    QCOMPARE(m_ws->selection.activePanel(), last);
    QCOMPARE(int(m_ws->tables.viewMode()), viewMode);
    for (int p = 1; p <= 4; ++p) {
        QCOMPARE(m_left->selectionPanel(p)->isVisible(), p == last);
        QCOMPARE(m_left->tab(p, true)->isVisible(), p == last);
        QCOMPARE(m_left->tab(p, false)->isVisible(), p != last);
    }

    // The tab's command, as a loaded scheme issues it, runs even on the active tab.
    m_main->messages.clear();
    m_left->selectTab(last);
    QCOMPARE(m_main->codes(), QList<int>({sent.isEmpty() ? int(WM_SELECT_STRAIGHT) : sent.last()}));
}

void TestLeftPanel::subpanelTypeSwitch_data()
{
    QTest::addColumn<int>("panel");
    QTest::newRow("胆拖") << 3;
    QTest::newRow("大底") << 4;
}

void TestLeftPanel::subpanelTypeSwitch()
{
    QFETCH(int, panel);
    click(m_left->tab(panel, false));
    QCOMPARE(m_main->codes(), QList<int>({WM_SELECT_STRAIGHT}));

    CSelectionTypePair *pair = panel == 3 ? m_left->sub3()->typePair() : m_left->sub4()->typePair();
    SelectionType &type = panel == 3 ? m_ws->selection.bankerType : m_ws->selection.baseType;
    click(pair->button(SelectionType::Group));
    QCOMPARE(type, SelectionType::Group);
    QCOMPARE(pair->shownType(), SelectionType::Group);
    click(pair->button(SelectionType::Straight));
    QCOMPARE(type, SelectionType::Straight);
    QCOMPARE(pair->shownType(), SelectionType::Straight);
    QCOMPARE(m_main->codes(), QList<int>({WM_SELECT_STRAIGHT, WM_SELECT_GROUP, WM_SELECT_STRAIGHT}));

    // The panel's own choice decides when its tab is chosen again.
    click(pair->button(SelectionType::Group));
    click(m_left->tab(1, false));
    click(m_left->tab(panel, false));
    QCOMPARE(m_main->codes().mid(3), QList<int>({WM_SELECT_GROUP, WM_SELECT_STRAIGHT, WM_SELECT_GROUP}));
}

void TestLeftPanel::conditionButtons()
{
    QCOMPARE(CDialogLeft::conditionText(1), QString("号码          "));
    QCOMPARE(CDialogLeft::conditionText(3), QString("平均值      "));
    QCOMPARE(CDialogLeft::conditionText(5), QString("AC值         "));
    QCOMPARE(CDialogLeft::conditionText(9), QString("除3余        "));
    QCOMPARE(m_left->conditionButton(17)->text(), CDialogLeft::conditionText(2));
    // 跨度 at (163, 126) in dialog units, 50 × 14.
    QCOMPARE(m_left->conditionButton(9)->geometry(), QRect(245, 205, 75, 23));
    for (int k = 1; k <= 30; ++k) {
        QCOMPARE(m_left->conditionButton(k)->isVisible(), k <= 15);
        QCOMPARE(m_left->conditionButton(k)->isActive(), k == 1 || k == 16);
    }

    click(m_left->conditionButton(4));
    QCOMPARE(m_main->messages, QList<Message>({{WM_SHOW_CONDITION_PANEL + 4, 0}}));
    QCOMPARE(m_ws->currentConditionButton, 4);
    QCOMPARE(m_ws->markedCondition, 4);
    QCOMPARE(m_ws->shownConditionPanel, 4);
    for (int k = 1; k <= 30; ++k)
        QCOMPARE(m_left->conditionButton(k)->isActive(), k == 4 || k == 19);

    click(m_left->conditionButton(15));
    QCOMPARE(m_main->messages.last(), Message(WM_SHOW_CONDITION_PANEL + 15, 0));
    QVERIFY(!m_left->conditionButton(4)->isActive());
    QVERIFY(m_left->conditionButton(15)->isActive());
}

void TestLeftPanel::switchedConditionAfterRefresh()
{
    m_ws->switchCondition(2);
    m_left->refresh();
    QVERIFY(!m_left->conditionButton(2)->isVisible());
    QVERIFY(m_left->conditionButton(17)->isVisible());
    QVERIFY(m_left->conditionButton(17)->isActive());
    QVERIFY(!m_left->conditionButton(1)->isActive());
    QCOMPARE(m_left->conditionButton(17)->geometry(), m_left->conditionButton(2)->geometry());

    // The on-row button shows panel 2 too, then 跨度 takes the mark away.
    click(m_left->conditionButton(17));
    QCOMPARE(m_main->messages.last(), Message(WM_SHOW_CONDITION_PANEL + 2, 0));
    QCOMPARE(m_ws->currentConditionButton, 17);
    click(m_left->conditionButton(4));
    QVERIFY(!m_left->conditionButton(17)->isActive());
    QVERIFY(m_left->conditionButton(17)->isVisible());

    m_ws->switchCondition(2 + 15);
    m_left->refresh();
    QVERIFY(m_left->conditionButton(2)->isVisible());
    QVERIFY(!m_left->conditionButton(17)->isVisible());
}

void TestLeftPanel::bankerLimit()
{
    click(m_left->tab(3, false));
    CDigitRowCtrl *banker = m_left->sub3()->bankerRow();
    QVERIFY(!banker->menuButton() && !banker->allButton() && !banker->clearButton());
    click(banker->digitButton(1));
    click(banker->digitButton(2));
    QVERIFY(m_services->warnings.isEmpty());
    click(banker->digitButton(3));
    QCOMPARE(m_services->warnings, QStringList({"胆码不能多于两个"}));
    QCOMPARE(m_ws->selection.banker().digits(), QList<int>({1, 2}));
    QCOMPARE(shownDigits(banker), QList<int>({1, 2}));

    // Deselecting is always allowed, and then there is room again.
    click(banker->digitButton(1));
    click(banker->digitButton(3));
    QCOMPARE(m_services->warnings.size(), 1);
    QCOMPARE(m_ws->selection.banker().digits(), QList<int>({2, 3}));
    QCOMPARE(shownDigits(banker), QList<int>({2, 3}));

    // The drag row is free.
    CDigitRowCtrl *drag = m_left->sub3()->dragRow();
    for (int d : {0, 5, 7, 9})
        click(drag->digitButton(d));
    QCOMPARE(m_ws->selection.drag.digits(), QList<int>({0, 5, 7, 9}));
    QCOMPARE(shownDigits(drag), QList<int>({0, 5, 7, 9}));
}

void TestLeftPanel::baseFile_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("label");

    QTest::newRow("separators and repeats") << "1 2 3\r\n1,2,3\r\n\r\n  123 \r\n4-5-6\r\n7+8+9\r\n456\r\n" << QString()
                                            << QStringList{"123", "456", "789"} << "大底共3注号码";
    QTest::newRow("too short") << "123\n12\n456\n" << "文件格式不正确，无法导入" << QStringList{}
                               << "大底共0注号码";
    QTest::newRow("not a number") << "123\n1a3\n" << "号码不是数字，无法导入" << QStringList{} << "大底共0注号码";
    QTest::newRow("missing") << QString() << "文件不存在" << QStringList{} << "大底共0注号码";
}

void TestLeftPanel::baseFile()
{
    QFETCH(QString, content);
    QFETCH(QString, warning);
    QFETCH(QStringList, list);
    QFETCH(QString, label);

    QTemporaryDir dir;
    const QString path = dir.filePath("base.txt");
    if (!content.isNull())
        QVERIFY(testsupport::writeBytes(path, testsupport::gbk(content)));
    m_ws->selection.baseList(SelectionType::Straight) = {"321", "654"};
    click(m_left->tab(4, false));
    CDialog_Left_Sub4 *sub4 = m_left->sub4();
    m_left->refresh();
    QCOMPARE(sub4->countLabel()->text(), QString("大底共2注号码"));

    m_services->openAnswers.enqueue(path);
    click(sub4->openButton());
    QCOMPARE(m_services->fileFilters, QStringList({QString()}));
    QCOMPARE(m_services->warnings, warning.isEmpty() ? QStringList() : QStringList{warning});
    QCOMPARE(m_ws->selection.baseList(SelectionType::Straight), list);
    QCOMPARE(sub4->countLabel()->text(), label);
    QVERIFY(m_ws->selection.baseList(SelectionType::Group).isEmpty());
}

void TestLeftPanel::baseFileCancelKeepsList()
{
    m_ws->selection.baseList(SelectionType::Straight) = {"321", "654"};
    m_left->refresh();
    click(m_left->tab(4, false));
    click(m_left->sub4()->openButton());
    QCOMPARE(m_services->fileFilters.size(), 1);
    QCOMPARE(m_ws->selection.baseList(SelectionType::Straight), QStringList({"321", "654"}));
    QCOMPARE(m_left->sub4()->countLabel()->text(), QString("大底共2注号码"));
    QVERIFY(m_services->warnings.isEmpty());
}

void TestLeftPanel::baseLabelFollowsType()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("group.txt");
    QVERIFY(testsupport::writeBytes(path, "112\n123\n"));
    click(m_left->tab(4, false));
    CDialog_Left_Sub4 *sub4 = m_left->sub4();
    QCOMPARE(sub4->exampleLabel()->text(), QString("例如：123 | 1 2 3 | 1,2,3 | 1-2-3 | 1+2+3"));
    QVERIFY(sub4->formatLabel()->text().contains("重复"));

    click(sub4->typePair()->button(SelectionType::Group));
    m_services->openAnswers.enqueue(path);
    click(sub4->openButton());
    QCOMPARE(m_ws->selection.baseList(SelectionType::Group), QStringList({"112", "123"}));
    QCOMPARE(sub4->countLabel()->text(), QString("大底共2注号码"));
    click(sub4->typePair()->button(SelectionType::Straight));
    QCOMPARE(sub4->countLabel()->text(), QString("大底共0注号码"));
    click(sub4->typePair()->button(SelectionType::Group));
    QCOMPARE(sub4->countLabel()->text(), QString("大底共2注号码"));
}

void TestLeftPanel::selectMenu_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("digits");

    QTest::newRow("百位 小") << "hundreds" << 0 << "小 01234" << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("十位 中") << "tens" << 1 << "中 3456" << QList<int>{3, 4, 5, 6};
    QTest::newRow("个位 大") << "units" << 2 << "大 56789" << QList<int>{5, 6, 7, 8, 9};
    QTest::newRow("号码 奇") << "group" << 3 << "奇 13579" << QList<int>{1, 3, 5, 7, 9};
    QTest::newRow("号码 偶") << "group" << 4 << "偶 02468" << QList<int>{0, 2, 4, 6, 8};
    QTest::newRow("拖码 质") << "drag" << 5 << "质 12357" << QList<int>{1, 2, 3, 5, 7};
    QTest::newRow("拖码 合") << "drag" << 6 << "合 04689" << QList<int>{0, 4, 6, 8, 9};
    QTest::newRow("百位 余零") << "hundreds" << 7 << "除三余零 0369" << QList<int>{0, 3, 6, 9};
    QTest::newRow("个位 余一") << "units" << 8 << "除三余一 147" << QList<int>{1, 4, 7};
    QTest::newRow("号码 余二") << "group" << 9 << "除三余二 258" << QList<int>{2, 5, 8};
}

void TestLeftPanel::selectMenu()
{
    QFETCH(QString, row);
    QFETCH(int, item);
    QFETCH(QString, text);
    QFETCH(QList<int>, digits);

    struct Target {
        int tab;
        CDigitRowCtrl *ctrl;
        DigitRow *state;
    };
    const std::map<QString, Target> targets{
        {"hundreds", {1, m_left->sub1()->row(0), &m_ws->selection.hundreds}},
        {"tens", {1, m_left->sub1()->row(1), &m_ws->selection.tens}},
        {"units", {1, m_left->sub1()->row(2), &m_ws->selection.units}},
        {"group", {2, m_left->sub2()->row(), &m_ws->selection.groupDigits}},
        {"drag", {3, m_left->sub3()->dragRow(), &m_ws->selection.drag}},
    };
    const Target &t = targets.at(row);
    if (t.tab != 1)
        click(m_left->tab(t.tab, false));
    // A digit outside the item is selected first: the item replaces the row.
    int stray = 0;
    while (digits.contains(stray))
        ++stray;
    click(t.ctrl->digitButton(stray));
    QCOMPARE(t.state->digits(), QList<int>({stray}));

    click(t.ctrl->menuButton());
    QMenu *menu = t.ctrl->selectMenu();
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->actions().size(), 19);
    QCOMPARE(menu->actions().at(item)->text(), text);
    QCOMPARE(menu->actions().at(18)->text(), QString("随机9个号码"));
    menu->actions().at(item)->trigger();
    menu->hide();
    QCOMPARE(t.state->digits(), digits);
    QCOMPARE(shownDigits(t.ctrl), digits);
}

void TestLeftPanel::randomMenuItems()
{
    CDigitRowCtrl *row = m_left->sub1()->row(1);
    for (int n = 1; n <= 9; ++n) {
        QAction *a = row->selectMenu()->actions().at(9 + n);
        QCOMPARE(a->text(), QString("随机%1个号码").arg(n));
        a->trigger();
        QCOMPARE(m_ws->selection.tens.count(), n);
        QCOMPARE(shownDigits(row), m_ws->selection.tens.digits());
    }
    // The banker row has no menu at all.
    QVERIFY(!m_left->sub3()->bankerRow()->selectMenu());
}

void TestLeftPanel::allAndClear()
{
    CDigitRowCtrl *row = m_left->sub1()->row(2);
    click(row->allButton());
    QCOMPARE(m_ws->selection.units.count(), 10);
    QCOMPARE(shownDigits(row).size(), 10);
    click(row->digitButton(4));
    QCOMPARE(m_ws->selection.units.toText(), QString("1111011111"));
    click(row->clearButton());
    QCOMPARE(m_ws->selection.units.count(), 0);
    QVERIFY(shownDigits(row).isEmpty());
    // The other rows are untouched.
    QCOMPARE(m_ws->selection.hundreds.count(), 0);
    QCOMPARE(m_ws->selection.tens.count(), 0);
}

void TestLeftPanel::refreshShowsWorkspace()
{
    // What a loaded scheme leaves in the workspace, shown without any click.
    m_ws->selection.hundreds.setSelected(7, true);
    m_ws->selection.groupDigits.selectAll();
    m_ws->selection.drag.setSelected(2, true);
    QVERIFY(m_ws->selection.toggleBanker(5));
    m_ws->selection.bankerType = SelectionType::Group;
    m_ws->selection.baseType = SelectionType::Group;
    m_ws->selection.baseList(SelectionType::Group) = {"123"};
    m_ws->chooseSelectionPanel(3);
    m_left->refresh();

    QVERIFY(m_left->sub3()->isVisible());
    QVERIFY(!m_left->sub1()->isVisible());
    QVERIFY(m_left->tab(3, true)->isVisible());
    QVERIFY(!m_left->tab(1, true)->isVisible());
    QCOMPARE(shownDigits(m_left->sub1()->row(0)), QList<int>({7}));
    QCOMPARE(shownDigits(m_left->sub2()->row()).size(), 10);
    QCOMPARE(shownDigits(m_left->sub3()->bankerRow()), QList<int>({5}));
    QCOMPARE(shownDigits(m_left->sub3()->dragRow()), QList<int>({2}));
    QCOMPARE(m_left->sub3()->typePair()->shownType(), SelectionType::Group);
    QCOMPARE(m_left->sub4()->typePair()->shownType(), SelectionType::Group);
    QCOMPARE(m_left->sub4()->countLabel()->text(), QString("大底共1注号码"));
    QVERIFY(m_main->messages.isEmpty());
}

QTEST_MAIN(TestLeftPanel)
#include "tst_leftpanel.moc"
