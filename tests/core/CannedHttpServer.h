#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

namespace testsupport {

// A one-shot HTTP server on loopback: answers every request with a canned
// response and closes, or, when silent, accepts and never says a word. The
// first requests are sent on to the locations in `redirects`, one each.
class CannedServer : public QObject
{
public:
    explicit CannedServer(QByteArray body = {}, QByteArray status = "200 OK", bool silent = false)
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this, body, status, silent] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket, body, status, silent] {
                    m_pending[socket] += socket->readAll();
                    const QByteArray &head = m_pending[socket];
                    if (!head.contains("\r\n\r\n") || silent)
                        return;
                    requestLines.append(QString::fromLatin1(head.left(head.indexOf("\r\n"))));
                    if (!redirects.isEmpty()) {
                        // The connection stays open for the next request, as
                        // the client may send it on this one.
                        m_pending[socket].remove(0, head.indexOf("\r\n\r\n") + 4);
                        socket->write("HTTP/1.1 302 Found\r\nLocation: " + redirects.takeFirst()
                                      + "\r\nContent-Length: 0\r\n\r\n");
                        return;
                    }
                    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: text/plain\r\nContent-Length: "
                                  + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
            }
        });
    }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }

    QStringList requestLines;
    QList<QByteArray> redirects;

private:
    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_pending;
};

inline QString closedPortHost()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("127.0.0.1:%1").arg(port);
}

} // namespace testsupport
