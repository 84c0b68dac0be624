#include "gui/analysis/CDialogTrend.h"
#include "gui/app/CMyNumSieveDlg.h"
#include "gui/online/CDialogSoftUpdate.h"
#include "core/online/ProductSite.h"
#include "core/history/DataFolder.h"

#include "GuiTestSupport.h"
#include "StaticHttpServer.h"
#include "TestSupport.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace numsieve;
using namespace numsieve::gui;
using namespace guitest;
using namespace testsupport;

namespace {

constexpr int kNever = 3600000;

// Only the timer under test fires, at once.
CMyNumSieveDlg::OnlineIntervals only(int CMyNumSieveDlg::OnlineIntervals::*timer, int every = 10)
{
    CMyNumSieveDlg::OnlineIntervals intervals{kNever, kNever, kNever, kNever};
    intervals.*timer = every;
    return intervals;
}

} // namespace

// The version check, presence, configuration and web links against a real
// web server serving a published folder.
class TestOnline : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void standardTimers();
    void versionCheck_data();
    void versionCheck();
    void updateDialogAnswers_data();
    void updateDialogAnswers();
    void downloadLink_data();
    void downloadLink();
    void configuration_data();
    void configuration();
    void presenceRepeats();
    void noNetworkNoWord_data();
    void noNetworkNoWord();
    void linkCommands_data();
    void linkCommands();

private:
    void publish(const PublishOptions &options = {});
    // Opens 软件更新 from the menu and lets it check; returns its status text
    // and whether it offers the download, clicking it when asked to.
    std::pair<QString, bool> runUpdateDialog(CMyNumSieveDlg &w, bool click = false);
    void pointAt(const QString &host);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_site;
    FakeServices m_services;
};

void TestOnline::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_services = FakeServices();
    QVERIFY(DataFolderBuilder(m_dir->filePath("data")).lottery("1", "3D", "2026001$123\r\n").write());
    m_site = m_dir->filePath("site");
}

void TestOnline::publish(const PublishOptions &options)
{
    QVERIFY(publishFeed(loadRegistry(m_dir->filePath("data")), m_site, options).has_value());
}

void TestOnline::pointAt(const QString &host)
{
    QVERIFY(writeBytes(m_dir->filePath("data/online.data"), "product$" + host.toLatin1() + "\r\n"));
}

void TestOnline::standardTimers()
{
    CMyNumSieveDlg w(m_services, m_dir->path());
    const std::tuple<const char *, int, bool> expected[] = {
        {"10001", 50000, true}, {"10002", 25000, true}, {"10003", 900000, false}, {"10004", 1, true}};
    for (const auto &[id, interval, once] : expected) {
        const auto *timer = w.findChild<QTimer *>(id);
        QVERIFY2(timer && timer->isActive(), id);
        QCOMPARE(timer->interval(), interval);
        QCOMPARE(timer->isSingleShot(), once);
    }
}

void TestOnline::versionCheck_data()
{
    QTest::addColumn<QByteArray>("updateFile");
    QTest::addColumn<bool>("opens");
    QTest::newRow("ours in other letter case") << QByteArray("1.5.2 BETA\r\nhttp://x/new\r\n") << false;
    QTest::newRow("another version") << QByteArray("1.6.0 Beta\r\nhttp://x/new\r\n") << true;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("no download link") << QByteArray("1.6.0\r\n") << true;
    QTest::newRow("heading") << QByteArray("<h1>9.9.9</h1>\r\nhttp://x/new\r\n") << false;
    QTest::newRow("login page") << QByteArray("<!DOCTYPE html>\r\n<html><body>Sign in</body></html>\r\n") << false;
    QTest::newRow("33 characters") << QByteArray(33, '9') + "\r\n" << false;
    QTest::newRow("link to a file") << QByteArray("1.6.0 Beta\r\nfile:///etc/passwd\r\n") << false;
}

