// Peak memory of one draw download against a server whose answer never ends:
// an endless chunked body (ended by the size limit) and endless header lines
// (ended by the deadline). Prints the process's high-water mark of resident
// memory (VmHWM) before and after each.
//
//   bench_download [timeout-ms]

#include "online/DrawDownload.h"

#include "HostileHttpServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>

#include <cstdio>

using namespace numsieve;

namespace {

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

void run(const char *name, testsupport::HostileHttpServer::Mode mode, int timeoutMs)
{
    testsupport::HostileHttpServer server(mode);
    DrawDownload download;
    download.setTimeout(timeoutMs);
    QEventLoop loop;
    DownloadOutcome outcome;
    QObject::connect(&download, &DrawDownload::finished, &loop, [&](const DownloadOutcome &result) {
        outcome = result;
        loop.quit();
    });
    const QByteArray before = highWaterMark();
    QElapsedTimer clock;
    clock.start();
    download.start(server.host(), 1);
    loop.exec();
    std::printf("%-22s %6lld ms  server sent %7.1f MB  VmHWM %s -> %s  \"%s\"\n", name, qint64(clock.elapsed()),
                double(server.bytesSent) / (1024 * 1024), before.constData(), highWaterMark().constData(),
                outcome.message.section(QLatin1Char('\n'), -1).toUtf8().constData());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int timeoutMs = argc > 1 ? QByteArray(argv[1]).toInt() : kDrawDownloadTimeoutMs;
    run("endless chunked body", testsupport::HostileHttpServer::EndlessChunkedBody, timeoutMs);
    run("endless header lines", testsupport::HostileHttpServer::EndlessHeaders, timeoutMs);
    return 0;
}
