#pragma once

#include <QByteArray>
#include <QNetworkProxy>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <memory>

class QTcpSocket;

namespace numsieve {

// What one GET brought back. No file covers everything the program treats
// alike: no connection, an error status, no answer in time, a redirect away
// from the server asked, or no URL at all.
struct HttpAnswer {
    enum Status { File, NoFile, TooLarge };
    Status status = NoFile;
    QByteArray body;
};

class HttpResponseReader;

// One plain HTTP GET with the system proxy settings that never blocks the
// thread: finished() is emitted exactly once per start(), always after
// start() has returned, also when there is nothing to send.
//
// Whatever a server sends is untrusted: the answer is read as it arrives,
// within HttpResponseReader's bounds (header lines, body as sent and as
// unpacked), and the request is given up the moment it passes one; one
// deadline covers the whole exchange, connection, header lines and redirects
// included, and once given up nothing of it goes on. A redirect is followed
// only to the same host and port, over http or https, and at most
// kMaxRedirects times.
//
// The exchange is our own on a socket of this thread rather than Qt's HTTP
// layer: that one reads header lines without limit in a thread of its own,
// which goes on reading (and holding memory) after the reply is aborted, and
// it reports an answer that unpacks past its limit as a mere network error.
class HttpGet : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultTimeoutMs = 20000;
    // Every answer the program reads is a few hundred kilobytes at most;
    // anything far larger must not fill the memory before it is refused.
    static constexpr qint64 kMaxBodyBytes = 8 * 1024 * 1024;
    static constexpr int kMaxRedirects = 3;

    explicit HttpGet(QObject *parent = nullptr);
    ~HttpGet() override;

    // The whole request, connection included, must end within this time.
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    int timeout() const { return m_timeoutMs; }
    bool isRunning() const { return m_running; }

    // Ignored while a request runs. An invalid URL sends nothing: no file.
    void start(const QUrl &url);

Q_SIGNALS:
    void finished(const numsieve::HttpAnswer &answer);

private:
    void send(const QUrl &url);
    void sendRequest();
    void readArrived();
    void closed();
    // Acts on what the answer says so far; true when the exchange is over.
    bool answered();
    void dropSocket();
    // Ends the request now, whatever the socket is still doing.
    void giveUp(HttpAnswer::Status status);
    void finish(HttpAnswer answer);

    QPointer<QTcpSocket> m_socket;
    std::unique_ptr<HttpResponseReader> m_reader;
    QNetworkProxy m_proxy;   // an HTTP proxy asked with the whole URL
    QUrl m_asked;
    QUrl m_current;
    int m_redirects = 0;
    QTimer m_deadline;
    int m_timeoutMs = kDefaultTimeoutMs;
    bool m_running = false;
};

// "http://" + host + pathAndQuery, or an invalid URL when the host is empty
// or would change the request: a "/" or "@" in a configured host would
// silently ask another path or another server.
QUrl hostUrl(const QString &host, const QString &pathAndQuery);

// Whether a URL may be handed to the browser: http or https with a host.
// Anything else a server or a file names (file:, javascript:, a program's
// own scheme) would run or show something on this machine.
bool isWebUrl(const QUrl &url);

// Whether a redirect from `from` to `to` stays on the server asked: the same
// host and port, http or https.
bool isSameServer(const QUrl &from, const QUrl &to);

} // namespace numsieve
