#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace numsieve::gui {

// What a window frame and title bar take around a dialog's client area on
// the desktops the program meets; a dialog is sized before it has a frame.
inline constexpr QSize kFrameReserve{16, 40};

// The factor by which a window of `size` must shrink to fit into `available`:
// 1 when it fits, else the largest factor in steps of 0.01 that fits.
double fitScale(QSize size, QSize available);

// The factor the program is drawn at for a fitting factor `fit` on top of
// the scale the user chose: never below one device pixel per unit, since
// the skinned controls lose parts of their text there (Qt draws widgets
// below a device pixel ratio of 1 with rounding that cuts them).
double drawnFactor(double fit, double userScale);

// The area `available` (in units at factor 1) as a window drawn at `factor`
// sees it.
QRect scaledArea(const QRect &available, double factor);

// Where a window of `size` goes in `available`: centred, its top-left corner
// kept inside when it is larger.
QRect placeInside(QSize size, const QRect &available);

// Shrinks a resizable dialog that would not fit into `available` (its frame
// included), keeping what it asks for where there is room.
void fitDialogInto(QWidget *dialog, const QRect &available);
// The same for the available area of the screen the dialog will open on.
void fitDialogToScreen(QWidget *dialog);

} // namespace numsieve::gui
