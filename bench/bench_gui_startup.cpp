// The program's start-up as a player sees it: the whole process from its
// start until the main window is on screen with the issue selector filled,
// then it quits. Time it from outside, e.g. with bench/startup.sh.
//
//   build/bin/bench_gui_startup PROGRAM_FOLDER   (its data/ holds the lotteries)

#include "app/AppServices.h"
#include "app/CMyNumSieveApp.h"
#include "app/CMyNumSieveDlg.h"
#include "filter/CDialogLeft.h"
#include "ui/CBitComboBox.h"

#include <QTimer>

#include <cstdio>

using namespace numsieve::gui;

int main(int argc, char *argv[])
{
    CMyNumSieveApp app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_gui_startup PROGRAM_FOLDER\n");
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
