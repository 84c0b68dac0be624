#include "gui/results/CDialogRight.h"

#include "core/Messages.h"
#include "gui/results/CDialogNumberInfo.h"
#include "gui/results/MapText.h"
#include "gui/ui/SkinFont.h"

#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>

namespace numsieve::gui {

namespace {

constexpr int kColumns = 25;
constexpr int kCellLeft = 8;
constexpr int kColumnStep = 23;
constexpr int kRowStep = 17;
// 24 x 18: neighbouring cells share their border line.
constexpr QSize kCellSize{24, 18};
constexpr int kFirstGridTop = 29;
constexpr int kGroupSixGridTop = 128;

constexpr int kTextLeft = 8;
constexpr int kCountLineTop = 12;
constexpr int kGroupSixCountLineTop = 110;
constexpr int kStraightHintsTop = 722;
constexpr int kGroupHintsTop = 226;
constexpr int kHintLineStep = 16;

// Repainted with a stepped cell so the counts follow; wide enough for
// four-digit counts.
const QRect kCountStrip(7, 11, 301, 14);
const QRect kGroupSixCountStrip(7, 109, 301, 14);

constexpr int kWheelNotch = 120;

// The first-start note keeps this much room around it.
constexpr int kNoteMargin = 6;

const QColor kBorderColour(204, 204, 204);
const QColor kOutdatedColour(200, 30, 20);

struct StageLook {
    QColor fill;
    QColor text;
};

StageLook stageLook(ResultStage stage)
{
    switch (stage) {
    case ResultStage::Selected:
        return {QColor(113, 196, 241), Qt::white};
    case ResultStage::Filtered:
        return {QColor(255, 175, 55), Qt::white};
    case ResultStage::Intersected:
        return {QColor(255, 77, 32), Qt::white};
    case ResultStage::None:
        break;
    }
    return {Qt::white, kBorderColour};
}

QRect gridCell(int index, int gridTop, int offset)
{
    const int column = index % kColumns;
    const int row = index / kColumns;
    return QRect(QPoint(kCellLeft + kColumnStep * column, gridTop + kRowStep * row + offset), kCellSize);
}

QString countLine(const QString &kind, const std::array<int, 3> &counts)
{
    return kind + QStringLiteral("(选号") + QString::number(counts[0]) + QStringLiteral("注,过滤")
        + QString::number(counts[1]) + QStringLiteral("注,交集") + QString::number(counts[2])
        + QStringLiteral("注)");
}

bool contains(std::span<ResultEntry> table, const ResultEntry *entry)
{
    return !table.empty() && entry >= table.data() && entry < table.data() + table.size();
}

// The three digits keep this much of the cell's colour between them and the
// grid lines on either side.
constexpr int kCellTextMargin = 2;

// The font of the cell numbers: the dialog font, or a smaller size of it
// where the fallback font's digits are wider than 宋体's.
QFont cellFont()
{
    QStringList widest;
    for (int d = 0; d <= 9; ++d)
        widest.append(QString(3, QChar(u'0' + d)));
    return skinFontFitting(widest, kCellSize.width() - 2 - 2 * kCellTextMargin);
}

void paintCells(QPainter &painter, std::span<ResultEntry> table, const QRect &exposed)
{
    const QFontMetrics metrics(painter.font());
    for (const ResultEntry &entry : table) {
        if (!entry.cell.intersects(exposed))
            continue;
        const StageLook look = stageLook(entry.stage);
        painter.fillRect(entry.cell, kBorderColour);
        painter.fillRect(entry.cell.adjusted(1, 1, -1, -1), look.fill);
        painter.setPen(look.text);
        const QString text = numberText(entry.number);
        const int left = entry.cell.left() + (entry.cell.width() - metrics.horizontalAdvance(text) + 1) / 2;
        drawTextAt(painter, left, entry.cell.top() + 3, text);
    }
}

} // namespace

CDialogRight::CDialogRight(ResultTables &tables, QWidget *parent)
    : QWidget(parent)
    , m_tables(tables)
    , m_cellFont(cellFont())
{
    setObjectName(QStringLiteral("CDialogRight"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(skinFont());

    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->installEventFilter(this);
    connect(m_scrollBar, &QScrollBar::actionTriggered, this, &CDialogRight::onScrollAction);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &CDialogRight::onScrollValue);

    m_numberInfo = new CDialogNumberInfo(this);
    m_numberInfo->hide();

    // A click on the note is the note's: it never reaches the cell that
    // would lie under it.
    m_noDrawsNote = new QFrame(this);
    m_noDrawsNote->setObjectName(QStringLiteral("noDrawsNote"));
    m_noDrawsNote->setAttribute(Qt::WA_NoMousePropagation);
    m_noDrawsNote->setStyleSheet(
        QStringLiteral("QFrame#noDrawsNote { background: #fff8d0; border: 1px solid #c8a850; }"));
    m_noDrawsHint = new QLabel(kNoDrawsHint);
    m_noDrawsHint->setObjectName(QStringLiteral("noDrawsHint"));
    m_noDrawsHint->setWordWrap(true);
    m_noDrawsHint->setStyleSheet(QStringLiteral("QLabel { background: transparent; color: #303030; }"));
    auto *close = new QToolButton;
    close->setObjectName(QStringLiteral("closeNoDrawsHint"));
    close->setText(QStringLiteral("关闭"));
    close->setToolTip(QStringLiteral("关闭这条提示"));
    close->setAutoRaise(true);
    auto *noteLayout = new QHBoxLayout(m_noDrawsNote);
    noteLayout->setContentsMargins(8, 6, 4, 6);
    noteLayout->addWidget(m_noDrawsHint, 1);
    noteLayout->addWidget(close, 0, Qt::AlignTop);
    m_noDrawsNote->hide();
    connect(close, &QAbstractButton::clicked, this, [this] {
        m_noDrawsClosed = true;
        m_noDrawsNote->hide();
        layOut();
    });

    resize(kSize);
    storeCellRects();
}

const QString CDialogRight::kNoDrawsHint =
    QStringLiteral("这个彩种还没有开奖号码。遗漏、历史、新旧跳等条件和方案回测都要用到开奖号码：") + msg::kHowToGetDraws;

void CDialogRight::setDrawList(const QStringList &draws)
{
    m_drawList = draws;
    // The open popup shows the history it was opened with until it is told.
    m_numberInfo->setDraws(draws);
    const bool note = draws.isEmpty() && !m_noDrawsClosed;
    if (note == m_noDrawsNote->isHidden()) {
        m_noDrawsNote->setVisible(note);
        layOut();
    }
}

void CDialogRight::setOutdatedNote(const QString &note)
{
    if (note == m_outdatedNote)
        return;
    m_outdatedNote = note;
    update();
}

QStringList CDialogRight::countLines() const
{
    if (m_tables.viewMode() == ViewMode::Straight)
        return {countLine(QStringLiteral("直选号码"), m_tables.counts(TableId::Straight))};
    return {countLine(QStringLiteral("组三号码"), m_tables.counts(TableId::GroupThree)),
            countLine(QStringLiteral("组六号码"), m_tables.counts(TableId::GroupSix))};
}

const QStringList &CDialogRight::hintLines()
{
    static const QStringList lines{
        QStringLiteral("1、鼠标左键点击号码可对号码进行多种选择，右键点击号码可查看号码详细信息。"),
        QStringLiteral("2、号码遗漏、号码历史、新旧跳和旧斜孤这几种条件会根据您选择的当前奖期自动变化，所以您在使用这些"),
        QStringLiteral("　 条件时请注意当前奖期。"),
        QStringLiteral("3、选号按钮是把您选择的号码显示在号码分布图上，可重复使用。"),
        QStringLiteral("4、过滤按钮是把您选择的号码根据条件过滤后显示在号码分布图上，可重复使用。"),
        QStringLiteral("5、号码交集按钮是把您导入的号码跟过滤号码进行交集后显示在号码分布图上，可重复使用。"),
        QStringLiteral("6、您可以多次导入交集号码，这样就可以对多批号码进行交集，只有在每批号码里都出现过的号码才会跟过"),
        QStringLiteral("　 滤号码进行交集。您也可以在号码交集后，再选择选号按钮或过滤按钮，这样就可以把交集号码取消掉。"),
        QStringLiteral("7、非常感谢您使用本软件，如果您觉得好用的话，请不要忘了告诉您身边的朋友，谢谢。"),
    };
    return lines;
}

void CDialogRight::storeCellRects()
{
    if (m_tables.viewMode() == ViewMode::Straight) {
        auto straight = m_tables.straight();
        for (size_t i = 0; i < straight.size(); ++i)
            straight[i].cell = gridCell(int(i), kFirstGridTop, offset());
        return;
    }
    auto groupThree = m_tables.groupThree();
    for (size_t i = 0; i < groupThree.size(); ++i)
        groupThree[i].cell = gridCell(int(i), kFirstGridTop, offset());
    auto groupSix = m_tables.groupSix();
    for (size_t i = 0; i < groupSix.size(); ++i)
        groupSix[i].cell = gridCell(int(i), kGroupSixGridTop, offset());
}

ResultEntry *CDialogRight::entryAt(QPoint pos)
{
    if (!contentRect().contains(pos))
        return nullptr;
    // The rectangles are rewritten here too, so that a click right after a
    // scroll or a change of view mode never meets the cells of the last paint.
    storeCellRects();
    const auto find = [pos](std::span<ResultEntry> table) -> ResultEntry * {
        for (ResultEntry &entry : table) {
            if (entry.cell.contains(pos))
                return &entry;
        }
        return nullptr;
    };
    if (m_tables.viewMode() == ViewMode::Straight)
        return find(m_tables.straight());
    if (ResultEntry *entry = find(m_tables.groupThree()))
        return entry;
    return find(m_tables.groupSix());
}

QRect CDialogRight::contentRect() const
{
    return QRect(0, m_contentTop, width() - m_scrollBar->width(), height() - m_contentTop);
}

QRect CDialogRight::countStrip(const ResultEntry &entry) const
{
    const QRect strip = contains(m_tables.groupSix(), &entry) ? kGroupSixCountStrip : kCountStrip;
    return strip.translated(0, offset());
}

void CDialogRight::repaintMap()
{
    storeCellRects();
    update();
}

void CDialogRight::paintEvent(QPaintEvent *event)
{
    storeCellRects();

    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    painter.setClipRect(contentRect());
    painter.setFont(skinFont());
    const int dy = offset();

    const struct {
        ResultStage stage;
        int left;
        const char16_t *text;
    } legend[] = {
        {ResultStage::Selected, 344, u"为选号号码"},
        {ResultStage::Filtered, 428, u"为过滤号码"},
        {ResultStage::Intersected, 512, u"为交集号码"},
    };
    const QStringList counts = countLines();
    // A result filtered with other draws says so in the legend's place,
    // beside the counts it makes doubtful.
    if (m_outdatedNote.isEmpty()) {
        for (const auto &item : legend) {
            painter.fillRect(QRect(item.left, 13 + dy, 9, 9), stageLook(item.stage).fill);
            painter.setPen(Qt::black);
            drawTextAt(painter, item.left + 13, 12 + dy, QString::fromUtf16(item.text));
        }
    } else {
        const QFontMetrics metrics(painter.font());
        const int left = kTextLeft + metrics.horizontalAdvance(counts[0]) + metrics.horizontalAdvance(QChar(0x3000));
        painter.setPen(kOutdatedColour);
        drawTextAt(painter, std::max(left, legend[0].left - 24), kCountLineTop + dy, m_outdatedNote);
    }

    painter.setPen(Qt::black);
    drawTextAt(painter, kTextLeft, kCountLineTop + dy, counts[0]);
    int hintsTop = kStraightHintsTop;
    if (m_tables.viewMode() != ViewMode::Straight) {
        drawTextAt(painter, kTextLeft, kGroupSixCountLineTop + dy, counts[1]);
        hintsTop = kGroupHintsTop;
    }
    painter.setFont(m_cellFont);
    if (m_tables.viewMode() == ViewMode::Straight) {
        paintCells(painter, m_tables.straight(), event->rect());
    } else {
        paintCells(painter, m_tables.groupThree(), event->rect());
        paintCells(painter, m_tables.groupSix(), event->rect());
    }

    painter.setFont(skinFont());
    painter.setPen(Qt::black);
    drawTextAt(painter, kTextLeft, hintsTop + dy, QStringLiteral("相关提示"));
    const QStringList &hints = hintLines();
    for (qsizetype i = 0; i < hints.size(); ++i)
        drawTextAt(painter, kTextLeft, hintsTop + kHintLineStep * int(i + 1) + dy, hints[i]);
}

void CDialogRight::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        m_numberInfo->hide();
        ResultEntry *entry = entryAt(pos);
        if (!entry)
            return;
        entry->stage = ResultTables::nextStage(entry->stage);
        update(entry->cell);
        update(countStrip(*entry));
        Q_EMIT stagesChanged();
        return;
    }
    if (event->button() == Qt::RightButton) {
        const ResultEntry *entry = entryAt(pos);
        if (!entry)
            return;
        m_numberInfo->showFor(entry->number, m_drawList, m_tables.viewMode() != ViewMode::Straight,
                              mapToGlobal(QPoint(0, 0)) + pos - QPoint(253, 10));
        return;
    }
    QWidget::mousePressEvent(event);
}

