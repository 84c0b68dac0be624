#include "gui/results/CDialogNumberInfo.h"
#include "gui/results/CDialogRight.h"
#include "core/results/NumberStatistics.h"
#include "core/results/ResultTables.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using numsieve::ResultEntry;
using numsieve::ResultStage;
using numsieve::ResultTables;
using numsieve::TableId;
using numsieve::ViewMode;
using numsieve::gui::CDialogNumberInfo;
using numsieve::gui::CDialogRight;

Q_DECLARE_METATYPE(ResultStage)
Q_DECLARE_METATYPE(TableId)
Q_DECLARE_METATYPE(ViewMode)

namespace {

constexpr int kNone = -1;

QPoint centreOf(const QRect &r)
{
    return r.topLeft() + QPoint(r.width() / 2, r.height() / 2);
}

// Every stage of the three tables, to see that a click changed exactly one.
QList<ResultStage> allStages(ResultTables &tables)
{
    QList<ResultStage> stages;
    for (TableId id : {TableId::Straight, TableId::GroupThree, TableId::GroupSix}) {
        for (const ResultEntry &e : tables.table(id))
            stages.append(e.stage);
    }
    return stages;
}

int flatIndex(TableId id, int index)
{
    switch (id) {
    case TableId::Straight:
        return index;
    case TableId::GroupThree:
        return 1000 + index;
    case TableId::GroupSix:
        return 1090 + index;
    }
    return -1;
}

} // namespace

class TestMap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void cellRectangles_data();
    void cellRectangles();
    void cellColours_data();
    void cellColours();
    void groupModeHidesStraightCells();
    void leftClickStepsStage_data();
    void leftClickStepsStage();
    void hitTest_data();
    void hitTest();
    void rightClickShowsNumberInfo_data();
    void rightClickShowsNumberInfo();
    void popupValuesShareTheirColumn();
    void popupDragsByClientArea();
    void popupHides_data();
    void popupHides();
    void scrolling_data();
    void scrolling();
    void tallPanelCannotScroll();
    void noDrawsNoteTouchesNothing_data();
    void noDrawsNoteTouchesNothing();

private:
    std::unique_ptr<ResultTables> m_tables;
    std::unique_ptr<CDialogRight> m_map;
};

void TestMap::init()
{
    m_tables = std::make_unique<ResultTables>();
    m_map = std::make_unique<CDialogRight>(*m_tables);
    m_map->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_map.get()));
}

void TestMap::cleanup()
{
    m_map.reset();
    m_tables.reset();
}

void TestMap::cellRectangles_data()
{
    QTest::addColumn<ViewMode>("mode");
    QTest::addColumn<TableId>("table");
    QTest::addColumn<int>("index");
    QTest::addColumn<QRect>("cell");

    // 24 x 18 cells, 23 x 17 apart: neighbours share a border line.
    QTest::newRow("straight 000") << ViewMode::Straight << TableId::Straight << 0 << QRect(8, 29, 24, 18);
    QTest::newRow("straight 024, end of row") << ViewMode::Straight << TableId::Straight << 24 << QRect(560, 29, 24, 18);
    QTest::newRow("straight 025, next row") << ViewMode::Straight << TableId::Straight << 25 << QRect(8, 46, 24, 18);
    QTest::newRow("straight 999") << ViewMode::Straight << TableId::Straight << 999 << QRect(560, 692, 24, 18);
    QTest::newRow("group three first") << ViewMode::Group << TableId::GroupThree << 0 << QRect(8, 29, 24, 18);
    QTest::newRow("group three last") << ViewMode::Group << TableId::GroupThree << 89 << QRect(330, 80, 24, 18);
    QTest::newRow("group six first") << ViewMode::Group << TableId::GroupSix << 0 << QRect(8, 128, 24, 18);
    QTest::newRow("group six 26th") << ViewMode::Group << TableId::GroupSix << 25 << QRect(8, 145, 24, 18);
    QTest::newRow("group six last") << ViewMode::Group << TableId::GroupSix << 119 << QRect(445, 196, 24, 18);
}

void TestMap::cellRectangles()
{
    QFETCH(ViewMode, mode);
    QFETCH(TableId, table);
    QFETCH(int, index);
    QFETCH(QRect, cell);

    m_tables->setViewMode(mode);
    m_map->grab();
    QCOMPARE(m_tables->table(table)[size_t(index)].cell, cell);
}

