#pragma once

#include <QString>
#include <QStringList>

namespace numsieve {

// The servers the online services talk to, each a host with an optional port
// ("example.org", "127.0.0.1:8765"). An empty host means none is configured:
// nothing is sent anywhere and the request fails at once.
struct OnlineHosts {
    QString analysis;   // draw lists
    QString product;    // version and configuration files
    QString forum;

    friend bool operator==(const OnlineHosts &, const OnlineHosts &) = default;
};

// online.data in the data folder: GBK lines "key$value" with the keys
// "analysis", "product" and "forum".
QString onlineHostsFilePath(const QString &dataDir);

// Key and value are trimmed; unknown keys and lines the record rule rejects
// (no "$", an empty field) are ignored; the first non-blank value of a key
// wins.
OnlineHosts parseOnlineHostLines(const QStringList &lines);

// A missing or unreadable file configures no host. The file is never created:
// the shipped program talks to no server until someone names one.
OnlineHosts loadOnlineHosts(const QString &dataDir);

} // namespace numsieve
