#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

namespace testsupport {

// A one-shot HTTP server on loopback: answers every request with a canned
// response and closes, or, when silent, accepts and never says a word.
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
                    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: text/plain\r\nContent-Length: "
                                  + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
            }
        });
    }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }

    QStringList requestLines;

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
