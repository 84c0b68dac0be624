#pragma once

#include "core/history/Draw.h"
#include "core/online/HttpGet.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace numsieve {

namespace msg {
inline const QString kUpdateServerNotFound = QStringLiteral("找不到更新服务器，请检查您的电脑是否连通网络，或稍后再试");
inline const QString kUpdateDataRefused = QStringLiteral("更新服务器无法连接，更新数据无法导入，请稍后再试");
// Second lines that say why, since the first lines above send the user to
// check the network whatever happened.
inline const QString kNoAnalysisHost = QStringLiteral("没有设置更新服务器：请在 data/online.data 中加入一行 analysis$主机名");
inline const QString kNoProductHost = QStringLiteral("没有设置更新服务器：请在 data/online.data 中加入一行 product$主机名");
inline const QString kAnswerNotDrawList = QStringLiteral("服务器的回答不是开奖号码列表");
inline const QString kAnswerTooLarge = QStringLiteral("服务器的回答超过8MB");
inline const QString kNoDrawsOnServer = QStringLiteral("服务器上没有这种彩票的开奖号码");
inline const QString kAnswerNotVersion = QStringLiteral("服务器的回答不是软件版本号");
inline const QString kNoVersionOnServer = QStringLiteral("服务器上没有软件版本信息");

// A message of two lines: what failed, and why.
inline QString withCause(const QString &message, const QString &cause)
{
    return message + QLatin1Char('\n') + cause;
}
} // namespace msg

inline constexpr int kDrawDownloadTimeoutMs = HttpGet::kDefaultTimeoutMs;

// The analysis server's draw list of one built-in lottery (1 to 4) as
// "path?%d"; empty for any other number.
QString drawListPathTemplate(int lotteryNumber);

// "http://" + host + path, the query being the bare number. The server gives
// the query no meaning; it only keeps caches between us and it from serving a
// stale list. Invalid when there is no host, no endpoint, or the host does not
// form a plain "host[:port]".
QUrl drawListUrl(const QString &host, int lotteryNumber, int queryNumber);

// What one download hands to the lottery manager: the draws oldest first, or
// the message to show and no draws. An answer without a single draw is a
// message too: the server has nothing to replace the history with.
struct DownloadOutcome {
    QList<Draw> draws;
    QString message;
    QUrl url;   // the URL requested; empty when nothing was sent
};

// Reads a draw list, one "issue$number" per line. Blanks (space, tab, CR, LF)
// around a line are dropped and empty lines skipped; inside a line nothing is
// trimmed. The issue is not empty, and everything after the first "$" is the
// number, which must be three decimal digits: a line that breaks this is not
// a draw list (a proxy's or a hotspot's login page answers with 200 too), so
// the whole download is refused rather than replace a player's history with
// part of it.
DownloadOutcome parseDrawList(const QStringList &lines);
DownloadOutcome parseDrawListBody(const QByteArray &body);   // GBK, LF or CR LF

// Fetches one lottery's draw list without blocking the thread: finished() is
// emitted exactly once per start(), always after start() has returned, also
// when there is nothing to send. Uses the system proxy settings.
class DrawDownload : public QObject
{
    Q_OBJECT

public:
    explicit DrawDownload(QObject *parent = nullptr);

    // The whole request, connection included, must end within this time.
    void setTimeout(int milliseconds) { m_get.setTimeout(milliseconds); }
    int timeout() const { return m_get.timeout(); }

    bool isRunning() const { return m_get.isRunning(); }

    // Ignored while a download runs.
    void start(const QString &host, int lotteryNumber);

Q_SIGNALS:
    void finished(const numsieve::DownloadOutcome &outcome);

private:
    void finish(DownloadOutcome outcome);

    HttpGet m_get;
    QUrl m_url;
    bool m_noHost = false;
};

// For the command-line tool: downloads with the analysis host of the data
// folder's online.data and waits in a local event loop. Needs a
// QCoreApplication.
DownloadOutcome downloadDrawsBlocking(const QString &dataDir, int lotteryNumber,
                                      int timeoutMs = kDrawDownloadTimeoutMs);

} // namespace numsieve