void TestMap::cellColours_data()
{
    QTest::addColumn<ResultStage>("stage");
    QTest::addColumn<QColor>("fill");

    QTest::newRow("none") << ResultStage::None << QColor(255, 255, 255);
    QTest::newRow("selected") << ResultStage::Selected << QColor(113, 196, 241);
    QTest::newRow("filtered") << ResultStage::Filtered << QColor(255, 175, 55);
    QTest::newRow("intersected") << ResultStage::Intersected << QColor(255, 77, 32);
}

void TestMap::cellColours()
{
    QFETCH(ResultStage, stage);
    QFETCH(QColor, fill);

    // Straight 000 and group-six 789 (the last cell) carry the stage.
    m_tables->straight()[0].stage = stage;
    m_tables->groupSix()[119].stage = stage;
    for (ViewMode mode : {ViewMode::Straight, ViewMode::Group}) {
        m_tables->setViewMode(mode);
        const ResultEntry &entry = mode == ViewMode::Straight ? m_tables->straight()[0] : m_tables->groupSix()[119];
        const QImage image = m_map->grab().toImage();
        const QRect cell = entry.cell;
        QCOMPARE(image.pixelColor(cell.topLeft()), QColor(204, 204, 204));
        QCOMPARE(image.pixelColor(cell.bottomRight()), QColor(204, 204, 204));
        QCOMPARE(image.pixelColor(cell.topLeft() + QPoint(1, 1)), fill);
        QCOMPARE(image.pixelColor(cell.bottomRight() - QPoint(1, 1)), fill);
        // The digits keep off the grid lines: the column inside each side
        // line is the fill alone.
        for (int y = cell.top() + 1; y < cell.bottom(); ++y) {
            QCOMPARE(image.pixelColor(cell.left() + 1, y), fill);
            QCOMPARE(image.pixelColor(cell.right() - 1, y), fill);
        }
    }
}

void TestMap::groupModeHidesStraightCells()
{
    // A red straight cell far below the group grids.
    m_tables->straight()[600].stage = ResultStage::Intersected;
    const QRect straightCell(8, 437, 24, 18);
    m_tables->setViewMode(ViewMode::Group);
    m_map->repaintMap();
    const QImage image = m_map->grab().toImage();
    QCOMPARE(image.pixelColor(straightCell.topLeft() + QPoint(1, 1)), QColor(Qt::white));
    QCOMPARE(image.pixelColor(straightCell.topLeft()), QColor(Qt::white));

    QSignalSpy changed(m_map.get(), &CDialogRight::stagesChanged);
    const QList<ResultStage> before = allStages(*m_tables);
    QTest::mouseClick(m_map.get(), Qt::LeftButton, {}, centreOf(straightCell));
    QCOMPARE(allStages(*m_tables), before);
    QCOMPARE(changed.count(), 0);
}

void TestMap::leftClickStepsStage_data()
{
    QTest::addColumn<ViewMode>("mode");
    QTest::addColumn<TableId>("table");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("countLine");
    QTest::addColumn<QString>("kind");

    QTest::newRow("straight 037") << ViewMode::Straight << TableId::Straight << 37 << 0 << "直选号码";
    QTest::newRow("group three 122") << ViewMode::Group << TableId::GroupThree << 10 << 0 << "组三号码";
    QTest::newRow("group six 789") << ViewMode::Group << TableId::GroupSix << 119 << 1 << "组六号码";
}

