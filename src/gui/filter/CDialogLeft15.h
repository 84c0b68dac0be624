#pragma once

#include "gui/filter/ConditionPanel.h"

namespace numsieve::gui {

class CComboBoxFlat;
class CEditFlat;

// Condition 15, 高级条件: the editor that composes script expressions from
// the selectors and the token buttons, and the list of accepted ones.
class CDialogLeft15 : public ConditionPanel
{
    Q_OBJECT

public:
    static constexpr int kComposedId = 1021;
    static constexpr int kConditionListId = 1022;
    static constexpr int kAddLeftId = 1060;
    static constexpr int kFirstTokenId = 1061;
    static constexpr int kLastTokenId = 1086;
    static constexpr int kRewriteId = 1087;
    static constexpr int kAddId = 1088;

    CDialogLeft15(Workspace &ws, MessageHandler &mainWindow, QWidget *parent = nullptr);

    void refresh() override;

    // The caption of token button id (1061..1086).
    static QString tokenCaption(int id);

private:
    void append(const QString &token);
    void setComposed(const QString &text);
    void showSelectors();

    CComboBoxFlat *m_selectors[3] = {};
    CEditFlat *m_composed = nullptr;
    CEditFlat *m_conditionList = nullptr;
};

} // namespace numsieve::gui
