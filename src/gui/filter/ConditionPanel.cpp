#include "gui/filter/ConditionPanel.h"

#include "core/Workspace.h"
#include "gui/ui/CBitmapButtonEx.h"
#include "gui/ui/CButtonEx.h"
#include "gui/ui/CListBoxFlat.h"
#include "gui/ui/DialogUnits.h"
#include "gui/ui/SkinFont.h"
#include "gui/ui/SkinImages.h"

#include <QKeyEvent>
#include <QScrollBar>

namespace numsieve::gui {

namespace {

constexpr int kIncludeLeft = 78;
constexpr int kExcludeLeft = 124;
constexpr int kCheckBoxLeft = 347;
constexpr QSize kMoveButtonUnits{50, 14};
const int kMoveButtonIds[2] = {1029, 1033};
const int kAvailableIds[2] = {1024, 1026};
const int kChosenIds[2] = {1025, 1027};

// The caption is centred between the bar's accent stripe and its right end.
const QMargins kCaptionMargins{8, 0, 3, 0};

const QString &moveCaption(int k)
{
    static const QString captions[4] = {QStringLiteral("添加"), QStringLiteral("删除"), QStringLiteral("全部添加"),
                                        QStringLiteral("全部删除")};
    return captions[k];
}

// One size for every caption bar of every panel, so that captions look
// alike wherever the user turns: the largest at which the longest captions,
// five ideographs like 最大最小号 or 新旧跳形态, fit the bar.
QFont captionFont()
{
    const int room = SkinImages::captionBarSize.width() - kCaptionMargins.left() - kCaptionMargins.right();
    return skinFontFitting({QStringLiteral("最大最小号")}, room);
}

// Both boxes of a list condition show its entries in one size: the largest
// at which the longest entry of the whole vocabulary fits beside the
// scroll bar, so that an entry never loses its end when it moves.
void fitEntries(CListBoxFlat *available, CListBoxFlat *chosen, const QStringList &vocabulary)
{
    // Room for the item's own text margins on both sides.
    constexpr int kItemMargins = 8;
    available->ensurePolished();
    const int room = available->width() - 2 * available->frameWidth()
                     - available->verticalScrollBar()->sizeHint().width() - kItemMargins;
    const QFont font = skinFontFitting(vocabulary, room);
    available->setFont(font);
    chosen->setFont(font);
}

} // namespace

void showEntries(CListBoxFlat *box, const QStringList &entries)
{
    const int shown = box->count();
    bool prefix = shown <= entries.size();
    for (int i = 0; prefix && i < shown; ++i)
        prefix = box->item(i)->text() == entries.at(i);
    if (prefix) {
        for (int i = shown; i < entries.size(); ++i)
            box->addItem(entries.at(i));
        return;
    }
    box->clear();
    box->addItems(entries);
}

QList<int> selectedRows(const CListBoxFlat *box)
{
    QList<int> rows;
    for (int i = 0; i < box->count(); ++i) {
        if (box->item(i)->isSelected())
            rows.append(i);
    }
    return rows;
}

ConditionPanel::ConditionPanel(Workspace &ws, MessageHandler &mainWindow, const PanelSpec &spec, QWidget *parent)
    : CBitmapDialog(parent), m_ws(ws), m_mainWindow(mainWindow), m_spec(spec)
{
    setObjectName(QStringLiteral("CDialogLeft") + QString::number(spec.number));
    setBackground(SkinImages::panelBackground(kSize));
    setFixedSize(kSize);

    for (const PanelCaption &caption : spec.captions)
        buildCaption(caption);
    for (int i = 0; i < spec.lists.size(); ++i)
        buildList(i, spec.lists.at(i));
    for (int p = 0; p < spec.pairTops.size(); ++p)
        buildPair(p, spec.pairTops.at(p));
    buildCheckBox();

    ConditionPanel::refresh();
    // A panel created while the selection is group starts with its shape
    // sub-condition greyed, as if it had been told so.
    setShapeEnabled(ws.tables.viewMode() == ViewMode::Straight);
}

void ConditionPanel::addControl(int id, QWidget *widget)
{
    widget->setProperty("controlId", id);
    m_controls.insert(id, widget);
}

void ConditionPanel::buildCaption(const PanelCaption &caption)
{
    // An inert label on the plain bar: no command, no hover or pressed look.
    auto *bar = new CButtonEx(caption.text, this);
    const QPixmap image = SkinImages::captionBar();
    bar->setImages(image, image, image);
    bar->setTextColourEnabled(false);
    QPalette palette = bar->palette();
    palette.setColor(QPalette::ButtonText, QColor(SkinColour::captionText));
    bar->setPalette(palette);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setAttribute(Qt::WA_TransparentForMouseEvents);
    bar->setFont(captionFont());
    bar->setContentsMargins(kCaptionMargins);
    bar->setGeometry(QRect(dluToPixels(caption.place), SkinImages::captionBarSize));
    addControl(caption.id, bar);
}

void ConditionPanel::buildList(int index, const PanelList &list)
{
    ListWidgets widgets;
    widgets.available = new CListBoxFlat(this);
    widgets.chosen = new CListBoxFlat(this);
    for (CListBoxFlat *box : {widgets.available, widgets.chosen}) {
        // A click toggles one entry; several may be picked at once.
        box->setSelectionMode(QAbstractItemView::MultiSelection);
        box->setSortingEnabled(false);
    }
    widgets.available->setGeometry(dluToPixels(list.available));
    widgets.chosen->setGeometry(dluToPixels(list.chosen));
    const QList<ListCondition *> conditions = m_ws.conditions.lists(m_spec.number);
    if (index < conditions.size())
        fitEntries(widgets.available, widgets.chosen, conditions.at(index)->vocabulary());
    addControl(kAvailableIds[index], widgets.available);
    addControl(kChosenIds[index], widgets.chosen);

    for (int k = 0; k < 4; ++k) {
        auto *button = new CBitmapButtonEx(this);
        button->setImages(SkinImages::moveButton(moveCaption(k)));
        button->setAccessibleName(moveCaption(k));
        const QPoint place = dluToPixels(QPoint(list.buttonsX, list.firstButtonY + k * list.buttonStep));
        button->setGeometry(QRect(place, dluToPixels(kMoveButtonUnits)));
        addControl(kMoveButtonIds[index] + k, button);
        widgets.buttons.append(button);
        connect(button, &QAbstractButton::clicked, this, [this, index, k] {
            if (k < 2)
                moveSelected(index, k == 0);
            else
                moveAll(index, k == 2);
        });
    }
    m_lists.append(widgets);
}

void ConditionPanel::buildPair(int pair, int top)
{
    const int firstId = kFirstPairId + 4 * pair;
    const QString captions[2] = {QStringLiteral("包含"), QStringLiteral("排除")};
    for (int choice = 0; choice < 2; ++choice) {
        const int left = choice == 0 ? kIncludeLeft : kExcludeLeft;
        for (int selected = 0; selected < 2; ++selected) {
            auto *button = new CBitmapButtonEx(this);
            button->setImages(SkinImages::radio(captions[choice], selected == 1));
            button->setAccessibleName(captions[choice]);
            button->move(left, top);
            addControl(firstId + 2 * choice + selected, button);
            // The selected look of a choice takes no command: choosing what is
            // already chosen changes nothing.
            if (selected == 0)
                connect(button, &QAbstractButton::clicked, this, [this, pair, choice] { chooseMode(pair, choice == 0); });
        }
    }
}

void ConditionPanel::buildCheckBox()
{
    for (int ticked = 0; ticked < 2; ++ticked) {
        auto *button = new CBitmapButtonEx(this);
        button->setImages(SkinImages::checkBox(ticked == 1));
        button->setAccessibleName(QStringLiteral("容错"));
        button->move(kCheckBoxLeft, m_spec.checkBoxTop);
        addControl(ticked ? kCheckBoxTickedId : kCheckBoxEmptyId, button);
        connect(button, &QAbstractButton::clicked, this, [this, ticked] { setTolerable(ticked == 0); });
    }
}

ConditionPanel::SwitchState ConditionPanel::switchState() const
{
    return {m_ws.enabled[std::size_t(m_spec.number)], m_ws.currentConditionButton, m_ws.markedCondition};
}

void ConditionPanel::reportSwitch(const SwitchState &before)
{
    if (switchState() == before)
        return;
    const int n = m_spec.number;
    m_mainWindow.sendMessage(WM_CONDITION_SWITCH, m_ws.enabled[std::size_t(n)] ? n : n + kConditionCount);
}

void ConditionPanel::moveSelected(int list, bool add)
{
    const ListWidgets &widgets = m_lists.at(list);
    const QList<int> rows = selectedRows(add ? widgets.available : widgets.chosen);
    if (rows.isEmpty())
        return;
    withSwitch([&] {
        if (add)
            m_ws.addEntries(m_spec.number, list, rows);
        else
            m_ws.removeEntries(m_spec.number, list, rows);
    });
    showLists(list);
}

void ConditionPanel::moveAll(int list, bool add)
{
    withSwitch([&] {
        if (add)
            m_ws.addAllEntries(m_spec.number, list);
        else
            m_ws.removeAllEntries(m_spec.number, list);
    });
    showLists(list);
    m_lists.at(list).available->clearSelection();
    m_lists.at(list).chosen->clearSelection();
}

void ConditionPanel::chooseMode(int pair, bool include)
{
    withSwitch([&] { m_ws.setListMode(m_spec.number, pair, include ? ListMode::Include : ListMode::Exclude); });
    showPair(pair);
}

void ConditionPanel::setTolerable(bool tolerable)
{
    withSwitch([&] { m_ws.setTolerable(m_spec.number, tolerable); });
    showCheckBox();
}

void ConditionPanel::showLists(int list)
{
    const QList<ListCondition *> lists = m_ws.conditions.lists(m_spec.number);
    if (list >= lists.size())
        return;
    showEntries(m_lists.at(list).available, lists.at(list)->available());
    showEntries(m_lists.at(list).chosen, lists.at(list)->chosen());
}

void ConditionPanel::showPair(int pair)
{
    const bool include = m_ws.conditions.mode(m_spec.number, pair).value_or(ListMode::Include) == ListMode::Include;
    const int firstId = kFirstPairId + 4 * pair;
    m_controls.value(firstId)->setVisible(!include);
    m_controls.value(firstId + 1)->setVisible(include);
    m_controls.value(firstId + 2)->setVisible(include);
    m_controls.value(firstId + 3)->setVisible(!include);
}

void ConditionPanel::showCheckBox()
{
    const bool ticked = m_ws.conditions.tolerable[std::size_t(m_spec.number)];
    m_controls.value(kCheckBoxEmptyId)->setVisible(!ticked);
    m_controls.value(kCheckBoxTickedId)->setVisible(ticked);
}

void ConditionPanel::refresh()
{
    RefreshGuard guard(*this);
    for (int i = 0; i < m_lists.size(); ++i)
        showLists(i);
    for (int p = 0; p < m_spec.pairTops.size(); ++p)
        showPair(p);
    showCheckBox();
}

void ConditionPanel::setShapeEnabled(bool enabled)
{
    m_shapeEnabled = enabled;
    if (m_spec.shapePair < 0 || m_lists.isEmpty())
        return;
    for (int k = 0; k < 4; ++k)
        m_controls.value(kFirstPairId + 4 * m_spec.shapePair + k)->setEnabled(enabled);
    const ListWidgets &widgets = m_lists.first();
    widgets.available->setEnabled(enabled);
    widgets.chosen->setEnabled(enabled);
    for (CBitmapButtonEx *button : widgets.buttons)
        button->setEnabled(enabled);
}

void ConditionPanel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        CBitmapDialog::keyPressEvent(event);
    }
}

} // namespace numsieve::gui
