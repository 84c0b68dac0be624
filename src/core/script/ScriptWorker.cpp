#include "core/script/ScriptWorker.h"

#include "core/Messages.h"
#include "core/script/HistoryArrays.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace numsieve {

namespace {

using Clock = std::chrono::steady_clock;

enum class Request : quint8 { Trial = 1, Prepare = 2, Test = 3 };

// A worker past its deadline is given this much longer to answer on its own:
// its watchdog stops the script at the deadline itself, and only a script
// that no interrupt reaches is left for the kill.
constexpr std::chrono::milliseconds kKillGrace{500};

// A frame longer than this is not one the program wrote.
constexpr quint32 kMaxFrame = 64u << 20;

qint64 millisLeft(Clock::time_point deadline)
{
    return std::max<qint64>(0, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
}

Clock::time_point deadlineAfter(qint64 millis) { return Clock::now() + std::chrono::milliseconds(millis); }

QByteArray framed(const QByteArray &payload)
{
    const quint32 size = quint32(payload.size());
    QByteArray frame;
    frame.reserve(payload.size() + 4);
    for (int shift = 24; shift >= 0; shift -= 8)
        frame.append(char((size >> shift) & 0xff));
    return frame + payload;
}

quint32 frameSize(const QByteArray &head)
{
    quint32 size = 0;
    for (int i = 0; i < 4; ++i)
        size = (size << 8) | quint8(head[i]);
    return size;
}

// The worker is this build's own program on the same machine: numbers and
// verdicts travel as they lie in memory, without a stream operation each.
QByteArray packNumbers(const QList<int> &numbers)
{
    return QByteArray(reinterpret_cast<const char *>(numbers.constData()), numbers.size() * qsizetype(sizeof(int)));
}

QList<int> unpackNumbers(const QByteArray &bytes)
{
    QList<int> numbers(bytes.size() / qsizetype(sizeof(int)));
    std::memcpy(numbers.data(), bytes.constData(), std::size_t(numbers.size()) * sizeof(int));
    return numbers;
}

QByteArray packVerdicts(const QList<bool> &verdicts)
{
    QByteArray bytes(verdicts.size(), '\0');
    for (qsizetype i = 0; i < verdicts.size(); ++i)
        bytes[i] = verdicts[i] ? '\1' : '\0';
    return bytes;
}

QList<bool> unpackVerdicts(const QByteArray &bytes)
{
    QList<bool> verdicts(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        verdicts[i] = bytes[i] != '\0';
    return verdicts;
}

template<typename Write>
QByteArray encode(Write write)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    write(out);
    return payload;
}

} // namespace

QString scriptWorkerProgram()
{
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("numsieve-script.exe");
#else
    const QString name = QStringLiteral("numsieve-script");
#endif
    if (!QCoreApplication::instance())
        return name;
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

ScriptWorker &ScriptWorker::shared()
{
    static ScriptWorker worker;
    return worker;
}

ScriptWorker::ScriptWorker() = default;

ScriptWorker::~ScriptWorker() { stop(); }

void ScriptWorker::stop()
{
    std::lock_guard lock(m_mutex);
    if (!m_process)
        return;
    // The worker ends when its input does; a worker stuck in a script is killed.
    m_process->closeWriteChannel();
    if (!m_process->waitForFinished(1000)) {
        m_process->kill();
        m_process->waitForFinished(1000);
    }
    m_process.reset();
}

bool ScriptWorker::ensureRunning()
{
    if (m_process && m_process->state() == QProcess::Running)
        return true;
    m_process = std::make_unique<QProcess>();
    m_process->setProgram(scriptWorkerProgram());
    // Nothing the worker prints may reach the user's terminal or block it.
    m_process->setStandardErrorFile(QProcess::nullDevice());
    m_process->start();
    if (m_process->waitForStarted(5000))
        return true;
    m_process.reset();
    return false;
}

std::expected<QByteArray, QString> ScriptWorker::request(const QByteArray &payload, Clock::time_point deadline)
{
    std::lock_guard lock(m_mutex);
    if (!ensureRunning())
        return std::unexpected(msg::kScriptWorkerMissing);
    m_process->write(framed(payload));

    const auto killAt = deadline + kKillGrace;
    // Waiting in short slices lets a cancelled run give up at once.
    const qint64 slice = m_abandon ? 50 : 1000;
    QByteArray reply;
    for (;;) {
        reply += m_process->readAllStandardOutput();
        if (reply.size() >= 4 && quint32(reply.size() - 4) >= frameSize(reply))
            return reply.mid(4, frameSize(reply));
        if (m_process->state() != QProcess::Running) {
            // Out of memory, or a crash inside the engine: the script took the
            // worker down with it, and the next request starts a new one.
            m_process.reset();
            return std::unexpected(msg::kAdvancedAborted);
        }
        if (m_abandon && m_abandon->load()) {
            m_process->kill();
            m_process->waitForFinished(1000);
            m_process.reset();
            return std::unexpected(msg::kAdvancedAborted);
        }
        const qint64 left = millisLeft(killAt);
        if (left == 0) {
            m_process->kill();
            m_process->waitForFinished(1000);
            m_process.reset();
            return std::unexpected(msg::kAdvancedTimeout);
        }
        if (m_process->bytesToWrite() > 0)
            m_process->waitForBytesWritten(int(std::min<qint64>(left, 100)));
        else
            m_process->waitForReadyRead(int(std::min<qint64>(left, slice)));
    }
}

namespace {

// The message a trial or preparation answers with; empty means accepted.
std::expected<void, QString> refusal(const std::expected<QByteArray, QString> &reply)
{
    if (!reply)
        return std::unexpected(reply.error());
    QDataStream in(*reply);
    in.setVersion(QDataStream::Qt_6_0);
    QString message;
    in >> message;
    if (in.status() != QDataStream::Ok)
        return std::unexpected(msg::kAdvancedAborted);
    if (!message.isEmpty())
        return std::unexpected(message);
    return {};
}

} // namespace

std::expected<void, QString> ScriptWorker::trial(const QString &expression, const QStringList &draws,
                                                 std::chrono::milliseconds timeLimit)
{
    const auto deadline = Clock::now() + timeLimit;
    const auto reply = request(encode([&](QDataStream &out) {
                                   out << quint8(Request::Trial) << expression << draws << qint64(timeLimit.count())
                                       << millisLeft(deadline);
                               }),
                               deadline);
    return refusal(reply);
}

std::expected<ScriptWorker::Prepared, QString> ScriptWorker::prepare(const QString &conditionText,
                                                                    const QStringList &draws, EvaluationWay way,
                                                                    std::chrono::milliseconds timeLimit,
                                                                    Clock::time_point deadline, const QList<int> *ask,
                                                                    ListMode mode)
{
    Prepared prepared;
    {
        std::lock_guard lock(m_mutex);
        prepared.run = ++m_lastRun;
    }
    const auto reply = request(encode([&](QDataStream &out) {
                                   out << quint8(Request::Prepare) << prepared.run << conditionText << draws
                                       << quint8(way) << qint64(timeLimit.count()) << millisLeft(deadline)
                                       << bool(ask) << (ask ? packNumbers(*ask) : QByteArray()) << quint8(mode);
                               }),
                               deadline);
    if (auto refused = refusal(reply); !refused)
        return std::unexpected(refused.error());
    QDataStream in(*reply);
    in.setVersion(QDataStream::Qt_6_0);
    QString message;
    bool answered = false;
    QByteArray verdicts;
    in >> message >> prepared.repeatable >> answered >> verdicts;
    if (in.status() != QDataStream::Ok || (answered && (!ask || verdicts.size() != ask->size())))
        return std::unexpected(msg::kAdvancedAborted);
    if (answered)
        prepared.verdicts = unpackVerdicts(verdicts);
    return prepared;
}

std::expected<QList<bool>, QString> ScriptWorker::test(quint64 run, const QList<int> &numbers, ListMode mode,
                                                       Clock::time_point deadline)
{
    const auto reply = request(encode([&](QDataStream &out) {
                                   out << quint8(Request::Test) << run << packNumbers(numbers) << quint8(mode)
                                       << millisLeft(deadline);
                               }),
                               deadline);
    if (!reply)
        return std::unexpected(reply.error());
    QDataStream in(*reply);
    in.setVersion(QDataStream::Qt_6_0);
    QString message;
    QByteArray verdicts;
    in >> message >> verdicts;
    if (in.status() != QDataStream::Ok || (message.isEmpty() && verdicts.size() != numbers.size()))
        return std::unexpected(msg::kAdvancedAborted);
    if (!message.isEmpty())
        return std::unexpected(message);
    return unpackVerdicts(verdicts);
}

namespace {

bool readExactly(char *data, std::size_t size)
{
    return std::fread(data, 1, size, stdin) == size;
}

QByteArray answerTrial(QDataStream &in)
{
    QString expression;
    QStringList draws;
    qint64 limit = 0;
    qint64 left = 0;
    in >> expression >> draws >> limit >> left;
    ScriptEngine engine{std::chrono::milliseconds(limit)};
    engine.setDeadline(deadlineAfter(left));
    std::expected<void, ScriptFailure> outcome = engine.addCode(historyText(draws));
    if (outcome)
        outcome = engine.addCode(computeText(expression));
    if (outcome) {
        if (const auto ran = engine.run(QStringLiteral("compute")); !ran)
            outcome = std::unexpected(ran.error());
    }
    const QString message = outcome ? QString()
        : outcome.error() == ScriptFailure::Interrupted ? msg::kAdvancedTimeout
                                                        : msg::kExpressionIncomplete;
    return encode([&](QDataStream &out) { out << message; });
}

// The engine of the run prepared last, kept from its pre-check through its
// tests.
struct PreparedRun {
    std::unique_ptr<ScriptEvaluator> evaluator;
    quint64 run = 0;
    quint8 way = 0;
    qint64 limit = 0;
};

QByteArray answerPrepare(QDataStream &in, PreparedRun &prepared)
{
    QString conditionText;
    QStringList draws;
    quint8 way = 0;
    qint64 limit = 0;
    qint64 left = 0;
    bool ask = false;
    QByteArray numbers;
    quint8 mode = 0;
    in >> prepared.run >> conditionText >> draws >> way >> limit >> left >> ask >> numbers >> mode;
    // The evaluator of the last run serves the next one of the same kind; it
    // decides itself what of its engine it may keep.
    if (!prepared.evaluator || way != prepared.way || limit != prepared.limit) {
        prepared.evaluator = std::make_unique<ScriptEvaluator>(EvaluationWay(way), std::chrono::milliseconds(limit));
        prepared.way = way;
        prepared.limit = limit;
    }
    ScriptEvaluator &evaluator = *prepared.evaluator;
    evaluator.setDeadline(deadlineAfter(left));
    std::expected<void, QString> outcome = evaluator.prepare(conditionText, draws);
    const bool repeatable = outcome && evaluator.repeatableVerdicts();
    std::expected<QList<bool>, QString> verdicts;
    const bool answered = outcome && repeatable && ask;
    if (answered) {
        verdicts = evaluator.testMany(unpackNumbers(numbers), ListMode(mode));
        if (!verdicts)
            outcome = std::unexpected(verdicts.error());
    }
    if (!outcome)
        prepared.evaluator.reset();
    return encode([&](QDataStream &out) {
        out << (outcome ? QString() : outcome.error()) << repeatable << (outcome && answered)
            << (outcome && answered ? packVerdicts(*verdicts) : QByteArray());
    });
}

QByteArray answerTest(QDataStream &in, PreparedRun &prepared)
{
    quint64 run = 0;
    QByteArray numbers;
    quint8 mode = 0;
    qint64 left = 0;
    in >> run >> numbers >> mode >> left;
    std::expected<QList<bool>, QString> verdicts = std::unexpected(msg::kAdvancedIncomplete);
    if (prepared.evaluator && run == prepared.run) {
        prepared.evaluator->setDeadline(deadlineAfter(left));
        verdicts = prepared.evaluator->testMany(unpackNumbers(numbers), ListMode(mode));
    }
    return encode([&](QDataStream &out) {
        out << (verdicts ? QString() : verdicts.error()) << (verdicts ? packVerdicts(*verdicts) : QByteArray());
    });
}

} // namespace

int serveScriptRequests()
{
#ifdef Q_OS_WIN
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    PreparedRun prepared;
    for (;;) {
        QByteArray head(4, '\0');
        if (!readExactly(head.data(), 4))
            return 0;
        const quint32 size = frameSize(head);
        if (size > kMaxFrame)
            return 1;
        QByteArray payload(qsizetype(size), '\0');
        if (!readExactly(payload.data(), size))
            return 0;
        QDataStream in(payload);
        in.setVersion(QDataStream::Qt_6_0);
        quint8 kind = 0;
        in >> kind;

        QByteArray reply;
        switch (Request(kind)) {
        case Request::Trial:
            prepared.evaluator.reset();
            reply = answerTrial(in);
            break;
        case Request::Prepare: reply = answerPrepare(in, prepared); break;
        case Request::Test: reply = answerTest(in, prepared); break;
        default:
            return 1;
        }
        const QByteArray frame = framed(reply);
        if (std::fwrite(frame.constData(), 1, std::size_t(frame.size()), stdout) != std::size_t(frame.size())
            || std::fflush(stdout) != 0)
            return 0;
    }
}

} // namespace numsieve
