#pragma once

#include "gui/app/WindowMessages.h"
#include "gui/ui/CBitmapDialog.h"

#include <QHash>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

namespace numsieve {
class Workspace;
}

namespace numsieve::gui {

class CBitmapButtonEx;
class CListBoxFlat;

// The table a condition panel is built from. Places of template controls are
// in dialog units; the run-time buttons (include/exclude pairs, 容错) in pixels.
struct PanelCaption
{
    int id;
    QString text;
    QPoint place;   // dialog units; the caption bar has its own size
};

struct PanelList
{
    QRect available;     // dialog units
    QRect chosen;        // dialog units
    int buttonsX;        // dialog units; 添加, 删除, 全部添加, 全部删除 one under the other
    int firstButtonY;
    int buttonStep = 16;
};

struct PanelSpec
{
    int number = 0;                 // the condition number, 1..15
    QList<PanelCaption> captions;
    QList<PanelList> lists;         // top to bottom; the workspace numbers them the same
    QList<int> pairTops;            // one include/exclude pair per entry, pixels
    int checkBoxTop = 15;           // pixels
    // The include/exclude pair of the shape sub-condition (whose list is the
    // first one) that group selection greys; -1 for panels without one.
    int shapePair = -1;
};

// A condition panel: caption bars, list conditions with their move buttons,
// include/exclude pairs and the 容错 box, all showing the workspace. Every
// click becomes the workspace's own operation; when that changed the state
// of the condition's switch, the main window hears of it by
// WM_CONDITION_SWITCH. Controls are found by their dialog ids.
class ConditionPanel : public CBitmapDialog
{
    Q_OBJECT

public:
    static constexpr QSize kSize{408, 378};
    // Run-time ids: pair p has 30001 + 4p (包含), +1 (包含 selected),
    // +2 (排除), +3 (排除 selected); the 容错 box 30021 (empty), 30022 (ticked).
    static constexpr int kFirstPairId = 30001;
    static constexpr int kCheckBoxEmptyId = 30021;
    static constexpr int kCheckBoxTickedId = 30022;

    ConditionPanel(Workspace &ws, MessageHandler &mainWindow, const PanelSpec &spec, QWidget *parent = nullptr);

    int conditionNumber() const { return m_spec.number; }
    const PanelSpec &spec() const { return m_spec; }

    // The control with a dialog id (captions, lists, buttons, edits, combos),
    // nullptr when the panel has none.
    QWidget *control(int id) const { return m_controls.value(id); }

    // Reads everything shown again from the workspace. Lists whose entries
    // did not change keep their selection.
    virtual void refresh();

    // Greys (false) or frees (true) the shape sub-condition: its pair, its
    // move buttons and its two lists. Content and modes stay as they are.
    void setShapeEnabled(bool enabled);
    bool isShapeEnabled() const { return m_shapeEnabled; }

protected:
    Workspace &workspace() { return m_ws; }
    MessageHandler &mainWindow() { return m_mainWindow; }

    void addControl(int id, QWidget *widget);

    // Runs a workspace operation and tells the main window when it changed the
    // condition's switch, the current condition button or the mark.
    template<typename Operation>
    void withSwitch(Operation operation)
    {
        const SwitchState before = switchState();
        operation();
        reportSwitch(before);
    }

    // True while the panel writes into its own controls, so that their change
    // signals do not feed back into the workspace.
    bool isRefreshing() const { return m_refreshing > 0; }
    class RefreshGuard
    {
    public:
        explicit RefreshGuard(ConditionPanel &panel) : m_panel(panel) { ++m_panel.m_refreshing; }
        ~RefreshGuard() { --m_panel.m_refreshing; }
        RefreshGuard(const RefreshGuard &) = delete;
        RefreshGuard &operator=(const RefreshGuard &) = delete;

    private:
        ConditionPanel &m_panel;
    };

    // Enter and Escape never close or leave a panel.
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct SwitchState
    {
        bool on;
        int currentButton;
        int marked;
        bool operator==(const SwitchState &) const = default;
    };
    struct ListWidgets
    {
        CListBoxFlat *available = nullptr;
        CListBoxFlat *chosen = nullptr;
        QList<CBitmapButtonEx *> buttons;   // 添加, 删除, 全部添加, 全部删除
    };

    SwitchState switchState() const;
    void reportSwitch(const SwitchState &before);

    void buildCaption(const PanelCaption &caption);
    void buildList(int index, const PanelList &list);
    void buildPair(int pair, int top);
    void buildCheckBox();

    void moveSelected(int list, bool add);
    void moveAll(int list, bool add);
    void chooseMode(int pair, bool include);
    void setTolerable(bool tolerable);

    void showPair(int pair);
    void showCheckBox();
    void showLists(int list);

    Workspace &m_ws;
    MessageHandler &m_mainWindow;
    PanelSpec m_spec;
    QHash<int, QWidget *> m_controls;
    QList<ListWidgets> m_lists;
    bool m_shapeEnabled = true;
    int m_refreshing = 0;
};

// Shows a workspace list in a list box. An unchanged list keeps its
// selection; a list that only grew at its end keeps it too (the receiving
// list of a move); any other change rebuilds it with nothing selected.
void showEntries(CListBoxFlat *box, const QStringList &entries);
// The selected rows of a list box, in list order.
QList<int> selectedRows(const CListBoxFlat *box);

} // namespace numsieve::gui
