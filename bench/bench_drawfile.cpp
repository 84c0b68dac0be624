// Peak memory and time of the command-line tool on the largest draw file it
// reads: "issue$number" lines (5.16 million draws) one line short of 64 MB.
// Runs `numsieve-cli draws list` (reading) and `draws add` (reading, then
// saving the file with one draw more, exactly 64 MB) as separate processes
// and reports each process's peak resident memory.
//
//   build/bin/bench_drawfile

#include "core/text/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace numsieve;

namespace {

constexpr qsizetype kLineBytes = 13;   // "2000000$123\r\n"

// One line per draw, the last issue made longer so that the file is one line
// short of the limit to the byte.
qsizetype writeDrawFile(const QString &path)
{
    const qsizetype size = kMaxFileBytes - kLineBytes;
    const qsizetype lines = size / kLineBytes;
    const qsizetype extra = size - lines * kLineBytes;
    QByteArray bytes;
    bytes.reserve(size);
    char line[64];
    for (qsizetype i = 0; i < lines; ++i) {
        const bool last = i + 1 == lines;
        const int n = std::snprintf(line, sizeof line, "%0*lld$%03lld\r\n", int(7 + (last ? extra : 0)),
                                    (long long)(2000000 + i), (long long)(i % 1000));
        bytes.append(line, n);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return -1;
    return lines;
}

// Runs the tool and gives its wall time in seconds and its peak resident
// memory in MB, or a negative time when it failed.
std::pair<double, double> runTool(const QStringList &args)
{
    QElapsedTimer timer;
    timer.start();
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        if (std::freopen("/dev/null", "w", stdout) == nullptr)
            ::_exit(127);
        QList<QByteArray> owned;
        owned << QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/numsieve-cli"));
        for (const QString &a : args)
            owned << a.toUtf8();
        std::vector<char *> argv;
        for (QByteArray &a : owned)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {-1, 0};
    return {double(timer.nsecsElapsed()) / 1e9, double(usage.ru_maxrss) / 1024.0};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    QDir().mkpath(data);
    QFile registry(data + QStringLiteral("/lottery.data"));
    if (!registry.open(QIODevice::WriteOnly) || registry.write("1$3D\r\n") != 6)
        return 1;
    registry.close();
    const qsizetype draws = writeDrawFile(data + QStringLiteral("/lottery_1.data"));
    if (draws < 0)
        return 1;
    std::printf("draw file of %lld bytes, %lld draws\n", (long long)(kMaxFileBytes - kLineBytes), (long long)draws);
    const std::pair<const char *, QStringList> runs[] = {
        {"draws list", {QStringLiteral("draws"), QStringLiteral("list"), QStringLiteral("--lottery"), QStringLiteral("1"),
                        QStringLiteral("--data"), data}},
        {"draws add ", {QStringLiteral("draws"), QStringLiteral("add"), QStringLiteral("--lottery"), QStringLiteral("1"),
                        QStringLiteral("--data"), data, QStringLiteral("9999999"), QStringLiteral("123")}},
    };
    for (const auto &[label, args] : runs) {
        const auto [seconds, peakMb] = runTool(args);
        if (seconds < 0) {
            std::printf("%s failed\n", label);
            return 1;
        }
        std::printf("%s  peak %.0f MB  %.2f s\n", label, peakMb, seconds);
    }
    return 0;
}
