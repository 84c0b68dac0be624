#include "core/online/DrawDownload.h"

#include "core/online/OnlineHosts.h"
#include "core/selection/DigitRow.h"
#include "core/text/TextFile.h"

#include <QEventLoop>

#include <algorithm>
#include <array>

namespace numsieve {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

QString trimBlanks(const QString &line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && isBlank(line.at(begin)))
        ++begin;
    while (end > begin && isBlank(line.at(end - 1)))
        --end;
    return line.mid(begin, end - begin);
}

bool isThreeDigits(const QString &text)
{
    return text.size() == 3
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

} // namespace

QString drawListPathTemplate(int lotteryNumber)
{
    static const std::array<QString, 4> paths = {
        QStringLiteral("/analyse/issue_3d.jsp?%d"),
        QStringLiteral("/analyse/issue_pl3.jsp?%d"),
        QStringLiteral("/analyse/issue_ssl.jsp?%d"),
        QStringLiteral("/analyse/issue_ssc.jsp?%d"),
    };
    if (lotteryNumber < 1 || lotteryNumber > int(paths.size()))
        return {};
    return paths[std::size_t(lotteryNumber - 1)];
}

QUrl drawListUrl(const QString &host, int lotteryNumber, int queryNumber)
{
    const QString path = drawListPathTemplate(lotteryNumber);
    if (path.isEmpty())
        return {};
    return hostUrl(host, QString(path).replace(QLatin1String("%d"), QString::number(queryNumber)));
}

DownloadOutcome parseDrawList(const QStringList &lines)
{
    DownloadOutcome outcome;
    for (const QString &raw : lines) {
        const QString line = trimBlanks(raw);
        if (line.isEmpty())
            continue;
        const qsizetype split = line.indexOf(QLatin1Char('$'));
        const QString number = split < 0 ? QString() : line.mid(split + 1);
        if (split < 1 || !isThreeDigits(number))
            return {{}, msg::withCause(msg::kUpdateDataRefused, msg::kAnswerNotDrawList), {}};
        outcome.draws.append(Draw{line.left(split), number});
    }
    if (outcome.draws.isEmpty())
        outcome.message = msg::withCause(msg::kUpdateDataRefused, msg::kNoDrawsOnServer);
    return outcome;
}

DownloadOutcome parseDrawListBody(const QByteArray &body)
{
    return parseDrawList(decodeLines(body));
}

DrawDownload::DrawDownload(QObject *parent)
    : QObject(parent)
{
    connect(&m_get, &HttpGet::finished, this, [this](const HttpAnswer &answer) {
        switch (answer.status) {
        case HttpAnswer::NoFile: finish({{}, msg::kUpdateServerNotFound, m_url}); return;
        case HttpAnswer::TooLarge:
            finish({{}, msg::withCause(msg::kUpdateDataRefused, msg::kAnswerTooLarge), m_url});
            return;
        case HttpAnswer::File: break;
        }
        DownloadOutcome outcome = parseDrawListBody(answer.body);
        outcome.url = m_url;
        finish(std::move(outcome));
    });
}

void DrawDownload::start(const QString &host, int lotteryNumber)
{
    if (m_get.isRunning())
        return;
    m_url = drawListUrl(host, lotteryNumber, RandomSource::global().next());
    m_noHost = host.isEmpty();
    m_get.start(m_url);
}

void DrawDownload::finish(DownloadOutcome outcome)
{
    // Nothing was sent because nothing is configured: checking the network
    // would not help.
    if (m_noHost && outcome.message == msg::kUpdateServerNotFound)
        outcome.message = msg::withCause(outcome.message, msg::kNoAnalysisHost);
    Q_EMIT finished(outcome);
}

DownloadOutcome downloadDrawsBlocking(const QString &dataDir, int lotteryNumber, int timeoutMs)
{
    DrawDownload download;
    download.setTimeout(timeoutMs);
    DownloadOutcome outcome;
    QEventLoop loop;
    QObject::connect(&download, &DrawDownload::finished, &loop, [&](const DownloadOutcome &result) {
        outcome = result;
        loop.quit();
    });
    download.start(loadOnlineHosts(dataDir).analysis, lotteryNumber);
    loop.exec();
    return outcome;
}

} // namespace numsieve
