// Time and peak memory of the table reader on texts of the largest file size
// (64 MB): a web page's table of 1.3 million draws, the same bytes as one
// line with no line end, and 33.5 million lines of one character. Each must
// take linear time and stay a few times its size in memory. Every case runs
// in a process of its own, so that its peak (VmHWM, the input included) is
// its own.
//
//   build/bin/bench_table            every case
//   build/bin/bench_table CASE       one case: web, web-quarter, one-line, short-lines

#include "core/history/TableReader.h"
#include "core/text/TextFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <cstdio>

using namespace numsieve;

namespace {

QByteArray webTable()
{
    QByteArray bytes = "期号\t开奖日期\t开奖号码\t试机号\t销售额\r\n";
    for (qint64 i = 0; bytes.size() < kMaxFileBytes - 64; ++i)
        bytes += QByteArray::number(2000000 + i) + "\t2024-01-01\t" + QByteArray::number(i % 10) + ' '
                 + QByteArray::number(i / 10 % 10) + ' ' + QByteArray::number(i / 100 % 10) + "\t123\t12,345,678\r\n";
    return bytes;
}

QByteArray input(const QString &name)
{
    if (name == QLatin1String("web"))
        return webTable();
    if (name == QLatin1String("web-quarter")) {
        const QByteArray table = webTable();
        return table.first(table.size() / 4);
    }
    if (name == QLatin1String("one-line"))
        return webTable().replace("\r\n", "  ");
    if (name == QLatin1String("short-lines")) {
        // A draw, then 33.5 million lines of one digit.
        QByteArray bytes = "2024001 123\n";
        bytes.reserve(kMaxFileBytes);
        while (bytes.size() + 2 <= kMaxFileBytes)
            bytes += "1\n";
        return bytes;
    }
    return {};
}

long peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

int measure(const QString &name)
{
    const QByteArray bytes = input(name);
    if (bytes.isEmpty())
        return 2;
    QElapsedTimer timer;
    timer.start();
    const auto reading = readTable(bytes);
    const double seconds = double(timer.elapsed()) / 1000;
    std::printf("%-12s %6.1f MB  %8lld draws  %8lld lines not read  %6.2f s  peak %6.0f MB\n", qPrintable(name),
                double(bytes.size()) / (1024 * 1024), reading ? (long long)reading->size() : -1LL,
                reading ? (long long)reading->skippedCount : -1LL, seconds, double(peakKilobytes()) / 1024);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc > 1)
        return measure(QString::fromLocal8Bit(argv[1]));
    for (const char *name : {"web", "web-quarter", "one-line", "short-lines"}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(name)});
        child.waitForFinished(-1);
    }
    return 0;
}
