// The condition panels over the workspace: list moves and their order, the
// on/off messages, include/exclude, 容错, the edits and combos of panels 1
// and 6, the shape sub-conditions and the advanced condition editor.

#include "core/Workspace.h"
#include "gui/filter/CDialogLeft1.h"
#include "gui/filter/CDialogLeft15.h"
#include "gui/filter/CDialogLeft6.h"
#include "gui/filter/ConditionPanels.h"
#include "gui/ui/CBitmapButtonEx.h"
#include "gui/ui/CComboBoxFlat.h"
#include "gui/ui/CEditFlat.h"
#include "gui/ui/CLineEditFlat.h"
#include "gui/ui/CListBoxFlat.h"
#include "gui/ui/SkinImages.h"

#include <QtTest>

#include <functional>
#include <memory>

using namespace numsieve;
using namespace numsieve::gui;

using Message = QPair<int, int>;

namespace {

// Stands in for the main window: records every message and, where a test
// asks for it, answers one the way the main window would.
struct RecordingHandler : MessageHandler
{
    QList<Message> messages;
    std::function<void(int, int)> onMessage;
    int sendMessage(int message, int wParam) override
    {
        messages.append({message, wParam});
        if (onMessage)
            onMessage(message, wParam);
        return 0;
    }
};

Message on(int n) { return {WM_CONDITION_SWITCH, n}; }
Message off(int n) { return {WM_CONDITION_SWITCH, n + 15}; }

QStringList numbers(int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out.append(QString::number(i));
    return out;
}

QStringList texts(const CListBoxFlat *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out.append(box->item(i)->text());
    return out;
}

QStringList selectedTexts(const CListBoxFlat *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i) {
        if (box->item(i)->isSelected())
            out.append(box->item(i)->text());
    }
    return out;
}

template<typename T = QWidget>
T *ctl(ConditionPanel &panel, int id)
{
    auto *w = qobject_cast<T *>(panel.control(id));
    if (!w)
        qFatal("panel %d has no control %d of that kind", panel.conditionNumber(), id);
    return w;
}

CListBoxFlat *listBox(ConditionPanel &panel, int id) { return ctl<CListBoxFlat>(panel, id); }

// A click on the entry, as the user toggles it.
void clickEntry(CListBoxFlat *box, const QString &text)
{
    const QList<QListWidgetItem *> found = box->findItems(text, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    box->scrollToItem(found.first());
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, box->visualItemRect(found.first()).center());
}

void click(ConditionPanel &panel, int id)
{
    QWidget *w = panel.control(id);
    QVERIFY2(w && w->isVisible(), qPrintable(QString::number(id)));
    QTest::mouseClick(w, Qt::LeftButton);
}

std::unique_ptr<ConditionPanel> makePanel(int n, Workspace &ws, RecordingHandler &handler)
{
    QList<ConditionPanel *> panels = createConditionPanels(ws, handler, nullptr);
    std::unique_ptr<ConditionPanel> wanted(panels.takeAt(n - 1));
    qDeleteAll(panels);
    wanted->show();
    return wanted;
}

bool sameImage(const QPixmap &a, const QPixmap &b) { return a.toImage() == b.toImage(); }

} // namespace

