#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

#include <zlib.h>

namespace testsupport {

// gzip of `size` zero bytes: a small answer that unpacks to a huge one.
inline QByteArray gzipOfZeros(qint64 size)
{
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, 16 + MAX_WBITS, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    const QByteArray zeros(1 << 20, '\0');
    QByteArray out;
    char buffer[1 << 16];
    for (qint64 left = size; left >= 0; left -= zeros.size()) {
        z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(zeros.constData()));
        z.avail_in = uInt(std::min<qint64>(left, zeros.size()));
        const int flush = left <= zeros.size() ? Z_FINISH : Z_NO_FLUSH;
        do {
            z.next_out = reinterpret_cast<Bytef *>(buffer);
            z.avail_out = sizeof buffer;
            deflate(&z, flush);
            out.append(buffer, qsizetype(sizeof buffer - z.avail_out));
        } while (z.avail_out == 0);
        if (flush == Z_FINISH)
            break;
    }
    deflateEnd(&z);
    return out;
}

// A web server on loopback that never finishes its answer, or whose answer
// is far larger than it looks: a chunked body without end, header lines
// without end (long ones, 8000-byte ones, or one line that never ends), a
// header dripped a byte at a time, or a small gzip body that unpacks to
// `unpacked` bytes (a gigabyte unless told). It writes only as fast as the client reads, and stops by itself
// after maxBytes or maxMs, so a client that fails to give up cannot hang a test.
class HostileHttpServer : public QObject
{
public:
    enum Mode { EndlessChunkedBody, EndlessHeaders, DripHeaders, ShortHeaderLines, OneEndlessHeaderLine, GzipBomb };

    explicit HostileHttpServer(Mode mode, qint64 maxBytes = 512ll * 1024 * 1024, int maxMs = 60000,
                               qint64 unpacked = 1ll << 30)
        : m_mode(mode), m_maxBytes(maxBytes), m_maxMs(maxMs)
    {
        if (mode == GzipBomb) {
            const QByteArray body = gzipOfZeros(unpacked);
            m_bomb = "HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: " + QByteArray::number(body.size())
                     + "\r\n\r\n" + body;
        }
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
        while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 256 * 1024 && !gaveUp
               && !(m_mode == GzipBomb && bytesSent >= m_bomb.size()))
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
        if (m_mode == GzipBomb) {
            // Sent whole; the client must end it from there.
            bytesSent += socket->write(m_bomb.mid(bytesSent, size));
            return;
        }
        if (bytesSent == 0 && m_mode != DripHeaders)
            piece = m_mode == EndlessChunkedBody ? "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                                 : "HTTP/1.1 200 OK\r\n";
        if (bytesSent == 0 && m_mode == OneEndlessHeaderLine)
            piece += "X-Padding: ";
        if (m_mode == EndlessChunkedBody)
            piece += QByteArray::number(size, 16) + "\r\n" + QByteArray(size, '7') + "\r\n";
        else if (m_mode == EndlessHeaders)
            piece += "X-Padding: " + QByteArray(size, 'a') + "\r\n";
        else if (m_mode == ShortHeaderLines)
            for (qint64 n = 0; n < size; n += 8000)
                piece += "X-Padding: " + QByteArray(8000 - 13, 'a') + "\r\n";
        else if (m_mode == OneEndlessHeaderLine)
            piece += QByteArray(size, 'a');
        else
            piece = bytesSent < m_drip.size() ? m_drip.mid(bytesSent, 1) : QByteArray("a");
        bytesSent += socket->write(piece);
    }

    const QByteArray m_drip = "HTTP/1.1 200 OK\r\nX-Drip: ";
    QTcpServer m_server;
    QElapsedTimer m_clock;
    QByteArray m_bomb;   // the whole answer of a gzip bomb
    Mode m_mode;
    qint64 m_maxBytes;
    int m_maxMs;
};

} // namespace testsupport
