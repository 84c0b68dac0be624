#include "app/CMyNumSieveApp.h"

#include "app/AppServices.h"
#include "app/CMyNumSieveDlg.h"

namespace numsieve::gui {

CMyNumSieveApp::CMyNumSieveApp(int &argc, char **argv) : QApplication(argc, argv)
{
    // No display name: the window system would append it to every caption,
    // and a message box's caption is exactly "提示" or "退出".
    setApplicationName(QStringLiteral("NumSieve"));
    setApplicationVersion(CMyNumSieveDlg::kVersion);
    installChineseTranslations();
}

int CMyNumSieveApp::run()
{
    DesktopServices services;
    CMyNumSieveDlg window(services, applicationDirPath());
    window.show();
    return exec();
}

} // namespace numsieve::gui
