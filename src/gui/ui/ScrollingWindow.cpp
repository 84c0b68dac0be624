#include "gui/ui/ScrollingWindow.h"

#include "gui/ui/ScreenFit.h"

#include <QCloseEvent>
#include <QScrollBar>
#include <QStyle>

namespace numsieve::gui {

ScrollingWindow::ScrollingWindow(QWidget *content)
    : QScrollArea(nullptr), m_contentFlags(content->windowFlags())
{
    setWindowFlags(Qt::Window | (m_contentFlags & ~Qt::WindowType_Mask));
    setWindowTitle(content->windowTitle());
    setWindowIcon(content->windowIcon());
    connect(content, &QWidget::windowTitleChanged, this, &QWidget::setWindowTitle);
    connect(content, &QWidget::windowIconChanged, this, &QWidget::setWindowIcon);
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setWidget(content);
    content->show();
}

ScrollingWindow::~ScrollingWindow()
{
    if (QWidget *content = takeWidget())
        content->setParent(nullptr, m_contentFlags);
}

QSize ScrollingWindow::sizeFor(QSize content, QSize room) const
{
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    // A scroll bar along one side takes room from the other, which may then
    // need its own.
    bool across = false;
    bool down = false;
    for (int pass = 0; pass < 2; ++pass) {
        across = content.width() + (down ? extent : 0) > room.width();
        down = content.height() + (across ? extent : 0) > room.height();
    }
    return QSize(content.width() + (down ? extent : 0), content.height() + (across ? extent : 0)).boundedTo(room);
}

void ScrollingWindow::closeEvent(QCloseEvent *event)
{
    QWidget *content = widget();
    event->setAccepted(!content || content->close());
}

std::unique_ptr<ScrollingWindow> placeWindowInside(QWidget &window, const QRect &available)
{
    const QRect placed = placeInside(window.size(), available);
    if (available.contains(placed)) {
        window.move(placed.topLeft());
        return nullptr;
    }
    auto host = std::make_unique<ScrollingWindow>(&window);
    host->resize(host->sizeFor(window.size(), available.size()));
    host->move(placeInside(host->size(), available).topLeft());
    return host;
}

} // namespace numsieve::gui