int CDialogRight::scrollRange() const
{
    return m_scrollBar->maximum();
}

int CDialogRight::lineStep() const
{
    return std::max(scrollRange() / 20, 5);
}

int CDialogRight::pageStep() const
{
    return std::max(scrollRange() / 10, 5);
}

void CDialogRight::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void CDialogRight::layOut()
{
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scrollBar);
    m_scrollBar->setGeometry(width() - extent, 0, extent, height());
    m_contentTop = 0;
    if (!m_noDrawsNote->isHidden()) {
        const int noteWidth = width() - extent - 2 * kNoteMargin;
        m_noDrawsNote->setGeometry(kNoteMargin, kNoteMargin, noteWidth, m_noDrawsNote->heightForWidth(noteWidth));
        m_contentTop = m_noDrawsNote->geometry().bottom() + 1;
    }

    // A page taller than the content leaves nothing to scroll; the bar stays
    // visible but disabled.
    const int page = height() - m_contentTop;
    const int range = std::max(kContentHeight - page, 0);
    m_scrollBar->setRange(0, range);
    m_scrollBar->setPageStep(page);
    m_scrollBar->setSingleStep(lineStep());
    m_scrollBar->setValue(0);
    m_scrollBar->setEnabled(range > 0);
    m_scroll = 0;
    storeCellRects();
    update();
}

