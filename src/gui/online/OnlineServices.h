#pragma once

#include <QObject>
#include <QString>

#include <array>

class QTimer;

namespace numsieve::gui {

class AppServices;

// The background requests of the online services: the version check and
// the configuration once, the presence request once and then repeatedly.
struct OnlineIntervals {
    int versionCheckMs = 50000;
    int presenceFirstMs = 25000;
    int presenceEveryMs = 900000;
    int configurationMs = 1;
};

// What the program asks of the product site without being asked: whether a
// newer version exists, that it is running, and whether to offer 购买彩票
// and where it leads. Each request is made fresh from online.data in the data
// folder when its timer fires; with no host there, nothing is sent, and
// every failure is silent. The main window owns it and answers its signals.
class OnlineServices : public QObject
{
    Q_OBJECT

public:
    OnlineServices(const QString &dataFolder, QObject *parent);

    // (Re)starts the four timers (10001-10004) and forgets a link the
    // configuration gave.
    void start(const OnlineIntervals &intervals);
    // What 购买彩票 opens; the configuration file may change it.
    QString purchaseLink() const { return m_buyLink; }
    // Opens the link, or says that there is none.
    void openPurchaseLink(AppServices &services, QWidget *parent) const;

Q_SIGNALS:
    // The site offers a version other than ours.
    void updateOffered();
    // The configuration asks to show 购买彩票.
    void purchaseOffered();

private:
    void checkVersion();
    void sendPresence();
    void fetchConfiguration();

    QString m_dataFolder;
    QString m_buyLink;
    // 10001-10004: the version check, the first presence, the repeated
    // presence and the configuration.
    std::array<QTimer *, 4> m_timers{};
};

} // namespace numsieve::gui
