#pragma once

#include "core/filter/ConditionSet.h"
#include "core/filter/DrawDigitSets.h"
#include "core/results/ResultTables.h"
#include "core/selection/SelectionState.h"

#include <QStringList>

#include <array>
#include <optional>

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

    // The digit sets of the latest filter run; kept until the next one.
    DrawDigitSets drawDigitSets;
    // The drawn numbers the latest filter run worked from, while its result
    // is in the tables; none after a fresh selection, which no draw shaped.
    std::optional<QStringList> filteredWith;
    // The tables hold a filter result computed from other draws than the
    // selected lottery's as they are now.
    bool resultOutdated() const { return filteredWith && *filteredWith != selectionNumbers; }

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

    // The condition panels' own operations. Each changes the panel's state and
    // then switches its condition the way the panel does: on as soon as its
    // edit gave it content, off only once the panel has no content left.
    // Lists are numbered 0 (upper) and 1 (lower) within their panel; rows are
    // the selected rows of the list the entries leave. Each returns whether
    // anything was moved.
    bool addEntries(int panel, int list, const QList<int> &availableRows);       // 添加
    bool removeEntries(int panel, int list, const QList<int> &chosenRows);       // 删除
    bool addAllEntries(int panel, int list);                                      // 全部添加
    bool removeAllEntries(int panel, int list);                                   // 全部删除
    // 包含 / 排除 of a pair (ConditionSet::mode numbering); no switch.
    void setListMode(int panel, int pair, ListMode mode);
    // 容错
    void setTolerable(int panel, bool tolerable);
    // An edit box of panel 1 changed to text.
    void setNumberField(NumberField field, const QString &text);
    // A digit combo of panel 6 (0..3: 1040..1043) changed to index.
    void setRangeCombo(int combo, int index);
    // Panel 15's list of advanced conditions changed to text.
    void setAdvancedConditionText(const QString &text);
    // Sends off when the panel has no content; leaves the switch alone otherwise.
    void switchOffIfEmpty(int panel);

private:
    ListCondition *panelList(int panel, int list);
};

} // namespace numsieve
