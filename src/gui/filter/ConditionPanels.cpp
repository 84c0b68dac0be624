#include "gui/filter/ConditionPanels.h"

#include "core/Workspace.h"
#include "gui/filter/CDialogLeft1.h"
#include "gui/filter/CDialogLeft15.h"
#include "gui/filter/CDialogLeft6.h"

namespace numsieve::gui {

PanelSpec twoListPanelSpec(int number, const QString &upper, const QString &lower, bool shape)
{
    PanelSpec spec;
    spec.number = number;
    spec.captions = {{1018, upper, {6, 7}}, {1019, lower, {6, 120}}};
    spec.lists = {{{6, 25, 102, 89}, {164, 25, 102, 89}, 112, 38},
                  {{6, 139, 102, 89}, {164, 139, 102, 89}, 112, 152}};
    spec.pairTops = {15, 200};
    spec.shapePair = shape ? 0 : -1;
    return spec;
}

PanelSpec oneListPanelSpec(int number, int captionId, const QString &caption)
{
    PanelSpec spec;
    spec.number = number;
    spec.captions = {{captionId, caption, {6, 7}}};
    spec.lists = {{{6, 25, 102, 203}, {164, 25, 102, 203}, 112, 93}};
    spec.pairTops = {15};
    return spec;
}

CDialogLeft2::CDialogLeft2(Workspace &ws, MessageHandler &mainWindow, QWidget *parent)
    : ConditionPanel(ws, mainWindow, twoListPanelSpec(2, QStringLiteral("和值"), QStringLiteral("和尾数"), false), parent)
{
}

CDialogLeft3::CDialogLeft3(Workspace &ws, MessageHandler &mainWindow, QWidget *parent)
    : ConditionPanel(ws, mainWindow, oneListPanelSpec(3, 1034, QStringLiteral("平均值")), parent)
{
}

CDialogLeft4::CDialogLeft4(Workspace &ws, MessageHandler &mainWindow, QWidget *parent)
    : ConditionPanel(ws, mainWindow, oneListPanelSpec(4, 1035, QStringLiteral("跨度")), parent)
{
}

CDialogLeft5::CDialogLeft5(Workspace &ws, MessageHandler &mainWindow, QWidget *parent)
    : ConditionPanel(ws, mainWindow, oneListPanelSpec(5, 1036, QStringLiteral("AC值")), parent)
{
}

CDialogLeft7::CDialogLeft7(Workspace &ws, MessageHandler &mainWindow, QWidget *parent)
    : ConditionPanel(ws, mainWindow, twoListPanelSpec(7, QStringLiteral("奇偶形态"), QStringLiteral("奇偶比"), true), parent)
{
}

CDialogLeft8::CDialogLeft8(Workspace &ws, MessageHandler &mainWindow, QWidget *parent)
    : ConditionPanel(ws, mainWindow, twoListPanelSpec(8, QStringLiteral("质合形态"), QStringLiteral("质合比"), true), parent)
{
}

CDialogLeft9::CDialogLeft9(Workspace &ws, MessageHandler &mainWindow, QWidget *parent)
    : ConditionPanel(ws, mainWindow, twoListPanelSpec(9, QStringLiteral("除3余形态"), QStringLiteral("除3余比"), true), parent)
{
}

CDialogLeft10::CDialogLeft10(Workspace &ws, MessageHandler &mainWindow, QWidget *parent)
    : ConditionPanel(ws, mainWindow, twoListPanelSpec(10, QStringLiteral("新旧跳形态"), QStringLiteral("新旧跳比"), true), parent)
{
}

CDialogLeft11::CDialogLeft11(Workspace &ws, MessageHandler &mainWindow, QWidget *parent)
    : ConditionPanel(ws, mainWindow, twoListPanelSpec(11, QStringLiteral("旧斜孤形态"), QStringLiteral("旧斜孤比"), true), parent)
{
}

CDialogLeft12::CDialogLeft12(Workspace &ws, MessageHandler &mainWindow, QWidget *parent)
    : ConditionPanel(ws, mainWindow, oneListPanelSpec(12, 1037, QStringLiteral("重复号")), parent)
{
}

CDialogLeft13::CDialogLeft13(Workspace &ws, MessageHandler &mainWindow, QWidget *parent)
    : ConditionPanel(ws, mainWindow, oneListPanelSpec(13, 1038, QStringLiteral("连号")), parent)
{
}

CDialogLeft14::CDialogLeft14(Workspace &ws, MessageHandler &mainWindow, QWidget *parent)
    : ConditionPanel(ws, mainWindow, oneListPanelSpec(14, 1039, QStringLiteral("间隔号")), parent)
{
}

QList<ConditionPanel *> createConditionPanels(Workspace &ws, MessageHandler &mainWindow, QWidget *parent)
{
    return {new CDialogLeft1(ws, mainWindow, parent),  new CDialogLeft2(ws, mainWindow, parent),
            new CDialogLeft3(ws, mainWindow, parent),  new CDialogLeft4(ws, mainWindow, parent),
            new CDialogLeft5(ws, mainWindow, parent),  new CDialogLeft6(ws, mainWindow, parent),
            new CDialogLeft7(ws, mainWindow, parent),  new CDialogLeft8(ws, mainWindow, parent),
            new CDialogLeft9(ws, mainWindow, parent),  new CDialogLeft10(ws, mainWindow, parent),
            new CDialogLeft11(ws, mainWindow, parent), new CDialogLeft12(ws, mainWindow, parent),
            new CDialogLeft13(ws, mainWindow, parent), new CDialogLeft14(ws, mainWindow, parent),
            new CDialogLeft15(ws, mainWindow, parent)};
}

} // namespace numsieve::gui