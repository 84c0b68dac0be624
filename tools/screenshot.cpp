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

#include <memory>
#include <optional>

using namespace numsieve;
using namespace numsieve::gui;

namespace {

const char *const kNumbers[] = {"381", "527", "096", "443", "718", "250", "964", "133", "805", "672"};

// A data folder of its own with a short draw history.
bool writeDataFolder(const QTemporaryDir &dir, const QString &scene)
{
    QDir().mkpath(dir.filePath(QStringLiteral("data")));
    QFile registry(dir.filePath(QStringLiteral("data/lottery.data")));
    if (!registry.open(QIODevice::WriteOnly))
        return false;
    registry.write("1$\xB8\xA3\xB2\xCA" "3D\r\n");
    registry.close();
    QFile prizes(prizeFilePath(dir.filePath(QStringLiteral("data"))));
    if (!prizes.open(QIODevice::WriteOnly) || prizes.write(defaultPrizeFileBytes()) < 0)
        return false;
    prizes.close();
    QFile draws(dir.filePath(QStringLiteral("data/lottery_1.data")));
    if (!draws.open(QIODevice::WriteOnly))
        return false;
    int issue = 2026320;
    if (scene == QLatin1String("firststart")) {
        // No draws at all: the window says where they come from.
    } else if (scene == QLatin1String("backtest") || scene == QLatin1String("compare")
               || scene == QLatin1String("check") || scene == QLatin1String("trend")
               || scene == QLatin1String("chart")) {
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
            draws.write(QByteArray::number(issue++) + '$' + kNumbers[i % 10] + "\r\n");
    }
    draws.close();
    return true;
}

// A scheme that uses most kinds of condition, filtered, with panel `panel`
// shown.
void fillWorkspace(CMyNumSieveDlg &window, int panel)
{
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
}

// What a scene puts on the screen and how it is taken.
struct Stage {
    Stage(QApplication &app, DesktopServices &services, CMyNumSieveDlg &window, const QTemporaryDir &dir,
          QRect available, QString out)
        : app(app), services(services), window(window), dir(dir), available(available), out(std::move(out))
    {
    }

    QApplication &app;
    DesktopServices &services;
    CMyNumSieveDlg &window;
    const QTemporaryDir &dir;
    const QRect available;
    const QString out;
    // What the picture shows.
    QWidget *subject = nullptr;
    // The part of an open list or popup that hangs out of the window.
    QWidget *overhang = nullptr;
    // The window the scene opened, closed before the main window.
    std::unique_ptr<QWidget> opened;
    // Taken once its run is done rather than after a fixed delay.
    CDialogBacktest *backtest = nullptr;
    CDialogCompare *compare = nullptr;
    // The exit status when the scene is done without a picture of the screen.
    std::optional<int> status;

