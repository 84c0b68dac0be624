#include "online/HttpGet.h"

#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <mutex>

namespace numsieve {

namespace {

void useSystemProxyOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { QNetworkProxyFactory::setUseSystemConfiguration(true); });
}

} // namespace

HttpGet::HttpGet(QObject *parent)
    : QObject(parent)
{
    useSystemProxyOnce();
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        if (m_reply)
            m_reply->abort();   // finishes the reply with an error
    });
}

HttpGet::~HttpGet()
{
    // Nobody listens any more; the reply must not call back into a half
    // destroyed object.
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

void HttpGet::start(const QUrl &url)
{
    if (m_running)
        return;
    m_running = true;
    m_tooLarge = false;
    if (!url.isValid() || url.host().isEmpty()) {
        // Queued, so that a caller may connect or enter its event loop after start().
        QTimer::singleShot(0, this, [this] { finish({}); });
        return;
    }
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    m_reply = m_network->get(QNetworkRequest(url));
    connect(m_reply, &QNetworkReply::finished, this, &HttpGet::onReplyFinished);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        if (received > kMaxBodyBytes && m_reply) {
            m_tooLarge = true;
            m_reply->abort();
        }
    });
    m_deadline.start(m_timeoutMs);
}

void HttpGet::onReplyFinished()
{
    m_deadline.stop();
    QNetworkReply *reply = m_reply;
    m_reply.clear();
    if (!reply)
        return;
    reply->deleteLater();
    if (m_tooLarge) {
        finish({HttpAnswer::TooLarge, {}});
        return;
    }
    // Only a 2xx answer carries the file. Any other status (an error page, a
    // redirect we could not follow) counts as the server returning no file,
    // like a failed connection or the deadline.
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status < 200 || status > 299) {
        finish({});
        return;
    }
    finish({HttpAnswer::File, reply->readAll()});
}

void HttpGet::finish(HttpAnswer answer)
{
    m_running = false;
    Q_EMIT finished(answer);
}

QUrl hostUrl(const QString &host, const QString &pathAndQuery)
{
    if (host.isEmpty())
        return {};
    const QUrl url(QStringLiteral("http://") + host + pathAndQuery, QUrl::StrictMode);
    const QString path = pathAndQuery.left(pathAndQuery.indexOf(QLatin1Char('?')));
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty() || url.path() != path)
        return {};
    return url;
}

} // namespace numsieve
