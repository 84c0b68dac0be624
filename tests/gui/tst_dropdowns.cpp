// Drop-down lists and list boxes: every entry reachable and whole, no list
// off the screen, scroll bars only where the rows do not fit, and a wheel
// turn over a closed selector left to the map unless the user focused it.
#include "core/Workspace.h"
#include "gui/app/CMyNumSieveDlg.h"
#include "gui/app/WindowMessages.h"
#include "gui/filter/CDialogLeft.h"
#include "gui/filter/ConditionPanels.h"
#include "gui/results/CDialogRight.h"
#include "gui/ui/CBitComboBox.h"
#include "gui/ui/CListBoxFlat.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QAbstractItemView>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>

using namespace numsieve;
using namespace numsieve::gui;

namespace {

class SilentHandler : public MessageHandler
{
public:
    int sendMessage(int, int) override { return 0; }
};

// The left panel with twelve lotteries, the first with 200 draws, and the
// fifteen condition panels, each a window of its own at the screen's corner.
struct Panels
{
    Workspace ws;
    SilentHandler handler;
    guitest::FakeServices services;
    CDialogLeft left{ws, handler, services};
    QWidget host;
    QList<ConditionPanel *> conditions = createConditionPanels(ws, handler, &host);

    Panels()
    {
        LotteryRegistry registry;
        for (int k = 1; k <= 12; ++k) {
            Lottery lottery{QStringLiteral("彩种") + QString::number(k), QString::number(k), {}};
            for (int i = 0; i < (k == 1 ? 200 : 3); ++i)
                lottery.draws.append({QString::number(2026001 + i), QStringLiteral("123")});
            registry.append(lottery);
        }
        left.setRegistry(registry, 0);
        host.resize(ConditionPanel::kSize);
    }
};

} // namespace

class TestDropDowns : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyEntryReachable_data()
    {
        QTest::addColumn<QString>("name");   // a selector, or "panel:dialog id"
        QTest::addColumn<int>("rows");       // rows the open list shows at once

        QTest::newRow("lottery, 12 entries") << "lottery" << 10;
        QTest::newRow("issue, 200 entries") << "issue" << 20;
        QTest::newRow("tolerance, all 11 at once") << "tolerance" << 11;
        QTest::newRow("smallest digit from") << "6:1040" << 10;
        QTest::newRow("largest digit to") << "6:1043" << 10;
        QTest::newRow("attribute") << "15:1040" << 6;
        QTest::newRow("period") << "15:1041" << 12;
        QTest::newRow("position") << "15:1042" << 3;
    }

    void everyEntryReachable()
    {
        QFETCH(QString, name);
        QFETCH(int, rows);
        Panels p;
        QComboBox *box = name == "lottery"     ? p.left.lotterySelector()
                         : name == "issue"     ? p.left.issueSelector()
                         : name == "tolerance" ? p.left.toleranceSelector()
                                               : qobject_cast<QComboBox *>(p.conditions.at(name.section(':', 0, 0).toInt() - 1)
                                                                               ->control(name.section(':', 1).toInt()));
        QVERIFY(box);
        box->window()->move(0, 0);
        box->window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(box->window()));
        box->showPopup();
        QAbstractItemView *view = box->view();
        QTRY_VERIFY(view->window()->isVisible());

        QVERIFY(box->screen()->availableGeometry().contains(view->window()->frameGeometry()));
        QCOMPARE(view->viewport()->height() / view->sizeHintForRow(0), rows);
        QCOMPARE(view->verticalScrollBar()->isVisible(), box->count() > rows);
        QVERIFY(view->sizeHintForColumn(0) <= view->viewport()->width());
        // The last entry can be brought into the list and stands whole in it.
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
        QVERIFY(view->viewport()->rect().contains(view->visualRect(box->model()->index(box->count() - 1, 0))));
    }

    void wheelOverClosedSelector_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Qt::FocusReason>("focus");   // NoFocusReason: the box has none
        QTest::addColumn<bool>("turns");

        QTest::newRow("tolerance, hovered") << "tolerance" << Qt::NoFocusReason << false;
        // The window hands the lottery selector its focus at start: not a
        // choice of the player's.
        QTest::newRow("lottery, focused by the window") << "lottery" << Qt::ActiveWindowFocusReason << false;
        QTest::newRow("panel 6 digit, hovered") << "6" << Qt::NoFocusReason << false;
        QTest::newRow("tolerance, focused") << "tolerance" << Qt::TabFocusReason << true;
        QTest::newRow("panel 6 digit, focused") << "6" << Qt::TabFocusReason << true;
    }

    void wheelOverClosedSelector()
    {
        QFETCH(QString, name);
        QFETCH(Qt::FocusReason, focus);
        QFETCH(bool, turns);

        // The real window, so that a turn the selector leaves reaches the map.
        QTemporaryDir dir;
        QVERIFY(
            testsupport::DataFolderBuilder(dir.filePath("data")).lottery("1", "福彩3D").lottery("2", "排列三").write());
        guitest::FakeServices services;
        CMyNumSieveDlg w(services, dir.path());
        w.sendMessage(WM_SHOW_CONDITION_PANEL + 6);
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QComboBox *box = name == "tolerance" ? w.leftPanel()->toleranceSelector()
                         : name == "lottery"  ? w.leftPanel()->lotterySelector()
                                              : qobject_cast<QComboBox *>(w.conditionPanel(6)->control(1040));
        QVERIFY(box && box->count() > 1);
        box->setCurrentIndex(0);
        if (focus != Qt::NoFocusReason) {
            box->setFocus(focus);
            QVERIFY(box->hasFocus());
        }

        // As from the mouse: sendEvent would mark it synthetic, and a
        // synthetic turn is not passed on to the parents.
        const QPointF pos = QRectF(box->rect()).center();
        QWheelEvent wheel(pos, box->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        qApp->notify(box, &wheel);

        QCOMPARE(box->currentIndex(), turns ? 1 : 0);
        QCOMPARE(w.map()->scrollPosition(), turns ? 0 : w.map()->lineStep());
    }

    void panelTextsAreWhole()
    {
        Panels p;
        p.host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p.host));
        const QFont captionFont = p.conditions.first()->control(p.conditions.first()->spec().captions.first().id)->font();
        for (ConditionPanel *panel : p.conditions) {
            const QString where = panel->objectName();
            // Every caption in one size, whole between the bar's ends.
            for (const PanelCaption &caption : panel->spec().captions) {
                const QWidget *bar = panel->control(caption.id);
                QCOMPARE(bar->font(), captionFont);
                QVERIFY2(QFontMetrics(bar->font()).horizontalAdvance(caption.text) <= bar->contentsRect().width(),
                         qPrintable(where + ' ' + caption.text));
            }
            // A list box shows its scroll bar only when its rows do not fit,
            // and its entries whole even beside the bar.
            for (CListBoxFlat *box : panel->findChildren<CListBoxFlat *>()) {
                const bool overflows = box->count() * box->sizeHintForRow(0) > box->viewport()->height();
                QCOMPARE(box->verticalScrollBar()->isVisible(), overflows);
                const int room = box->width() - 2 * box->frameWidth() - box->verticalScrollBar()->sizeHint().width();
                QVERIFY2(box->sizeHintForColumn(0) <= room, qPrintable(where));
            }
        }
    }
};

QTEST_MAIN(TestDropDowns)
#include "tst_dropdowns.moc"
