#pragma once

#include "filter/ConditionSet.h"
#include "results/ResultTables.h"
#include "selection/SelectionState.h"

#include <QStringList>

#include <array>

namespace numsieve {

// The whole working state of the main window without any widget: selection,
// conditions, switches, tolerance, result tables and the draws of the selected
// lottery. Windows show it and turn clicks into its operations; the scheme
// files and the command-line tool read and change the same object.
class Workspace
{
public:
    SelectionState selection;
    ConditionSet conditions;
    ResultTables tables;
    QStringList selectionNumbers;   // drawn numbers of the selected lottery, oldest first

    // Index of the tolerance selector: 0 " 不使用" .. 10 " 最多10次"; -1 when
    // nothing is selected.
    int toleranceIndex = 0;
    std::array<bool, kConditionCount + 1> enabled{};   // index 1..15

    // 1..15 off row, 16..30 on row: the condition button whose panel is shown.
    int currentConditionButton = 1;
    // The condition whose two buttons carry the current mark (0: none).
    int markedCondition = 1;
    // The condition panel shown (1..15).
    int shownConditionPanel = 1;

    // The condition switch: code N (1..15) switches condition N on, N + 15 off;
    // any other code does nothing.
    void switchCondition(int code);
    // Switches condition N on or off by its panel's content.
    void updateConditionSwitch(int panel);

    // A click on condition button k (1..30): marks it current and shows its panel.
    void clickConditionButton(int k);

    // Chooses the selection panel (tab) and sets the view mode it implies.
    void chooseSelectionPanel(int panel);
};

} // namespace numsieve
