#include "core/online/ProductSite.h"

#include "core/online/DrawDownload.h"
#include "core/online/HttpGet.h"
#include "core/text/FileAccess.h"
#include "core/text/TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace numsieve {

namespace {

// The host each page lives on, and its key in online.data.
struct PageTarget {
    QString OnlineHosts::*host;
    const char *key;
    const char *path;
};

PageTarget pageTarget(SitePage page)
{
    switch (page) {
    case SitePage::DrawResults: return {&OnlineHosts::product, "product", "/info/draw.jsp"};
    case SitePage::Analysis: return {&OnlineHosts::analysis, "analysis", "/"};
    case SitePage::Forum: return {&OnlineHosts::forum, "forum", "/"};
    case SitePage::Report: return {&OnlineHosts::forum, "forum", "/forumdisplay.php?fid=25"};
    case SitePage::Help: return {&OnlineHosts::product, "product", "/soft/trisift/help"};
    }
    return {&OnlineHosts::product, "product", "/"};
}

} // namespace

QString siteFilePath(SiteFile file)
{
    switch (file) {
    case SiteFile::Update: return QStringLiteral("/soft/trisift/update.txt");
    case SiteFile::Presence: return QStringLiteral("/soft/trisift/online.jsp");
    case SiteFile::Configuration: return QStringLiteral("/soft/trisift/config.txt");
    }
    return {};
}

QUrl siteFileUrl(const QString &productHost, SiteFile file, int queryNumber)
{
    return hostUrl(productHost, siteFilePath(file) + QLatin1Char('?') + QString::number(queryNumber));
}

UpdateFile parseUpdateFile(const QStringList &lines)
{
    return {lines.value(0).trimmed(), lines.value(1).trimmed(), !lines.isEmpty()};
}

bool isOtherVersion(const QString &current, const QString &latest)
{
    return current.compare(latest, Qt::CaseInsensitive) != 0;
}

bool looksLikeVersion(const QString &text)
{
    constexpr qsizetype kMaxVersionLength = 32;
    return !text.isEmpty() && text.size() <= kMaxVersionLength
        && std::all_of(text.begin(), text.end(), [](QChar c) {
               return c.isLetter() || c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char(' ')
                   || c == QLatin1Char('\t') || c == QLatin1Char('-');
           });
}

bool isWebLink(const QString &link)
{
    return isWebUrl(QUrl(link, QUrl::StrictMode));
}

bool offersUpdate(const QString &current, const UpdateFile &file)
{
    return looksLikeVersion(file.latestVersion) && !current.isEmpty() && isOtherVersion(current, file.latestVersion)
        && (file.downloadLink.isEmpty() || isWebLink(file.downloadLink));
}

PurchaseOffer parseConfigurationFile(const QStringList &lines)
{
    if (lines.value(0).trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) != 0)
        return {};
    const QString link = lines.value(1).trimmed();
    if (!link.isEmpty() && !isWebLink(link))
        return {};
    return {true, link};
}

std::expected<QUrl, QString> sitePageUrl(const OnlineHosts &hosts, SitePage page)
{
    const PageTarget target = pageTarget(page);
    const QUrl url = hostUrl(hosts.*target.host, QString::fromLatin1(target.path));
    if (!url.isValid())
        return std::unexpected(QStringLiteral("没有设置网站地址，无法打开网页。\n"
                                              "请在数据文件夹的 online.data 中写一行：\n%1$网站地址")
                                   .arg(QString::fromLatin1(target.key)));
    return url;
}

QString defaultPurchaseLink(const OnlineHosts &hosts)
{
    const QUrl home = hostUrl(hosts.product, QStringLiteral("/"));
    return home.isValid() ? home.toString() : QString();
}

std::expected<QStringList, QString> publishFeed(const LotteryRegistry &registry, const QString &folder,
                                                const PublishOptions &options)
{
    QList<std::pair<QString, QByteArray>> files;
    for (int number = 1; number <= 4; ++number) {
        const QString id = QString::number(number);
        QStringList lines;
        for (const Lottery &lottery : registry.lotteries())
            if (lottery.id == id) {
                for (const Draw &draw : lottery.draws)
                    lines.append(draw.issue + QLatin1Char('$') + draw.number);
                break;
            }
        const QString path = drawListPathTemplate(number);
        files.append({path.left(path.indexOf(QLatin1Char('?'))).mid(1), encodeLines(lines)});
    }
    const QStringList config = options.purchaseLink.isEmpty()
                                   ? QStringList{QStringLiteral("false")}
                                   : QStringList{QStringLiteral("true"), options.purchaseLink};
    files.append({siteFilePath(SiteFile::Update).mid(1), encodeLines({options.version, options.downloadLink})});
    files.append({siteFilePath(SiteFile::Configuration).mid(1), encodeLines(config)});
    files.append({siteFilePath(SiteFile::Presence).mid(1), QByteArray()});

    const QDir out(folder);
    if (!QDir().mkpath(folder))
        return std::unexpected(QStringLiteral("无法创建文件夹 %1").arg(QDir::toNativeSeparators(folder)));
    QStringList written;
    QList<std::pair<QString, QByteArray>> absolute;
    for (const auto &[relative, bytes] : files) {
        absolute.append({out.filePath(relative), bytes});
        written.append(relative);
    }
    // Every file is checked before a folder is made for any: a folder of the
    // feed that is a link elsewhere gets nothing made in it.
    for (const auto &file : std::as_const(absolute)) {
        QString existing = QFileInfo(file.first).absolutePath();
        while (entryKind(existing) == EntryKind::Missing)
            existing = QFileInfo(existing).absolutePath();
        if (auto inside = checkSaveFolder(existing, folder); !inside)
            return std::unexpected(inside.error());
        if (auto target = checkSaveTarget(file.first, folder); !target)
            return std::unexpected(target.error());
    }
    for (const auto &file : std::as_const(absolute)) {
        const QString path = QFileInfo(file.first).absolutePath();
        if (!QDir().mkpath(path))
            return std::unexpected(QStringLiteral("无法创建文件夹 %1").arg(QDir::toNativeSeparators(path)));
    }
    if (auto saved = saveFilesAtomically(absolute, folder); !saved)
        return std::unexpected(saved.error());
    return written;
}

} // namespace numsieve