void TestOnline::versionCheck()
{
    QFETCH(QByteArray, updateFile);
    QFETCH(bool, opens);
    publish();
    QVERIFY(writeBytes(m_site + "/soft/trisift/update.txt", updateFile));
    StaticHttpServer server(m_site);
    QVERIFY(server.isListening());
    pointAt(server.host());
    CMyNumSieveDlg w(m_services, m_dir->path());
    w.startOnlineTimers(only(&CMyNumSieveDlg::OnlineIntervals::versionCheckMs));
    QVERIFY(QTest::qWaitFor([&] { return server.count("/soft/trisift/update.txt") == 1; }, 10000));
    QTest::qWait(200);   // the answer has been read
    QCOMPARE(m_services.modalDialogs, opens ? QStringList{"软件更新"} : QStringList{});
    QVERIFY(m_services.warnings.isEmpty());
}

std::pair<QString, bool> TestOnline::runUpdateDialog(CMyNumSieveDlg &w, bool click)
{
    std::pair<QString, bool> seen;
    m_services.whileModal = [&](QDialog *dialog) {
        auto *update = qobject_cast<CDialogSoftUpdate *>(dialog);
        QVERIFY(update);
        QCOMPARE(update->statusText(), CDialogSoftUpdate::kChecking);
        QVERIFY(update->downloadButton()->isHidden());
        update->show();   // the check starts once the window is painted
        QVERIFY(QTest::qWaitFor([&] {
            return update->statusText() != CDialogSoftUpdate::kChecking || !m_services.warnings.isEmpty();
        }, 10000));
        seen = {update->statusText(), !update->downloadButton()->isHidden()};
        if (click)
            update->downloadButton()->click();
        update->close();
    };
    w.runCommand(CMyNumSieveDlg::IdSoftwareUpdate);
    return seen;
}

void TestOnline::updateDialogAnswers_data()
{
    QTest::addColumn<QByteArray>("updateFile");
    QTest::addColumn<QString>("cause");    // the second line of the warning; none: no warning
    QTest::addColumn<QString>("latest");   // the version offered

    QTest::newRow("another version") << QByteArray("1.6.0 Beta\r\nhttp://x/new\r\n") << QString() << "1.6.0 Beta";
    QTest::newRow("empty file") << QByteArray() << "服务器上没有软件版本信息" << QString();
    QTest::newRow("heading") << QByteArray("<h1>9.9.9</h1>\r\n") << "服务器的回答不是软件版本号" << QString();
    QTest::newRow("login page") << QByteArray("<html><body>Sign in</body></html>\r\n") << "服务器的回答不是软件版本号" << QString();
    QTest::newRow("beyond 8 MB") << QByteArray("1.6.0\r\n").repeated(1500000) << "服务器的回答超过8MB" << QString();
}

void TestOnline::updateDialogAnswers()
{
    QFETCH(QByteArray, updateFile);
    QFETCH(QString, cause);
    QFETCH(QString, latest);
    publish();
    QVERIFY(writeBytes(m_site + "/soft/trisift/update.txt", updateFile));
    StaticHttpServer server(m_site);
    pointAt(server.host());
    CMyNumSieveDlg w(m_services, m_dir->path());
    const auto [status, offered] = runUpdateDialog(w);
    QCOMPARE(m_services.warnings, cause.isEmpty() ? QStringList()
                                                  : QStringList{"找不到更新服务器，请检查您的电脑是否连通网络，或稍后再试\n" + cause});
    QCOMPARE(status, cause.isEmpty() ? "您使用的为1.5.2 Beta版本，当前最新为" + latest + "版本\n请尽快下载最新版本"
                                     : CDialogSoftUpdate::kChecking);
    QCOMPARE(offered, cause.isEmpty());
}

