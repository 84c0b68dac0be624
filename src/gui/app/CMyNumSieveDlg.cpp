#include "gui/app/CMyNumSieveDlg.h"

#include "core/Messages.h"
#include "core/analysis/Backtest.h"
#include "gui/analysis/CDialogBacktest.h"
#include "gui/analysis/CDialogCheck.h"
#include "gui/analysis/CDialogCompare.h"
#include "gui/analysis/CDialogFilterReport.h"
#include "gui/analysis/CDialogTrend.h"
#include "gui/app/AppIcon.h"
#include "gui/app/CDialogAbout.h"
#include "gui/filter/CDialogLeft.h"
#include "gui/filter/ConditionPanel.h"
#include "gui/filter/ConditionPanels.h"
#include "core/filter/FilterRun.h"
#include "gui/history/CDialogManger.h"
#include "core/history/DataFolder.h"
#include "gui/online/CDialogSoftUpdate.h"
#include "core/online/OnlineHosts.h"
#include "gui/results/CDialogRight.h"
#include "core/results/ListCommands.h"
#include "core/results/NumberListFile.h"
#include "core/scheme/SchemeFile.h"
#include "core/script/ConditionList.h"
#include "core/script/ScriptConditionRunner.h"
#include "core/selection/SelectionState.h"
#include "gui/ui/CBitmapButtonEx.h"
#include "gui/ui/CButtonEx.h"
#include "gui/ui/ScrollingWindow.h"
#include "gui/ui/SkinFont.h"
#include "gui/ui/SkinImages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QScrollArea>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

