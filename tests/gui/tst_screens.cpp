#include "gui/analysis/CDialogBacktest.h"
#include "gui/analysis/CDialogCheck.h"
#include "gui/analysis/CDialogCompare.h"
#include "gui/analysis/CDialogFilterReport.h"
#include "gui/analysis/CDialogTrend.h"
#include "gui/app/CMyNumSieveDlg.h"
#include "gui/app/WindowMessages.h"
#include "gui/history/CDialogManger.h"
#include "gui/online/CDialogSoftUpdate.h"
#include "gui/results/CDialogRight.h"
#include "core/script/ScriptConditionRunner.h"
#include "gui/ui/ScreenFit.h"
#include "gui/ui/ScrollingWindow.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace numsieve;
using namespace numsieve::gui;
using namespace guitest;
using namespace testsupport;

namespace {

// The logical area a desktop leaves the program: the screen at its scaling,
// less a task bar of 40 px.
QRect desktopArea(QSize pixels, int percent)
{
    return QRect(0, 0, pixels.width() * 100 / percent, pixels.height() * 100 / percent - 40);
}

// A control a player clicks or types into; those inside a scrolling area (or
// in a window that scrolls) are reached by scrolling and are not asked to be
// in view.
bool isControl(QWidget *w, QWidget *window)
{
    if (!qobject_cast<QAbstractButton *>(w) && !qobject_cast<QLineEdit *>(w) && !qobject_cast<QAbstractSpinBox *>(w)
        && !qobject_cast<QComboBox *>(w) && !qobject_cast<QAbstractScrollArea *>(w))
        return false;
    if (!w->isVisibleTo(window))
        return false;
    for (QWidget *up = w->parentWidget(); up; up = up == window ? nullptr : up->parentWidget())
        if (qobject_cast<QAbstractScrollArea *>(up))
            return false;
    return true;
}

QString describe(QWidget *w)
{
    QString text;
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        text = b->text();
    return QStringLiteral("%1 \"%2\" %3").arg(QString::fromLatin1(w->metaObject()->className()), text, w->objectName());
}

// Every control of `window`, placed at `origin`, lies inside `area`, and no
// label shows less than its text.
void checkInside(QWidget *window, QPoint origin, const QRect &area)
{
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (isControl(w, window)) {
            const QRect r(w->mapTo(window, QPoint(0, 0)) + origin, w->size());
            QVERIFY2(area.contains(r), qPrintable(describe(w) + QStringLiteral(" at %1,%2 %3x%4")
                                                                    .arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())));
        }
        auto *label = qobject_cast<QLabel *>(w);
        if (!label || !label->isVisibleTo(window) || label->text().isEmpty() || !label->pixmap().isNull())
            continue;
        if (label->wordWrap())
            QVERIFY2(label->height() >= label->heightForWidth(label->width()), qPrintable(label->text()));
        else if (window->layout())
            QVERIFY2(label->width() >= label->minimumSizeHint().width(), qPrintable(label->text()));
    }
}

} // namespace

// The main window and every dialog on the screens players have, each at its
// desktop scaling.
class TestScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void mainWindow_data();
    void mainWindow();
    void dialogs_data();
    void dialogs();
    void scrollingMainWindow();

private:
    // A main window on the data folder with a selection and a condition.
    std::unique_ptr<CMyNumSieveDlg> newWindow(AppServices &services) const;

    QTemporaryDir m_dir;
    FakeServices m_services;
    std::unique_ptr<CMyNumSieveDlg> m_window;
    QList<Draw> m_draws;
};

std::unique_ptr<CMyNumSieveDlg> TestScreens::newWindow(AppServices &services) const
{
    auto window = std::make_unique<CMyNumSieveDlg>(services, m_dir.path());
    Workspace &ws = window->workspace();
    ws.selection.hundreds.selectAll();
    ws.selection.tens.selectAll();
    ws.selection.units.selectAll();
    ws.addEntries(2, 0, {10, 11, 12, 13, 14, 15, 16, 17});
    window->refreshPanels();
    return window;
}

void TestScreens::initTestCase()
{
    for (int i = 0; i < 60; ++i)
        m_draws.append({QString::number(2026001 + i), QString::asprintf("%03d", (i * 379 + 17) % 1000)});
    QVERIFY(DataFolderBuilder(m_dir.filePath("data")).lottery("1", "3D", m_draws).write());
    m_window = newWindow(m_services);
}

