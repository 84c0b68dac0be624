#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace testsupport {

// A web server on loopback that never finishes its answer: a chunked body
// without end, header lines without end, or a header dripped a byte at a
// time. It writes only as fast as the client reads, and stops by itself after
// maxBytes or maxMs, so a client that fails to give up cannot hang a test.
class HostileHttpServer : public QObject
{
public:
    enum Mode { EndlessChunkedBody, EndlessHeaders, DripHeaders };

    explicit HostileHttpServer(Mode mode, qint64 maxBytes = 512ll * 1024 * 1024, int maxMs = 60000)
        : m_mode(mode), m_maxBytes(maxBytes), m_maxMs(maxMs)
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                serve(socket);
        });
    }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }

    int connections = 0;
    qint64 bytesSent = 0;   // over all connections
    bool clientClosed = false;   // the client hung up before the server stopped
    bool gaveUp = false;          // the server reached its own bound

private:
    void serve(QTcpSocket *socket)
    {
        ++connections;
        m_clock.start();
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (!gaveUp)
                clientClosed = true;
            socket->deleteLater();
        });
        if (m_mode == DripHeaders) {
            auto *drip = new QTimer(socket);
            connect(drip, &QTimer::timeout, socket, [this, socket] { send(socket, 1); });
            drip->start(20);
        } else {
            connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket] { topUp(socket); });
        }
        // Answer at once, whatever the request says.
        if (m_mode == DripHeaders)
            send(socket, 1);
        else
            topUp(socket);
    }

    void topUp(QTcpSocket *socket)
    {
        while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 256 * 1024 && !gaveUp)
            send(socket, 64 * 1024);
    }

    // Writes the next piece of the endless answer, about `size` bytes.
    void send(QTcpSocket *socket, qint64 size)
    {
        if (gaveUp || socket->state() != QAbstractSocket::ConnectedState)
            return;
        if (bytesSent >= m_maxBytes || m_clock.elapsed() >= m_maxMs) {
            gaveUp = true;
            socket->disconnectFromHost();
            return;
        }
        QByteArray piece;
        if (bytesSent == 0 && m_mode != DripHeaders)
            piece = m_mode == EndlessChunkedBody ? "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                                 : "HTTP/1.1 200 OK\r\n";
        if (m_mode == EndlessChunkedBody)
            piece += QByteArray::number(size, 16) + "\r\n" + QByteArray(size, '7') + "\r\n";
        else if (m_mode == EndlessHeaders)
            piece += "X-Padding: " + QByteArray(size, 'a') + "\r\n";
        else
            piece = bytesSent < m_drip.size() ? m_drip.mid(bytesSent, 1) : QByteArray("a");
        bytesSent += socket->write(piece);
    }

    const QByteArray m_drip = "HTTP/1.1 200 OK\r\nX-Drip: ";
    QTcpServer m_server;
    QElapsedTimer m_clock;
    Mode m_mode;
    qint64 m_maxBytes;
    int m_maxMs;
};

} // namespace testsupport