void TestMap::leftClickStepsStage()
{
    QFETCH(ViewMode, mode);
    QFETCH(TableId, table);
    QFETCH(int, index);
    QFETCH(int, countLine);
    QFETCH(QString, kind);

    m_tables->setViewMode(mode);
    // Other entries of the same table hold stages that must neither change
    // nor stop being counted.
    auto entries = m_tables->table(table);
    entries[size_t(index)].stage = ResultStage::Intersected;
    entries[size_t(index == 0 ? 1 : 0)].stage = ResultStage::Selected;
    entries[size_t(index == 2 ? 3 : 2)].stage = ResultStage::Intersected;
    m_map->repaintMap();
    m_map->grab();

    QSignalSpy changed(m_map.get(), &CDialogRight::stagesChanged);
    const QPoint point = centreOf(entries[size_t(index)].cell);
    const struct {
        ResultStage stage;
        const char *counts;
    } steps[] = {
        {ResultStage::None, "(选号1注,过滤0注,交集1注)"},
        {ResultStage::Selected, "(选号2注,过滤0注,交集1注)"},
        {ResultStage::Filtered, "(选号1注,过滤1注,交集1注)"},
        {ResultStage::Intersected, "(选号1注,过滤0注,交集2注)"},
    };
    QCOMPARE(m_map->countLines().at(countLine), kind + "(选号1注,过滤0注,交集2注)");
    for (const auto &step : steps) {
        QTest::mouseClick(m_map.get(), Qt::LeftButton, {}, point);
        QCOMPARE(entries[size_t(index)].stage, step.stage);
        QCOMPARE(m_map->countLines().at(countLine), kind + QString::fromUtf8(step.counts));
    }
    QCOMPARE(changed.count(), 4);
    QCOMPARE(m_map->countLines().size(), mode == ViewMode::Straight ? 1 : 2);
}

void TestMap::hitTest_data()
{
    QTest::addColumn<ViewMode>("mode");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<TableId>("table");
    QTest::addColumn<int>("index");

    // Cells 000 (8..31 x 29..46), 001 from x 31, 025 from y 46.
    QTest::newRow("inside 000") << ViewMode::Straight << QPoint(20, 38) << TableId::Straight << 0;
    QTest::newRow("shared column border") << ViewMode::Straight << QPoint(31, 38) << TableId::Straight << 0;
    QTest::newRow("right of shared border") << ViewMode::Straight << QPoint(32, 38) << TableId::Straight << 1;
    QTest::newRow("shared row border") << ViewMode::Straight << QPoint(20, 46) << TableId::Straight << 0;
    QTest::newRow("shared corner of four") << ViewMode::Straight << QPoint(31, 46) << TableId::Straight << 0;
    QTest::newRow("below shared border") << ViewMode::Straight << QPoint(20, 47) << TableId::Straight << 25;
    QTest::newRow("left of grid") << ViewMode::Straight << QPoint(7, 38) << TableId::Straight << kNone;
    QTest::newRow("right of grid") << ViewMode::Straight << QPoint(584, 38) << TableId::Straight << kNone;
    QTest::newRow("count line") << ViewMode::Straight << QPoint(20, 20) << TableId::Straight << kNone;
    QTest::newRow("right edge of the row") << ViewMode::Straight << QPoint(583, 38) << TableId::Straight << 24;
    QTest::newRow("group three 001") << ViewMode::Group << QPoint(20, 38) << TableId::GroupThree << 0;
    QTest::newRow("group three shared border") << ViewMode::Group << QPoint(54, 46) << TableId::GroupThree << 1;
    QTest::newRow("after group three") << ViewMode::Group << QPoint(360, 90) << TableId::GroupThree << kNone;
    QTest::newRow("group six count line") << ViewMode::Group << QPoint(20, 115) << TableId::GroupSix << kNone;
    QTest::newRow("group six 012") << ViewMode::Group << QPoint(20, 130) << TableId::GroupSix << 0;
    QTest::newRow("group six shared row border") << ViewMode::Group << QPoint(20, 145) << TableId::GroupSix << 0;
    QTest::newRow("last group six cell") << ViewMode::Group << QPoint(468, 213) << TableId::GroupSix << 119;
    QTest::newRow("below group six") << ViewMode::Group << QPoint(468, 214) << TableId::GroupSix << kNone;
    QTest::newRow("hints in group mode") << ViewMode::Group << QPoint(20, 300) << TableId::GroupSix << kNone;
}

void TestMap::hitTest()
{
    QFETCH(ViewMode, mode);
    QFETCH(QPoint, point);
    QFETCH(TableId, table);
    QFETCH(int, index);

    m_tables->setViewMode(mode);
    m_map->repaintMap();
    m_map->grab();
    QTest::mouseClick(m_map.get(), Qt::LeftButton, {}, point);

    QList<ResultStage> expected(1000 + 90 + 120, ResultStage::None);
    if (index != kNone)
        expected[flatIndex(table, index)] = ResultStage::Selected;
    QCOMPARE(allStages(*m_tables), expected);
}

