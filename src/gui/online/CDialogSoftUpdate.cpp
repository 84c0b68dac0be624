#include "gui/online/CDialogSoftUpdate.h"

#include "gui/app/AppServices.h"
#include "core/online/DrawDownload.h"
#include "core/selection/DigitRow.h"
#include "core/text/TextFile.h"
#include "gui/ui/DialogUnits.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace numsieve::gui {

CDialogSoftUpdate::CDialogSoftUpdate(AppServices &services, const QString &currentVersion, const QString &productHost,
                                     QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_currentVersion(currentVersion)
    , m_productHost(productHost)
    , m_startTimer(new QTimer(this))
    , m_status(new QLabel(kChecking, this))
    , m_download(new QPushButton(QStringLiteral("下载新版本"), this))
{
    setObjectName(QStringLiteral("CDialogSoftUpdate"));
    setWindowTitle(QStringLiteral("软件更新"));
    setFixedSize(dluToPixels(QSize(250, 70)));
    m_status->setObjectName(QString::number(IdStatus));
    m_status->setAlignment(Qt::AlignCenter);
    // The version comes from the server: shown as the characters it is.
    m_status->setTextFormat(Qt::PlainText);
    // Two lines of text need a little more than the template's 19 units.
    const QRect status = dluToPixels(QRect(7, 22, 236, 19));
    m_status->setGeometry(status.adjusted(0, -8, 0, 4));
    m_download->setGeometry(dluToPixels(QRect(138, 49, 50, 14)));
    m_download->setAutoDefault(false);
    m_download->hide();
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setGeometry(dluToPixels(QRect(193, 49, 50, 14)));
    cancel->setAutoDefault(false);

    connect(m_download, &QPushButton::clicked, this, [this] {
        if (m_update.downloadLink.isEmpty())
            m_services.warn(this, kNoDownloadLink);
        else
            openWebLink(m_services, this, m_update.downloadLink);
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_startTimer->setSingleShot(true);
    m_startTimer->setInterval(kStartDelayMs);
    connect(m_startTimer, &QTimer::timeout, this, [this] {
        m_get.start(siteFileUrl(m_productHost, SiteFile::Update, RandomSource::global().next()));
    });
    connect(&m_get, &HttpGet::finished, this, &CDialogSoftUpdate::checked);
}

QString CDialogSoftUpdate::statusText() const
{
    return m_status->text();
}

void CDialogSoftUpdate::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    // The window is on screen before the request goes out.
    if (!m_started) {
        m_started = true;
        m_startTimer->start();
    }
}

void CDialogSoftUpdate::checked(const HttpAnswer &answer)
{
    QString cause;
    if (m_productHost.isEmpty())
        cause = msg::kNoProductHost;
    else if (answer.status == HttpAnswer::TooLarge)
        cause = msg::kAnswerTooLarge;
    else if (answer.status == HttpAnswer::File) {
        m_update = parseUpdateFile(decodeLines(answer.body));
        if (m_update.latestVersion.isEmpty())
            cause = msg::kNoVersionOnServer;
        else if (!looksLikeVersion(m_update.latestVersion))
            cause = msg::kAnswerNotVersion;
    }
    if (answer.status != HttpAnswer::File || !cause.isEmpty()) {
        m_update = {};
        m_services.warn(this, cause.isEmpty() ? msg::kUpdateServerNotFound
                                              : msg::withCause(msg::kUpdateServerNotFound, cause));
        reject();
        return;
    }
    if (isOtherVersion(m_currentVersion, m_update.latestVersion)) {
        m_status->setText(QStringLiteral("您使用的为%1版本，当前最新为%2版本\n请尽快下载最新版本")
                              .arg(m_currentVersion, m_update.latestVersion));
        m_download->show();
    } else {
        m_status->setText(kLatest);
    }
}

} // namespace numsieve::gui
