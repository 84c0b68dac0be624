#include "app/CMyNumSieveApp.h"

#include "app/AppIcon.h"
#include "app/AppServices.h"
#include "app/CMyNumSieveDlg.h"
#include "history/DataFolder.h"
#include "history/DataLock.h"

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