void CDialogRight::onScrollAction(int action)
{
    // The bar has already moved by its own steps; replace them by the map's.
    int target;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        target = m_scrollBar->value() + lineStep();
        break;
    case QAbstractSlider::SliderSingleStepSub:
        target = m_scrollBar->value() - lineStep();
        break;
    case QAbstractSlider::SliderPageStepAdd:
        target = m_scrollBar->value() + pageStep();
        break;
    case QAbstractSlider::SliderPageStepSub:
        target = m_scrollBar->value() - pageStep();
        break;
    default:
        return;
    }
    m_scrollBar->setSliderPosition(std::clamp(target, 0, scrollRange()));
}

void CDialogRight::onScrollValue(int value)
{
    const int difference = m_scroll - value;
    if (difference == 0)
        return;
    m_scroll = value;
    storeCellRects();
    scroll(0, difference, contentRect());
}

void CDialogRight::scrollBy(int step)
{
    m_scrollBar->setValue(std::clamp(m_scroll + step, 0, scrollRange()));
}

void CDialogRight::wheelScrolled(int delta)
{
    // Whole notches only: a touchpad's stream of small deltas adds up to the
    // same distance as a wheel.
    m_wheelRemainder += delta;
    while (m_wheelRemainder >= kWheelNotch) {
        m_wheelRemainder -= kWheelNotch;
        scrollBy(-lineStep());
    }
    while (m_wheelRemainder <= -kWheelNotch) {
        m_wheelRemainder += kWheelNotch;
        scrollBy(lineStep());
    }
}

void CDialogRight::wheelEvent(QWheelEvent *event)
{
    wheelScrolled(event->angleDelta().y());
    event->accept();
}

bool CDialogRight::eventFilter(QObject *watched, QEvent *event)
{
    // The bar's own wheel handling would scroll by its own rule.
    if (watched == m_scrollBar && event->type() == QEvent::Wheel) {
        wheelScrolled(static_cast<QWheelEvent *>(event)->angleDelta().y());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace numsieve::gui
