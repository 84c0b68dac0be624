// Time and peak memory of one draw download against a hostile server: an
// endless chunked body and a gzip answer that unpacks to a gigabyte (both
// ended by the size limit), endless header lines, long or short, and one
// header line that never ends (ended by the deadline or the header limit).
// Each case runs in a process of its own, so that its high-water mark of
// resident memory (VmHWM) is its own. "done" is when the download said its
// outcome, "gone" when it was torn down, as a program exits after it.
//
//   bench_download [timeout-ms]

#include "core/online/DrawDownload.h"

#include "HostileHttpServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>

#include <cstdio>
#include <memory>

using namespace numsieve;
using testsupport::HostileHttpServer;

namespace {

struct Case {
    const char *name;
    HostileHttpServer::Mode mode;
};

const Case kCases[] = {
    {"endless chunked body", HostileHttpServer::EndlessChunkedBody},
    {"gzip of 1 GB", HostileHttpServer::GzipBomb},
    {"64 KB header lines", HostileHttpServer::EndlessHeaders},
    {"8000-byte header lines", HostileHttpServer::ShortHeaderLines},
    {"one endless header line", HostileHttpServer::OneEndlessHeaderLine},
};

QByteArray highWaterMark()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return "unknown";
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed();
    return "unknown";
}

void run(const Case &c, int timeoutMs)
{
    HostileHttpServer server(c.mode);
    auto download = std::make_unique<DrawDownload>();
    download->setTimeout(timeoutMs);
    QEventLoop loop;
    DownloadOutcome outcome;
    QObject::connect(download.get(), &DrawDownload::finished, &loop, [&](const DownloadOutcome &result) {
        outcome = result;
        loop.quit();
    });
    const QByteArray before = highWaterMark();
    QElapsedTimer clock;
    clock.start();
    download->start(server.host(), 1);
    loop.exec();
    const qint64 done = clock.elapsed();
    download.reset();
    const qint64 gone = clock.elapsed();
    std::printf("%-24s done %6lld ms  gone %6lld ms  server sent %7.1f MB  VmHWM %s -> %s  \"%s\"\n", c.name,
                qint64(done), qint64(gone), double(server.bytesSent) / (1024 * 1024), before.constData(),
                highWaterMark().constData(), outcome.message.section(QLatin1Char('\n'), -1).toUtf8().constData());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int timeoutMs = argc > 1 ? QByteArray(argv[1]).toInt() : kDrawDownloadTimeoutMs;
    if (argc > 2) {
        run(kCases[QByteArray(argv[2]).toInt()], timeoutMs);
        return 0;
    }
    for (int i = 0; i < int(std::size(kCases)); ++i) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QString::number(timeoutMs), QString::number(i)});
        child.waitForFinished(-1);
    }
    return 0;
}
