#include "gui/ui/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace numsieve::gui {

double fitScale(QSize size, QSize available)
{
    if (size.isEmpty() || available.isEmpty())
        return 1;
    const double fit = std::min(double(available.width()) / size.width(), double(available.height()) / size.height());
    if (fit >= 1)
        return 1;
    // Rounded down: the window must fit, not nearly fit.
    return std::max(0.1, std::floor(fit * 100) / 100);
}

double drawnFactor(double fit, double userScale)
{
    if (userScale <= 0)
        userScale = 1;
    return std::max(fit, std::min(1.0, 1.0 / userScale));
}

QRect scaledArea(const QRect &available, double factor)
{
    const QPoint topLeft(int(std::ceil(available.left() / factor)), int(std::ceil(available.top() / factor)));
    const QPoint end(int(std::floor((available.right() + 1) / factor)), int(std::floor((available.bottom() + 1) / factor)));
    return QRect(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
}

QRect placeInside(QSize size, const QRect &available)
{
    const int x = available.left() + std::max(0, (available.width() - size.width()) / 2);
    const int y = available.top() + std::max(0, (available.height() - size.height()) / 2);
    return QRect(QPoint(x, y), size);
}

void fitDialogInto(QWidget *dialog, const QRect &available)
{
    const QSize room = (available.size() - kFrameReserve).expandedTo(QSize(1, 1));
    dialog->resize(dialog->size().boundedTo(room));
}

void fitDialogToScreen(QWidget *dialog)
{
    const QWidget *parent = dialog->parentWidget();
    QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        fitDialogInto(dialog, screen->availableGeometry());
}

} // namespace numsieve::gui
