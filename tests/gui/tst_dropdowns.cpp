// Drop-down lists and list boxes: every entry reachable and whole, no list
// off the screen, scroll bars only where the rows do not fit, and a wheel
// turn over a closed selector left to the map unless the selector has the
// focus.
#include "Workspace.h"
#include "app/CMyNumSieveDlg.h"
#include "app/WindowMessages.h"
#include "filter/CDialogLeft.h"
#include "filter/ConditionPanel.h"
#include "filter/ConditionPanels.h"
#include "results/CDialogRight.h"
#include "ui/CBitComboBox.h"
#include "ui/CListBoxFlat.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QAbstractItemView>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>

#include <memory>

using namespace numsieve;
using namespace numsieve::gui;
using guitest::FakeServices;

namespace {

class SilentHandler : public MessageHandler
{
public:
    int sendMessage(int, int) override { return 0; }
};

LotteryRegistry manyLotteries()
{
    LotteryRegistry registry;
    for (int k = 1; k <= 12; ++k) {
        Lottery lottery{QStringLiteral("彩种") + QString::number(k), QString::number(k), {}};
        for (int i = 0; i < (k == 1 ? 200 : 3); ++i)
            lottery.draws.append({QString::number(2026001 + i), QString::asprintf("%03d", (i * 37) % 1000)});
        registry.append(lottery);
    }
    return registry;
}

// A wheel turn as it comes from the mouse, so that an ignored one goes on to
// the parents (sendEvent would mark it synthetic, and those stop where sent).
void turnWheel(QWidget *target, int delta)
{
    const QPointF pos = QRectF(target->rect()).center();
    QWheelEvent wheel(pos, target->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    qApp->notify(target, &wheel);
}

} // namespace

class TestDropDowns : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void everyEntryReachable_data();
    void everyEntryReachable();
    void wheelOverClosedSelector_data();
    void wheelOverClosedSelector();
    void panelTextsAreWhole();

private:
    QComboBox *selector(const QString &name) const;

    std::unique_ptr<Workspace> m_ws;
    SilentHandler m_handler;
    FakeServices m_services;
    std::unique_ptr<CDialogLeft> m_left;
    std::unique_ptr<QWidget> m_panelHost;
    QList<ConditionPanel *> m_panels;
};

void TestDropDowns::init()
{
    m_ws = std::make_unique<Workspace>();
    m_left = std::make_unique<CDialogLeft>(*m_ws, m_handler, m_services);
    m_left->setRegistry(manyLotteries(), 0);
    m_panelHost = std::make_unique<QWidget>();
    m_panelHost->resize(ConditionPanel::kSize);
    m_panels = createConditionPanels(*m_ws, m_handler, m_panelHost.get());
}

void TestDropDowns::cleanup()
{
    m_panels.clear();
    m_panelHost.reset();
    m_left.reset();
    m_ws.reset();
}

QComboBox *TestDropDowns::selector(const QString &name) const
{
    if (name == "lottery")
        return m_left->lotterySelector();
    if (name == "issue")
        return m_left->issueSelector();
    if (name == "tolerance")
        return m_left->toleranceSelector();
    // "N:ID": the box with that dialog id on condition panel N.
    const ConditionPanel *panel = m_panels.at(name.section(':', 0, 0).toInt() - 1);
    return qobject_cast<QComboBox *>(panel->control(name.section(':', 1).toInt()));
}

void TestDropDowns::everyEntryReachable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rows");   // rows the open list shows at once

    QTest::newRow("lottery, 12 entries") << "lottery" << 10;
    QTest::newRow("issue, 200 entries") << "issue" << 20;
    QTest::newRow("tolerance, all 11 at once") << "tolerance" << 11;
    QTest::newRow("smallest digit from") << "6:1040" << 10;
    QTest::newRow("largest digit to") << "6:1043" << 10;
    QTest::newRow("attribute") << "15:1040" << 6;
    QTest::newRow("period") << "15:1041" << 12;
    QTest::newRow("position") << "15:1042" << 3;
}

