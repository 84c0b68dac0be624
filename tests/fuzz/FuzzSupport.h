#pragma once

// Shared by the fuzz targets. Each target is built twice: with libFuzzer, to
// search for inputs that break it, and into a plain executable that replays the
// stored corpus and the inputs that once broke it, so the normal test run
// catches a regression without fuzzing.

#include <QByteArray>
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

} // namespace fuzzsupport