void TestOnline::downloadLink_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("browserOpens");
    QTest::addColumn<QList<QUrl>>("opened");
    QTest::addColumn<QString>("warning");

    const QString notWeb = "这个网址不是 http 或 https 网页，没有打开：\n";
    QTest::newRow("web page") << "https://x.test/new" << true << QList<QUrl>{QUrl("https://x.test/new")} << QString();
    QTest::newRow("no browser") << "http://x.test/new?a=1" << false << QList<QUrl>{QUrl("http://x.test/new?a=1")}
        << "无法打开网页，请把网址复制到浏览器中打开：\nhttp://x.test/new?a=1";
    QTest::newRow("file") << "file:///etc/passwd" << true << QList<QUrl>() << notWeb + "file:///etc/passwd";
    QTest::newRow("no host") << "http:///etc/passwd" << true << QList<QUrl>() << notWeb + "http:///etc/passwd";
    QTest::newRow("no link") << "" << true << QList<QUrl>() << CDialogSoftUpdate::kNoDownloadLink;
}

void TestOnline::downloadLink()
{
    QFETCH(QString, link);
    QFETCH(bool, browserOpens);
    QFETCH(QList<QUrl>, opened);
    QFETCH(QString, warning);
    publish({QStringLiteral("1.6.0 Beta"), link, {}});
    StaticHttpServer server(m_site);
    pointAt(server.host());
    CMyNumSieveDlg w(m_services, m_dir->path());
    m_services.browserOpens = browserOpens;
    QVERIFY(runUpdateDialog(w, true).second);
    QCOMPARE(m_services.openedUrls, opened);
    QCOMPARE(m_services.warnings, warning.isEmpty() ? QStringList() : QStringList{warning});
}

void TestOnline::configuration_data()
{
    QTest::addColumn<QByteArray>("configFile");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("link");
    QTest::newRow("TRUE alone") << QByteArray("TRUE\r\n") << true << "";
    QTest::newRow("true with a link") << QByteArray(" true \r\n http://shop/ \r\n") << true << "http://shop/";
    QTest::newRow("false") << QByteArray("false\r\nhttp://shop/\r\n") << false << "";
    QTest::newRow("missing file") << QByteArray("-") << false << "";
    QTest::newRow("link to a file") << QByteArray("true\r\nfile:///etc/passwd\r\n") << false << "";
    QTest::newRow("link to a program") << QByteArray("true\r\nms-settings:privacy\r\n") << false << "";
}

void TestOnline::configuration()
{
    QFETCH(QByteArray, configFile);
    QFETCH(bool, shown);
    QFETCH(QString, link);
    publish();
    const QString config = m_site + "/soft/trisift/config.txt";
    QVERIFY(configFile == "-" ? QFile::remove(config) : writeBytes(config, configFile));
    StaticHttpServer server(m_site);
    pointAt(server.host());
    CMyNumSieveDlg w(m_services, m_dir->path());
    const QString home = "http://" + server.host() + "/";
    QCOMPARE(w.purchaseLink(), home);
    w.startOnlineTimers(only(&CMyNumSieveDlg::OnlineIntervals::configurationMs));
    QVERIFY(QTest::qWaitFor([&] { return server.count("/soft/trisift/config.txt") == 1; }, 10000));
    QTest::qWait(200);
    QCOMPARE(button(w, CMyNumSieveDlg::IdBuy)->isHidden(), !shown);
    QCOMPARE(w.purchaseLink(), shown ? link : home);
    QVERIFY(m_services.warnings.isEmpty());
}

void TestOnline::presenceRepeats()
{
    publish();
    StaticHttpServer server(m_site);
    pointAt(server.host());
    CMyNumSieveDlg w(m_services, m_dir->path());
    CMyNumSieveDlg::OnlineIntervals intervals{kNever, 10, 100, kNever};
    w.startOnlineTimers(intervals);
    QVERIFY(QTest::qWaitFor([&] { return server.count("/soft/trisift/online.jsp") >= 3; }, 10000));
    // Each request asks with a fresh number.
    const QStringList asked = server.requests();
    QCOMPARE(QSet<QString>(asked.cbegin(), asked.cend()).size(), asked.size());
}

