#pragma once

#include "core/Workspace.h"
#include "gui/analysis/AnalysedLottery.h"
#include "gui/app/AppServices.h"
#include "gui/app/CDialogProgress.h"
#include "gui/app/WindowMessages.h"
#include "gui/online/OnlineServices.h"
#include "core/history/LotteryRegistry.h"
#include "core/online/ProductSite.h"
#include "gui/ui/CBitmapDialog.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <array>
#include <memory>
#include <span>

class QAbstractButton;
class QMenu;
class QScrollArea;

namespace numsieve::gui {

class CBitmapButtonEx;
class CButtonEx;
class CDialogLeft;
class CDialogRight;
class ConditionPanel;
class ScrollingWindow;

// The main window: owns the whole working state (the workspace with the
// result tables, the loaded lotteries), hosts the panels and the command
// buttons, and is the one place where the panels' private messages arrive.
class CMyNumSieveDlg : public CBitmapDialog, public MessageHandler
{
    Q_OBJECT

public:
    static inline const QString kTitle = QStringLiteral("三位筛号器");
    static inline const QString kVersion = kVersionText;

    // The intervals of the online services' background requests.
    using OnlineIntervals = numsieve::gui::OnlineIntervals;

    // Command ids of the buttons and menu items; what each shows and does is
    // in the one table of commands.
    enum Command {
        IdLotteryManager = 1000, IdResults = 1001, IdForum = 1002, IdAnalysis = 1003, IdMore = 1004,
        IdSaveScheme = 1005, IdLoadScheme = 1006, IdMinimise = 1007, IdSelect = 1008, IdFilter = 1009,
        IdPrint = 1010, IdIntersect = 1011, IdSaveNumbers = 1012, IdClose = 1013, IdBuy = 1014,
        IdSoftwareUpdate = 32771, IdReport = 32772, IdHelp = 32773, IdAbout = 32817, IdBacktest = 32818,
        IdFilterReport = 32819, IdTrend = 32820, IdCheck = 32821, IdCompare = 32822,
    };

    // Starts up as the program does: data folder, lotteries, skin, panels.
    // The program folder holds the print file; the data folder defaults to
    // data/ in it.
    CMyNumSieveDlg(AppServices &services, const QString &programFolder, QWidget *parent = nullptr);
    CMyNumSieveDlg(AppServices &services, const QString &programFolder, const QString &dataFolder,
                   QWidget *parent = nullptr);
    ~CMyNumSieveDlg() override;

    Workspace &workspace() { return m_workspace; }
    const LotteryRegistry &loadedRegistry() const { return m_loaded; }
    QString dataFolder() const { return m_dataFolder; }
    QString printFile() const { return m_printFile; }
    CDialogRight *map() const { return m_map; }
    CDialogLeft *leftPanel() const { return m_leftPanel; }
    ConditionPanel *conditionPanel(int n) const { return m_conditionPanels.at(n - 1); }
    // The selected lottery as the analysis windows see it: a copy, with its
    // prizes as prize.data holds them now.
    AnalysedLottery analysedLottery() const;
    // The texts the progress window showed, in order (start-up and commands).
    const QStringList &progressLog() const { return m_progressLog; }

    // The private message protocol of the panels.
    int sendMessage(int message, int wParam = 0) override;

    // The commands of the buttons and menus.
    void runCommand(int id);
    // The popup menu of a button: 保存号码, 打印号码 (per view mode) or 更多.
    QMenu *commandMenu(int buttonId);
    // Save or print one result list (ids 32774-32785, 32805-32816).
    void runListCommand(int id);
    // The scheme commands; saving returns whether a file was written.
    bool saveScheme();
    void loadScheme();
    // Every panel re-reads the workspace (after it was changed from outside).
    void refreshPanels();
    // (Re)starts the four timers of the background requests; start-up starts
    // them with the standard intervals.
    void startOnlineTimers(const OnlineIntervals &intervals) { m_online->start(intervals); }
    // What 购买彩票 opens; the configuration file may change it.
    QString purchaseLink() const { return m_online->purchaseLink(); }
    // The close button: asks before closing; a second request while asking
    // closes at once without saving.
    void requestExit();

    // Fits the window into the room a screen leaves it. Where it is taller,
    // it becomes as tall as the room: the command row stays whole at its
    // foot, and the panels and the map scroll, each with its own bar. Where
    // the room is narrower still, the window is shown inside a scrolling
    // window, which is returned.
    std::unique_ptr<ScrollingWindow> fitInto(const QRect &available);
    // The scrolling column of the panels on a short screen, else nullptr.
    QScrollArea *panelColumn() const { return m_panelColumn; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    struct CommandEntry;
    // Every command of the window, in the order its buttons and menu items
    // show: the buttons, the 更多 menu and runCommand are all built from it.
    static std::span<const CommandEntry> commands();
    static const CommandEntry *findCommand(int id);

    void startUp();
    void createButtons();
    void createPanels();
    void selectView(ViewMode mode);
    // Moves the panels into a scrolling column and the command row up by
    // `shortfall`; the column's scroll bar widens the window by `bar`.
    void shortenBy(int shortfall, int bar);
    // Says on the map whether its result was filtered with other draws.
    void showOutdated();
    // The name a save dialog offers for `what` of the selected lottery.
    QString suggestedName(const QString &what) const;
    void showConditionPanel(int n);
    void reloadData();
    // Says which data files could not be read, each once per run.
    void reportReadProblems();
    void showAbout();
    void openLotteryManager();
    void openSitePage(SitePage page);
    void openSoftwareUpdate();
    void openBacktest();
    void openFilterReport();
    void openCheck();
    void openCompare();
    void runSelect();
    void runFilter();
    void runIntersect();
    void popupMenu(int buttonId, QPoint offset);
    // 保存号码 and 打印号码 open their menus above their buttons.
    void popupListMenu(int buttonId);
    void openAnalysis();
    void openTrend();
    void addAdvancedCondition();

    AppServices &m_services;
    Workspace m_workspace;
    LotteryRegistry m_loaded;
    QStringList m_reportedProblems;

    QString m_programFolder;
    QString m_dataFolder;
    QString m_printFile;
    OnlineServices *m_online = nullptr;

    ModelessDialogTracker m_progress;
    QStringList m_progressLog;

    CDialogRight *m_map = nullptr;
    CDialogLeft *m_leftPanel = nullptr;
    std::array<ConditionPanel *, 15> m_conditionPanels{};
    QScrollArea *m_panelColumn = nullptr;
    int m_shortfall = 0;
    QList<QAbstractButton *> m_buttons;
    QPointer<QMenu> m_menu;

    bool m_exitInProgress = false;
    bool m_saveOnExit = true;
    bool m_forceExit = false;
};

} // namespace numsieve::gui
