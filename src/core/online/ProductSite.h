#pragma once

#include "core/history/LotteryRegistry.h"
#include "core/online/OnlineHosts.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <expected>

namespace numsieve {

// The program's own version, as the version check compares it.
inline const QString kVersionText = QStringLiteral("1.5.2 Beta");

// The small files of the product web site, each asked with a bare random
// number as its query so that no cache answers for the server.
enum class SiteFile { Update, Presence, Configuration };
QString siteFilePath(SiteFile file);   // "/soft/trisift/update.txt" …
QUrl siteFileUrl(const QString &productHost, SiteFile file, int queryNumber);

// update.txt: line 1 the latest version, line 2 where to download it; both
// trimmed, empty when the file has no such line.
struct UpdateFile {
    QString latestVersion;
    QString downloadLink;
    bool hasFirstLine = false;
};
UpdateFile parseUpdateFile(const QStringList &lines);

// Versions are told apart without regard to letter case ("1.5.2 beta" is ours).
bool isOtherVersion(const QString &current, const QString &latest);
// Whether a first line is a version at all: 1 to 32 letters, digits, dots,
// blanks and hyphens. A login or error page served in its place is not.
bool looksLikeVersion(const QString &text);
// Whether a link from a server may be opened: an http or https URL with a host.
bool isWebLink(const QString &link);
// What the background check asks before it opens the update dialog: a
// published version that is not ours, and no download link but a web one.
bool offersUpdate(const QString &current, const UpdateFile &file);

// config.txt: "true" in any letter case on line 1 shows 购买彩票 with the link
// of line 2 (empty when there is none). A link that is not a web link is no
// offer at all.
struct PurchaseOffer {
    bool show = false;
    QString link;
};
PurchaseOffer parseConfigurationFile(const QStringList &lines);

// The pages the buttons and menu items open in the browser.
enum class SitePage { DrawResults, Analysis, Forum, Report, Help };
// The page's URL, or the message to show when its site is not configured.
std::expected<QUrl, QString> sitePageUrl(const OnlineHosts &hosts, SitePage page);
// The product site's home page, the purchase link until the configuration
// file names another; empty with no product host.
QString defaultPurchaseLink(const OnlineHosts &hosts);

// Writes the folder that answers every endpoint above and the four draw
// lists, for any static web server to serve: analyse/issue_*.jsp from the
// lotteries "1" to "4" (empty for a missing one), soft/trisift/update.txt
// (version, download link), config.txt ("true" and the link when a purchase
// link is given, else "false") and an empty online.jsp. Returns the files
// written, relative to the folder.
struct PublishOptions {
    QString version = kVersionText;
    QString downloadLink;
    QString purchaseLink;
};
std::expected<QStringList, QString> publishFeed(const LotteryRegistry &registry, const QString &folder,
                                                const PublishOptions &options);

} // namespace numsieve
