#include "gui/history/CDialogIssueUpdate.h"

#include "gui/app/AppServices.h"
#include "gui/ui/DialogUnits.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace numsieve::gui {

CDialogIssueUpdate::CDialogIssueUpdate(AppServices &services, const QString &host, int lotteryNumber, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_services(services)
    , m_host(host)
    , m_lotteryNumber(lotteryNumber)
    , m_startTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("CDialogIssueUpdate"));
    setWindowTitle(kText);
    setFixedSize(dluToPixels(QSize(200, 36)));
    // A frame, since the window has no title bar to show where it ends.
    setStyleSheet(QStringLiteral("QDialog#CDialogIssueUpdate { border: 1px solid palette(mid); }"));
    auto *text = new QLabel(kText, this);
    text->setObjectName(QStringLiteral("text"));
    // Wider than its template so that a fallback font never clips it.
    const QRect place = dluToPixels(QRect(55, 14, 89, 8));
    text->setGeometry(QRect(place.left() - 20, place.top() - 2, place.width() + 40, place.height() + 4));
    text->setAlignment(Qt::AlignCenter);

    m_startTimer->setSingleShot(true);
    m_startTimer->setInterval(kStartDelayMs);
    connect(m_startTimer, &QTimer::timeout, this, [this] { m_download.start(m_host, m_lotteryNumber); });
    connect(&m_download, &DrawDownload::finished, this, &CDialogIssueUpdate::finish);
}

void CDialogIssueUpdate::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    // The window is on screen before the request goes out.
    if (!m_started) {
        m_started = true;
        m_startTimer->start();
    }
}

void CDialogIssueUpdate::finish(const DownloadOutcome &outcome)
{
    m_outcome = outcome;
    m_draws = outcome.message.isEmpty() ? outcome.draws : QList<Draw>{};
    if (!outcome.message.isEmpty())
        m_services.warn(this, outcome.message);
    m_done = true;
    accept();
}

void CDialogIssueUpdate::keyPressEvent(QKeyEvent *event)
{
    // The download cannot be cancelled half way; Escape does nothing.
    event->accept();
}

void CDialogIssueUpdate::closeEvent(QCloseEvent *event)
{
    if (m_done)
        event->accept();
    else
        event->ignore();
}

} // namespace numsieve::gui
