// The program's start-up as a player sees it: the whole process from its
// start until the main window is on screen with the issue selector filled,
// then it quits. Time it from outside, e.g. with bench/startup.sh. Like the
// program it first asks the screen what factor the window is drawn at;
// --no-probe leaves that out, to tell what the question costs.
//
//   build/bin/bench_gui_startup PROGRAM_FOLDER [--no-probe]   (its data/ holds the lotteries)

#include "gui/app/AppServices.h"
#include "gui/app/CMyNumSieveApp.h"
#include "gui/app/CMyNumSieveDlg.h"
#include "gui/filter/CDialogLeft.h"
#include "gui/ui/CBitComboBox.h"

#include <QTimer>

#include <cstdio>
#include <cstring>

using namespace numsieve::gui;

int main(int argc, char *argv[])
{
    const bool probe = !(argc == 3 && std::strcmp(argv[2], "--no-probe") == 0);
    if (probe)
        fitScaleToScreen(argc, argv);
    CMyNumSieveApp app(argc, argv);
    if (argc != 2 + !probe) {
        std::fprintf(stderr, "usage: bench_gui_startup PROGRAM_FOLDER [--no-probe]\n");
        return 2;
    }
    DesktopServices services;
    CMyNumSieveDlg window(services, QString::fromLocal8Bit(argv[1]));
    window.show();
    // Queued behind the first paint of the shown window.
    QTimer::singleShot(0, &app, [&] {
        std::printf("issues shown: %d\n", window.leftPanel()->issueSelector()->count());
        // exit(), not quit(): quitting would close the window and ask the exit question.
        QCoreApplication::exit(0);
    });
    return app.exec();
}