void TestMap::rightClickShowsNumberInfo_data()
{
    QTest::addColumn<ViewMode>("mode");
    QTest::addColumn<TableId>("table");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("draws");
    QTest::addColumn<QStringList>("history");

    const QStringList draws{"123", "456", "321", "123", "789"};
    // Straight: 123 drawn twice (positions 0 and 3); in group mode 321 counts too.
    QTest::newRow("straight 123") << ViewMode::Straight << TableId::Straight << 123 << draws
                                  << QStringList{"开出次数　　2(40.00%)", "本期遗漏　　1", "上期遗漏　　2",
                                                 "平均遗漏　　1.00", "最大遗漏　　2", "欲出几率　　1.00"};
    // Group six 123 is the 37th: 36 group-six numbers begin with 0.
    QTest::newRow("group six 123") << ViewMode::Group << TableId::GroupSix << 36 << draws
                                   << QStringList{"开出次数　　3(60.00%)", "本期遗漏　　1", "上期遗漏　　无",
                                                  "平均遗漏　　0.33", "最大遗漏　　1", "欲出几率　　3.00"};
    QTest::newRow("never drawn") << ViewMode::Straight << TableId::Straight << 5 << draws
                                 << QStringList{"开出次数　　0(0.00%)", "本期遗漏　　5", "上期遗漏　　无",
                                                "平均遗漏　　无", "最大遗漏　　无", "欲出几率　　无"};
}

void TestMap::rightClickShowsNumberInfo()
{
    QFETCH(ViewMode, mode);
    QFETCH(TableId, table);
    QFETCH(int, index);
    QFETCH(QStringList, draws);
    QFETCH(QStringList, history);

    m_tables->setViewMode(mode);
    m_map->setDrawList(draws);
    m_map->repaintMap();
    m_map->grab();
    const ResultEntry &entry = m_tables->table(table)[size_t(index)];
    const QPoint point = centreOf(entry.cell);
    QTest::mouseClick(m_map.get(), Qt::RightButton, {}, point);

    CDialogNumberInfo *info = m_map->numberInfo();
    QVERIFY(info->isVisible());
    QCOMPARE(info->number(), entry.number);
    QCOMPARE(info->isGroup(), mode == ViewMode::Group);
    QCOMPARE(info->lines().size(), 24);
    QCOMPARE(info->lines().first(), "号码　　　　" + numsieve::numberText(entry.number));
    QCOMPARE(info->lines().mid(18), history);
    QCOMPARE(info->geometry(), QRect(m_map->mapToGlobal(point) - QPoint(253, 10), QSize(271, 282)));
    // A right click changes no stage.
    QCOMPARE(entry.stage, ResultStage::None);
}

void TestMap::popupValuesShareTheirColumn()
{
    // A number whose sum (second line) and AC value (sixth line) are the
    // same text, so that both values must start on the same pixel column.
    const auto value = [](const QString &line) { return line.mid(line.lastIndexOf(QChar(0x3000)) + 1); };
    int number = 0;
    while (number < 1000) {
        const QStringList lines = numsieve::numberInfoLines(number, {}, false);
        if (value(lines.at(1)) == value(lines.at(5)))
            break;
        ++number;
    }
    QVERIFY(number < 1000);
    CDialogNumberInfo *info = m_map->numberInfo();
    info->showFor(number, {}, false, QPoint(0, 0));
    const QImage image = info->grab().toImage();
    // The first dark pixel right of the names, on the text rows of a line.
    const auto valueLeft = [&image](int top) {
        for (int x = 50; x < 130; ++x)
            for (int y = top; y < top + 14; ++y)
                if (qGray(image.pixel(x, y)) < 100)
                    return x;
        return -1;
    };
    const auto &positions = numsieve::numberInfoPositions();
    QVERIFY(valueLeft(positions[1].y()) > 0);
    QCOMPARE(valueLeft(positions[5].y()), valueLeft(positions[1].y()));
}

