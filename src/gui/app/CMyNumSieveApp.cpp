#include "gui/app/CMyNumSieveApp.h"

#include "gui/app/AppIcon.h"
#include "gui/app/AppServices.h"
#include "gui/app/CMyNumSieveDlg.h"
#include "core/history/DataFolder.h"
#include "core/history/DataLock.h"
#include "gui/ui/ScreenFit.h"
#include "gui/ui/ScrollingWindow.h"
#include "gui/ui/SkinImages.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLockFile>
#include <QScreen>

#include <cstdio>
#include <vector>

namespace numsieve::gui {

CMyNumSieveApp::CMyNumSieveApp(int &argc, char **argv) : QApplication(argc, argv)
{
    // No display name: the window system would append it to every caption,
    // and a message box's caption is exactly "提示" or "退出".
    setApplicationName(QStringLiteral("NumSieve"));
    setApplicationVersion(CMyNumSieveDlg::kVersion);
    setDesktopFileName(QStringLiteral("numsieve"));
    setWindowIcon(appIcon());
    installChineseTranslations();
}

std::unique_ptr<QLockFile> lockDataFolder(AppServices &services, const QString &dataFolder)
{
    QDir().mkpath(dataFolder);
    DataFolderLock taken = numsieve::lockDataFolder(dataFolder);
    switch (taken.state) {
    case DataFolderLock::Held:
        return std::move(taken.lock);
    case DataFolderLock::InUse:
        services.warn(nullptr, QStringLiteral("三位筛号器已经在使用数据文件夹：\n%1\n请不要同时运行两个三位筛号器。")
                                   .arg(QDir::toNativeSeparators(dataFolder)));
        return nullptr;
    case DataFolderLock::ReadOnly:
    case DataFolderLock::Failed:
        break;
    }
    // A folder nobody can write into still serves for looking at the draws,
    // filtering and the back-test; every save there fails with its reason.
    services.warn(nullptr, taken.message + QStringLiteral("\n可以查看号码、过滤和回测，但不能保存任何修改。"));
    return std::make_unique<QLockFile>(dataLockPath(dataFolder));
}

void fitScaleToScreen(int argc, char **argv)
{
    double factor = 1;
    {
        // A copy: the probe takes the platform options out of what it is given.
        std::vector<char *> args(argv, argv + argc);
        args.push_back(nullptr);
        int count = argc;
        QGuiApplication probe(count, args.data());
        if (QScreen *screen = probe.primaryScreen())
            factor = fitScale(SkinImages::mainSize, screen->availableGeometry().size());
    }
    if (factor >= 1)
        return;
    bool given = false;
    const double chosen = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&given);
    const double user = given && chosen > 0 ? chosen : 1.0;
    factor = drawnFactor(factor, user);
    if (factor < 1)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(user * factor, 'f', 3));
}

int printVersion()
{
    std::printf("%s %s\n%s\n", qPrintable(CMyNumSieveDlg::kTitle), qPrintable(CMyNumSieveDlg::kVersion),
                qPrintable(QStringLiteral("数据文件夹 / data folder: ") + QDir::toNativeSeparators(defaultDataFolder())));
    return 0;
}

int printHelp()
{
    std::printf("%s",
                qPrintable(QStringLiteral(
                               "numsieve — 三位筛号器 / NumSieve\n"
                               "\n"
                               "用法 / Usage: numsieve [--help | --version]\n"
                               "\n"
                               "打开三位筛号器的窗口：选号、按条件过滤、求交集，保存或打印号码；彩种和开奖号码在\n"
                               "“彩种管理”中维护。不需要窗口的批量操作请用 numsieve-cli（numsieve-cli --help）。\n"
                               "Opens the NumSieve window: build a candidate set, filter it, intersect it, save\n"
                               "or print the numbers; lotteries and their draws are kept in 彩种管理. For batch\n"
                               "work without a window use numsieve-cli (numsieve-cli --help).\n"
                               "\n"
                               "  --help      显示本说明 / shows this text\n"
                               "  --version   显示版本和数据文件夹 / shows the version and the data folder\n"
                               "\n"
                               "数据文件夹 / Data folder: %1\n"
                               "（环境变量 NUMSIEVE_DATA 可以另选 / the environment variable NUMSIEVE_DATA chooses another）\n")
                               .arg(QDir::toNativeSeparators(defaultDataFolder()))));
    return 0;
}

int CMyNumSieveApp::run()
{
    const QString dataFolder = defaultDataFolder();
    DesktopServices services;
    const auto lock = lockDataFolder(services, dataFolder);
    if (!lock)
        return 1;
    // The print file goes beside the data folder, where the user may write.
    CMyNumSieveDlg window(services, QFileInfo(dataFolder).absolutePath(), dataFolder);
    // Drawn at no less than a screen pixel per unit, the window may still be
    // taller than the room above a laptop's task bar; its panels scroll there.
    std::unique_ptr<ScrollingWindow> host;
    if (QScreen *screen = primaryScreen())
        host = window.fitInto(screen->availableGeometry());
    if (host)
        host->show();
    else
        window.show();
    return exec();
}

} // namespace numsieve::gui
