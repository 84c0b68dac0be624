#include "results/CDialogNumberInfo.h"

#include "results/MapText.h"
#include "results/NumberStatistics.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWindow>

namespace numsieve::gui {

namespace {

const QColor kTitleColour(0, 54, 101);
const QPoint kTitlePos(6, 6);
const QRect kCloseButtonRect(221, 3, 44, 20);

} // namespace

CDialogNumberInfo::CDialogNumberInfo(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("CDialogNumberInfo"));
    setFixedSize(kSize);
    setFocusPolicy(Qt::StrongFocus);
    setFont(mapFont());

    m_closeButton = new QPushButton(QStringLiteral("关闭"), this);
    m_closeButton->setGeometry(kCloseButtonRect);
    m_closeButton->setFont(mapFont());
    // The window keeps the focus, so that Escape always reaches it.
    m_closeButton->setFocusPolicy(Qt::NoFocus);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::hide);
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

void CDialogNumberInfo::paintBackground(QPainter &painter)
{
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor(206, 228, 250));
    gradient.setColorAt(1, QColor(236, 245, 254));
    painter.fillRect(rect(), gradient);
    painter.setPen(QColor(113, 161, 233));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawLine(1, 46, width() - 2, 46);
    painter.drawLine(1, 220, width() - 2, 220);
}

void CDialogNumberInfo::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintBackground(painter);

    painter.setFont(mapFont());
    painter.setPen(kTitleColour);
    drawTextAt(painter, kTitlePos.x(), kTitlePos.y(), title());

    painter.setPen(Qt::black);
    const auto &positions = numberInfoPositions();
    for (qsizetype i = 0; i < m_lines.size() && i < qsizetype(positions.size()); ++i)
        drawTextAt(painter, positions[size_t(i)].x(), positions[size_t(i)].y(), m_lines[i]);
}

void CDialogNumberInfo::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CDialogNumberInfo::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // Let the window system move the window where it can; it knows about
    // screen edges and compositors. Otherwise follow the mouse by hand.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    m_dragOffset = event->globalPosition().toPoint() - pos();
}

void CDialogNumberInfo::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragOffset && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - *m_dragOffset);
    else
        QWidget::mouseMoveEvent(event);
}

void CDialogNumberInfo::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragOffset.reset();
    QWidget::mouseReleaseEvent(event);
}

} // namespace numsieve::gui
