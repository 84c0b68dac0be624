#pragma once

#include <QApplication>

#include <memory>

class QLockFile;

namespace numsieve::gui {

class AppServices;

// The application object: sets up the framework and runs the main window
// until it closes.
class CMyNumSieveApp : public QApplication
{
public:
    CMyNumSieveApp(int &argc, char **argv);
    int run();
};

// The skinned main window keeps its layout at its own size; where the
// screen's available area is smaller, the whole program is drawn at a
// factor that fits it (QT_SCALE_FACTOR, which keeps text sharp), but never
// below a screen pixel per unit; what still does not fit scrolls. Asks the
// display once, before the application object exists; a no-op without one.
void fitScaleToScreen(int argc, char **argv);

// numsieve --version: the version and the data folder in use.
int printVersion();
// `numsieve --help`, printed without a display.
int printHelp();

// Holds the data folder for this window's whole life, so that a second
// program cannot save over its work. Null, after saying so, when another
// program holds it; nothing in the folder is touched then. A folder that
// cannot be written is opened all the same, after saying why, with a lock
// object that holds nothing.
std::unique_ptr<QLockFile> lockDataFolder(AppServices &services, const QString &dataFolder);

} // namespace numsieve::gui
