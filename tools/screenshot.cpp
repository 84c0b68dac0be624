// Shows the main window with a filtered map on the current display and saves
// a picture of the screen, for the pictures in docs/. Run it under Xvfb:
//   xvfb-run -s "-screen 0 1100x800x24" build/bin/numsieve-screenshot OUT.png [SCENE]
// QT_SCALE_FACTOR sets the display scaling as a desktop's 125% … 200% would.
// SCENE is the condition panel to show (1..15, default 2), or one of
//   issues     the issue selector's open list
//   tolerance  the tolerance selector's open list
//   P:ID       condition panel P with its drop-down list of dialog id ID
//              open, e.g. 15:1041 for the period list of panel 15
//   info       the number popup of a map cell
//   exit       the exit question
//   manager    the lottery manager
//   import     从表格导入's preview of a table copied from a web page
//   backtest   方案回测 over the last 100 of 400 draws, run to the end, with prizes
//   compare    方案对比 of three schemes over the last 100 of those draws
//   check      对奖 of the filtered list and two number files against the newest draw
//   report     过滤报告 of the filtered state
//   trend      走势图 of the last 100 of 400 draws, positions, omissions and lines,
//              at the size it opens at
//   chart      the picture 导出图片 saves of that 走势图 (written to OUT, no screen)
//   firststart the main window of a lottery that has no draws yet
#include "gui/app/AppIcon.h"
#include "gui/app/AppServices.h"
#include "gui/app/CMyNumSieveApp.h"
#include "gui/app/CMyNumSieveDlg.h"
#include "gui/analysis/CDialogBacktest.h"
#include "gui/analysis/CDialogCheck.h"
#include "gui/analysis/CDialogCompare.h"
#include "gui/analysis/CDialogFilterReport.h"
#include "gui/analysis/CDialogTrend.h"
#include "gui/app/WindowMessages.h"
#include "gui/filter/CDialogLeft.h"
#include "gui/filter/ConditionPanel.h"
#include "gui/history/CDialogManger.h"
#include "gui/history/CDialogTableImport.h"
#include "core/history/PrizeFile.h"
#include "core/history/TableReader.h"
#include "core/model/Number.h"
#include "core/results/NumberListFile.h"
#include "core/scheme/SchemeFile.h"
#include "core/text/TextFile.h"
#include "gui/online/CDialogSoftUpdate.h"
#include "gui/results/CDialogNumberInfo.h"
#include "gui/results/CDialogRight.h"
#include "core/script/ScriptConditionRunner.h"
#include "gui/ui/CBitComboBox.h"
#include "gui/ui/ScreenFit.h"
#include "gui/ui/ScrollingWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QScreen>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

using namespace numsieve;
using namespace numsieve::gui;

