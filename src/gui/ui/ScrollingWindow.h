#pragma once

#include <QScrollArea>

#include <memory>

namespace numsieve::gui {

// A window of fixed size on a screen too small for it: shows it inside a
// frameless window of the room there is, with scroll bars to reach the rest.
// The window keeps its title, icon and frame; closing the scrolling window
// closes the one inside, which may refuse. The content is not owned: it is
// given back as a window of its own when this one goes.
class ScrollingWindow : public QScrollArea
{
    Q_OBJECT

public:
    explicit ScrollingWindow(QWidget *content);
    ~ScrollingWindow() override;

    // The size that shows `content` whole where it fits into `room`, with a
    // scroll bar for each side that does not.
    QSize sizeFor(QSize content, QSize room) const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Qt::WindowFlags m_contentFlags;
};

// Places `window` in `available`: there as it is when it fits, else inside
// a scrolling window as large as the room, which is returned.
std::unique_ptr<ScrollingWindow> placeWindowInside(QWidget &window, const QRect &available);

} // namespace numsieve::gui