class TestConditionPanelsGui : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void factoryBuildsTheFifteenPanelsWithTheirVocabularies()
    {
        Workspace ws;
        RecordingHandler handler;
        QWidget host;
        const QList<ConditionPanel *> panels = createConditionPanels(ws, handler, &host);
        QCOMPARE(panels.size(), 15);
        const int listCounts[16] = {0, 2, 2, 1, 1, 1, 2, 2, 2, 2, 2, 2, 1, 1, 1, 0};
        for (int n = 1; n <= 15; ++n) {
            ConditionPanel *p = panels.at(n - 1);
            QCOMPARE(p->conditionNumber(), n);
            QCOMPARE(p->metaObject()->className(), QByteArray("numsieve::gui::CDialogLeft" + QByteArray::number(n)));
            QCOMPARE(p->size(), QSize(408, 378));
            QCOMPARE(p->parentWidget(), &host);
            const QList<ListCondition *> lists = ws.conditions.lists(n);
            QCOMPARE(lists.size(), listCounts[n]);
            for (int l = 0; l < lists.size(); ++l) {
                QCOMPARE(texts(listBox(*p, 1024 + 2 * l)), lists.at(l)->vocabulary());
                QCOMPARE(listBox(*p, 1025 + 2 * l)->count(), 0);
                QCOMPARE(listBox(*p, 1024 + 2 * l)->selectionMode(), QAbstractItemView::MultiSelection);
            }
            if (lists.size() < 2)
                QVERIFY(!p->control(1026));
        }
        QCOMPARE(texts(listBox(*panels.at(0), 1024)).mid(98, 4),
                 (QStringList{"98*", "99*", "0*0", "0*1"}));
        QVERIFY(handler.messages.isEmpty());
    }

    void addAllOnSumTurnsConditionTwoOn()
    {
        Workspace ws;
        RecordingHandler handler;
        auto panel = makePanel(2, ws, handler);
        click(*panel, 1031);
        QCOMPARE(handler.messages, QList<Message>{on(2)});
        QVERIFY(ws.enabled[2]);
        QCOMPARE(texts(listBox(*panel, 1025)), numbers(0, 27));
        QCOMPARE(listBox(*panel, 1024)->count(), 0);
        QCOMPARE(ws.conditions.sum.chosen(), numbers(0, 27));
        // A second 全部添加 has nothing to move and changes no switch.
        click(*panel, 1031);
        QCOMPARE(handler.messages.size(), 1);
    }

    void removedEntriesGoToTheEndInTheOrderRemoved()
    {
        Workspace ws;
        RecordingHandler handler;
        auto panel = makePanel(4, ws, handler);
        click(*panel, 1031);
        CListBoxFlat *available = listBox(*panel, 1024);
        CListBoxFlat *chosen = listBox(*panel, 1025);
        clickEntry(chosen, "5");
        click(*panel, 1030);
        clickEntry(chosen, "3");
        click(*panel, 1030);
        QCOMPARE(texts(available), (QStringList{"5", "3"}));
        QCOMPARE(texts(chosen), (QStringList{"0", "1", "2", "4", "6", "7", "8", "9"}));
        QCOMPARE(ws.conditions.span.available(), texts(available));

        // Taking entries back keeps what is left in the order shown.
        clickEntry(available, "3");
        click(*panel, 1029);
        QCOMPARE(texts(available), QStringList{"5"});
        QCOMPARE(texts(chosen).last(), QString("3"));

        click(*panel, 1032);
        QCOMPARE(texts(available), numbers(0, 9));
        QCOMPARE(chosen->count(), 0);
        QCOMPARE(handler.messages, (QList<Message>{on(4), off(4)}));
        QVERIFY(!ws.enabled[4]);
    }

    void movesKeepTheSelectionOnlyInTheReceivingList_data()
    {
        QTest::addColumn<bool>("mainWindowRefreshes");
        QTest::newRow("panel alone") << false;
        // The main window may show the whole workspace again while it handles
        // the switch, before the panel has shown the move itself.
        QTest::newRow("refresh inside the switch") << true;
    }

    void movesKeepTheSelectionOnlyInTheReceivingList()
    {
        QFETCH(bool, mainWindowRefreshes);
        Workspace ws;
        RecordingHandler handler;
        auto panel = makePanel(2, ws, handler);
        if (mainWindowRefreshes)
            handler.onMessage = [&](int, int) { panel->refresh(); };
        CListBoxFlat *available = listBox(*panel, 1024);
        CListBoxFlat *chosen = listBox(*panel, 1025);
        clickEntry(available, "3");
        clickEntry(available, "1");
        QCOMPARE(selectedTexts(available), (QStringList{"1", "3"}));
        click(*panel, 1029);
        QCOMPARE(texts(chosen), (QStringList{"1", "3"}));
        QVERIFY(selectedTexts(available).isEmpty());
        QVERIFY(selectedTexts(chosen).isEmpty());

        clickEntry(chosen, "3");
        clickEntry(available, "7");
        click(*panel, 1029);
        QCOMPARE(texts(chosen), (QStringList{"1", "3", "7"}));
        QCOMPARE(selectedTexts(chosen), QStringList{"3"});
        QVERIFY(selectedTexts(available).isEmpty());

        clickEntry(available, "0");
        click(*panel, 1030);   // 删除 the selected "3"
        QCOMPARE(texts(available).last(), QString("3"));
        QCOMPARE(selectedTexts(available), QStringList{"0"});
        QVERIFY(selectedTexts(chosen).isEmpty());

        // 全部添加 onto a chosen list that already starts the vocabulary still
        // leaves nothing selected.
        click(*panel, 1032);
        clickEntry(available, "0");
        click(*panel, 1029);
        clickEntry(chosen, "0");
        clickEntry(available, "5");
        click(*panel, 1031);
        QVERIFY(selectedTexts(available).isEmpty());
        QVERIFY(selectedTexts(chosen).isEmpty());
        QCOMPARE(texts(chosen), numbers(0, 27));

        // A click on a selected entry takes the selection away again.
        clickEntry(chosen, "9");
        clickEntry(chosen, "9");
        click(*panel, 1030);
        QCOMPARE(texts(chosen), numbers(0, 27));
    }

    void conditionStaysOnWhileTheOtherListHasEntries()
    {
        Workspace ws;
        RecordingHandler handler;
        auto panel = makePanel(2, ws, handler);
        clickEntry(listBox(*panel, 1024), "4");
        click(*panel, 1029);
        clickEntry(listBox(*panel, 1026), "7");
        click(*panel, 1033);
        clickEntry(listBox(*panel, 1025), "4");
        click(*panel, 1030);
        QVERIFY(ws.enabled[2]);
        QCOMPARE(handler.messages, QList<Message>{on(2)});
        clickEntry(listBox(*panel, 1027), "7");
        click(*panel, 1034);
        QVERIFY(!ws.enabled[2]);
        QCOMPARE(handler.messages, (QList<Message>{on(2), off(2)}));
    }

    void rangeCombosSwitchPanelSix_data()
    {
        QTest::addColumn<int>("presetCombo");   // -1: none
        QTest::addColumn<int>("presetIndex");
        QTest::addColumn<bool>("ratioEntry");
        QTest::addColumn<bool>("onAfterReset");
        QTest::addColumn<QList<Message>>("expected");
        QTest::newRow("only 1041") << -1 << 0 << false << false << QList<Message>{on(6), off(6)};
        QTest::newRow("1040 at 1") << 0 << 1 << false << true << QList<Message>{on(6)};
        QTest::newRow("1042 at 2") << 2 << 2 << false << true << QList<Message>{on(6)};
        QTest::newRow("1043 at 8") << 3 << 8 << false << true << QList<Message>{on(6)};
        QTest::newRow("大小比 entry") << -1 << 0 << true << true << QList<Message>{on(6)};
    }

    void rangeCombosSwitchPanelSix()
    {
        QFETCH(int, presetCombo);
        QFETCH(int, presetIndex);
        QFETCH(bool, ratioEntry);
        QFETCH(bool, onAfterReset);
        QFETCH(QList<Message>, expected);
        Workspace ws;
        RecordingHandler handler;
        auto panel = makePanel(6, ws, handler);
        QCOMPARE(ctl<CComboBoxFlat>(*panel, 1041)->currentText(), QString("9"));
        QCOMPARE(ctl<CComboBoxFlat>(*panel, 1042)->currentText(), QString("0"));
        if (presetCombo >= 0)
            ctl<CComboBoxFlat>(*panel, 1040 + presetCombo)->setCurrentIndex(presetIndex);
        if (ratioEntry) {
            clickEntry(listBox(*panel, 1026), "[大小] 2:1 (2大1小)");
            click(*panel, 1033);
        }
        auto *combo = ctl<CComboBoxFlat>(*panel, 1041);
        combo->setCurrentIndex(8);
        QVERIFY(ws.enabled[6]);
        QCOMPARE(ws.conditions.bigSmall.range[1], 8);
        combo->setCurrentIndex(9);
        QCOMPARE(ws.enabled[6], onAfterReset);
        QCOMPARE(handler.messages, expected);
    }

    void numberEditsSwitchPanelOne_data()
    {
        QTest::addColumn<QString>("otherText");   // typed into 1021 first
        QTest::addColumn<bool>("onAfterClearing");
        QTest::newRow("alone") << QString() << false;
        QTest::newRow("with an omission start") << QString("3") << true;
    }

    void numberEditsSwitchPanelOne()
    {
        QFETCH(QString, otherText);
        QFETCH(bool, onAfterClearing);
        Workspace ws;
        RecordingHandler handler;
        auto panel = makePanel(1, ws, handler);
        if (!otherText.isEmpty())
            QTest::keyClicks(ctl(*panel, 1021), otherText);
        handler.messages.clear();
        auto *depth = ctl<CLineEditFlat>(*panel, 1023);
        QTest::keyClicks(depth, "12x3456789");
        QCOMPARE(depth->text(), QString("12345678"));
        QCOMPARE(ws.conditions.number.historyDepth, QString("12345678"));
        QVERIFY(ws.enabled[1]);
        if (otherText.isEmpty())
            QCOMPARE(handler.messages, QList<Message>{on(1)});
        depth->selectAll();
        QTest::keyClick(depth, Qt::Key_Delete);
        QCOMPARE(ws.conditions.number.historyDepth, QString());
        QCOMPARE(ws.enabled[1], onAfterClearing);
        QCOMPARE(handler.messages.contains(off(1)), !onAfterClearing);
        QCOMPARE(ws.conditions.number.omissionFrom, otherText);
    }

    void shapeSubConditionIsGreyedKeepingItsContent_data()
    {
        QTest::addColumn<int>("panel");
        QTest::addColumn<int>("shapePair");   // -1: the panel has none
        QTest::newRow("号码 直选双码") << 1 << 2;
        QTest::newRow("大小形态") << 6 << 0;
        QTest::newRow("奇偶形态") << 7 << 0;
        QTest::newRow("质合形态") << 8 << 0;
        QTest::newRow("除3余形态") << 9 << 0;
        QTest::newRow("新旧跳形态") << 10 << 0;
        QTest::newRow("旧斜孤形态") << 11 << 0;
        QTest::newRow("和值") << 2 << -1;
        QTest::newRow("跨度") << 4 << -1;
    }

    void shapeSubConditionIsGreyedKeepingItsContent()
    {
        QFETCH(int, panel);
        QFETCH(int, shapePair);
        Workspace ws;
        RecordingHandler handler;
        auto p = makePanel(panel, ws, handler);
        CListBoxFlat *available = listBox(*p, 1024);
        const QString first = available->item(0)->text();
        clickEntry(available, first);
        click(*p, 1029);
        const QStringList chosenBefore = texts(listBox(*p, 1025));

        p->setShapeEnabled(false);
        const bool greyed = shapePair >= 0;
        for (int id : {1024, 1025, 1029, 1030, 1031, 1032})
            QCOMPARE(p->control(id)->isEnabled(), !greyed);
        for (int k = 0; k < 4; ++k) {
            if (greyed)
                QVERIFY(!p->control(30001 + 4 * shapePair + k)->isEnabled());
        }
        // Everything else stays usable.
        const int otherPairs = p->spec().pairTops.size();
        for (int pair = 0; pair < otherPairs; ++pair) {
            if (pair != shapePair)
                QVERIFY(p->control(30001 + 4 * pair)->isEnabled());
        }
        if (p->control(1026)) {
            for (int id : {1026, 1027, 1033, 1034, 1035, 1036})
                QVERIFY(p->control(id)->isEnabled());
        }
        QVERIFY(p->control(30021)->isEnabled());
        if (greyed) {
            QVERIFY(sameImage(ctl<CBitmapButtonEx>(*p, 1029)->currentImage(),
                              SkinImages::moveButton("添加").disabled));
            QVERIFY(sameImage(ctl<CBitmapButtonEx>(*p, 30002 + 4 * shapePair)->currentImage(),
                              SkinImages::radio("包含", true).disabled));
        }
        QCOMPARE(texts(listBox(*p, 1025)), chosenBefore);
        QCOMPARE(ws.conditions.lists(panel).first()->chosen(), chosenBefore);

        p->setShapeEnabled(true);
        for (int id : {1024, 1025, 1029, 1030, 1031, 1032, 30001 + 4 * std::max(shapePair, 0)})
            QVERIFY(p->control(id)->isEnabled());
        QCOMPARE(texts(listBox(*p, 1025)), chosenBefore);
    }

    void panelsCreatedInGroupModeStartGreyed()
    {
        Workspace ws;
        ws.tables.setViewMode(ViewMode::Group);
        RecordingHandler handler;
        auto p = makePanel(9, ws, handler);
        QVERIFY(!p->isShapeEnabled());
        QVERIFY(!p->control(1024)->isEnabled());
        QVERIFY(p->control(1026)->isEnabled());
    }

    void includeExcludePairsSetTheirOwnMode_data()
    {
        QTest::addColumn<int>("panel");
        QTest::addColumn<int>("pair");
        QTest::newRow("号码 遗漏") << 1 << 0;
        QTest::newRow("号码 历史") << 1 << 1;
        QTest::newRow("号码 直选双码") << 1 << 2;
        QTest::newRow("号码 组选双码") << 1 << 3;
        QTest::newRow("和尾数") << 2 << 1;
        QTest::newRow("AC值") << 5 << 0;
        QTest::newRow("大小比") << 6 << 1;
        QTest::newRow("最大最小号") << 6 << 2;
        QTest::newRow("旧斜孤比") << 11 << 1;
        QTest::newRow("高级条件") << 15 << 0;
    }

    void includeExcludePairsSetTheirOwnMode()
    {
        QFETCH(int, panel);
        QFETCH(int, pair);
        Workspace ws;
        RecordingHandler handler;
        auto p = makePanel(panel, ws, handler);
        const int id = 30001 + 4 * pair;
        auto visibleIds = [&] {
            QList<int> out;
            for (int k = 0; k < 4; ++k) {
                if (p->control(id + k)->isVisible())
                    out.append(id + k);
            }
            return out;
        };
        QCOMPARE(visibleIds(), (QList<int>{id + 1, id + 2}));

        click(*p, id + 2);   // 排除
        QCOMPARE(ws.conditions.mode(panel, pair), std::optional(ListMode::Exclude));
        QCOMPARE(visibleIds(), (QList<int>{id, id + 3}));
        for (int other = 0; other < p->spec().pairTops.size(); ++other) {
            if (other != pair)
                QCOMPARE(ws.conditions.mode(panel, other), std::optional(ListMode::Include));
        }
        click(*p, id + 3);   // 排除 again: nothing
        QCOMPARE(ws.conditions.mode(panel, pair), std::optional(ListMode::Exclude));
        QCOMPARE(visibleIds(), (QList<int>{id, id + 3}));
        click(*p, id);       // 包含
        QCOMPARE(ws.conditions.mode(panel, pair), std::optional(ListMode::Include));
        QCOMPARE(visibleIds(), (QList<int>{id + 1, id + 2}));
        QVERIFY(handler.messages.isEmpty());
    }

    void toleranceBoxSetsTheFlag()
    {
        Workspace ws;
        RecordingHandler handler;
        auto p = makePanel(1, ws, handler);
        QCOMPARE(p->control(30021)->pos(), QPoint(347, 66));
        click(*p, 30021);
        QVERIFY(ws.conditions.tolerable[1]);
        QVERIFY(!p->control(30021)->isVisible());
        click(*p, 30022);
        QVERIFY(!ws.conditions.tolerable[1]);
        QVERIFY(p->control(30021)->isVisible());
        QVERIFY(!p->control(30022)->isVisible());
        QVERIFY(handler.messages.isEmpty());
        for (int n = 2; n <= 15; ++n)
            QVERIFY(!ws.conditions.tolerable[std::size_t(n)]);
    }

    void referenceTextFromTheSelectors_data()
    {
        QTest::addColumn<int>("attribute");
        QTest::addColumn<int>("period");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("positionEnabled");
        QTest::newRow("和值 of the number") << 1 << 0 << 2 << "和值[0]" << false;
        QTest::newRow("tens of the last draw") << 0 << 1 << 1 << "号码[1][2]" << true;
        QTest::newRow("span 30 draws back") << 4 << 30 << 0 << "跨度[30]" << false;
        QTest::newRow("AC值") << 5 << 7 << 0 << "AC值[7]" << false;
        QTest::newRow("units of the number") << 0 << 0 << 2 << "号码[0][3]" << true;
    }

    void referenceTextFromTheSelectors()
    {
        QFETCH(int, attribute);
        QFETCH(int, period);
        QFETCH(int, position);
        QFETCH(QString, expected);
        QFETCH(bool, positionEnabled);
        Workspace ws;
        RecordingHandler handler;
        auto p = makePanel(15, ws, handler);
        // The position is chosen first, while 号码 still allows it.
        ctl<CComboBoxFlat>(*p, 1042)->setCurrentIndex(position);
        ctl<CComboBoxFlat>(*p, 1040)->setCurrentIndex(attribute);
        ctl<CComboBoxFlat>(*p, 1041)->setCurrentIndex(period);
        QCOMPARE(p->control(1042)->isEnabled(), positionEnabled);
        click(*p, CDialogLeft15::kAddLeftId);
        QCOMPARE(ws.conditions.advanced.expression, expected);
        QCOMPARE(ctl<CEditFlat>(*p, 1021)->toPlainText(), expected);
        QVERIFY(handler.messages.isEmpty());
    }

    void tokenButtonsAppendWithTwoBlanks()
    {
        Workspace ws;
        RecordingHandler handler;
        auto p = makePanel(15, ws, handler);
        QStringList captions;
        for (int id = 1061; id <= 1086; ++id)
            captions.append(ctl<QAbstractButton>(*p, id)->text());
        QCOMPARE(captions.join(' '), QString("1 2 3 4 5 6 7 8 9 0 . ( ) + - * / % || && > >= < <= == !="));
        QCOMPARE(ctl<QAbstractButton>(*p, 1087)->text(), QString("重写"));

        click(*p, 1080);    // && on an empty text: no blanks before it
        QCOMPARE(ws.conditions.advanced.expression, QString("&&"));
        click(*p, 1087);
        QCOMPARE(ws.conditions.advanced.expression, QString());
        QCOMPARE(ctl<CEditFlat>(*p, 1021)->toPlainText(), QString());

        ctl<CComboBoxFlat>(*p, 1040)->setCurrentIndex(1);
        click(*p, 1060);
        click(*p, 1082);
        click(*p, 1061);
        click(*p, 1070);
        QCOMPARE(ws.conditions.advanced.expression, QString("和值[0]  >=  1  0"));
        QCOMPARE(ctl<CEditFlat>(*p, 1021)->toPlainText(), ws.conditions.advanced.expression);

        // What the user types goes into the composed text, and tokens follow it.
        auto *composed = ctl<CEditFlat>(*p, 1021);
        composed->moveCursor(QTextCursor::End);
        QTest::keyClicks(composed, "1");
        click(*p, 1079);
        QCOMPARE(ws.conditions.advanced.expression, QString("和值[0]  >=  1  01  ||"));
        QVERIFY(handler.messages.isEmpty());
    }

    void addSendsTheMessageAndShowsTheResult()
    {
        Workspace ws;
        RecordingHandler handler;
        // What the main window makes of it: the trial run passes, the
        // expression joins the list without blanks, the composed text clears.
        handler.onMessage = [&](int message, int) {
            if (message != WM_ADD_ADVANCED_CONDITION)
                return;
            auto &a = ws.conditions.advanced;
            a.conditionText += QString(a.expression).remove(' ') + ";\r\n";
            a.expression.clear();
            ws.switchCondition(15);
        };
        auto p = makePanel(15, ws, handler);
        click(*p, 1060);
        click(*p, 1081);
        click(*p, 1069);
        click(*p, CDialogLeft15::kAddId);
        QCOMPARE(handler.messages, QList<Message>{Message(WM_ADD_ADVANCED_CONDITION, 15)});
        QCOMPARE(ctl<CEditFlat>(*p, 1021)->toPlainText(), QString());
        QCOMPARE(ctl<CEditFlat>(*p, 1022)->toPlainText(), QString("号码[0][1]>9;\n"));
        // Showing the accepted list writes nothing back.
        QCOMPARE(ws.conditions.advanced.conditionText, QString("号码[0][1]>9;\r\n"));
        QCOMPARE(handler.messages.size(), 1);
    }

    void typingTheConditionListSwitchesFifteen()
    {
        Workspace ws;
        RecordingHandler handler;
        auto p = makePanel(15, ws, handler);
        auto *list = ctl<CEditFlat>(*p, 1022);
        QTest::keyClicks(list, "hz[0]>3;");
        QTest::keyClick(list, Qt::Key_Return);
        QTest::keyClicks(list, "kd[0]<5;");
        QCOMPARE(ws.conditions.advanced.conditionText, QString("hz[0]>3;\r\nkd[0]<5;"));
        QVERIFY(ws.enabled[15]);
        QCOMPARE(handler.messages, QList<Message>{on(15)});
        list->selectAll();
        QTest::keyClick(list, Qt::Key_Delete);
        QTest::keyClicks(list, "  ");
        QCOMPARE(ws.conditions.advanced.conditionText, QString("  "));
        QVERIFY(!ws.enabled[15]);
        QCOMPARE(handler.messages, (QList<Message>{on(15), off(15)}));
    }

    void refreshShowsTheWorkspace()
    {
        Workspace ws;
        RecordingHandler handler;
        QWidget host;
        const QList<ConditionPanel *> panels = createConditionPanels(ws, handler, &host);
        host.show();
        CListBoxFlat *repeatChosen = listBox(*panels.at(11), 1025);
        clickEntry(listBox(*panels.at(11), 1024), "百十重复");
        click(*panels.at(11), 1029);
        clickEntry(repeatChosen, "百十重复");

        ws.conditions.span.add({2, 7});
        ws.conditions.setMode(4, 0, ListMode::Exclude);
        ws.conditions.tolerable[4] = true;
        ws.conditions.number.omissionTo = "15";
        ws.conditions.bigSmall.range = {1, 9, 0, 6};
        ws.conditions.advanced.conditionText = "和值[0]>3;\r\n";
        ws.conditions.advanced.expression = "跨度[0]";
        ws.conditions.advanced.selectors = {3, 2, 1};
        for (ConditionPanel *p : panels)
            p->refresh();

        ConditionPanel &span = *panels.at(3);
        QCOMPARE(texts(listBox(span, 1025)), (QStringList{"2", "7"}));
        QCOMPARE(texts(listBox(span, 1024)), (QStringList{"0", "1", "3", "4", "5", "6", "8", "9"}));
        QVERIFY(span.control(30004)->isVisible());
        QVERIFY(!span.control(30002)->isVisible());
        QVERIFY(span.control(30022)->isVisible());
        QCOMPARE(ctl<CLineEditFlat>(*panels.at(0), 1022)->text(), QString("15"));
        QCOMPARE(ctl<CComboBoxFlat>(*panels.at(5), 1040)->currentText(), QString("1"));
        QCOMPARE(ctl<CComboBoxFlat>(*panels.at(5), 1043)->currentText(), QString("6"));
        ConditionPanel &advanced = *panels.at(14);
        QCOMPARE(ctl<CEditFlat>(advanced, 1022)->toPlainText(), QString("和值[0]>3;\n"));
        QCOMPARE(ctl<CEditFlat>(advanced, 1021)->toPlainText(), QString("跨度[0]"));
        QCOMPARE(ctl<CComboBoxFlat>(advanced, 1040)->currentText(), QString("平均值"));
        QCOMPARE(ctl<CComboBoxFlat>(advanced, 1041)->currentText(), QString("前2期"));
        QVERIFY(!advanced.control(1042)->isEnabled());
        // An unchanged list keeps what the user picked.
        QCOMPARE(selectedTexts(repeatChosen), QStringList{"百十重复"});
        // Showing the workspace is no edit: no switch, no change of the state.
        QCOMPARE(handler.messages, QList<Message>{on(12)});
        QCOMPARE(ws.conditions.advanced.conditionText, QString("和值[0]>3;\r\n"));
        QCOMPARE(ws.conditions.bigSmall.range, (std::array<int, 4>{1, 9, 0, 6}));
        QVERIFY(!ws.enabled[1] && !ws.enabled[6] && !ws.enabled[15]);
    }

    void enterAndEscapeStayInThePanel()
    {
        struct Host : QWidget
        {
            int keys = 0;
            void keyPressEvent(QKeyEvent *) override { ++keys; }
        } host;
        Workspace ws;
        RecordingHandler handler;
        const QList<ConditionPanel *> panels = createConditionPanels(ws, handler, &host);
        host.show();
        for (QWidget *target : {panels.at(1)->control(1024), panels.at(0)->control(1021), panels.at(5)->control(1040),
                                panels.at(14)->control(1041), static_cast<QWidget *>(panels.at(14))}) {
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(target, key);
        }
        QCOMPARE(host.keys, 0);
        // The editor's boxes take Enter as a line break.
        auto *composed = qobject_cast<CEditFlat *>(panels.at(14)->control(1021));
        QTest::keyClicks(composed, "1");
        QTest::keyClick(composed, Qt::Key_Return);
        QCOMPARE(ws.conditions.advanced.expression, QString("1\n"));
        QCOMPARE(host.keys, 0);
    }
};

QTEST_MAIN(TestConditionPanelsGui)
#include "tst_conditionpanels_gui.moc"