static void screens()
{
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<int>("percent");
    // What the whole program is drawn at so that the main window fits.
    QTest::addColumn<double>("factor");
    QTest::newRow("1366x768@100") << QSize(1366, 768) << 100 << 1.0;
    QTest::newRow("1920x1080@125") << QSize(1920, 1080) << 125 << 1.0;
    QTest::newRow("1920x1080@150") << QSize(1920, 1080) << 150 << 0.92;
    QTest::newRow("2560x1440@150") << QSize(2560, 1440) << 150 << 1.0;
    QTest::newRow("2560x1440@200") << QSize(2560, 1440) << 200 << 0.92;
    QTest::newRow("3840x2160@200") << QSize(3840, 2160) << 200 << 1.0;
}

void TestScreens::mainWindow_data()
{
    screens();
}

void TestScreens::mainWindow()
{
    QFETCH(QSize, pixels);
    QFETCH(int, percent);
    QFETCH(double, factor);
    FakeServices services;
    const std::unique_ptr<CMyNumSieveDlg> window = newWindow(services);
    CMyNumSieveDlg &w = *window;
    const QRect desktop = desktopArea(pixels, percent);
    QCOMPARE(drawnFactor(fitScale(w.size(), desktop.size()), percent / 100.0), factor);
    const QRect area = scaledArea(desktop, factor);
    // Never drawn below a screen pixel per unit, the window is 10 units
    // taller than a 768-pixel screen leaves above a task bar: there it is as
    // tall as the room, its panels in a column that scrolls, and only there.
    // The window itself never scrolls on these screens.
    const std::unique_ptr<ScrollingWindow> host = w.fitInto(area);
    QVERIFY(!host);
    QScrollArea *column = w.panelColumn();
    QCOMPARE(bool(column), pixels == QSize(1366, 768));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect placed(w.pos(), w.size());
    QVERIFY(area.contains(placed));
    // Drawn at the factor, the window takes no more screen pixels than there are.
    QVERIFY(w.width() * factor * percent / 100 <= pixels.width());
    QVERIFY(w.height() * factor * percent / 100 <= pixels.height() - 40 * percent / 100);
    // The command row is whole and in sight, never inside anything that scrolls.
    for (int id : {CMyNumSieveDlg::IdSaveScheme, CMyNumSieveDlg::IdLoadScheme, CMyNumSieveDlg::IdSelect,
                   CMyNumSieveDlg::IdFilter, CMyNumSieveDlg::IdIntersect, CMyNumSieveDlg::IdPrint,
                   CMyNumSieveDlg::IdSaveNumbers}) {
        QAbstractButton *b = button(w, id);
        QCOMPARE(b->parentWidget(), &w);
        QVERIFY2(area.contains(QRect(placed.topLeft() + b->pos(), b->size())), qPrintable(b->text()));
    }
    for (int panel = 1; panel <= kConditionCount; ++panel) {
        w.sendMessage(WM_SHOW_CONDITION_PANEL + panel);
        checkInside(&w, placed.topLeft(), area);
        if (!column)
            continue;
        // Every control of the panels scrolls whole into view.
        for (QWidget *control : column->widget()->findChildren<QWidget *>()) {
            if (!isControl(control, column->widget()))
                continue;
            column->ensureWidgetVisible(control, 0, 0);
            const QRect shown(control->mapTo(column->viewport(), QPoint(0, 0)), control->size());
            QVERIFY2(column->viewport()->rect().contains(shown), qPrintable(describe(control)));
        }
    }
    // No scrolling area holds another: the panels' column and the map each
    // scroll by themselves, one bar each, side by side. Lists and edits
    // scroll their own lines.
    for (QAbstractScrollArea *a : w.findChildren<QAbstractScrollArea *>()) {
        if (qobject_cast<QAbstractItemView *>(a) || qobject_cast<QPlainTextEdit *>(a))
            continue;
        QVERIFY(!a->isAncestorOf(w.map()));
        for (QWidget *up = a->parentWidget(); up != &w; up = up->parentWidget())
            QVERIFY2(!qobject_cast<QAbstractScrollArea *>(up), qPrintable(describe(a)));
    }
    if (column) {
        QVERIFY(column->verticalScrollBar()->isVisible());
        QVERIFY(!column->horizontalScrollBar()->isVisible());
        QCOMPARE(column->geometry().right() + 1, w.map()->x());
        QCOMPARE(column->geometry().bottom(), w.map()->geometry().bottom());
    }
    w.hide();
}

