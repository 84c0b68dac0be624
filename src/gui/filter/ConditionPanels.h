#pragma once

#include "gui/filter/ConditionPanel.h"

namespace numsieve::gui {

// The table of a panel with two list conditions, one above the other; the
// upper one is the shape sub-condition where shape is true.
PanelSpec twoListPanelSpec(int number, const QString &upper, const QString &lower, bool shape);
// The table of a panel with one list condition and tall lists.
PanelSpec oneListPanelSpec(int number, int captionId, const QString &caption);

class CDialogLeft2 : public ConditionPanel
{
    Q_OBJECT

public:
    CDialogLeft2(Workspace &ws, MessageHandler &mainWindow, QWidget *parent = nullptr);
};

class CDialogLeft3 : public ConditionPanel
{
    Q_OBJECT

public:
    CDialogLeft3(Workspace &ws, MessageHandler &mainWindow, QWidget *parent = nullptr);
};

class CDialogLeft4 : public ConditionPanel
{
    Q_OBJECT

public:
    CDialogLeft4(Workspace &ws, MessageHandler &mainWindow, QWidget *parent = nullptr);
};

class CDialogLeft5 : public ConditionPanel
{
    Q_OBJECT

public:
    CDialogLeft5(Workspace &ws, MessageHandler &mainWindow, QWidget *parent = nullptr);
};

class CDialogLeft7 : public ConditionPanel
{
    Q_OBJECT

public:
    CDialogLeft7(Workspace &ws, MessageHandler &mainWindow, QWidget *parent = nullptr);
};

class CDialogLeft8 : public ConditionPanel
{
    Q_OBJECT

public:
    CDialogLeft8(Workspace &ws, MessageHandler &mainWindow, QWidget *parent = nullptr);
};

class CDialogLeft9 : public ConditionPanel
{
    Q_OBJECT

public:
    CDialogLeft9(Workspace &ws, MessageHandler &mainWindow, QWidget *parent = nullptr);
};

class CDialogLeft10 : public ConditionPanel
{
    Q_OBJECT

public:
    CDialogLeft10(Workspace &ws, MessageHandler &mainWindow, QWidget *parent = nullptr);
};

class CDialogLeft11 : public ConditionPanel
{
    Q_OBJECT

public:
    CDialogLeft11(Workspace &ws, MessageHandler &mainWindow, QWidget *parent = nullptr);
};

class CDialogLeft12 : public ConditionPanel
{
    Q_OBJECT

public:
    CDialogLeft12(Workspace &ws, MessageHandler &mainWindow, QWidget *parent = nullptr);
};

class CDialogLeft13 : public ConditionPanel
{
    Q_OBJECT

public:
    CDialogLeft13(Workspace &ws, MessageHandler &mainWindow, QWidget *parent = nullptr);
};

class CDialogLeft14 : public ConditionPanel
{
    Q_OBJECT

public:
    CDialogLeft14(Workspace &ws, MessageHandler &mainWindow, QWidget *parent = nullptr);
};

// The fifteen condition panels, in condition order, as children of parent.
QList<ConditionPanel *> createConditionPanels(Workspace &ws, MessageHandler &mainWindow, QWidget *parent);

} // namespace numsieve::gui
