#pragma once

#include "core/model/Number.h"
#include "core/selection/DigitRow.h"

#include <QStringList>

#include <expected>

namespace numsieve {

class ResultTables;

// 类型 of the banker/drag and base-file panels.
enum class SelectionType { Straight = 1, Group = 2 };

// The four selection panels: 1 positional digits, 2 group digits, 3 banker and
// drag digits, 4 base file. Which one is active decides what a gathering reads.
class SelectionState
{
public:
    DigitRow hundreds;
    DigitRow tens;
    DigitRow units;
    DigitRow groupDigits;
    DigitRow drag;
    SelectionType bankerType = SelectionType::Straight;
    SelectionType baseType = SelectionType::Straight;

    int activePanel() const { return m_activePanel; }
    // Returns the view mode that choosing the panel implies.
    ViewMode choosePanel(int panel);
    ViewMode viewModeOfPanel(int panel) const;

    const DigitRow &banker() const { return m_banker; }
    // At most two banker digits; a third one is refused with "胆码不能多于两个".
    std::expected<void, QString> toggleBanker(int digit);
    std::expected<void, QString> setBanker(const DigitRow &row);

    QStringList &baseList(SelectionType type) { return type == SelectionType::Straight ? m_straightBase : m_groupBase; }
    const QStringList &baseList(SelectionType type) const
    {
        return type == SelectionType::Straight ? m_straightBase : m_groupBase;
    }
    // "大底共%d注号码" for the list of the current 类型.
    QString baseLabel() const;

    // Empties the base list of the current 类型, then fills it from the file.
    // On a bad line the list stays empty and the message is returned.
    std::expected<void, QString> importBaseFile(const QString &path);

private:
    int m_activePanel = 1;
    DigitRow m_banker;
    QStringList m_straightBase;
    QStringList m_groupBase;
};

// Resets the table(s) the active panel fills and marks its candidates Selected.
void gather(const SelectionState &selection, ResultTables &tables);

} // namespace numsieve
