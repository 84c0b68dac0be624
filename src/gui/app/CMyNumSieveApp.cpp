#include "app/CMyNumSieveApp.h"

#include "app/AppIcon.h"
#include "app/AppServices.h"
#include "app/CMyNumSieveDlg.h"
#include "history/DataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <cstdio>

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
    auto lock = std::make_unique<QLockFile>(dataLockPath(dataFolder));
    // A lock left by a program that died is taken over.
    if (lock->tryLock(0))
        return lock;
    services.warn(nullptr, QStringLiteral("三位筛号器已经在使用数据文件夹：\n%1\n请不要同时运行两个三位筛号器。")
                               .arg(QDir::toNativeSeparators(dataFolder)));
    return nullptr;
}

int printVersion()
{
    std::printf("%s %s\n%s\n", qPrintable(CMyNumSieveDlg::kTitle), qPrintable(CMyNumSieveDlg::kVersion),
                qPrintable(QStringLiteral("数据文件夹 / data folder: ") + QDir::toNativeSeparators(defaultDataFolder())));
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
    window.show();
    return exec();
}

} // namespace numsieve::gui
