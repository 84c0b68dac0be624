#include "gui/results/CDialogNumberInfo.h"

#include "gui/results/MapText.h"
#include "core/results/NumberStatistics.h"
#include "gui/ui/CBitmapButtonEx.h"
#include "gui/ui/SkinFont.h"
#include "gui/ui/SkinImages.h"

#include <QKeyEvent>
#include <QPainter>

namespace numsieve::gui {

namespace {

const QColor kTitleColour(0, 54, 101);
const QPoint kTitlePos(14, 6);   // after the accent bar of the caption strip
const QPoint kCloseButtonPos(219, 3);

// Every line is a name padded with ideographic spaces to six full-width
// cells, then the value. The padding lines the values up only in a font
// whose Latin letters are half as wide as an ideograph (宋体); "AC值" and
// its spaces are drawn apart from the value, which starts at the seventh cell
// whatever the font.
constexpr int kNameCells = 6;
constexpr QChar kIdeographicSpace(0x3000);

void drawInfoLine(QPainter &painter, QPoint at, const QString &line)
{
    const qsizetype valueStart = line.lastIndexOf(kIdeographicSpace) + 1;
    if (valueStart == 0) {
        drawTextAt(painter, at.x(), at.y(), line);
        return;
    }
    const int valueColumn = kNameCells * painter.fontMetrics().horizontalAdvance(kIdeographicSpace);
    drawTextAt(painter, at.x(), at.y(), line.left(valueStart));
    drawTextAt(painter, at.x() + valueColumn, at.y(), line.mid(valueStart));
}

} // namespace

CDialogNumberInfo::CDialogNumberInfo(QWidget *parent)
    : CBitmapDialog(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("CDialogNumberInfo"));
    setFixedSize(kSize);
    setFocusPolicy(Qt::StrongFocus);
    setFont(skinFont());
    setBackground(SkinImages::popupBackground());
    setShaped(true);
    setDraggable(true);

    auto *close = new CBitmapButtonEx(this);
    const QPixmap look = SkinImages::popupCloseButton();
    close->setImages(look, look);
    close->setText(QStringLiteral("关闭"));
    close->move(kCloseButtonPos);
    // The window keeps the focus, so that Escape always reaches it.
    close->setFocusPolicy(Qt::NoFocus);
    connect(close, &QAbstractButton::clicked, this, &QWidget::hide);
    m_closeButton = close;
}

QString CDialogNumberInfo::title()
{
    return QStringLiteral("号码信息(按Esc键可关闭)");
}

void CDialogNumberInfo::showFor(int number, const QStringList &draws, bool group, QPoint globalPos)
{
    hide();
    m_number = number;
    m_group = group;
    m_lines = numberInfoLines(number, draws, group);
    setGeometry(QRect(globalPos, kSize));
    show();
    raise();
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
    update();
}

void CDialogNumberInfo::setDraws(const QStringList &draws)
{
    if (isHidden())
        return;
    m_lines = numberInfoLines(m_number, draws, m_group);
    update();
}

void CDialogNumberInfo::paintEvent(QPaintEvent *event)
{
    CBitmapDialog::paintEvent(event);
    QPainter painter(this);
    painter.setFont(skinFont());
    painter.setPen(kTitleColour);
    drawTextAt(painter, kTitlePos.x(), kTitlePos.y(), title());

    painter.setPen(Qt::black);
    const auto &positions = numberInfoPositions();
    for (qsizetype i = 0; i < m_lines.size() && i < qsizetype(positions.size()); ++i)
        drawInfoLine(painter, positions[size_t(i)], m_lines[i]);
}

void CDialogNumberInfo::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace numsieve::gui
