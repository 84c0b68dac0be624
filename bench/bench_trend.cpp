// Times building the 走势图 of a long history, every group, and the foot
// statistics of every column over all draws, as the window does on opening.
//
//   build/bin/bench_trend [draws]
//
// With "memory": `numsieve-cli trend --last all` in text, csv and json on a
// draw file of 4.9 million draws (63.7 MB, as large as the program reads),
// each a process of its own whose output is counted and thrown away; prints
// each one's time, output and peak resident memory (VmHWM). Further
// arguments name other builds of the tool, run the same way in the same run,
// for a before and after. Each runs with its address space capped at 8 GB:
// a build that holds its output whole stops there rather than take the
// machine's memory.
//
//   build/bin/bench_trend memory [numsieve-cli ...]

#include "core/analysis/TrendTable.h"
#include "core/model/Number.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace numsieve;

namespace {

constexpr int kFileDraws = 4'900'000;
constexpr rlim_t kAddressCap = rlim_t(8) << 30;

QList<Draw> randomDraws(int count)
{
    QRandomGenerator rng(7);
    QList<Draw> draws;
    draws.reserve(count);
    for (int i = 0; i < count; ++i)
        draws.append({QString::number(2000000 + i), numberText(rng.bounded(1000))});
    return draws;
}

int timeTable(int count)
{
    const QList<Draw> draws = randomDraws(count);
    (void)trendColumns();   // the classes of 000-999, worked out once per program

    double best = 1e9, bestStats = 1e9;
    long long checksum = 0;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer timer;
        timer.start();
        const TrendTable table(draws);
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
        timer.start();
        for (int c = 0; c < int(trendColumns().size()); ++c)
            checksum += table.stats(c, 0).maxOmission;
        bestStats = std::min(bestStats, double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("走势图 of %d draws, %lld columns: table %.1f ms, foot statistics over all draws %.1f ms "
                "(best of 5; checksum %lld)\n",
                count, static_cast<long long>(trendColumns().size()), best, bestStats, checksum);
    return 0;
}

bool writeDataFolder(const QString &dir)
{
    QFile registry(QDir(dir).filePath(QStringLiteral("lottery.data")));
    if (!registry.open(QIODevice::WriteOnly) || registry.write("1$\xB8\xA3\xB2\xCA" "3D\r\n") < 0)
        return false;
    QRandomGenerator rng(7);
    QByteArray bytes;
    bytes.reserve(qsizetype(kFileDraws) * 13);
    char line[32];
    for (int i = 0; i < kFileDraws; ++i)
        bytes.append(line, std::snprintf(line, sizeof line, "%d$%03u\r\n", 2000000 + i, rng.bounded(1000u)));
    QFile draws(QDir(dir).filePath(QStringLiteral("lottery_1.data")));
    return draws.open(QIODevice::WriteOnly) && draws.write(bytes) == bytes.size();
}

struct Outcome {
    int status = -1;        // the exit status, or -1 when a signal ended it
    double seconds = 0;
    double outputMb = 0;
    double peakMb = 0;      // ru_maxrss: the process's VmHWM
};

Outcome runTrend(const QByteArray &program, const QString &data, const char *format)
{
    Outcome outcome;
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return outcome;
    QElapsedTimer timer;
    timer.start();
    std::fflush(stdout);
    const QByteArray dataArg = QFile::encodeName(data);
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit cap{kAddressCap, kAddressCap};
        ::setrlimit(RLIMIT_AS, &cap);
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        ::execl(program.constData(), program.constData(), "trend", "--data", dataArg.constData(), "--last", "all",
                "--format", format, static_cast<char *>(nullptr));
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    static char buffer[1 << 20];
    long long bytes = 0;
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        bytes += n;
    ::close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child)
        return outcome;
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.seconds = double(timer.nsecsElapsed()) / 1e9;
    outcome.outputMb = double(bytes) / 1e6;
    outcome.peakMb = double(usage.ru_maxrss) / 1024.0;
    return outcome;
}

int measureMemory(QStringList programs)
{
    if (programs.isEmpty())
        programs << QCoreApplication::applicationDirPath() + QStringLiteral("/numsieve-cli");
    QTemporaryDir dir;
    if (!dir.isValid() || !writeDataFolder(dir.path()))
        return 1;
    std::printf("trend --last all on %d draws (%.1f MB), address space capped at %llu GB\n", kFileDraws,
                double(QFileInfo(QDir(dir.path()).filePath(QStringLiteral("lottery_1.data"))).size()) / 1e6,
                static_cast<unsigned long long>(kAddressCap >> 30));
    for (const char *format : {"text", "csv", "json"}) {
        for (const QString &program : std::as_const(programs)) {
            const Outcome o = runTrend(QFile::encodeName(program), dir.path(), format);
            std::printf("  %-4s %s: exit %d, %.1f s, %.1f MB written, peak %.0f MB\n", format, qPrintable(program),
                        o.status, o.seconds, o.outputMb, o.peakMb);
        }
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("memory"))
        return measureMemory(args.mid(1));
    return timeTable(args.isEmpty() ? 100000 : std::max(1, args.at(0).toInt()));
}
