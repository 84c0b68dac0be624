#include "online/HttpGet.h"

#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <mutex>

namespace numsieve {

namespace {

// How much the network layer may hold for us before it stops reading from
// the socket; we take it as it comes, so a body that never ends costs no
// more than the limit itself.
constexpr qint64 kReadBufferBytes = 64 * 1024;

void useSystemProxyOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { QNetworkProxyFactory::setUseSystemConfiguration(true); });
}

bool isWebScheme(const QString &scheme)
{
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

int effectivePort(const QUrl &url)
{
    return url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
}

} // namespace

HttpGet::HttpGet(QObject *parent)
    : QObject(parent)
{
    useSystemProxyOnce();
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] { giveUp(HttpAnswer::NoFile); });
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
    m_body.clear();
    m_asked = url;
    if (!url.isValid() || url.host().isEmpty()) {
        // Queued, so that a caller may connect or enter its event loop after start().
        QTimer::singleShot(0, this, [this] { finish({}); });
        return;
    }
    m_redirects = 0;
    m_deadline.start(m_timeoutMs);
    send(url);
}

void HttpGet::send(const QUrl &url)
{
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    m_body.clear();
    QNetworkRequest request(url);
    // Redirects are ours to check and follow: see onReplyFinished().
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    m_reply = m_network->get(request);
    m_reply->setReadBufferSize(kReadBufferBytes);
    connect(m_reply, &QNetworkReply::readyRead, this, &HttpGet::readArrived);
    connect(m_reply, &QNetworkReply::finished, this, &HttpGet::onReplyFinished);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, [this] {
        // A declared length beyond the limit need not be read to be refused.
        const QVariant length = m_reply ? m_reply->header(QNetworkRequest::ContentLengthHeader) : QVariant();
        if (length.isValid() && length.toLongLong() > kMaxBodyBytes)
            giveUp(HttpAnswer::TooLarge);
    });
}

void HttpGet::readArrived()
{
    if (!m_reply)
        return;
    // One byte beyond the limit is enough to know the answer is too large.
    m_body += m_reply->read(kMaxBodyBytes + 1 - m_body.size());
    if (m_body.size() > kMaxBodyBytes)
        giveUp(HttpAnswer::TooLarge);
}

void HttpGet::onReplyFinished()
{
    readArrived();
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;   // given up while reading the rest
    m_reply.clear();
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QUrl target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
    if (reply->error() == QNetworkReply::NoError && status >= 300 && status <= 399 && !target.isEmpty()) {
        const QUrl next = reply->url().resolved(target);
        if (m_redirects < kMaxRedirects && isSameServer(m_asked, next)) {
            ++m_redirects;
            send(next);
            return;
        }
    }
    m_deadline.stop();
    // Only a 2xx answer carries the file. Any other status (an error page, a
    // redirect we did not follow) counts as the server returning no file,
    // like a failed connection or the deadline.
    if (reply->error() != QNetworkReply::NoError || status < 200 || status > 299) {
        finish({});
        return;
    }
    finish({HttpAnswer::File, std::exchange(m_body, {})});
}

void HttpGet::giveUp(HttpAnswer::Status status)
{
    m_deadline.stop();
    QNetworkReply *reply = m_reply;
    m_reply.clear();
    m_body.clear();
    if (!reply)
        return;
    // Nothing more of this reply may reach us, not even its own finished().
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
    finish({status, {}});
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

bool isWebUrl(const QUrl &url)
{
    return url.isValid() && isWebScheme(url.scheme()) && !url.host().isEmpty();
}

bool isSameServer(const QUrl &from, const QUrl &to)
{
    return isWebUrl(from) && isWebUrl(to) && from.host().compare(to.host(), Qt::CaseInsensitive) == 0
        && effectivePort(from) == effectivePort(to);
}

} // namespace numsieve
