#pragma once

namespace numsieve::gui {

// The private messages by which the panels talk to the main window (and the
// selection panels to the left control panel). They are delivered
// synchronously to one handler, so the whole protocol reads in one place.
enum WindowMessage : int {
    WM_USER = 0x0400,
    WM_SELECT_STRAIGHT = WM_USER + 1,
    WM_SELECT_GROUP = WM_USER + 2,
    WM_SUBPANEL_STRAIGHT = WM_USER + 3,
    WM_SUBPANEL_GROUP = WM_USER + 4,
    WM_SHOW_CONDITION_PANEL = WM_USER + 4,   // + N, N = 1..15
    WM_CONDITION_SWITCH = WM_USER + 20,
    WM_LOTTERY_SELECTED = WM_USER + 21,
    WM_LOTTERY_RELOAD = WM_USER + 22,
    WM_ADD_ADVANCED_CONDITION = WM_USER + 23,
};

// Whoever receives the messages of a panel.
class MessageHandler
{
public:
    virtual ~MessageHandler() = default;
    virtual int sendMessage(int message, int wParam = 0) = 0;
};

} // namespace numsieve::gui
