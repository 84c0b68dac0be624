#include "core/online/HttpGet.h"

#include "core/online/HttpResponse.h"

#include <QNetworkProxyFactory>
#include <QTcpSocket>
#if QT_CONFIG(ssl)
#include <QSslSocket>
#endif

#include <mutex>

namespace numsieve {

namespace {

// How much the socket may hold for us before it stops reading; we take it
// as it comes, so a body that never ends costs no more than the limit.
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

bool isHttpProxy(const QNetworkProxy &proxy)
{
    return proxy.type() == QNetworkProxy::HttpProxy || proxy.type() == QNetworkProxy::HttpCachingProxy;
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
    // Nobody listens any more; the socket must not call back into a half
    // destroyed object.
    dropSocket();
}

void HttpGet::start(const QUrl &url)
{
    if (m_running)
        return;
    m_running = true;
    m_asked = url;
    m_redirects = 0;
    if (!url.isValid() || url.host().isEmpty() || !isWebScheme(url.scheme())) {
        // Queued, so that a caller may connect or enter its event loop after start().
        QTimer::singleShot(0, this, [this] { finish({}); });
        return;
    }
    m_deadline.start(m_timeoutMs);
    QTimer::singleShot(0, this, [this] {
        if (m_running && !m_socket)
            send(m_asked);
    });
}

void HttpGet::send(const QUrl &url)
{
    dropSocket();
    m_current = url;
    m_reader = std::make_unique<HttpResponseReader>(kMaxBodyBytes);
    const bool tls = url.scheme() == QLatin1String("https");
#if QT_CONFIG(ssl)
    QTcpSocket *socket = tls ? new QSslSocket(this) : new QTcpSocket(this);
#else
    if (tls)
        return giveUp(HttpAnswer::NoFile);
    QTcpSocket *socket = new QTcpSocket(this);
#endif
    m_socket = socket;
    socket->setReadBufferSize(kReadBufferBytes);
    // The system's proxy for this URL. An HTTP proxy is asked for a plain
    // URL itself, and tunnels an encrypted one; the socket speaks to any
    // other kind of proxy by itself.
    const QList<QNetworkProxy> proxies = QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(url));
    const QNetworkProxy proxy = proxies.value(0, QNetworkProxy(QNetworkProxy::NoProxy));
    m_proxy = QNetworkProxy(QNetworkProxy::NoProxy);
    QString host = url.host();
    quint16 port = quint16(effectivePort(url));
    if (isHttpProxy(proxy) && !tls) {
        m_proxy = proxy;
        host = proxy.hostName();
        port = proxy.port();
        socket->setProxy(QNetworkProxy::NoProxy);
    } else if (isHttpProxy(proxy) || proxy.type() == QNetworkProxy::Socks5Proxy) {
        QNetworkProxy tunnel = proxy;
        tunnel.setType(proxy.type() == QNetworkProxy::Socks5Proxy ? QNetworkProxy::Socks5Proxy : QNetworkProxy::HttpProxy);
        socket->setProxy(tunnel);
    } else {
        socket->setProxy(QNetworkProxy::NoProxy);
    }
    connect(socket, &QTcpSocket::readyRead, this, &HttpGet::readArrived);
    connect(socket, &QTcpSocket::disconnected, this, &HttpGet::closed);
    connect(socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (error == QAbstractSocket::RemoteHostClosedError)
            closed();
        else
            giveUp(HttpAnswer::NoFile);
    });
#if QT_CONFIG(ssl)
    if (tls) {
        auto *secure = static_cast<QSslSocket *>(socket);
        connect(secure, &QSslSocket::encrypted, this, &HttpGet::sendRequest);
        secure->connectToHostEncrypted(host, port);
        return;
    }
#endif
    connect(socket, &QTcpSocket::connected, this, &HttpGet::sendRequest);
    socket->connectToHost(host, port);
}

void HttpGet::sendRequest()
{
    if (!m_socket)
        return;
    QByteArray target = m_current.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty())
        target = "/";
    if (m_current.hasQuery())
        target += '?' + m_current.query(QUrl::FullyEncoded).toLatin1();
    const QByteArray authority = m_current.adjusted(QUrl::RemoveUserInfo).authority(QUrl::FullyEncoded).toLatin1();
    if (m_proxy.type() != QNetworkProxy::NoProxy)
        target = m_current.scheme().toLatin1() + "://" + authority + target;
    QByteArray request = "GET " + target + " HTTP/1.1\r\nHost: " + authority
                         + "\r\nUser-Agent: Mozilla/5.0\r\nAccept-Encoding: gzip, deflate\r\nConnection: close\r\n";
    if (m_proxy.type() != QNetworkProxy::NoProxy && !m_proxy.user().isEmpty())
        request += "Proxy-Authorization: Basic "
                   + (m_proxy.user() + QLatin1Char(':') + m_proxy.password()).toUtf8().toBase64() + "\r\n";
    m_socket->write(request + "\r\n");
}

void HttpGet::readArrived()
{
    while (m_socket && m_socket->bytesAvailable() > 0) {
        m_reader->feed(m_socket->read(kReadBufferBytes));
        if (answered())
            return;
    }
}

void HttpGet::closed()
{
    if (!m_socket)
        return;
    readArrived();
    if (!m_socket)
        return;
    m_reader->close();   // the answer is now whole or cut short
    answered();
}

bool HttpGet::answered()
{
    using State = HttpResponseReader::State;
    switch (m_reader->state()) {
    case State::TooLarge: giveUp(HttpAnswer::TooLarge); return true;
    case State::Broken: giveUp(HttpAnswer::NoFile); return true;
    case State::Reading:
    case State::Done: break;
    }
    if (!m_reader->headerRead())
        return false;
    const int status = m_reader->status();
    if (status >= 300 && status <= 399) {
        const QByteArray location = m_reader->header("location");
        const QUrl next = m_current.resolved(QUrl::fromEncoded(location, QUrl::StrictMode));
        if (!location.isEmpty() && next.isValid() && m_redirects < kMaxRedirects && isSameServer(m_asked, next)) {
            ++m_redirects;
            send(next);
        } else {
            giveUp(HttpAnswer::NoFile);
        }
        return true;
    }
    // Only a 2xx answer carries the file. Any other status (an error page, a
    // redirect we did not follow) counts as the server returning no file,
    // like a failed connection or the deadline; its body is not waited for.
    if (status < 200 || status > 299) {
        giveUp(HttpAnswer::NoFile);
        return true;
    }
    if (m_reader->state() != State::Done)
        return false;
    const QByteArray body = m_reader->body();
    m_deadline.stop();
    dropSocket();
    finish({HttpAnswer::File, body});
    return true;
}

void HttpGet::dropSocket()
{
    if (QTcpSocket *socket = m_socket) {
        m_socket.clear();
        // Nothing more of this connection may reach us.
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    m_reader.reset();
}

void HttpGet::giveUp(HttpAnswer::Status status)
{
    if (!m_running)
        return;
    m_deadline.stop();
    dropSocket();
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
