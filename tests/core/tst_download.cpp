#include "core/history/RecordLine.h"
#include "core/online/DrawDownload.h"
#include "core/online/OnlineHosts.h"
#include "core/selection/DigitRow.h"

#include "CannedHttpServer.h"
#include "HostileHttpServer.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace numsieve;
using namespace testsupport;

namespace {

// Runs one download to its end; empty when finished() did not come in time.
std::optional<DownloadOutcome> download(const QString &host, int lottery, int timeoutMs = 5000)
{
    DrawDownload job;
    job.setTimeout(timeoutMs);
    std::optional<DownloadOutcome> outcome;
    int emitted = 0;
    QObject::connect(&job, &DrawDownload::finished, [&](const DownloadOutcome &result) {
        outcome = result;
        ++emitted;
    });
    job.start(host, lottery);
    if (emitted != 0)   // must never arrive inside start()
        return std::nullopt;
    if (!QTest::qWaitFor([&] { return emitted > 0; }, 10000))
        return std::nullopt;
    QTest::qWait(50);   // a second emission would show here
    return emitted == 1 ? outcome : std::nullopt;
}

QStringList lines(const QList<Draw> &draws)
{
    QStringList out;
    for (const Draw &d : draws)
        out.append(recordLine(d.issue, d.number));
    return out;
}

} // namespace

class TestDownload : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
    void failsWithoutAnswer_data();
    void failsWithoutAnswer();
    void silentServerEndsAtTheDeadline();
    void hostileServers_data();
    void hostileServers();
    void redirects_data();
    void redirects();
    void eachDownloadAsksWithAFreshQueryNumber();
    void hostLines_data();
    void hostLines();
    void noHostFileNoRequest();
};

void TestDownload::answers_data()
{
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("draws");
    QTest::addColumn<QString>("message");

    const QByteArray ok = "200 OK";
    const QString notDrawList = QStringLiteral("更新服务器无法连接，更新数据无法导入，请稍后再试\n服务器的回答不是开奖号码列表");
    const QString nothing = QStringLiteral("更新服务器无法连接，更新数据无法导入，请稍后再试\n服务器上没有这种彩票的开奖号码");
    const QByteArray four = "2024001$357\r\n2024002$012\r\n2024003$099\r\n2024004$100\r\n";
    QTest::newRow("three draws, two empty lines") << ok << QByteArray("2024001$357\r\n\r\n2024002$012\n \t\r\n2024003$099")
        << QStringList{"2024001$357", "2024002$012", "2024003$099"} << QString();
    QTest::newRow("GBK issue") << ok << gbk(QStringLiteral("第2024001期$357\r\n"))
        << QStringList{QStringLiteral("第2024001期$357")} << QString();
    QTest::newRow("trimmed at the ends only") << ok << QByteArray(" \t2024001 $357 \r\n")
        << QStringList{"2024001 $357"} << QString();
    QTest::newRow("blank before the number") << ok << QByteArray("2024001 $ 357\r\n") << QStringList() << notDrawList;
    QTest::newRow("fifth line without $") << ok << four + "2024005 357\r\n" << QStringList() << notDrawList;
    QTest::newRow("number 12a") << ok << QByteArray("2024001$357\r\n2024002$12a\r\n") << QStringList() << notDrawList;
    QTest::newRow("four-digit number") << ok << QByteArray("2024001$357\r\n2024002$3570\r\n") << QStringList() << notDrawList;
    QTest::newRow("number is all after the first $") << ok << QByteArray("2024001$357$x\r\n") << QStringList() << notDrawList;
    QTest::newRow("empty issue") << ok << four + " $123\r\n" << QStringList() << notDrawList;
    QTest::newRow("login page") << ok << QByteArray("<html><body>Please sign in</body></html>\r\n") << QStringList() << notDrawList;
    QTest::newRow("empty body") << ok << QByteArray() << QStringList() << nothing;
    QTest::newRow("blank lines only") << ok << QByteArray("\r\n \t\r\n") << QStringList() << nothing;
    QTest::newRow("not found") << QByteArray("404 Not Found") << four << QStringList() << msg::kUpdateServerNotFound;
    QTest::newRow("beyond 8 MiB") << ok << four.repeated(9 * 1024 * 1024 / four.size() + 1) << QStringList()
        << QStringLiteral("更新服务器无法连接，更新数据无法导入，请稍后再试\n服务器的回答超过8MB");
}

void TestDownload::answers()
{
    QFETCH(QByteArray, status);
    QFETCH(QByteArray, body);
    QFETCH(QStringList, draws);
    QFETCH(QString, message);

    CannedServer server(body, status);
    const auto outcome = download(server.host(), 1);
    QVERIFY(outcome);
    QCOMPARE(lines(outcome->draws), draws);
    QCOMPARE(outcome->message, message);
    QCOMPARE(server.requestLines.size(), 1);
}

