#pragma once

// Shared by the fuzz targets. Each target is built twice: with libFuzzer, to
// search for inputs that break it, and into a plain executable that replays the
// stored corpus and the inputs that once broke it, so the normal test run
// catches a regression without fuzzing.

#include "core/history/DrawGate.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringEncoder>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

// A broken invariant must stop the run loudly: libFuzzer keeps the input as a
// crash, the replay fails its test. Release builds must not compile it away,
// so this is not assert().
#define FUZZ_CHECK(condition)                                                                        \
    do {                                                                                             \
        if (!(condition)) {                                                                          \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition);   \
            std::abort();                                                                            \
        }                                                                                            \
    } while (false)

namespace fuzzsupport {

// Some core code (timers of the script watchdog, the GBK codec) expects an
// application object; one lives for the whole process.
inline void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "numsieve-fuzz";
    static char *argv[] = {name, nullptr};
    static auto *app = new QCoreApplication(argc, argv);
    (void)app;
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A scratch folder for the entry points that read a file by its path, made
// once per process and removed at exit. A target writes its file for every
// input, so the folder is in memory where the machine has such a place.
inline QString scratchFile(const QString &name)
{
    static QTemporaryDir dir = [] {
        const QString shm = QStringLiteral("/dev/shm");
        if (QFileInfo(shm).isDir() && QFileInfo(shm).isWritable()) {
            QTemporaryDir inMemory(shm + QStringLiteral("/numsieve-fuzz-XXXXXX"));
            if (inMemory.isValid())
                return inMemory;
        }
        return QTemporaryDir();
    }();
    return dir.filePath(name);
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)
           && f.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Whether every line survives a GBK save unchanged; a line that does not
// cannot be expected to come back from disk as it was.
inline bool encodableAsGbk(const QStringList &lines)
{
    QStringEncoder encoder("GBK");
    for (const QString &line : lines) {
        // The encoder works only when its result is taken as bytes.
        const QByteArray bytes = encoder.encode(line);
        if (encoder.hasError())
            return false;
    }
    return true;
}

inline bool isThreeAsciiDigits(const QString &text)
{
    return text.size() == 3 && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
               return c >= QLatin1Char('0') && c <= QLatin1Char('9');
           });
}

// Every decoded line is one line: the decoder removed its end.
inline void checkDecodedLines(const QStringList &lines)
{
    for (const QString &line : lines)
        FUZZ_CHECK(!line.contains(QLatin1Char('\n')));
}

// The rules of the history's one gate, whatever path brought the draws in:
// the held draws keep their order and their numbers (a number changes only
// to an offered one, and only when taking offered numbers was chosen);
// every other draw is an offered one that passes the gate's checks, of an
// issue not held before and there once (issues the same by value are one);
// and a history in issue order stays in issue order.
inline void checkHistoryKept(const QList<numsieve::Draw> &before, const QList<numsieve::Draw> &offered,
                             const QList<numsieve::Draw> &after, bool takeNew)
{
    using namespace numsieve;
    QSet<std::pair<QString, QString>> offeredDraws;   // by issue key: a held issue keeps its own writing
    for (const Draw &d : offered)
        offeredDraws.insert({issueKey(d.issue), d.number});
    QSet<QString> held;
    for (const Draw &d : before)
        held.insert(issueKey(d.issue));
    QSet<QString> added;
    qsizetype next = 0;
    for (const Draw &d : after) {
        if (next < before.size() && d.issue == before.at(next).issue) {
            if (d.number != before.at(next).number)
                FUZZ_CHECK(takeNew && offeredDraws.contains({issueKey(d.issue), d.number}));
            ++next;
            continue;
        }
        FUZZ_CHECK(!checkDraw(d));
        FUZZ_CHECK(!held.contains(issueKey(d.issue)));
        FUZZ_CHECK(!added.contains(issueKey(d.issue)));
        FUZZ_CHECK(offeredDraws.contains({issueKey(d.issue), d.number}));
        added.insert(issueKey(d.issue));
    }
    FUZZ_CHECK(next == before.size());
    const auto inIssueOrder = [](const QList<Draw> &draws) {
        for (qsizetype i = 1; i < draws.size(); ++i)
            if (!isDigitIssue(draws.at(i).issue) || compareIssueValues(draws.at(i - 1).issue, draws.at(i).issue) >= 0)
                return false;
        return draws.isEmpty() || isDigitIssue(draws.first().issue);
    };
    const bool digits = std::ranges::all_of(after, [](const Draw &d) { return isDigitIssue(d.issue); });
    if (digits && inIssueOrder(before))
        FUZZ_CHECK(inIssueOrder(after));
}

} // namespace fuzzsupport