namespace numsieve::gui {

namespace {

const QString kExitQuestion =
    QStringLiteral("需要保存条件吗\n\n是　保存条件然后退出\n否　直接退出\n取消　不退出");
const QString kSchemeFilter = QStringLiteral("文本文件(*.cnd)");
const QString kNumberFilter = QStringLiteral("文本文件(*.txt)");

// Places of the panels in the client area.
constexpr QRect kLeftPanelRect{2, 60, 408, 259};
constexpr QRect kConditionPanelRect{2, 319, 408, 378};
constexpr QRect kMapRect{410, 60, 609, 637};

// Where a command shows: a pictured button of the top row, a caption
// button at the window's top right, a button of the bottom row or an item of
// the 更多 menu.
enum class Place { Top, Caption, Row, More };

constexpr int kCommandButtonTop = 703;
// However short the screen, the panels and the map keep this much in sight.
constexpr int kLeastPanelHeight = 200;

// The panels' column on a short screen: a wheel turn over it scrolls the
// column, never the map beside it, also where the column is at its end.
class PanelColumn : public QScrollArea
{
public:
    using QScrollArea::QScrollArea;

protected:
    void wheelEvent(QWheelEvent *event) override
    {
        QScrollArea::wheelEvent(event);
        event->accept();
    }
};

} // namespace

struct CMyNumSieveDlg::CommandEntry {
    int id;
    Place place;
    const char16_t *caption;    // a bottom button's or a menu item's text
    int x;                      // a bottom button's left edge
    SkinImages::TopButton top;  // a top button's picture
    void (*run)(CMyNumSieveDlg &);
};

std::span<const CMyNumSieveDlg::CommandEntry> CMyNumSieveDlg::commands()
{
    using W = CMyNumSieveDlg;
    using Top = SkinImages::TopButton;
    static constexpr CommandEntry table[] = {
        // Side by side after the program's mark.
        {IdLotteryManager, Place::Top, nullptr, 0, Top::Lotteries, [](W &w) { w.openLotteryManager(); }},
        {IdResults, Place::Top, nullptr, 0, Top::Draws, [](W &w) { w.openSitePage(SitePage::DrawResults); }},
        {IdAnalysis, Place::Top, nullptr, 0, Top::Analysis, [](W &w) { w.openAnalysis(); }},
        {IdForum, Place::Top, nullptr, 0, Top::Forum, [](W &w) { w.openSitePage(SitePage::Forum); }},
        // Right below its button.
        {IdMore, Place::Top, nullptr, 0, Top::More, [](W &w) { w.popupMenu(IdMore, QPoint(537, 42)); }},
        {IdMinimise, Place::Caption, nullptr, 0, {}, [](W &w) { w.window()->showMinimized(); }},
        {IdClose, Place::Caption, nullptr, 0, {}, [](W &w) { w.requestExit(); }},
        {IdSaveScheme, Place::Row, u"保存条件", 8, {}, [](W &w) { w.saveScheme(); }},
        {IdLoadScheme, Place::Row, u"导入条件", 112, {}, [](W &w) { w.loadScheme(); }},
        {IdBuy, Place::Row, u"购买彩票", 298, {}, [](W &w) { w.m_online->openPurchaseLink(w.m_services, &w); }},
        {IdSelect, Place::Row, u"选号 >>>", 420, {}, [](W &w) { w.runSelect(); }},
        {IdFilter, Place::Row, u"过滤 >>>", 525, {}, [](W &w) { w.runFilter(); }},
        {IdIntersect, Place::Row, u"号码交集", 630, {}, [](W &w) { w.runIntersect(); }},
        {IdPrint, Place::Row, u"打印号码", 740, {}, [](W &w) { w.popupListMenu(IdPrint); }},
        {IdSaveNumbers, Place::Row, u"保存号码", 855, {}, [](W &w) { w.popupListMenu(IdSaveNumbers); }},
        {IdBacktest, Place::More, u"方案回测...", 0, {}, [](W &w) { w.openBacktest(); }},
        {IdCompare, Place::More, u"方案对比...", 0, {}, [](W &w) { w.openCompare(); }},
        {IdFilterReport, Place::More, u"过滤报告...", 0, {}, [](W &w) { w.openFilterReport(); }},
        {IdCheck, Place::More, u"对奖...", 0, {}, [](W &w) { w.openCheck(); }},
        {IdTrend, Place::More, u"走势图...", 0, {}, [](W &w) { w.openTrend(); }},
        {IdSoftwareUpdate, Place::More, u"软件更新", 0, {}, [](W &w) { w.openSoftwareUpdate(); }},
        {IdReport, Place::More, u"提交错误/建议", 0, {}, [](W &w) { w.openSitePage(SitePage::Report); }},
        {IdHelp, Place::More, u"使用帮助", 0, {}, [](W &w) { w.openSitePage(SitePage::Help); }},
        {IdAbout, Place::More, u"关于...", 0, {}, [](W &w) { w.showAbout(); }},
    };
    return table;
}

const CMyNumSieveDlg::CommandEntry *CMyNumSieveDlg::findCommand(int id)
{
    const std::span<const CommandEntry> all = commands();
    const auto found = std::ranges::find(all, id, &CommandEntry::id);
    return found == all.end() ? nullptr : &*found;
}

CMyNumSieveDlg::CMyNumSieveDlg(AppServices &services, const QString &programFolder, QWidget *parent)
    : CMyNumSieveDlg(services, programFolder, QDir(programFolder).filePath(QStringLiteral("data")), parent)
{
}

CMyNumSieveDlg::CMyNumSieveDlg(AppServices &services, const QString &programFolder, const QString &dataFolder,
                               QWidget *parent)
    : CBitmapDialog(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_services(services)
    , m_programFolder(programFolder)
    , m_dataFolder(dataFolder)
{
    setObjectName(QStringLiteral("CMyNumSieveDlg"));
    startUp();
}

CMyNumSieveDlg::~CMyNumSieveDlg() = default;

void CMyNumSieveDlg::startUp()
{
    ProgressGuard progress(m_progress, QStringLiteral("请稍候，系统正在启动..."));
    m_progressLog << QStringLiteral("请稍候，系统正在启动...");

    m_printFile = printFilePath(m_programFolder);
    QDir().mkpath(m_dataFolder);
    m_loaded = loadRegistry(m_dataFolder);
    setWindowTitle(kTitle);
    setWindowIcon(appIcon());

    progress.setText(QStringLiteral("请稍候，系统正在计算遗漏数据..."));
    m_progressLog << QStringLiteral("请稍候，系统正在计算遗漏数据...");

    setFont(skinFont());
    setBackground(SkinImages::mainBackground());
    setFixedSize(SkinImages::mainSize);
    setShaped(true);
    setDraggable(true);
    createButtons();

    createPanels();
    m_online = new OnlineServices(m_dataFolder, this);
    connect(m_online, &OnlineServices::updateOffered, this, &CMyNumSieveDlg::openSoftwareUpdate);
    connect(m_online, &OnlineServices::purchaseOffered, this, [this] {
        for (QAbstractButton *b : std::as_const(m_buttons))
            if (b->property("commandId").toInt() == IdBuy)
                b->show();
    });
    m_online->start(OnlineIntervals{});
    reportReadProblems();
}

void CMyNumSieveDlg::openSoftwareUpdate()
{
    CDialogSoftUpdate update(m_services, kVersion, loadOnlineHosts(m_dataFolder).product, this);
    m_services.execModal(&update);
}

AnalysedLottery CMyNumSieveDlg::analysedLottery() const
{
    AnalysedLottery analysed;
    const LotteryRegistry &shown = m_leftPanel->registry();
    const qsizetype selected = m_leftPanel->selectedLottery();
    if (selected < 0 || selected >= shown.count())
        return analysed;
    const Lottery &lottery = shown.at(selected);
    analysed.name = lottery.name;
    analysed.draws = lottery.draws;
    // Read when asked: 彩票管理 may have changed them since the start.
    const PrizeFile prizes = loadPrizeFile(m_dataFolder);
    analysed.prizes = prizes.prizesOf(lottery.id);
    analysed.prizeProblem = prizes.readProblem;
    return analysed;
}

void CMyNumSieveDlg::openBacktest()
{
    // The dialog replays copies of the current state and of the selected
    // lottery's draws; nothing it does reaches this window.
    CDialogBacktest backtest(m_services, m_workspace, analysedLottery(), this);
    m_services.execModal(&backtest);
}

void CMyNumSieveDlg::openFilterReport()
{
    const Workspace copy = m_workspace;
    ScriptConditionRunner runner;
    CDialogFilterReport report(m_services, runFilterReport(copy, {}, &runner), analysedLottery(), this);
    m_services.execModal(&report);
}

void CMyNumSieveDlg::openCheck()
{
    CDialogCheck check(m_services, analysedLottery(), m_workspace.tables, this);
    m_services.execModal(&check);
}

void CMyNumSieveDlg::openCompare()
{
    CDialogCompare compare(m_services, analysedLottery(), this);
    m_services.execModal(&compare);
}

void CMyNumSieveDlg::openSitePage(SitePage page)
{
    const auto url = sitePageUrl(loadOnlineHosts(m_dataFolder), page);
    if (url)
        openWebLink(m_services, this, url->toString());
    else
        m_services.warn(this, url.error());
}

void CMyNumSieveDlg::createButtons()
{
    // The top row starts so that "更多" ends at 537, where its menu opens.
    int topX = 537 - 4 * SkinImages::topButtonSize.width();
    const int right = SkinImages::mainSize.width() - 10;
    const QSize caption = SkinImages::captionButtonSize;
    for (const CommandEntry &c : commands()) {
        QAbstractButton *button = nullptr;
        if (c.place == Place::Top) {
            auto *b = new CButtonEx(this);
            b->setImages(SkinImages::topButton(c.top));
            b->setTextColourEnabled(false);
            b->setGeometry(QRect(QPoint(topX, 2), SkinImages::topButtonSize));
            b->setToolTip(SkinImages::topButtonCaption(c.top));
            topX += SkinImages::topButtonSize.width();
            button = b;
        } else if (c.place == Place::Caption) {
            const bool close = c.id == IdClose;
            auto *b = new CButtonEx(this);
            b->setImages(close ? SkinImages::closeButton() : SkinImages::minimiseButton());
            b->setTextColourEnabled(false);
            b->setGeometry(QRect(QPoint(right - (close ? caption.width() : 2 * caption.width() + 2), 6), caption));
            button = b;
        } else if (c.place == Place::Row) {
            const QString text = QString::fromUtf16(c.caption);
            auto *b = new CBitmapButtonEx(this);
            const BitmapLooks looks = SkinImages::commandButton(text);
            b->setImages(looks.up, looks.down, looks.disabled);
            b->move(c.x, kCommandButtonTop);
            b->setText(text);
            b->setAccessibleName(text);
            // Hidden until the configuration offers a buy link.
            b->setVisible(c.id != IdBuy);
            button = b;
        } else {
            continue;
        }
        button->setProperty("commandId", c.id);
        m_buttons.append(button);
    }
    for (QAbstractButton *b : m_buttons)
        connect(b, &QAbstractButton::clicked, this, [this, b] { runCommand(b->property("commandId").toInt()); });
}

void CMyNumSieveDlg::createPanels()
{
    m_map = new CDialogRight(m_workspace.tables, this);
    m_map->setGeometry(kMapRect);

    // The left panel selects the first lottery and its newest draw, which
    // hands the draws to the map.
    m_leftPanel = new CDialogLeft(m_workspace, *this, m_services, this);
    m_leftPanel->setObjectName(QStringLiteral("CDialogLeft"));
    m_leftPanel->move(kLeftPanelRect.topLeft());
    m_leftPanel->setRegistry(m_loaded, 0);

    const QList<ConditionPanel *> panels = createConditionPanels(m_workspace, *this, this);
    for (int n = 1; n <= kConditionCount; ++n) {
        ConditionPanel *panel = panels.at(n - 1);
        panel->setObjectName(QStringLiteral("CDialogLeft%1").arg(n));
        panel->move(kConditionPanelRect.topLeft());
        panel->setVisible(n == 1);
        m_conditionPanels[n - 1] = panel;
    }
}

int CMyNumSieveDlg::sendMessage(int message, int wParam)
{
    switch (message) {
    case WM_SELECT_STRAIGHT: selectView(ViewMode::Straight); return 0;
    case WM_SELECT_GROUP: selectView(ViewMode::Group); return 0;
    case WM_CONDITION_SWITCH:
        m_workspace.switchCondition(wParam);
        m_leftPanel->refreshConditionButtons();
        return 0;
    case WM_LOTTERY_SELECTED:
        m_map->setDrawList(m_workspace.selectionNumbers);
        showOutdated();
        return 0;
    case WM_LOTTERY_RELOAD: reloadData(); return 0;
    case WM_ADD_ADVANCED_CONDITION: addAdvancedCondition(); return 0;
    default: break;
    }
    if (message > WM_SHOW_CONDITION_PANEL && message <= WM_SHOW_CONDITION_PANEL + kConditionCount)
        showConditionPanel(message - WM_SHOW_CONDITION_PANEL);
    return 0;
}

void CMyNumSieveDlg::selectView(ViewMode mode)
{
    m_workspace.tables.setViewMode(mode);
    m_map->repaintMap();
    // The conditions that depend on digit positions mean nothing for groups.
    for (ConditionPanel *panel : m_conditionPanels)
        panel->setShapeEnabled(mode == ViewMode::Straight);
}

void CMyNumSieveDlg::addAdvancedCondition()
{
    AdvancedConditionState &advanced = m_workspace.conditions.advanced;
    if (advanced.expression.isEmpty())
        return;
    const auto added = addExpression(advanced.expression, advanced.conditionText, m_workspace.selectionNumbers);
    if (!added) {
        m_services.warn(this, added.error());
        return;
    }
    advanced.expression.clear();
    m_workspace.setAdvancedConditionText(*added);
    m_leftPanel->refreshConditionButtons();
}

void CMyNumSieveDlg::showConditionPanel(int n)
{
    m_workspace.shownConditionPanel = n;
    for (int i = 1; i <= kConditionCount; ++i)
        m_conditionPanels[i - 1]->setVisible(i == n);
}

void CMyNumSieveDlg::reloadData()
{
    m_loaded = loadRegistry(m_dataFolder);
    const LotteryRegistry &shown = m_leftPanel->registry();
    const qsizetype selected = m_leftPanel->selectedLottery();
    const QString rememberedId = selected >= 0 && selected < shown.count() ? shown.at(selected).id : QString();
    m_leftPanel->setRegistry(m_loaded, indexAfterReload(m_loaded, rememberedId));
    // An open chart shows the draws as they are now, on the lottery, tab and
    // window it showed.
    if (auto *trend = findChild<CDialogTrend *>(QString(), Qt::FindDirectChildrenOnly))
        trend->setLotteries(m_leftPanel->registry());
    reportReadProblems();
}

void CMyNumSieveDlg::showOutdated()
{
    m_map->setOutdatedNote(m_workspace.resultOutdated() ? msg::kResultOutdated : QString());
}

QString CMyNumSieveDlg::suggestedName(const QString &what) const
{
    const LotteryRegistry &shown = m_leftPanel->registry();
    const qsizetype selected = m_leftPanel->selectedLottery();
    if (selected < 0 || selected >= shown.count())
        return suggestedFileName({what});
    const Lottery &lottery = shown.at(selected);
    return suggestedFileName({lottery.name, what, lottery.draws.isEmpty() ? QString() : lottery.draws.last().issue});
}

void CMyNumSieveDlg::reportReadProblems()
{
    QStringList fresh;
    for (const QString &problem : m_loaded.readProblems()) {
        if (!m_reportedProblems.contains(problem))
            fresh.append(problem);
    }
    if (fresh.isEmpty())
        return;
    m_reportedProblems += fresh;
    m_services.warn(this, fresh.join(QLatin1Char('\n'))
                              + QStringLiteral("\n这些文件中的开奖号码没有载入。为了不丢失它们，在把文件移出数据文件夹之前，"
                                               "不会保存覆盖它们。"));
}

void CMyNumSieveDlg::refreshPanels()
{
    // The panels show the workspace; they re-read it after every change.
    m_leftPanel->refresh();
    for (ConditionPanel *panel : m_conditionPanels)
        panel->refresh();
}

void CMyNumSieveDlg::runCommand(int id)
{
    if (const CommandEntry *command = findCommand(id))
        command->run(*this);
    else if (findListCommand(id))
        runListCommand(id);
}

void CMyNumSieveDlg::openTrend()
{
    CDialogTrend::showFor(m_services, this, m_leftPanel->registry(), m_leftPanel->selectedLottery());
}

void CMyNumSieveDlg::openAnalysis()
{
    // Without an analysis site of our own, the chart is drawn here.
    if (loadOnlineHosts(m_dataFolder).analysis.isEmpty())
        runCommand(IdTrend);
    else
        openSitePage(SitePage::Analysis);
}

QMenu *CMyNumSieveDlg::commandMenu(int buttonId)
{
    delete m_menu;
    m_menu = new QMenu(this);
    if (buttonId == IdMore) {
        for (const CommandEntry &c : commands())
            if (c.place == Place::More)
                m_menu->addAction(QString::fromUtf16(c.caption))->setData(c.id);
    } else {
        for (const ListCommand *c : listMenu(buttonId == IdPrint, m_workspace.tables.viewMode()))
            m_menu->addAction(c->menuText)->setData(c->id);
    }
    connect(m_menu, &QMenu::triggered, this, [this](QAction *a) { runCommand(a->data().toInt()); });
    return m_menu;
}

void CMyNumSieveDlg::popupListMenu(int buttonId)
{
    // Above the button, clear of the row.
    popupMenu(buttonId, QPoint(findCommand(buttonId)->x,
                               (m_workspace.tables.viewMode() == ViewMode::Straight ? 648 : 540) - m_shortfall));
}

void CMyNumSieveDlg::popupMenu(int buttonId, QPoint offset)
{
    commandMenu(buttonId)->popup(mapToGlobal(offset));
}

void CMyNumSieveDlg::runListCommand(int id)
{
    const ListCommand *command = findListCommand(id);
    if (!command)
        return;
    const QStringList numbers = m_workspace.tables.extract(command->kind, command->stage);
    if (numbers.isEmpty()) {
        m_services.warn(this, command->emptyMessage);
        return;
    }
    // Numbers filtered with draws that have changed since are not what a
    // filter run would keep now.
    if (m_workspace.resultOutdated()
        && !m_services.confirm(this, msg::kCaption,
                               msg::kResultOutdated + (command->print ? QStringLiteral("。\n仍然打印这些号码吗？")
                                                                      : QStringLiteral("。\n仍然保存这些号码吗？"))))
        return;
    if (!command->print) {
        // "保存  直选  过滤号码" names its list "直选过滤号码".
        const QString what = command->menuText.mid(2).remove(QLatin1Char(' '));
        const QString path = chooseSavePath(m_services, this, kNumberFilter, QStringLiteral(".txt"), suggestedName(what));
        if (path.isEmpty())
            return;
        if (auto saved = writeNumberListFile(path, numbers); !saved)
            m_services.warn(this, saved.error());
        return;
    }
    if (auto written = writeNumberListFile(m_printFile, numbers); !written) {
        m_services.warn(this, written.error());
        return;
    }
    if (auto printed = m_services.printFile(m_printFile); !printed)
        m_services.warn(this, printed.error());
}

void CMyNumSieveDlg::runSelect()
{
    gather(m_workspace.selection, m_workspace.tables);
    m_workspace.filteredWith.reset();
    showOutdated();
    m_map->repaintMap();
}

void CMyNumSieveDlg::runFilter()
{
    std::expected<void, QString> result;
    {
        ProgressGuard progress(m_progress, QStringLiteral("请稍候，系统过滤选号信息..."));
        m_progressLog << QStringLiteral("请稍候，系统过滤选号信息...");
        ScriptConditionRunner runner;
        result = numsieve::runFilter(m_workspace, &runner);
    }
    showOutdated();
    m_map->repaintMap();
    if (!result)
        m_services.warn(this, result.error());
}

void CMyNumSieveDlg::runIntersect()
{
    const QString path = m_services.openFileName(this, QString());
    if (!path.isEmpty()) {
        if (const auto numbers = readNumberListFile(path); !numbers)
            m_services.warn(this, numbers.error());
        else
            m_workspace.tables.intersect(*numbers);
    }
    m_map->repaintMap();
}

bool CMyNumSieveDlg::saveScheme()
{
    const QString path = chooseSavePath(m_services, this, kSchemeFilter, QStringLiteral(".cnd"));
    if (path.isEmpty())
        return false;
    const auto saved = writeSchemeFile(path, buildSchemeText(m_workspace));
    if (!saved)
        m_services.warn(this, saved.error());
    return saved.has_value();
}

void CMyNumSieveDlg::loadScheme()
{
    const QString path = m_services.openFileName(this, kSchemeFilter);
    if (path.isEmpty())
        return;
    const auto text = readSchemeFile(path);
    if (!text) {
        m_services.warn(this, text.error());
        return;
    }
    std::expected<void, QString> result;
    {
        ProgressGuard progress(m_progress, QStringLiteral("请稍候，系统正在验证导入信息..."), QString());
        m_progressLog << QStringLiteral("请稍候，系统正在验证导入信息...");
        result = validateSchemeText(*text);
        if (result) {
            progress.setText(QStringLiteral("请稍候，系统正在添加导入信息..."));
            m_progressLog << QStringLiteral("请稍候，系统正在添加导入信息...");
            result = applySchemeText(*text, m_workspace);
        }
    }
    showConditionPanel(m_workspace.shownConditionPanel);
    selectView(m_workspace.tables.viewMode());
    refreshPanels();
    // Rows picked before the load belong to lists that are gone; a 添加 must
    // not move an entry the user never chose.
    for (ConditionPanel *panel : m_conditionPanels)
        for (QListWidget *list : panel->findChildren<QListWidget *>())
            list->clearSelection();
    if (!result)
        m_services.warn(this, result.error());
}

void CMyNumSieveDlg::showAbout()
{
    CDialogAbout about(kTitle + u' ' + kVersion + QStringLiteral(" 版"), m_dataFolder, this);
    m_services.execModal(&about);
}

void CMyNumSieveDlg::openLotteryManager()
{
    // The manager edits a copy of what the selectors show; its saves reach
    // this window only through the data files and WM_LOTTERY_RELOAD.
    CDialogManger manager(m_services, *this, m_leftPanel->registry(), m_dataFolder, this);
    m_services.execModal(&manager);
}

void CMyNumSieveDlg::requestExit()
{
    // A second close while the question is still open ends the program at
    // once, without saving: the question goes away and the window closes.
    if (m_exitInProgress) {
        m_saveOnExit = false;
        m_forceExit = true;
        if (QWidget *question = QApplication::activeModalWidget())
            question->close();
        return;
    }
    // On a short screen the window sits inside a scrolling one, which asks
    // this one before it closes.
    window()->close();
}

void CMyNumSieveDlg::closeEvent(QCloseEvent *event)
{
    if (m_forceExit) {
        event->accept();
        return;
    }
    m_exitInProgress = true;
    const Answer answer = m_services.ask(this, QStringLiteral("退出"), kExitQuestion);
    if (m_forceExit) {
        event->accept();
        return;
    }
    switch (answer) {
    case Answer::Yes:
        // The conditions were meant to be kept: when no scheme was written
        // (the file dialog cancelled, or the save failed and said why), the
        // exit is off and everything stays as it was. A second close while
        // the file dialog is open still ends the program at once.
        if (m_saveOnExit && !saveScheme() && !m_forceExit) {
            m_exitInProgress = false;
            event->ignore();
            return;
        }
        event->accept();
        return;
    case Answer::No:
        event->accept();
        return;
    case Answer::Cancel:
        m_exitInProgress = false;
        event->ignore();
        return;
    }
}

std::unique_ptr<ScrollingWindow> CMyNumSieveDlg::fitInto(const QRect &available)
{
    const QSize full = SkinImages::mainSize;
    if (full.height() > available.height() && !m_panelColumn) {
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        // A room too narrow even for the window puts a scroll bar along the
        // bottom, which takes its height from the room too.
        const int room = available.height() - (full.width() + bar > available.width() ? bar : 0);
        shortenBy(std::min(full.height() - room, kMapRect.height() - kLeastPanelHeight), bar);
    }
    return placeWindowInside(*this, available);
}

void CMyNumSieveDlg::shortenBy(int shortfall, int bar)
{
    m_shortfall = shortfall;
    const QSize size(SkinImages::mainSize.width() + bar, SkinImages::mainSize.height() - shortfall);
    setFixedSize(size);
    setBackground(SkinImages::mainBackground(size));

    // The panels keep their own layout inside a column that scrolls; the map
    // scrolls by itself already. The command row moves up and stays whole.
    auto *panels = new QWidget;
    panels->resize(kLeftPanelRect.width(), kMapRect.height());
    m_leftPanel->setParent(panels);
    m_leftPanel->move(0, 0);
    m_leftPanel->show();
    for (ConditionPanel *panel : m_conditionPanels) {
        panel->setParent(panels);
        panel->move(kConditionPanelRect.topLeft() - kLeftPanelRect.topLeft());
    }
    showConditionPanel(m_workspace.shownConditionPanel);
    m_panelColumn = new PanelColumn(this);
    m_panelColumn->setObjectName(QStringLiteral("panelColumn"));
    m_panelColumn->setFrameShape(QFrame::NoFrame);
    m_panelColumn->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_panelColumn->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_panelColumn->setWidget(panels);
    m_panelColumn->viewport()->setAutoFillBackground(false);
    m_panelColumn->setGeometry(kLeftPanelRect.left(), kLeftPanelRect.top(), kLeftPanelRect.width() + bar,
                               kMapRect.height() - shortfall);
    m_panelColumn->show();
    m_map->setGeometry(kMapRect.translated(bar, 0).adjusted(0, 0, 0, -shortfall));

    for (QAbstractButton *b : std::as_const(m_buttons)) {
        const Place place = findCommand(b->property("commandId").toInt())->place;
        if (place == Place::Caption)
            b->move(b->pos() + QPoint(bar, 0));
        else if (place == Place::Row)
            b->move(b->pos() - QPoint(0, shortfall));
    }
}

void CMyNumSieveDlg::keyPressEvent(QKeyEvent *event)
{
    // Enter and Escape never close or trigger anything here.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: event->accept(); return;
    default: CBitmapDialog::keyPressEvent(event);
    }
}

void CMyNumSieveDlg::wheelEvent(QWheelEvent *event)
{
    m_map->wheelScrolled(event->angleDelta().y());
    event->accept();
}

} // namespace numsieve::gui