void TestDownload::failsWithoutAnswer_data()
{
    QTest::addColumn<QString>("hostSuffix");
    QTest::addColumn<int>("lottery");
    QTest::addColumn<bool>("sent");

    // Appended to the live server's host; "closed" names a port nobody listens on.
    QTest::newRow("lottery without endpoint") << QString() << 5 << false;
    QTest::newRow("host with a path") << QStringLiteral("/x") << 1 << false;
    QTest::newRow("host with user") << QStringLiteral("@example.org") << 1 << false;
    QTest::newRow("nothing listening") << QStringLiteral("closed") << 1 << true;
}

void TestDownload::failsWithoutAnswer()
{
    QFETCH(QString, hostSuffix);
    QFETCH(int, lottery);
    QFETCH(bool, sent);

    CannedServer server("2024001$357\r\n");
    const QString host = hostSuffix == QLatin1String("closed") ? closedPortHost() : server.host() + hostSuffix;
    const auto outcome = download(host, lottery);
    QVERIFY(outcome);
    QCOMPARE(lines(outcome->draws), QStringList());
    QCOMPARE(outcome->message, msg::kUpdateServerNotFound);
    QCOMPARE(outcome->url.isEmpty(), !sent);
    QCOMPARE(server.requestLines, QStringList());
}

void TestDownload::silentServerEndsAtTheDeadline()
{
    CannedServer server({}, {}, true);
    DrawDownload job;
    job.setTimeout(300);
    std::optional<DownloadOutcome> outcome;
    QObject::connect(&job, &DrawDownload::finished, [&](const DownloadOutcome &result) { outcome = result; });
    job.start(server.host(), 2);
    QVERIFY(QTest::qWaitFor([&] { return outcome.has_value(); }, 5000));
    QCOMPARE(outcome->message, msg::kUpdateServerNotFound);
    QCOMPARE(lines(outcome->draws), QStringList());
    QVERIFY(!job.isRunning());
}

void TestDownload::hostileServers_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("message");

    const QString tooLarge = QStringLiteral("更新服务器无法连接，更新数据无法导入，请稍后再试\n服务器的回答超过8MB");
    QTest::newRow("endless chunked body") << int(HostileHttpServer::EndlessChunkedBody) << tooLarge;
    QTest::newRow("gzip that unpacks to 64 MB") << int(HostileHttpServer::GzipBomb) << tooLarge;
    QTest::newRow("endless header lines") << int(HostileHttpServer::EndlessHeaders) << msg::kUpdateServerNotFound;
    QTest::newRow("endless 8000-byte header lines") << int(HostileHttpServer::ShortHeaderLines) << msg::kUpdateServerNotFound;
    QTest::newRow("one endless header line") << int(HostileHttpServer::OneEndlessHeaderLine) << msg::kUpdateServerNotFound;
    QTest::newRow("header dripped byte by byte") << int(HostileHttpServer::DripHeaders) << msg::kUpdateServerNotFound;
}

void TestDownload::hostileServers()
{
    QFETCH(int, mode);
    QFETCH(QString, message);

    // Unless the client hangs up, the server goes on for a minute and half a gigabyte.
    // A bomb of 64 MB shows the limit as well as one of a gigabyte, whose
    // packing alone would take seconds.
    HostileHttpServer server{HostileHttpServer::Mode(mode), 512ll * 1024 * 1024, 60000, 64ll * 1024 * 1024};
    // The limits, not the deadline, must end everything but the drip: with
    // the real deadline, an answer the limits miss ends too late to be seen.
    const bool drip = mode == HostileHttpServer::DripHeaders;
    const auto outcome = download(server.host(), 1, drip ? 1500 : kDrawDownloadTimeoutMs);
    QVERIFY(outcome);
    QCOMPARE(outcome->message, message);
    QCOMPARE(lines(outcome->draws), QStringList());
    // Given up means hung up: nothing of the exchange goes on reading.
    QVERIFY(QTest::qWaitFor([&] { return server.clientClosed; }, 3000));
    QVERIFY(!server.gaveUp);
    QCOMPARE(server.connections, 1);
    // Given up as a limit passed, not after the server had sent far more.
    QVERIFY2(server.bytesSent < 2 * HttpGet::kMaxBodyBytes, QByteArray::number(server.bytesSent));
}

void TestDownload::redirects_data()
{
    QTest::addColumn<QString>("to");   // %1: the server's own port, %2: another server's
    QTest::addColumn<int>("hops");
    QTest::addColumn<int>("asked");    // requests the server saw
    QTest::addColumn<bool>("followed");

    QTest::newRow("same server, absolute") << QStringLiteral("http://127.0.0.1:%1/draws.txt") << 1 << 2 << true;
    QTest::newRow("same server, relative, three times") << QStringLiteral("/draws.txt") << 3 << 4 << true;
    QTest::newRow("four times") << QStringLiteral("/draws.txt") << 4 << 4 << false;
    QTest::newRow("another port") << QStringLiteral("http://127.0.0.1:%2/draws.txt") << 1 << 1 << false;
    QTest::newRow("another host name") << QStringLiteral("http://localhost:%1/draws.txt") << 1 << 1 << false;
    QTest::newRow("another scheme") << QStringLiteral("ftp://127.0.0.1:%1/draws.txt") << 1 << 1 << false;
}