void TestMap::popupDragsByClientArea()
{
    CDialogNumberInfo *info = m_map->numberInfo();
    info->showFor(123, {}, false, QPoint(300, 200));
    QCOMPARE(info->pos(), QPoint(300, 200));
    QTest::mousePress(info, Qt::LeftButton, {}, QPoint(100, 150));
    QTest::mouseMove(info, QPoint(130, 170));
    QTest::mouseRelease(info, Qt::LeftButton, {}, QPoint(130, 170));
    QCOMPARE(info->pos(), QPoint(330, 220));
    QTest::mouseMove(info, QPoint(10, 10));
    QCOMPARE(info->pos(), QPoint(330, 220));
}

void TestMap::popupHides_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("escape") << "escape";
    QTest::newRow("close button") << "close";
    QTest::newRow("left click on a cell") << "cell";
    QTest::newRow("left click beside the cells") << "beside";
}

void TestMap::popupHides()
{
    QFETCH(QString, how);

    m_map->setDrawList({"123", "456"});
    CDialogNumberInfo *info = m_map->numberInfo();
    // A right click outside every cell opens nothing.
    QTest::mouseClick(m_map.get(), Qt::RightButton, {}, QPoint(7, 38));
    QVERIFY(!info->isVisible());
    QTest::mouseClick(m_map.get(), Qt::RightButton, {}, QPoint(20, 38));
    QVERIFY(info->isVisible());
    QCOMPARE(info->number(), 0);

    if (how == "escape")
        QTest::keyClick(info, Qt::Key_Escape);
    else if (how == "close")
        QTest::mouseClick(info->closeButton(), Qt::LeftButton);
    else if (how == "cell")
        QTest::mouseClick(m_map.get(), Qt::LeftButton, {}, QPoint(20, 38));
    else
        QTest::mouseClick(m_map.get(), Qt::LeftButton, {}, QPoint(300, 720));
    QVERIFY(!info->isVisible());
    QCOMPARE(m_tables->straight()[0].stage, how == "cell" ? ResultStage::Selected : ResultStage::None);
}

void TestMap::scrolling_data()
{
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<int>("position");

    // 886 px of content in a 637 px page: range 249, line 12, page 24.
    QTest::newRow("wheel towards the user") << QStringList{"wheel -120"} << 12;
    QTest::newRow("wheel away at the top") << QStringList{"wheel 120"} << 0;
    QTest::newRow("two notches at once") << QStringList{"wheel -240"} << 24;
    QTest::newRow("half notches add up") << QStringList{"wheel -60", "wheel -60"} << 12;
    QTest::newRow("line down") << QStringList{"line 1"} << 12;
    QTest::newRow("page down") << QStringList{"page 1"} << 24;
    QTest::newRow("page up at the top") << QStringList{"page -1"} << 0;
    QTest::newRow("thumb to the end") << QStringList{"thumb 249"} << 249;
    QTest::newRow("line down at the end") << QStringList{"thumb 249", "line 1"} << 249;
    QTest::newRow("pages stop at the end") << QStringList(11, "page 1") << 249;
    QTest::newRow("line up from near the top") << QStringList{"thumb 7", "line -1"} << 0;
    QTest::newRow("wheel up from the end") << QStringList{"thumb 249", "wheel 120"} << 237;
}

void TestMap::scrolling()
{
    QFETCH(QStringList, moves);
    QFETCH(int, position);

    QCOMPARE(m_map->size(), QSize(609, 637));
    QCOMPARE(m_map->scrollRange(), 249);
    QVERIFY(m_map->scrollBar()->isEnabled());
    QScrollBar *bar = m_map->scrollBar();
    for (const QString &move : moves) {
        const QStringList parts = move.split(' ');
        const int amount = parts[1].toInt();
        if (parts[0] == "wheel")
            m_map->wheelScrolled(amount);
        else if (parts[0] == "line")
            bar->triggerAction(amount > 0 ? QScrollBar::SliderSingleStepAdd : QScrollBar::SliderSingleStepSub);
        else if (parts[0] == "page")
            bar->triggerAction(amount > 0 ? QScrollBar::SliderPageStepAdd : QScrollBar::SliderPageStepSub);
        else
            bar->setSliderPosition(amount);
    }
    QCOMPARE(m_map->scrollPosition(), position);
    QCOMPARE(bar->value(), position);

    // The stored rectangles move with the contents, before and after a paint,
    // and a click hits the cell that is now under the mouse.
    QCOMPARE(m_tables->straight()[0].cell, QRect(8, 29 - position, 24, 18));
    m_map->grab();
    QCOMPARE(m_tables->straight()[0].cell, QRect(8, 29 - position, 24, 18));
    QCOMPARE(m_tables->straight()[999].cell, QRect(560, 692 - position, 24, 18));
    QTest::mouseClick(m_map.get(), Qt::LeftButton, {}, QPoint(20, 300));
    const int clicked = ((300 + position - 29) / 17) * 25;
    QCOMPARE(m_tables->straight()[size_t(clicked)].stage, ResultStage::Selected);
    QCOMPARE(m_tables->counts(TableId::Straight), (std::array<int, 3>{1, 0, 0}));
}

