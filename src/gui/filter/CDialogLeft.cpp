#include "gui/filter/CDialogLeft.h"

#include "core/Workspace.h"
#include "gui/app/AppServices.h"
#include "gui/selection/CDialog_Left_Sub1.h"
#include "gui/selection/CDialog_Left_Sub2.h"
#include "gui/selection/CDialog_Left_Sub3.h"
#include "gui/selection/CDialog_Left_Sub4.h"
#include "gui/selection/CSelectionPanel.h"
#include "gui/ui/CBitComboBox.h"
#include "gui/ui/CBitmapButtonEx.h"
#include "gui/ui/CButtonEx.h"
#include "gui/ui/DialogUnits.h"
#include "gui/ui/SkinFont.h"
#include "gui/ui/SkinImages.h"

#include <QLabel>
#include <QStringListModel>

namespace numsieve::gui {

namespace {

struct ConditionButtonPlace {
    const char16_t *text;
    int blanks;   // the captions are padded so the text clears the tick
    int x;        // dialog units
    int y;
};

constexpr ConditionButtonPlace kConditionButtons[kConditionCount] = {
    {u"号码", 10, 7, 110},    {u"和值", 10, 59, 110},  {u"平均值", 6, 111, 110}, {u"跨度", 10, 163, 110},
    {u"AC值", 9, 215, 110},   {u"大小", 10, 7, 126},   {u"奇偶", 10, 59, 126},   {u"质和", 10, 111, 126},
    {u"除3余", 8, 163, 126},  {u"新旧跳", 6, 215, 126}, {u"旧斜孤", 6, 7, 142},  {u"重复号", 6, 59, 142},
    {u"连号", 10, 111, 142},  {u"间隔号", 6, 163, 142}, {u"高级", 10, 215, 142},
};
constexpr QSize kConditionButtonUnits{50, 14};

struct TabPlace {
    const char16_t *caption;
    QRect rect;   // client pixels
};

constexpr TabPlace kTabs[4] = {
    {u"直选", QRect(QPoint(3, 45), QPoint(90, 74))},
    {u"组选", QRect(QPoint(91, 45), QPoint(178, 74))},
    {u"胆拖", QRect(QPoint(179, 45), QPoint(266, 74))},
    {u"大底", QRect(QPoint(267, 45), QPoint(402, 74))},
};

} // namespace

const QStringList &CDialogLeft::toleranceTexts()
{
    static const QStringList texts = [] {
        QStringList list{QStringLiteral(" 不使用")};
        for (int n = 1; n <= 10; ++n)
            list.append(QStringLiteral(" 最多") + QString::number(n) + QStringLiteral("次"));
        return list;
    }();
    return texts;
}

QString CDialogLeft::conditionText(int condition)
{
    if (condition < 1 || condition > kConditionCount)
        return {};
    const ConditionButtonPlace &c = kConditionButtons[condition - 1];
    return QString::fromUtf16(c.text) + QString(c.blanks, QLatin1Char(' '));
}

CDialogLeft::CDialogLeft(Workspace &ws, MessageHandler &mainWindow, AppServices &services, QWidget *parent)
    : CBitmapDialog(parent)
    , m_ws(ws)
    , m_mainWindow(mainWindow)
    , m_services(services)
{
    setObjectName(QStringLiteral("CDialogLeft"));
    setFont(skinFont());
    setBackground(SkinImages::panelBackground(kSize));
    resize(kSize);
    createSelectors();
    createSelectionPanels();
    // The tabs come after the panels so that they stay on top where the
    // active tab's foot meets the panel.
    createTabs();
    createConditionButtons();
    refresh();
}

void CDialogLeft::createSelectors()
{
    const std::pair<const char16_t *, int> labels[] = {{u"彩票", 6}, {u"奖期", 105}, {u"容错", 195}};
    for (const auto &[text, x] : labels) {
        QLabel *label = makeSkinLabel(this, QString::fromUtf16(text), dluToPixels(QPoint(x, 9)));
        label->setObjectName(QString::fromUtf16(text));
    }

    auto selector = [this](int x, int width) {
        auto *box = new CBitComboBox(this);
        const QPoint at = dluToPixels(QPoint(x, 7));
        box->setGeometry(at.x(), at.y(), dluToPixelsX(width), SkinImages::comboHeight);
        return box;
    };
    m_lottery = selector(26, 76);
    m_issue = selector(126, 65);
    m_tolerance = selector(215, 51);

    // A lottery may have a hundred thousand draws: the issues go into the
    // model in one piece, and neither the size hint nor the open list looks
    // at every item.
    m_issueModel = new QStringListModel(m_issue);
    m_issue->setModel(m_issueModel);
    m_issue->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_issue->setMinimumContentsLength(8);
    m_issue->setMaxVisibleItems(20);

    // The eleven choices are few enough to show at once.
    m_tolerance->addItems(toleranceTexts());
    m_tolerance->setMaxVisibleItems(int(toleranceTexts().size()));

    connect(m_lottery, &QComboBox::currentIndexChanged, this, [this] { applyLotterySelection(); });
    connect(m_tolerance, &QComboBox::currentIndexChanged, this, [this](int index) { m_ws.toleranceIndex = index; });
}

void CDialogLeft::createTabs()
{
    for (int i = 0; i < 4; ++i) {
        const TabPlace &t = kTabs[i];
        const QString caption = QString::fromUtf16(t.caption);
        for (bool active : {false, true}) {
            auto *b = new CBitmapButtonEx(this);
            const QPixmap look = SkinImages::tab(caption, t.rect.width(), active);
            b->setImages(look, look);
            b->setText(caption);
            b->setAccessibleName(caption);
            b->setGeometry(t.rect);
            b->setProperty("commandId", 30001 + 2 * i + (active ? 1 : 0));
            (active ? m_tabsActive : m_tabsInactive)[std::size_t(i)] = b;
        }
        // Only the inactive look reacts; the active tab is already chosen.
        connect(m_tabsInactive[std::size_t(i)], &QAbstractButton::clicked, this, [this, i] { selectTab(i + 1); });
    }
}

void CDialogLeft::createSelectionPanels()
{
    m_sub1 = new CDialog_Left_Sub1(m_ws, this);
    m_sub2 = new CDialog_Left_Sub2(m_ws, this);
    m_sub3 = new CDialog_Left_Sub3(m_ws, *this, m_services, this);
    m_sub4 = new CDialog_Left_Sub4(m_ws, *this, m_services, this);
    m_panels = {m_sub1, m_sub2, m_sub3, m_sub4};
}

void CDialogLeft::createConditionButtons()
{
    const ButtonLooks off = SkinImages::conditionButton(false);
    const ButtonLooks on = SkinImages::conditionButton(true);
    for (int k = 1; k <= 2 * kConditionCount; ++k) {
        const int n = k > kConditionCount ? k - kConditionCount : k;
        const ConditionButtonPlace &c = kConditionButtons[n - 1];
        auto *b = new CButtonEx(conditionText(n), this);
        b->setImages(k > kConditionCount ? on : off);
        b->setGeometry(dluToPixels(QRect(QPoint(c.x, c.y), kConditionButtonUnits)));
        b->setAccessibleName(QString::fromUtf16(c.text));
        b->setProperty("conditionButton", k);
        connect(b, &QAbstractButton::clicked, this, [this, k] { clickConditionButton(k); });
        m_conditionButtons[std::size_t(k - 1)] = b;
    }
}

CBitmapButtonEx *CDialogLeft::tab(int panel, bool active) const
{
    if (panel < 1 || panel > 4)
        return nullptr;
    return (active ? m_tabsActive : m_tabsInactive).at(std::size_t(panel - 1));
}

void CDialogLeft::setRegistry(const LotteryRegistry &selectorRegistry, qsizetype selectIndex)
{
    m_registry = selectorRegistry;
    QStringList names;
    names.reserve(m_registry.count());
    for (const Lottery &lottery : m_registry.lotteries())
        names.append(QLatin1Char(' ') + lottery.name);
    {
        const QSignalBlocker blocker(m_lottery);
        m_lottery->clear();
        m_lottery->addItems(names);
        if (m_registry.isEmpty())
            m_lottery->setCurrentIndex(-1);
        else
            m_lottery->setCurrentIndex(int(selectIndex >= 0 && selectIndex < m_registry.count() ? selectIndex : 0));
    }
    applyLotterySelection();
}

qsizetype CDialogLeft::selectedLottery() const
{
    return m_lottery->currentIndex();
}

void CDialogLeft::applyLotterySelection()
{
    // With nothing selected the issues and numbers of the lottery shown
    // before must go too: the draw-relative conditions would otherwise keep
    // computing from a lottery that is no longer chosen.
    const qsizetype index = selectedLottery();
    QStringList issues;
    QStringList numbers;
    if (index >= 0 && index < m_registry.count()) {
        const Lottery &lottery = m_registry.at(index);
        issues.reserve(lottery.draws.size());
        numbers.reserve(lottery.draws.size());
        for (const Draw &draw : lottery.draws) {
            issues.append(QLatin1Char(' ') + draw.issue);
            numbers.append(draw.number);
        }
    }
    m_issueModel->setStringList(issues);
    m_issue->setCurrentIndex(int(issues.size()) - 1);
    m_ws.selectionNumbers = numbers;
    m_mainWindow.sendMessage(WM_LOTTERY_SELECTED);
}

void CDialogLeft::selectTab(int panel)
{
    if (panel < 1 || panel > 4)
        return;
    m_ws.chooseSelectionPanel(panel);
    showTabs();
    m_mainWindow.sendMessage(m_ws.selection.viewModeOfPanel(panel) == ViewMode::Straight ? WM_SELECT_STRAIGHT
                                                                                          : WM_SELECT_GROUP);
}

void CDialogLeft::showTabs()
{
    const int active = m_ws.selection.activePanel();
    for (int i = 1; i <= 4; ++i) {
        m_tabsActive[std::size_t(i - 1)]->setVisible(i == active);
        m_tabsInactive[std::size_t(i - 1)]->setVisible(i != active);
        m_panels[std::size_t(i - 1)]->setVisible(i == active);
    }
}

void CDialogLeft::clickConditionButton(int k)
{
    m_ws.clickConditionButton(k);
    refreshConditionButtons();
    const int n = k > kConditionCount ? k - kConditionCount : k;
    m_mainWindow.sendMessage(WM_SHOW_CONDITION_PANEL + n);
}

void CDialogLeft::refreshConditionButtons()
{
    for (int n = 1; n <= kConditionCount; ++n) {
        CButtonEx *off = m_conditionButtons[std::size_t(n - 1)];
        CButtonEx *on = m_conditionButtons[std::size_t(n - 1 + kConditionCount)];
        const bool enabled = m_ws.enabled[std::size_t(n)];
        const bool marked = m_ws.markedCondition == n;
        off->setActive(marked);
        on->setActive(marked);
        off->setVisible(!enabled);
        on->setVisible(enabled);
    }
}

void CDialogLeft::refresh()
{
    showTabs();
    for (CSelectionPanel *panel : m_panels)
        panel->refresh();
    {
        const QSignalBlocker blocker(m_tolerance);
        const int index = m_ws.toleranceIndex;
        m_tolerance->setCurrentIndex(index >= 0 && index < m_tolerance->count() ? index : -1);
    }
    refreshConditionButtons();
}

int CDialogLeft::sendMessage(int message, int wParam)
{
    Q_UNUSED(wParam);
    switch (message) {
    case WM_SUBPANEL_STRAIGHT: return m_mainWindow.sendMessage(WM_SELECT_STRAIGHT);
    case WM_SUBPANEL_GROUP: return m_mainWindow.sendMessage(WM_SELECT_GROUP);
    default: return 0;
    }
}

} // namespace numsieve::gui