    // Shows a dialog the scene made, where it fits the screen.
    template <typename Dialog>
    Dialog *open(std::unique_ptr<Dialog> dialog, std::optional<QPoint> at = {})
    {
        dialog->move(at ? *at : placeInside(dialog->size(), available).topLeft());
        dialog->show();
        subject = dialog.get();
        opened = std::move(dialog);
        return static_cast<Dialog *>(subject);
    }
};

void showNumberInfo(Stage &s)
{
    QTimer::singleShot(300, &s.app, [&s] {
        const ResultEntry &entry = s.window.workspace().tables.straight()[155];
        s.window.map()->numberInfo()->showFor(entry.number, s.window.map()->drawList(), false,
                                              s.window.map()->mapToGlobal(entry.cell.bottomRight()));
    });
    s.overhang = s.window.map()->numberInfo();
}

void askExit(Stage &s)
{
    QTimer::singleShot(300, &s.window, [&s] { s.window.close(); });
}

void showUpdate(Stage &s)
{
    // A server of its own that publishes a newer version.
    auto *server = new QTcpServer(&s.app);
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
    auto *update = new CDialogSoftUpdate(s.services, CMyNumSieveDlg::kVersion,
                                         QStringLiteral("127.0.0.1:%1").arg(server->serverPort()), &s.window);
    update->move(80, 80);
    update->show();
    s.subject = update;
}

void showAbout(Stage &s)
{
    QTimer::singleShot(300, &s.window, [&s] { s.window.runCommand(CMyNumSieveDlg::IdAbout); });
}

void showManager(Stage &s)
{
    s.open(std::make_unique<CDialogManger>(s.services, s.window, s.window.loadedRegistry(), s.window.dataFolder(),
                                           &s.window));
}

void showTableImport(Stage &s)
{
    // As a web page's table is copied: a title, a header, newest first,
    // the test number beside the draw and a row still to be drawn.
    QString table = QStringLiteral("福彩3D历史开奖\n期号\t开奖日期\t开奖号码\t试机号\t销售额(元)\n2026544\t2026-12-21\t--\t--\t--\n");
    for (int i = 0; i < 24; ++i)
        table += QStringLiteral("%1\t2026-12-%2\t%3\t%4\t%5\n")
                     .arg(2026543 - i)
                     .arg(20 - i % 20, 2, 10, QLatin1Char('0'))
                     .arg(QString::fromLatin1(kNumbers[i % 10]).split(QString()).join(QLatin1Char(' ')).trimmed())
                     .arg(QString::fromLatin1(kNumbers[(i + 3) % 10]))
                     .arg(QLocale(QLocale::English).toString(41250000 + i * 73519));
    auto *manager = s.open(std::make_unique<CDialogManger>(s.services, s.window, s.window.loadedRegistry(),
                                                           s.window.dataFolder(), &s.window),
                           QPoint(60, 60));
    const LotteryManager &core = manager->manager();
    auto *preview = new CDialogTableImport(
        *readTableText(table), core.lotteryEntries().value(core.lotteryRow()),
        [&core](const QList<Draw> &draws) { return core.previewImport(draws); }, !core.placesByIssue(), manager);
    preview->move(120, 40);
    preview->show();
    s.subject = preview;
}

void showBacktest(Stage &s)
{
    s.backtest = s.open(
        std::make_unique<CDialogBacktest>(s.services, s.window.workspace(), s.window.analysedLottery(), &s.window));
}

void showCompare(Stage &s)
{
    // The shown scheme, the same with 跨度 strict, and without 和值.
    Workspace &ws = s.window.workspace();
    Workspace strictSpan = ws;
    strictSpan.setTolerable(4, false);
    Workspace withoutSum = ws;
    withoutSum.removeAllEntries(2, 0);
    auto compare = std::make_unique<CDialogCompare>(s.services, s.window.analysedLottery(), &s.window);
    for (const auto &[name, scheme] :
         {std::pair{QStringLiteral("和值跨度"), &ws}, std::pair{QStringLiteral("跨度不容错"), &strictSpan},
          std::pair{QStringLiteral("只看跨度"), &withoutSum}}) {
        const QString path = s.dir.filePath(name + QStringLiteral(".cnd"));
        if (!writeSchemeFile(path, buildSchemeText(*scheme)) || !compare->addScheme(path)) {
            s.status = 1;
            return;
        }
    }
    s.compare = s.open(std::move(compare));
}

void showCheck(Stage &s)
{
    // A group list that holds the newest draw's digits and a straight
    // list that does not hold the draw itself.
    const int newest = s.window.loadedRegistry().at(0).draws.last().number.toInt();
    QStringList group{numberText(sortedForm(newest))};
    QStringList straight;
    for (int n = 0; n < 1000 && straight.size() < 40; n += 23)
        if (n != newest)
            straight << numberText(n);
    for (int n = 12; n < 1000 && group.size() < 20; n += 7)
        if (sortedForm(n) == n && groupKind(n) != GroupKind::Triple && !group.contains(numberText(n)))
            group << numberText(n);
    if (!writeNumberListFile(s.dir.filePath(QStringLiteral("我的组选.txt")), group)
        || !writeNumberListFile(s.dir.filePath(QStringLiteral("我的直选.txt")), straight)) {
        s.status = 1;
        return;
    }
    auto check =
        std::make_unique<CDialogCheck>(s.services, s.window.analysedLottery(), s.window.workspace().tables, &s.window);
    check->addFile(s.dir.filePath(QStringLiteral("我的组选.txt")));
    check->addFile(s.dir.filePath(QStringLiteral("我的直选.txt")));
    s.open(std::move(check));
}

void showTrend(Stage &s)
{
    CDialogTrend *trend = CDialogTrend::showFor(s.services, &s.window, s.window.loadedRegistry(), 0);
    trend->move(placeInside(trend->frameGeometry().size(), s.available).topLeft());
    s.subject = trend;
}

void saveChart(Stage &s)
{
    CDialogTrend *trend = CDialogTrend::showFor(s.services, &s.window, s.window.loadedRegistry(), 0);
    s.status = trend->picture(QDate::currentDate()).save(s.out) ? 0 : 1;
}

void showReport(Stage &s)
{
    ScriptConditionRunner runner;
    s.open(std::make_unique<CDialogFilterReport>(s.services, runFilterReport(s.window.workspace(), {}, &runner),
                                                 s.window.analysedLottery(), &s.window),
           QPoint(60, 60));
}

// The scenes by name; the drop-down scenes and the panels are read apart.
const std::pair<const char *, void (*)(Stage &)> kScenes[] = {
    {"info", showNumberInfo},   {"exit", askExit},         {"update", showUpdate},
    {"about", showAbout},       {"manager", showManager},  {"import", showTableImport},
    {"backtest", showBacktest}, {"compare", showCompare},  {"check", showCheck},
    {"trend", showTrend},       {"chart", saveChart},      {"report", showReport},
};

// The drop-down list a scene opens, if it is one of those.
QComboBox *dropDownOf(CMyNumSieveDlg &window, const QString &scene, int panel)
{
    if (scene == QLatin1String("issues"))
        return window.leftPanel()->issueSelector();
    if (scene == QLatin1String("tolerance"))
        return window.leftPanel()->toleranceSelector();
    if (scene.contains(QLatin1Char(':')))
        return qobject_cast<QComboBox *>(window.conditionPanel(panel)->control(scene.section(QLatin1Char(':'), 1).toInt()));
    return nullptr;
}

// Takes the picture once the scene is on the screen: most after a fixed
// delay, a back-test or a comparison once its run is done.
int shoot(Stage &s)
{
    int status = 1;
    const auto take = [&] {
        QRect r = s.subject->frameGeometry();
        if (s.overhang && s.overhang->isVisible())
            r = r.united(s.overhang->frameGeometry());
        const QPixmap shot = s.window.screen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
        status = shot.save(s.out) ? 0 : 1;
        // exit(), not quit(): quitting would close the window and ask the exit question.
        if (QWidget *question = QApplication::activeModalWidget())
            question->close();
        QCoreApplication::exit(0);
    };
    if (s.backtest) {
        QObject::connect(s.backtest, &CDialogBacktest::runFinished, &s.app,
                         [&] { QTimer::singleShot(800, &s.app, take); });
        QTimer::singleShot(300, s.backtest, [&] { s.backtest->start(); });
    } else if (s.compare) {
        QObject::connect(s.compare, &CDialogCompare::runFinished, &s.app,
                         [&] { QTimer::singleShot(800, &s.app, take); });
        QTimer::singleShot(300, s.compare, [&] { s.compare->start(); });
    } else {
        QTimer::singleShot(1500, &s.app, take);
    }
    s.app.exec();
    return status;
}

} // namespace

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

    QTemporaryDir dir;
    if (!writeDataFolder(dir, scene))
        return 1;
    DesktopServices services;
    CMyNumSieveDlg window(services, dir.path());
    fillWorkspace(window, panel);
    const QRect available = app.primaryScreen()->availableGeometry();
    const std::unique_ptr<ScrollingWindow> host = window.fitInto(available);
    if (host)
        host->show();
    else
        window.show();

    Stage stage(app, services, window, dir, available, out);
    stage.subject = host ? static_cast<QWidget *>(host.get()) : &window;
    if (QComboBox *dropDown = dropDownOf(window, scene, panel)) {
        QTimer::singleShot(300, &app, [dropDown] { dropDown->showPopup(); });
        stage.overhang = dropDown->view()->window();
    } else {
        for (const auto &[name, show] : kScenes)
            if (scene == QLatin1String(name))
                show(stage);
    }
    if (stage.status)
        return *stage.status;
    return shoot(stage);
}
