#include "online/DrawDownload.h"

#include "online/OnlineHosts.h"
#include "selection/DigitRow.h"
#include "text/TextFile.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <algorithm>
#include <array>
#include <mutex>

namespace numsieve {

namespace {

// A draw list of decades is a few hundred kilobytes; anything far larger is
// not one, and must not fill the memory before the parser gets to refuse it.
constexpr qint64 kMaxBodyBytes = 8 * 1024 * 1024;

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

void useSystemProxyOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { QNetworkProxyFactory::setUseSystemConfiguration(true); });
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
    if (host.isEmpty() || path.isEmpty())
        return {};
    QString request = path;
    request.replace(QLatin1String("%d"), QString::number(queryNumber));
    const QUrl url(QStringLiteral("http://") + host + request, QUrl::StrictMode);
    // A "/" or "@" in the configured host would silently ask another path or
    // another server.
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty()
        || url.path() != path.left(path.indexOf(QLatin1Char('?'))))
        return {};
    return url;
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
        if (!isThreeDigits(number))
            return {{}, msg::kUpdateDataRefused, {}};
        outcome.draws.append(Draw{line.left(split), number});
    }
    return outcome;
}

DownloadOutcome parseDrawListBody(const QByteArray &body)
{
    return parseDrawList(decodeLines(body));
}

DrawDownload::DrawDownload(QObject *parent)
    : QObject(parent)
{
    useSystemProxyOnce();
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        if (m_reply)
            m_reply->abort();   // finishes the reply with an error
    });
}

DrawDownload::~DrawDownload()
{
    // Nobody listens any more; the reply must not call back into a half
    // destroyed object.
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

void DrawDownload::start(const QString &host, int lotteryNumber)
{
    if (m_running)
        return;
    m_running = true;
    m_tooLarge = false;
    m_url = drawListUrl(host, lotteryNumber, RandomSource::global().next());
    if (!m_url.isValid()) {
        m_url.clear();
        // Queued, so that a caller may connect or enter its event loop after start().
        QTimer::singleShot(0, this, [this] { finish({{}, msg::kUpdateServerNotFound, {}}); });
        return;
    }

    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    m_reply = m_network->get(QNetworkRequest(m_url));
    connect(m_reply, &QNetworkReply::finished, this, &DrawDownload::onReplyFinished);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        if (received > kMaxBodyBytes && m_reply) {
            m_tooLarge = true;
            m_reply->abort();
        }
    });
    m_deadline.start(m_timeoutMs);
}

void DrawDownload::onReplyFinished()
{
    m_deadline.stop();
    QNetworkReply *reply = m_reply;
    m_reply.clear();
    if (!reply)
        return;
    reply->deleteLater();

    if (m_tooLarge) {
        finish({{}, msg::kUpdateDataRefused, m_url});
        return;
    }
    // Only a 2xx answer carries the list. Any other status (an error page, a
    // redirect we could not follow) counts as the server returning no file,
    // like a failed connection or the deadline.
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status < 200 || status > 299) {
        finish({{}, msg::kUpdateServerNotFound, m_url});
        return;
    }
    DownloadOutcome outcome = parseDrawListBody(reply->readAll());
    outcome.url = m_url;
    finish(std::move(outcome));
}

void DrawDownload::finish(DownloadOutcome outcome)
{
    m_running = false;
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
