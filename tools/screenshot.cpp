// Shows the main window with a filtered map on the current display and saves
// a picture of the screen, for the pictures in docs/. Run it under Xvfb:
//   xvfb-run -s "-screen 0 1100x800x24" build/bin/numsieve-screenshot OUT.png [PANEL]
// PANEL is the condition panel to show (1..15, default 2).
#include "app/AppServices.h"
#include "app/CMyNumSieveDlg.h"
#include "app/WindowMessages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

using namespace numsieve;
using namespace numsieve::gui;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        qWarning("usage: numsieve-screenshot OUT.png [PANEL]");
        return 2;
    }
    const QString out = args.at(1);
    const int panel = args.size() > 2 ? args.at(2).toInt() : 2;

    // A data folder of its own with a short draw history.
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("data")));
    QFile registry(dir.filePath(QStringLiteral("data/lottery.data")));
    if (!registry.open(QIODevice::WriteOnly))
        return 1;
    registry.write("1$\xB8\xA3\xB2\xCA" "3D\r\n");
    registry.close();
    QFile draws(dir.filePath(QStringLiteral("data/lottery_1.data")));
    if (!draws.open(QIODevice::WriteOnly))
        return 1;
    const char *numbers[] = {"381", "527", "096", "443", "718", "250", "964", "133", "805", "672"};
    int issue = 2026320;
    for (const char *n : numbers)
        draws.write(QByteArray::number(issue++) + '$' + n + "\r\n");
    draws.close();

    DesktopServices services;
    CMyNumSieveDlg window(services, dir.path());
    Workspace &ws = window.workspace();
    ws.selection.hundreds.selectAll();
    ws.selection.tens.selectAll();
    ws.selection.units.selectAll();
    ws.addEntries(2, 0, {10, 11, 12, 13, 14, 15, 16, 17});
    ws.addEntries(4, 0, {4, 5, 6, 7});
    ws.setNumberField(NumberField::HistoryDepth, QStringLiteral("10"));
    ws.setListMode(1, 1, ListMode::Exclude);
    ws.setAdvancedConditionText(QStringLiteral("和值[0]!=和值[1];\r\n跨度[0]>=2;\r\n"));
    ws.conditions.advanced.expression = QStringLiteral("号码[0][1]  !=  号码[1][1]");
    ws.setTolerable(4, true);
    ws.toleranceIndex = 1;
    ws.clickConditionButton(panel + kConditionCount);
    window.refreshPanels();
    window.runCommand(CMyNumSieveDlg::IdSelect);
    window.runCommand(CMyNumSieveDlg::IdFilter);
    window.sendMessage(WM_SHOW_CONDITION_PANEL + panel);
    window.move(20, 20);
    window.show();

    int status = 1;
    QTimer::singleShot(1500, &app, [&] {
        const QPixmap shot = window.screen()->grabWindow(0, window.x(), window.y(), window.width(), window.height());
        status = shot.save(out) ? 0 : 1;
        app.quit();
    });
    app.exec();
    return status;
}
