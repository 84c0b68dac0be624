#include "gui/app/CMyNumSieveDlg.h"
#include "gui/filter/CDialogLeft.h"
#include "gui/filter/ConditionPanel.h"
#include "core/filter/FilterRun.h"
#include "gui/results/CDialogRight.h"
#include "gui/selection/CDialog_Left_Sub1.h"
#include "gui/selection/CDigitRowCtrl.h"
#include "core/text/TextFile.h"
#include "gui/ui/CBitComboBox.h"
#include "gui/ui/CBitmapButtonEx.h"
#include "gui/ui/CButtonEx.h"
#include "gui/ui/CListBoxFlat.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

using namespace numsieve;
using namespace numsieve::gui;
using namespace testsupport;

namespace {

void click(QWidget *w)
{
    QVERIFY(w);
    QVERIFY2(w->isVisible(), qPrintable(w->objectName()));
    QTest::mouseClick(w, Qt::LeftButton);
}

void clickEntries(ConditionPanel *panel, int listId, const QStringList &texts)
{
    auto *box = qobject_cast<CListBoxFlat *>(panel->control(listId));
    QVERIFY(box);
    for (const QString &text : texts) {
        const QList<QListWidgetItem *> found = box->findItems(text, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        box->scrollToItem(found.first());
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, box->visualItemRect(found.first()).center());
    }
}

QAbstractButton *commandButton(CMyNumSieveDlg &w, int id)
{
    for (QAbstractButton *b : w.findChildren<QAbstractButton *>())
        if (b->property("commandId").toInt() == id)
            return b;
    return nullptr;
}

QList<int> rowsOf(const QStringList &vocabulary, const QStringList &texts)
{
    QList<int> rows;
    for (const QString &t : texts)
        rows.append(int(vocabulary.indexOf(t)));
    return rows;
}

} // namespace

// The whole main job done only through the window, compared with the core
// doing the same.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filterIntersectAndSaveThroughTheWindow();
};

void TestEndToEnd::filterIntersectAndSaveThroughTheWindow()
{
    QTemporaryDir dir;
    QVERIFY(DataFolderBuilder(dir.filePath("data")).lottery("1", "福彩3D", "1$381\r\n2$527\r\n3$096\r\n").write());
    const QString intersectFile = dir.filePath("mine.txt");
    QStringList mine;
    for (int n = 100; n < 1000; n += 7)
        mine << numberText(n);
    QVERIFY(writeTextLines(intersectFile, mine).has_value());

    guitest::FakeServices services;
    CMyNumSieveDlg w(services, dir.path());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    CDialogLeft *left = w.leftPanel();

    // Digits: every hundreds and tens digit, odd units.
    click(left->sub1()->row(0)->allButton());
    click(left->sub1()->row(1)->allButton());
    for (int d : {1, 3, 5, 7, 9})
        click(left->sub1()->row(2)->digitButton(d));

    // 和值 10 to 15 with 容错.
    click(left->conditionButton(2));
    ConditionPanel *sum = w.conditionPanel(2);
    QVERIFY(sum->isVisible());
    clickEntries(sum, 1024, {"10", "11", "12", "13", "14", "15"});
    click(sum->control(1029));
    click(sum->control(30021));
    // 跨度 排除 0 to 2 with 容错.
    click(left->conditionButton(4));
    ConditionPanel *span = w.conditionPanel(4);
    click(span->control(30003));
    clickEntries(span, 1024, {"0", "1", "2"});
    click(span->control(1029));
    click(span->control(30021));
    // 重复号 包含 无重复号, not tolerable.
    click(left->conditionButton(12));
    ConditionPanel *repeat = w.conditionPanel(12);
    clickEntries(repeat, 1024, {"无重复号"});
    click(repeat->control(1029));
    // One tolerable failure allowed.
    left->toleranceSelector()->setCurrentIndex(1);

    QCOMPARE(w.workspace().enabled, (std::array<bool, 16>{false, false, true, false, true, false, false, false,
                                                           false, false, false, false, true, false, false, false}));
    QVERIFY(left->conditionButton(12 + 15)->isVisible());
    QVERIFY(!left->conditionButton(12)->isVisible());

    click(commandButton(w, CMyNumSieveDlg::IdFilter));
    services.openAnswers.enqueue(intersectFile);
    click(commandButton(w, CMyNumSieveDlg::IdIntersect));
    QVERIFY(services.warnings.isEmpty());

    QMenu *menu = w.commandMenu(CMyNumSieveDlg::IdSaveNumbers);
    QAction *save = menu->actions().at(2);
    QCOMPARE(save->text(), QString("保存  直选  交集号码"));
    services.saveAnswers.enqueue(dir.filePath("Result"));
    save->trigger();
    QVERIFY(services.warnings.isEmpty());

    // The same set-up straight through the core.
    Workspace core;
    core.selectionNumbers = {"381", "527", "096"};
    core.selection.hundreds.selectAll();
    core.selection.tens.selectAll();
    for (int d : {1, 3, 5, 7, 9})
        core.selection.units.setSelected(d, true);
    core.addEntries(2, 0, rowsOf(vocabulary(Vocab::Sum), {"10", "11", "12", "13", "14", "15"}));
    core.setTolerable(2, true);
    core.setListMode(4, 0, ListMode::Exclude);
    core.addEntries(4, 0, {0, 1, 2});
    core.setTolerable(4, true);
    core.addEntries(12, 0, {5});
    core.toleranceIndex = 1;
    QVERIFY(runFilter(core, nullptr).has_value());
    core.tables.intersect(mine);
    const QStringList expected = core.tables.extract(ListKind::Straight, ResultStage::Intersected);
    QVERIFY(expected.size() > 10);
    QCOMPARE(readBytes(dir.filePath("Result.txt")), encodeLines(expected));
    QCOMPARE(w.map()->countLines().first(),
             QString("直选号码(选号%1注,过滤%2注,交集%3注)")
                 .arg(core.tables.counts(TableId::Straight)[0])
                 .arg(core.tables.counts(TableId::Straight)[1])
                 .arg(core.tables.counts(TableId::Straight)[2]));
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
