#include "gui/app/CMyNumSieveApp.h"

#include <QCoreApplication>

#include <cstring>

int main(int argc, char *argv[])
{
    // Answered without a display, as a terminal asks it.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        QCoreApplication app(argc, argv);
        return numsieve::gui::printVersion();
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        QCoreApplication app(argc, argv);
        return numsieve::gui::printHelp();
    }
    numsieve::gui::fitScaleToScreen(argc, argv);
    numsieve::gui::CMyNumSieveApp app(argc, argv);
    return app.run();
}