void TestDownload::redirects()
{
    QFETCH(QString, to);
    QFETCH(int, hops);
    QFETCH(int, asked);
    QFETCH(bool, followed);

    CannedServer server("2024001$357\r\n");
    CannedServer other("2024009$999\r\n");
    const QString location = QString(to)
                                 .replace(QLatin1String("%1"), server.host().section(QLatin1Char(':'), 1))
                                 .replace(QLatin1String("%2"), other.host().section(QLatin1Char(':'), 1));
    for (int i = 1; i <= hops; ++i)
        server.redirects.append(location.toLatin1() + "?hop=" + QByteArray::number(i));

    const auto outcome = download(server.host(), 1);
    QVERIFY(outcome);
    QCOMPARE(lines(outcome->draws), followed ? QStringList{"2024001$357"} : QStringList());
    QCOMPARE(outcome->message, followed ? QString() : msg::kUpdateServerNotFound);
    QCOMPARE(server.requestLines.size(), asked);
    if (followed)
        QCOMPARE(server.requestLines.last(), QStringLiteral("GET /draws.txt?hop=%1 HTTP/1.1").arg(hops));
    QCOMPARE(other.requestLines, QStringList());
}

void TestDownload::eachDownloadAsksWithAFreshQueryNumber()
{
    QTemporaryDir dir;
    CannedServer server("2024001$357\r\n");
    QVERIFY(writeBytes(onlineHostsFilePath(dir.path()), gbk(QStringLiteral("analysis$%1\r\n").arg(server.host()))));

    RandomSource::global().seed(7);
    RandomSource expected(7);
    const QStringList paths = {"/analyse/issue_3d.jsp?", "/analyse/issue_3d.jsp?", "/analyse/issue_pl3.jsp?",
                               "/analyse/issue_ssl.jsp?", "/analyse/issue_ssc.jsp?"};
    const QList<int> lotteries = {1, 1, 2, 3, 4};
    QStringList wanted;
    QList<int> queries;
    for (qsizetype i = 0; i < lotteries.size(); ++i) {
        const DownloadOutcome outcome = downloadDrawsBlocking(dir.path(), lotteries[i], 5000);
        QCOMPARE(outcome.message, QString());
        QCOMPARE(lines(outcome.draws), QStringList{"2024001$357"});
        queries.append(expected.next());
        QCOMPARE(outcome.url.toString(), QStringLiteral("http://%1%2%3").arg(server.host(), paths[i]).arg(queries.last()));
        wanted.append(QStringLiteral("GET %1%2 HTTP/1.1").arg(paths[i]).arg(queries.last()));
    }
    QCOMPARE(server.requestLines, wanted);
    QVERIFY(queries[0] != queries[1]);
}

void TestDownload::hostLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("hosts");   // analysis, product, forum

    QTest::newRow("port kept, blanks trimmed")
        << QStringList{"forum$bbs.example.org", " analysis $ 127.0.0.1:8765\t", "product$www.example.org:80"}
        << QStringList{"127.0.0.1:8765", "www.example.org:80", "bbs.example.org"};
    QTest::newRow("empty values and unknown keys")
        << QStringList{"analysis$", "product$   ", "forum", "Analysis$a.example.org", "shop$s.example.org"}
        << QStringList{"", "", ""};
    QTest::newRow("first value wins") << QStringList{"analysis$a.example.org", "analysis$b.example.org"}
        << QStringList{"a.example.org", "", ""};
}

void TestDownload::hostLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, hosts);

    const OnlineHosts parsed = parseOnlineHostLines(lines);
    QCOMPARE((QStringList{parsed.analysis, parsed.product, parsed.forum}), hosts);
}

void TestDownload::noHostFileNoRequest()
{
    QTemporaryDir dir;
    QCOMPARE(loadOnlineHosts(dir.path()), OnlineHosts{});
    QVERIFY(!QFile::exists(onlineHostsFilePath(dir.path())));
    const DownloadOutcome outcome = downloadDrawsBlocking(dir.path(), 1, 5000);
    QCOMPARE(outcome.message, QStringLiteral("找不到更新服务器，请检查您的电脑是否连通网络，或稍后再试\n"
                                             "没有设置更新服务器：请在 data/online.data 中加入一行 analysis$主机名"));
    QVERIFY(outcome.url.isEmpty());
}

QTEST_GUILESS_MAIN(TestDownload)
#include "tst_download.moc"