void TestScreens::dialogs_data()
{
    screens();
}

void TestScreens::dialogs()
{
    QFETCH(QSize, pixels);
    QFETCH(int, percent);
    QFETCH(double, factor);
    const QRect area = scaledArea(desktopArea(pixels, percent), factor);

    // A back-test of a few draws, whose figures come with their warning.
    CDialogBacktest backtest(m_services, m_window->workspace(), m_window->analysedLottery(), m_window.get());
    backtest.countBox()->setValue(3);
    QSignalSpy finished(&backtest, &CDialogBacktest::runFinished);
    backtest.start();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    QVERIFY(!backtest.warningLabel()->isHidden());

    ScriptConditionRunner runner;
    CDialogFilterReport report(m_services, runFilterReport(m_window->workspace(), {}, &runner),
                               m_window->analysedLottery(), m_window.get());
    CDialogManger manager(m_services, *m_window, m_window->loadedRegistry(), m_window->dataFolder(), m_window.get());
    CDialogTrend trend(m_services, m_window->loadedRegistry(), 0, m_window.get());
    CDialogSoftUpdate update(m_services, CMyNumSieveDlg::kVersion, QStringLiteral("127.0.0.1:9"), m_window.get());
    CDialogCheck check(m_services, m_window->analysedLottery(), m_window->workspace().tables, m_window.get());
    CDialogCompare compare(m_services, m_window->analysedLottery(), m_window.get());

    const QSize room = area.size() - kFrameReserve;
    for (QDialog *dialog :
         std::initializer_list<QDialog *>{&backtest, &report, &manager, &trend, &update, &check, &compare}) {
        // However large it was, the dialog opens within the area.
        dialog->resize(4000, 3000);
        fitDialogInto(dialog, area);
        dialog->show();
        QApplication::sendPostedEvents();
        QApplication::processEvents();
        QVERIFY2(dialog->width() <= room.width() && dialog->height() <= room.height(),
                 qPrintable(dialog->windowTitle()));
        const QRect placed = placeInside(dialog->size(), area);
        checkInside(dialog, placed.topLeft(), area);
        dialog->hide();
    }
}

// Narrower than the window, a room puts it inside a scrolling window, which
// scrolls sideways only, above the room the command row keeps; there it
// keeps its caption, its exit question and its minimise button, and gives
// the window back when done.
void TestScreens::scrollingMainWindow()
{
    FakeServices services;
    auto window = std::make_unique<CMyNumSieveDlg>(services, m_dir.path());
    auto host = window->fitInto(QRect(0, 0, 1000, 700));
    QVERIFY(host);
    QCOMPARE(host->size(), QSize(1000, 700));
    QVERIFY(window->panelColumn());
    QCOMPARE(window->height() + host->horizontalScrollBar()->sizeHint().height(), 700);
    host->show();
    QVERIFY(QTest::qWaitForWindowExposed(host.get()));
    QCOMPARE(host->windowTitle(), window->windowTitle());
    QCOMPARE(host->windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);

    window->runCommand(CMyNumSieveDlg::IdMinimise);
    QTRY_VERIFY(host->isMinimized());
    host->showNormal();

    // Cancelled, from the skin's close button and from the window manager's.
    window->runCommand(CMyNumSieveDlg::IdClose);
    QVERIFY(!host->close());
    QCOMPARE(services.questions, QStringList(2, QStringLiteral("退出|需要保存条件吗\n\n是　保存条件然后退出\n否　直接退出\n取消　不退出")));
    QVERIFY(host->isVisible() && window->isVisible());
    QVERIFY(host->horizontalScrollBar()->isVisible());
    QVERIFY(!host->verticalScrollBar()->isVisible());

    services.askAnswers.enqueue(Answer::No);
    window->runCommand(CMyNumSieveDlg::IdClose);
    QVERIFY(!host->isVisible() && !window->isVisible());

    host.reset();
    QVERIFY(window->isWindow());
    QCOMPARE(window->windowFlags(), Qt::Window | Qt::FramelessWindowHint);
}

QTEST_MAIN(TestScreens)
#include "tst_screens.moc"
