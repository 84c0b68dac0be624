#pragma once

#include "gui/app/WindowMessages.h"
#include "core/history/LotteryRegistry.h"
#include "gui/ui/CBitmapDialog.h"

#include <QSize>

#include <array>

class QLabel;
class QStringListModel;

namespace numsieve {
class Workspace;
}

namespace numsieve::gui {

class AppServices;
class CBitComboBox;
class CBitmapButtonEx;
class CButtonEx;
class CDialog_Left_Sub1;
class CDialog_Left_Sub2;
class CDialog_Left_Sub3;
class CDialog_Left_Sub4;
class CSelectionPanel;

// The strip above the condition panels: the lottery, issue and tolerance
// selectors, the four selection tabs with the panels they show, and the two
// rows of condition buttons. It keeps its own copy of the lotteries that feed
// the selectors. It is also the receiver of the selection panels' messages,
// which it hands on to the main window as view-mode requests.
class CDialogLeft : public CBitmapDialog, public MessageHandler
{
    Q_OBJECT

public:
    static constexpr QSize kSize{408, 259};
    static const QStringList &toleranceTexts();
    // The caption of condition N (1..15) with its trailing blanks.
    static QString conditionText(int condition);

    CDialogLeft(Workspace &ws, MessageHandler &mainWindow, AppServices &services, QWidget *parent = nullptr);

    // Takes a copy of the lotteries, fills the lottery selector with them,
    // selects selectIndex (the first one when out of range, none when there
    // are no lotteries) and applies that lottery.
    void setRegistry(const LotteryRegistry &selectorRegistry, qsizetype selectIndex);
    const LotteryRegistry &registry() const { return m_registry; }
    // Index of the selected lottery, -1 when none.
    qsizetype selectedLottery() const;

    // Chooses selection panel 1..4 as a click on its tab does, also when it
    // is active already (the scheme reader issues the tab's command).
    void selectTab(int panel);

    // Shows again what the workspace holds: tabs, selection panels,
    // tolerance and the condition buttons.
    void refresh();
    void refreshConditionButtons();

    // Messages of the selection panels.
    int sendMessage(int message, int wParam = 0) override;

    CBitComboBox *lotterySelector() const { return m_lottery; }
    CBitComboBox *issueSelector() const { return m_issue; }
    CBitComboBox *toleranceSelector() const { return m_tolerance; }
    // Tab 1..4 in its inactive or active look.
    CBitmapButtonEx *tab(int panel, bool active) const;
    // Condition button k: 1..15 off row, 16..30 on row.
    CButtonEx *conditionButton(int k) const { return m_conditionButtons.at(std::size_t(k - 1)); }
    CSelectionPanel *selectionPanel(int panel) const { return m_panels.at(std::size_t(panel - 1)); }
    CDialog_Left_Sub1 *sub1() const { return m_sub1; }
    CDialog_Left_Sub2 *sub2() const { return m_sub2; }
    CDialog_Left_Sub3 *sub3() const { return m_sub3; }
    CDialog_Left_Sub4 *sub4() const { return m_sub4; }

private:
    void createSelectors();
    void createTabs();
    void createSelectionPanels();
    void createConditionButtons();
    void applyLotterySelection();
    void clickConditionButton(int k);
    void showTabs();

    Workspace &m_ws;
    MessageHandler &m_mainWindow;
    AppServices &m_services;
    LotteryRegistry m_registry;

    CBitComboBox *m_lottery = nullptr;
    CBitComboBox *m_issue = nullptr;
    CBitComboBox *m_tolerance = nullptr;
    QStringListModel *m_issueModel = nullptr;
    std::array<CBitmapButtonEx *, 4> m_tabsInactive{};
    std::array<CBitmapButtonEx *, 4> m_tabsActive{};
    CDialog_Left_Sub1 *m_sub1 = nullptr;
    CDialog_Left_Sub2 *m_sub2 = nullptr;
    CDialog_Left_Sub3 *m_sub3 = nullptr;
    CDialog_Left_Sub4 *m_sub4 = nullptr;
    std::array<CSelectionPanel *, 4> m_panels{};
    std::array<CButtonEx *, 30> m_conditionButtons{};
};

} // namespace numsieve::gui