void TestMap::tallPanelCannotScroll()
{
    m_map->wheelScrolled(-360);
    QCOMPARE(m_map->scrollPosition(), 36);

    // A resize starts again at the top; a page taller than the content
    // leaves the bar disabled.
    m_map->resize(609, 700);
    QCOMPARE(m_map->scrollPosition(), 0);
    QCOMPARE(m_map->scrollRange(), 186);
    QCOMPARE(m_map->lineStep(), 9);
    QCOMPARE(m_tables->straight()[0].cell, QRect(8, 29, 24, 18));

    m_map->resize(609, 900);
    QCOMPARE(m_map->scrollRange(), 0);
    QVERIFY(!m_map->scrollBar()->isEnabled());
    m_map->wheelScrolled(-120);
    m_map->scrollBar()->triggerAction(QScrollBar::SliderPageStepAdd);
    QCOMPARE(m_map->scrollPosition(), 0);
    QCOMPARE(m_tables->straight()[0].cell, QRect(8, 29, 24, 18));
}

// The note of a lottery without draws sits above the map: it covers no cell
// and no count line, a click on it reaches no cell, and once closed it is gone.
void TestMap::noDrawsNoteTouchesNothing_data()
{
    QTest::addColumn<ViewMode>("mode");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("straight, left click") << ViewMode::Straight << Qt::LeftButton;
    QTest::newRow("straight, right click") << ViewMode::Straight << Qt::RightButton;
    QTest::newRow("group, left click") << ViewMode::Group << Qt::LeftButton;
}

void TestMap::noDrawsNoteTouchesNothing()
{
    QFETCH(ViewMode, mode);
    QFETCH(Qt::MouseButton, button);
    m_tables->setViewMode(mode);
    m_map->setDrawList({});
    QLabel *hint = m_map->noDrawsHint();
    QVERIFY(hint->isVisible());
    QCOMPARE(hint->text(), CDialogRight::kNoDrawsHint);
    m_map->grab();
    const QRect note(hint->mapTo(m_map.get(), QPoint(0, 0)), hint->size());
    const TableId first = mode == ViewMode::Straight ? TableId::Straight : TableId::GroupThree;
    // The count line stands in the 17 pixels above the first row.
    QVERIFY(note.bottom() < m_tables->table(first)[0].cell.top() - 17);
    const QList<TableId> shown = mode == ViewMode::Straight ? QList{TableId::Straight}
                                                            : QList{TableId::GroupThree, TableId::GroupSix};
    for (TableId id : shown)
        for (const ResultEntry &e : m_tables->table(id))
            QVERIFY2(!e.cell.intersects(note), qPrintable(QString::number(e.number)));

    const QList<ResultStage> before = allStages(*m_tables);
    QTest::mouseClick(hint, button, {}, hint->rect().center());
    QCOMPARE(allStages(*m_tables), before);
    QVERIFY(!m_map->numberInfo()->isVisible());

    // Closed, it gives its room back to the map and stays away.
    auto *close = m_map->findChild<QAbstractButton *>("closeNoDrawsHint");
    QVERIFY(close);
    close->click();
    QVERIFY(!hint->isVisible());
    m_map->grab();
    QCOMPARE(m_tables->table(first)[0].cell, QRect(8, 29, 24, 18));
    m_map->setDrawList({"123"});
    m_map->setDrawList({});
    QVERIFY(!hint->isVisible());
}

QTEST_MAIN(TestMap)
#include "tst_map.moc"
