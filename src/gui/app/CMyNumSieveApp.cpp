#include "app/CMyNumSieveApp.h"

#include "app/AppServices.h"
#include "app/CMyNumSieveDlg.h"

namespace numsieve::gui {

CMyNumSieveApp::CMyNumSieveApp(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("NumSieve"));
    setApplicationDisplayName(CMyNumSieveDlg::kTitle);
    setApplicationVersion(CMyNumSieveDlg::kVersion);
}

int CMyNumSieveApp::run()
{
    DesktopServices services;
    CMyNumSieveDlg window(services, applicationDirPath());
    window.show();
    return exec();
}

} // namespace numsieve::gui