int main(int argc, char *argv[])
{
    // As the program does: a screen shorter than the window draws it smaller.
    fitScaleToScreen(argc, argv);
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        qWarning("usage: numsieve-screenshot OUT.png [PANEL]");
        return 2;
    }
    const QString out = args.at(1);
    // numsieve-screenshot --icons FOLDER: the program's icon as the PNGs the
    // installation ships.
    if (out == QLatin1String("--icons") && args.size() > 2) {
        for (int size : {48, 128, 256})
            if (!appIconPixmap(size).save(QDir(args.at(2)).filePath(QStringLiteral("numsieve-%1.png").arg(size))))
                return 1;
        return 0;
    }
    const QString scene = args.value(2, QStringLiteral("2"));
    const int shownPanel = scene.section(QLatin1Char(':'), 0, 0).toInt();
    const int panel = qBound(1, shownPanel > 0 ? shownPanel : 2, kConditionCount);
    installChineseTranslations();

    // A data folder of its own with a short draw history.
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("data")));
    QFile registry(dir.filePath(QStringLiteral("data/lottery.data")));
    if (!registry.open(QIODevice::WriteOnly))
        return 1;
    registry.write("1$\xB8\xA3\xB2\xCA" "3D\r\n");
    registry.close();
    QFile prizes(prizeFilePath(dir.filePath(QStringLiteral("data"))));
    if (!prizes.open(QIODevice::WriteOnly) || prizes.write(defaultPrizeFileBytes()) < 0)
        return 1;
    prizes.close();
    QFile draws(dir.filePath(QStringLiteral("data/lottery_1.data")));
    if (!draws.open(QIODevice::WriteOnly))
        return 1;
    const char *numbers[] = {"381", "527", "096", "443", "718", "250", "964", "133", "805", "672"};
    int issue = 2026320;
    const bool trendScene = scene == QLatin1String("trend") || scene == QLatin1String("chart");
    if (scene == QLatin1String("firststart")) {
        // No draws at all: the window says where they come from.
    } else if (scene == QLatin1String("backtest") || scene == QLatin1String("compare")
               || scene == QLatin1String("check") || trendScene) {
        // A back-test and a chart need draws that look drawn: a fixed pseudo-random sequence.
        quint32 seed = 20260320;
        for (int i = 0; i < 400; ++i) {
            seed = seed * 1103515245u + 12345u;
            draws.write(QByteArray::number(issue++) + '$' + QByteArray::number((seed >> 8) % 1000).rightJustified(3, '0')
                        + "\r\n");
        }
    } else {
        // Long enough that the issue list needs its scroll bar.
        for (int i = 0; i < 200; ++i)
            draws.write(QByteArray::number(issue++) + '$' + numbers[i % 10] + "\r\n");
    }
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
    const QRect available = app.primaryScreen()->availableGeometry();
    const std::unique_ptr<ScrollingWindow> host = window.fitInto(available);
    if (host)
        host->show();
    else
        window.show();

    // What the picture shows, and the part of the screen it takes.
    QWidget *subject = host ? static_cast<QWidget *>(host.get()) : &window;
    std::unique_ptr<CDialogManger> manager;
    std::unique_ptr<CDialogTableImport> preview;
    std::unique_ptr<CDialogBacktest> backtest;
    std::unique_ptr<CDialogCompare> compare;
    std::unique_ptr<CDialogCheck> check;
    std::unique_ptr<CDialogFilterReport> report;
    // Most scenes are taken after a fixed delay; a back-test or a comparison
    // once it is done.
    bool shootWhenReady = true;
    // A scene with an open list or popup takes in the part of it that hangs
    // out of the window.
    QWidget *overhang = nullptr;
    QComboBox *dropDown = nullptr;
    if (scene == QLatin1String("issues"))
        dropDown = window.leftPanel()->issueSelector();
    else if (scene == QLatin1String("tolerance"))
        dropDown = window.leftPanel()->toleranceSelector();
    else if (scene.contains(QLatin1Char(':')))
        dropDown = qobject_cast<QComboBox *>(window.conditionPanel(panel)->control(scene.section(QLatin1Char(':'), 1).toInt()));
    if (dropDown) {
        QTimer::singleShot(300, &app, [&] { dropDown->showPopup(); });
        overhang = dropDown->view()->window();
    } else if (scene == QLatin1String("info")) {
        QTimer::singleShot(300, &app, [&] {
            const ResultEntry &entry = window.workspace().tables.straight()[155];
            window.map()->numberInfo()->showFor(entry.number, window.map()->drawList(), false,
                                                window.map()->mapToGlobal(entry.cell.bottomRight()));
        });
        overhang = window.map()->numberInfo();
    } else if (scene == QLatin1String("exit")) {
        QTimer::singleShot(300, &window, [&] { window.close(); });
    } else if (scene == QLatin1String("update")) {
        // A server of its own that publishes a newer version.
        auto *server = new QTcpServer(&app);
        server->listen(QHostAddress::LocalHost);
        QObject::connect(server, &QTcpServer::newConnection, server, [server] {
            QTcpSocket *socket = server->nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                const QByteArray body = "1.6.0 Beta\r\nhttp://127.0.0.1/new\r\n";
                socket->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size())
                              + "\r\nConnection: close\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
        });
        auto *update = new CDialogSoftUpdate(services, CMyNumSieveDlg::kVersion,
                                             QStringLiteral("127.0.0.1:%1").arg(server->serverPort()), &window);
        update->move(80, 80);
        update->show();
        subject = update;
    } else if (scene == QLatin1String("about")) {
        QTimer::singleShot(300, &window, [&] { window.runCommand(CMyNumSieveDlg::IdAbout); });
    } else if (scene == QLatin1String("manager")) {
        manager = std::make_unique<CDialogManger>(services, window, window.loadedRegistry(), window.dataFolder(), &window);
        manager->move(placeInside(manager->size(), available).topLeft());
        manager->show();
        subject = manager.get();
    } else if (scene == QLatin1String("import")) {
        // As a web page's table is copied: a title, a header, newest first,
        // the test number beside the draw and a row still to be drawn.
        QString table = QStringLiteral("福彩3D历史开奖\n期号\t开奖日期\t开奖号码\t试机号\t销售额(元)\n2026544\t2026-12-21\t--\t--\t--\n");
        for (int i = 0; i < 24; ++i)
            table += QStringLiteral("%1\t2026-12-%2\t%3\t%4\t%5\n")
                         .arg(2026543 - i)
                         .arg(20 - i % 20, 2, 10, QLatin1Char('0'))
                         .arg(QString::fromLatin1(numbers[i % 10]).split(QString()).join(QLatin1Char(' ')).trimmed())
                         .arg(QString::fromLatin1(numbers[(i + 3) % 10]))
                         .arg(QLocale(QLocale::English).toString(41250000 + i * 73519));
        manager = std::make_unique<CDialogManger>(services, window, window.loadedRegistry(), window.dataFolder(), &window);
        manager->move(60, 60);
        manager->show();
        const LotteryManager &core = manager->manager();
        preview = std::make_unique<CDialogTableImport>(
            *readTableText(table), core.lotteryEntries().value(core.lotteryRow()),
            [&core](const QList<Draw> &draws) { return core.previewImport(draws); }, !core.placesByIssue(), manager.get());
        preview->move(120, 40);
        preview->show();
        subject = preview.get();
    } else if (scene == QLatin1String("backtest")) {
        backtest = std::make_unique<CDialogBacktest>(services, window.workspace(), window.analysedLottery(), &window);
        backtest->move(placeInside(backtest->size(), available).topLeft());
        backtest->show();
        subject = backtest.get();
        shootWhenReady = false;
    } else if (scene == QLatin1String("compare")) {
        // The shown scheme, the same with 跨度 strict, and without 和值.
        Workspace strictSpan = ws;
        strictSpan.setTolerable(4, false);
        Workspace withoutSum = ws;
        withoutSum.removeAllEntries(2, 0);
        compare = std::make_unique<CDialogCompare>(services, window.analysedLottery(), &window);
        for (const auto &[name, scheme] :
             {std::pair{QStringLiteral("和值跨度"), &ws}, std::pair{QStringLiteral("跨度不容错"), &strictSpan},
              std::pair{QStringLiteral("只看跨度"), &withoutSum}}) {
            const QString path = dir.filePath(name + QStringLiteral(".cnd"));
            if (!writeSchemeFile(path, buildSchemeText(*scheme)) || !compare->addScheme(path))
                return 1;
        }
        compare->move(placeInside(compare->size(), available).topLeft());
        compare->show();
        subject = compare.get();
        shootWhenReady = false;
    } else if (scene == QLatin1String("check")) {
        // A group list that holds the newest draw's digits and a straight
        // list that does not hold the draw itself.
        const int newest = window.loadedRegistry().at(0).draws.last().number.toInt();
        QStringList group{numberText(sortedForm(newest))};
        QStringList straight;
        for (int n = 0; n < 1000 && straight.size() < 40; n += 23)
            if (n != newest)
                straight << numberText(n);
        for (int n = 12; n < 1000 && group.size() < 20; n += 7)
            if (sortedForm(n) == n && groupKind(n) != GroupKind::Triple && !group.contains(numberText(n)))
                group << numberText(n);
        if (!writeNumberListFile(dir.filePath(QStringLiteral("我的组选.txt")), group)
            || !writeNumberListFile(dir.filePath(QStringLiteral("我的直选.txt")), straight))
            return 1;
        check = std::make_unique<CDialogCheck>(services, window.analysedLottery(), window.workspace().tables, &window);
        check->addFile(dir.filePath(QStringLiteral("我的组选.txt")));
        check->addFile(dir.filePath(QStringLiteral("我的直选.txt")));
        check->move(placeInside(check->size(), available).topLeft());
        check->show();
        subject = check.get();
    } else if (trendScene) {
        CDialogTrend *trend = CDialogTrend::showFor(services, &window, window.loadedRegistry(), 0);
        if (scene == QLatin1String("chart"))
            return trend->picture(QDate::currentDate()).save(out) ? 0 : 1;
        trend->move(placeInside(trend->frameGeometry().size(), available).topLeft());
        subject = trend;
    } else if (scene == QLatin1String("report")) {
        ScriptConditionRunner runner;
        report = std::make_unique<CDialogFilterReport>(services, runFilterReport(window.workspace(), {}, &runner),
                                                       window.analysedLottery(), &window);
        report->move(60, 60);
        report->show();
        subject = report.get();
    }

    int status = 1;
    const auto shoot = [&] {
        QRect r = subject->frameGeometry();
        if (overhang && overhang->isVisible())
            r = r.united(overhang->frameGeometry());
        const QPixmap shot = window.screen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
        status = shot.save(out) ? 0 : 1;
        // exit(), not quit(): quitting would close the window and ask the exit question.
        if (QWidget *question = QApplication::activeModalWidget())
            question->close();
        QCoreApplication::exit(0);
    };
    if (shootWhenReady) {
        QTimer::singleShot(1500, &app, shoot);
    } else if (backtest) {
        QObject::connect(backtest.get(), &CDialogBacktest::runFinished, &app,
                         [&] { QTimer::singleShot(800, &app, shoot); });
        QTimer::singleShot(300, backtest.get(), [&] { backtest->start(); });
    } else {
        QObject::connect(compare.get(), &CDialogCompare::runFinished, &app,
                         [&] { QTimer::singleShot(800, &app, shoot); });
        QTimer::singleShot(300, compare.get(), [&] { compare->start(); });
    }
    app.exec();
    return status;
}