void TestOnline::noNetworkNoWord_data()
{
    QTest::addColumn<bool>("refusingHost");
    QTest::addColumn<QString>("cause");
    QTest::newRow("no host") << false << "\n没有设置更新服务器：请在 data/online.data 中加入一行 product$主机名";
    QTest::newRow("host refuses") << true << "";
}

void TestOnline::noNetworkNoWord()
{
    QFETCH(bool, refusingHost);
    QFETCH(QString, cause);
    if (refusingHost)
        pointAt("127.0.0.1:1");
    CMyNumSieveDlg w(m_services, m_dir->path());
    w.startOnlineTimers({20, 20, 30, 1});
    QTest::qWait(400);
    w.runCommand(CMyNumSieveDlg::IdSelect);
    QVERIFY(m_services.warnings.isEmpty());
    QVERIFY(m_services.modalDialogs.isEmpty());
    // Only the user's own request says that the server cannot be reached.
    m_services.whileModal = [](QDialog *dialog) { dialog->exec(); };
    w.runCommand(CMyNumSieveDlg::IdSoftwareUpdate);
    QCOMPARE(m_services.warnings, QStringList{"找不到更新服务器，请检查您的电脑是否连通网络，或稍后再试" + cause});
}

void TestOnline::linkCommands_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("key");
    QTest::newRow("开奖公告") << int(CMyNumSieveDlg::IdResults) << "http://product.test/info/draw.jsp" << "product";
    QTest::newRow("图表分析") << int(CMyNumSieveDlg::IdAnalysis) << "http://analysis.test:8080/" << "analysis";
    QTest::newRow("论坛交流") << int(CMyNumSieveDlg::IdForum) << "http://forum.test/" << "forum";
    QTest::newRow("提交错误/建议") << int(CMyNumSieveDlg::IdReport) << "http://forum.test/forumdisplay.php?fid=25"
                                << "forum";
    QTest::newRow("使用帮助") << int(CMyNumSieveDlg::IdHelp) << "http://product.test/soft/trisift/help" << "product";
    QTest::newRow("购买彩票") << int(CMyNumSieveDlg::IdBuy) << "http://product.test/" << "";
}

void TestOnline::linkCommands()
{
    QFETCH(int, command);
    QFETCH(QString, url);
    QFETCH(QString, key);
    QVERIFY(writeBytes(m_dir->filePath("data/online.data"),
                       "product$product.test\r\nanalysis$analysis.test:8080\r\nforum$forum.test\r\n"));
    {
        CMyNumSieveDlg w(m_services, m_dir->path());
        w.runCommand(command);
        QCOMPARE(m_services.openedUrls, QList<QUrl>{QUrl(url)});
        QVERIFY(m_services.warnings.isEmpty());
        // Without a browser the user gets the address to copy.
        m_services.browserOpens = false;
        w.runCommand(command);
        QCOMPARE(m_services.warnings, QStringList{"无法打开网页，请把网址复制到浏览器中打开：\n" + url});
    }
    // Without the site, the user learns where to name it instead of a broken
    // page; without an analysis site, the chart is drawn in the program.
    QVERIFY(QFile::remove(m_dir->filePath("data/online.data")));
    m_services = FakeServices();
    CMyNumSieveDlg w(m_services, m_dir->path());
    w.runCommand(command);
    QVERIFY(m_services.openedUrls.isEmpty());
    QCOMPARE(w.findChildren<numsieve::gui::CDialogTrend *>().size(), key == QLatin1String("analysis") ? 1 : 0);
    if (key == QLatin1String("analysis")) {
        QVERIFY(m_services.warnings.isEmpty());
        return;
    }
    QCOMPARE(m_services.warnings,
             QStringList{key.isEmpty() ? "没有设置购买彩票的网址，无法打开网页。"
                                       : "没有设置网站地址，无法打开网页。\n请在数据文件夹的 online.data 中写一行：\n" + key
                                             + "$网站地址"});
}

QTEST_MAIN(TestOnline)
#include "tst_online.moc"
