#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>

namespace testsupport {

// A real static web server on loopback: Python's http.server over a folder.
// Its log, one line per request on standard error, tells what was asked.
class StaticHttpServer
{
public:
    explicit StaticHttpServer(const QString &folder)
    {
        m_process.start(QStringLiteral("python3"), {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"),
                                                    QStringLiteral("0"), QStringLiteral("--bind"), QStringLiteral("127.0.0.1"),
                                                    QStringLiteral("--directory"), folder});
        const QRegularExpression served(QStringLiteral("port (\\d+)"));
        (void)QTest::qWaitFor([&] {
            m_out += QString::fromUtf8(m_process.readAllStandardOutput());
            const auto match = served.match(m_out);
            if (match.hasMatch())
                m_port = match.captured(1).toInt();
            return m_port > 0 || m_process.state() == QProcess::NotRunning;
        }, 15000);
    }
    ~StaticHttpServer()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    bool isListening() const { return m_port > 0; }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

    // The paths asked so far, with their queries, in order.
    QStringList requests()
    {
        m_log += QString::fromUtf8(m_process.readAllStandardError());
        QStringList paths;
        static const QRegularExpression request(QStringLiteral("\"GET (\\S+) HTTP"));
        for (auto it = request.globalMatch(m_log); it.hasNext();)
            paths.append(it.next().captured(1));
        return paths;
    }
    // How many requests asked this path, whatever their query.
    int count(const QString &path)
    {
        int n = 0;
        for (const QString &asked : requests())
            n += asked.section(QLatin1Char('?'), 0, 0) == path;
        return n;
    }

private:
    QProcess m_process;
    QString m_out;
    QString m_log;
    int m_port = 0;
};

} // namespace testsupport
