#pragma once

#include <QApplication>

namespace numsieve::gui {

// The application object: sets up the framework and runs the main window
// until it closes.
class CMyNumSieveApp : public QApplication
{
public:
    CMyNumSieveApp(int &argc, char **argv);
    int run();
};

} // namespace numsieve::gui
