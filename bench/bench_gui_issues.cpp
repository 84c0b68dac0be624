// Times what a lottery with many draws costs the left control panel: filling
// the issue selector on a lottery change and opening its list.
//
//   build/bin/bench_gui_issues [draws] [runs]

#include "NoDialogs.h"
#include "core/Workspace.h"
#include "gui/app/AppServices.h"
#include "gui/app/WindowMessages.h"
#include "gui/filter/CDialogLeft.h"
#include "gui/ui/CBitComboBox.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace numsieve;
using namespace numsieve::gui;
using numsieve::bench::NoDialogs;

namespace {

class SilentHandler : public MessageHandler
{
public:
    int sendMessage(int, int) override { return 0; }
};


double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int draws = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 9;

    LotteryRegistry registry;
    Lottery big{QStringLiteral("大"), QStringLiteral("1"), {}};
    big.draws.reserve(draws);
    for (int i = 0; i < draws; ++i)
        big.draws.append(Draw{QString::number(2000000 + i), QString::asprintf("%03d", i % 1000)});
    registry.append(big);
    registry.append(Lottery{QStringLiteral("小"), QStringLiteral("2"), {}});

    Workspace ws;
    SilentHandler handler;
    NoDialogs services;
    CDialogLeft left(ws, handler, services);
    left.show();
    left.setRegistry(registry, 1);

    std::vector<double> fill, popup;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        left.lotterySelector()->setCurrentIndex(0);
        fill.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        left.issueSelector()->showPopup();
        popup.push_back(double(t.nsecsElapsed()) / 1e6);
        left.issueSelector()->hidePopup();
        left.lotterySelector()->setCurrentIndex(1);
    }
    std::printf("draws %d, runs %d: lottery change %.1f ms, open issue list %.1f ms (medians)\n", draws, runs,
                median(fill), median(popup));
    return 0;
}
