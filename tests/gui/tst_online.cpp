#include "app/CMyNumSieveDlg.h"
#include "online/CDialogSoftUpdate.h"
#include "online/ProductSite.h"
#include "history/DataFolder.h"

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
    void updateDialogWithAnEmptyFile();
    void configuration_data();
    void configuration();
    void presenceRepeats();
    void noNetworkNoWord_data();
    void noNetworkNoWord();
    void linkCommands_data();
    void linkCommands();

private:
    void publish(const PublishOptions &options = {});
    void pointAt(const QString &host);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_site;
    FakeServices m_services;
};

void TestOnline::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_services = FakeServices();
    QDir().mkpath(m_dir->filePath("data"));
    QVERIFY(writeBytes(m_dir->filePath("data/lottery.data"), "1$3D\r\n"));
    QVERIFY(writeBytes(m_dir->filePath("data/lottery_1.data"), "2026001$123\r\n"));
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

void TestOnline::updateDialogWithAnEmptyFile()
{
    publish();
    QVERIFY(writeBytes(m_site + "/soft/trisift/update.txt", ""));
    StaticHttpServer server(m_site);
    pointAt(server.host());
    CMyNumSieveDlg w(m_services, m_dir->path());
    QString status;
    bool offered = false;
    m_services.whileModal = [&](QDialog *dialog) {
        auto *update = qobject_cast<CDialogSoftUpdate *>(dialog);
        QVERIFY(update);
        QCOMPARE(update->statusText(), CDialogSoftUpdate::kChecking);
        QVERIFY(update->downloadButton()->isHidden());
        update->show();   // the check starts once the window is painted
        QVERIFY(QTest::qWaitFor([&] { return update->statusText() != CDialogSoftUpdate::kChecking; }, 10000));
        status = update->statusText();
        offered = !update->downloadButton()->isHidden();
        update->close();
    };
    w.runCommand(CMyNumSieveDlg::IdSoftwareUpdate);
    QCOMPARE(status, QString("您使用的为1.5.2 Beta版本，当前最新为版本\n请尽快下载最新版本"));
    QVERIFY(offered);
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
    QTest::newRow("no host") << false;
    QTest::newRow("host refuses") << true;
}

void TestOnline::noNetworkNoWord()
{
    QFETCH(bool, refusingHost);
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
    QCOMPARE(m_services.warnings, QStringList{"找不到更新服务器，请检查您的电脑是否连通网络，或稍后再试"});
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
    }
    // Without the site, the user learns where to name it instead of a broken page.
    QVERIFY(QFile::remove(m_dir->filePath("data/online.data")));
    m_services = FakeServices();
    CMyNumSieveDlg w(m_services, m_dir->path());
    w.runCommand(command);
    QVERIFY(m_services.openedUrls.isEmpty());
    QCOMPARE(m_services.warnings,
             QStringList{key.isEmpty() ? "没有设置购买彩票的网址，无法打开网页。"
                                       : "没有设置网站地址，无法打开网页。\n请在数据文件夹的 online.data 中写一行：\n" + key
                                             + "$网站地址"});
}

QTEST_MAIN(TestOnline)
#include "tst_online.moc"
