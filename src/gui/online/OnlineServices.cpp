#include "gui/online/OnlineServices.h"

#include "core/online/HttpGet.h"
#include "core/online/OnlineHosts.h"
#include "core/online/ProductSite.h"
#include "core/selection/DigitRow.h"
#include "core/text/TextFile.h"
#include "gui/app/AppServices.h"

#include <QTimer>

#include <functional>
#include <tuple>

namespace numsieve::gui {

namespace {

// Runs one background GET; the answer reaches `read` only when a file came
// back. Every failure is silent.
void fetchQuietly(QObject *owner, const QUrl &url, std::function<void(const QStringList &)> read)
{
    auto *get = new HttpGet(owner);
    QObject::connect(get, &HttpGet::finished, owner, [get, read = std::move(read)](const HttpAnswer &answer) {
        get->deleteLater();
        if (answer.status == HttpAnswer::File && read)
            read(decodeLines(answer.body));
    });
    get->start(url);
}

} // namespace

OnlineServices::OnlineServices(const QString &dataFolder, QObject *parent)
    : QObject(parent)
    , m_dataFolder(dataFolder)
{
}

void OnlineServices::start(const OnlineIntervals &intervals)
{
    m_buyLink = defaultPurchaseLink(loadOnlineHosts(m_dataFolder));
    const std::tuple<int, bool, void (OnlineServices::*)()> timers[] = {
        {intervals.versionCheckMs, true, &OnlineServices::checkVersion},
        {intervals.presenceFirstMs, true, &OnlineServices::sendPresence},
        {intervals.presenceEveryMs, false, &OnlineServices::sendPresence},
        {intervals.configurationMs, true, &OnlineServices::fetchConfiguration},
    };
    for (std::size_t i = 0; i < m_timers.size(); ++i) {
        const auto &[interval, once, handler] = timers[i];
        QTimer *&timer = m_timers[i];
        if (!timer) {
            timer = new QTimer(this);
            timer->setObjectName(QString::number(10001 + int(i)));
            connect(timer, &QTimer::timeout, this, handler);
        }
        timer->setSingleShot(once);
        timer->start(interval);
    }
}

void OnlineServices::openPurchaseLink(AppServices &services, QWidget *parent) const
{
    if (m_buyLink.isEmpty())
        services.warn(parent, QStringLiteral("没有设置购买彩票的网址，无法打开网页。"));
    else
        openWebLink(services, parent, m_buyLink);
}

void OnlineServices::checkVersion()
{
    fetchQuietly(this, siteFileUrl(loadOnlineHosts(m_dataFolder).product, SiteFile::Update, RandomSource::global().next()),
                 [this](const QStringList &lines) {
                     if (offersUpdate(kVersionText, parseUpdateFile(lines)))
                         Q_EMIT updateOffered();
                 });
}

void OnlineServices::sendPresence()
{
    fetchQuietly(this, siteFileUrl(loadOnlineHosts(m_dataFolder).product, SiteFile::Presence, RandomSource::global().next()),
                 {});
}

void OnlineServices::fetchConfiguration()
{
    fetchQuietly(this,
                 siteFileUrl(loadOnlineHosts(m_dataFolder).product, SiteFile::Configuration, RandomSource::global().next()),
                 [this](const QStringList &lines) {
                     const PurchaseOffer offer = parseConfigurationFile(lines);
                     if (!offer.show)
                         return;
                     m_buyLink = offer.link;
                     Q_EMIT purchaseOffered();
                 });
}

} // namespace numsieve::gui