void TestDropDowns::everyEntryReachable()
{
    QFETCH(QString, name);
    QFETCH(int, rows);

    QComboBox *box = selector(name);
    QVERIFY(box);
    QWidget *window = box->window();
    window->move(0, 0);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    box->showPopup();
    QAbstractItemView *view = box->view();
    QWidget *popup = view->window();
    QTRY_VERIFY(popup->isVisible());

    const QRect screen = box->screen()->availableGeometry();
    QVERIFY2(screen.contains(popup->frameGeometry()), qPrintable(QStringLiteral("popup at %1,%2 %3x%4")
                                                                     .arg(popup->x()).arg(popup->y())
                                                                     .arg(popup->width()).arg(popup->height())));
    QCOMPARE(view->viewport()->height() / view->sizeHintForRow(0), rows);
    QCOMPARE(view->verticalScrollBar()->isVisible(), box->count() > rows);
    QVERIFY(view->sizeHintForColumn(0) <= view->viewport()->width());

    // The last entry can be brought into the list and stands whole in it.
    const QModelIndex last = box->model()->index(box->count() - 1, 0);
    if (box->count() > rows)
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    QVERIFY(view->viewport()->rect().contains(view->visualRect(last)));
    box->hidePopup();
}

void TestDropDowns::wheelOverClosedSelector_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("focused");

    QTest::newRow("tolerance, hovered") << "tolerance" << false;
    // The window hands the lottery selector its focus at start.
    QTest::newRow("lottery, focused by the window") << "lottery" << false;
    QTest::newRow("panel 6 digit, hovered") << "6" << false;
    QTest::newRow("tolerance, focused") << "tolerance" << true;
    QTest::newRow("panel 6 digit, focused") << "6" << true;
}

void TestDropDowns::wheelOverClosedSelector()
{
    QFETCH(QString, name);
    QFETCH(bool, focused);

    // The real window, so that a turn the selector leaves reaches the map.
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("data"));
    QVERIFY(testsupport::writeBytes(dir.filePath("data/lottery.data"), testsupport::gbk("1$福彩3D\r\n2$排列三\r\n")));
    CMyNumSieveDlg w(m_services, dir.path());
    w.sendMessage(WM_SHOW_CONDITION_PANEL + 6);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QComboBox *box = name == "tolerance" ? w.leftPanel()->toleranceSelector()
                     : name == "lottery"  ? w.leftPanel()->lotterySelector()
                                          : qobject_cast<QComboBox *>(w.conditionPanel(6)->control(1040));
    QVERIFY(box && box->count() > 1);
    box->setCurrentIndex(0);
    if (focused)
        box->setFocus(Qt::TabFocusReason);

    turnWheel(box, -120);
    QCOMPARE(box->currentIndex(), focused ? 1 : 0);
    QCOMPARE(w.map()->scrollPosition(), focused ? 0 : w.map()->lineStep());
}

void TestDropDowns::panelTextsAreWhole()
{
    m_panelHost->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_panelHost.get()));
    QFont captionFont;
    for (ConditionPanel *panel : m_panels) {
        const QString where = panel->objectName();
        // Every caption in one size, whole between the bar's ends.
        for (const PanelCaption &caption : panel->spec().captions) {
            const QWidget *bar = panel->control(caption.id);
            if (captionFont == QFont())
                captionFont = bar->font();
            QCOMPARE(bar->font(), captionFont);
            QVERIFY2(QFontMetrics(bar->font()).horizontalAdvance(caption.text) <= bar->contentsRect().width(),
                     qPrintable(where + ' ' + caption.text));
        }
        // A list box shows its scroll bar only when its rows do not fit, and
        // its entries whole even beside the bar.
        for (CListBoxFlat *box : panel->findChildren<CListBoxFlat *>()) {
            const bool overflows = box->count() * box->sizeHintForRow(0) > box->viewport()->height();
            QCOMPARE(box->verticalScrollBar()->isVisible(), overflows);
            const int room = box->width() - 2 * box->frameWidth() - box->verticalScrollBar()->sizeHint().width();
            QVERIFY2(box->sizeHintForColumn(0) <= room, qPrintable(where));
        }
    }
}

QTEST_MAIN(TestDropDowns)
#include "tst_dropdowns.moc"
