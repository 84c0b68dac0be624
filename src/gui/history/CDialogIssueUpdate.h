#pragma once

#include "core/online/DrawDownload.h"

#include <QDialog>

class QTimer;

namespace numsieve::gui {

class AppServices;

// The small window that fetches one lottery's draw list while it says
// "正在下载数据，请稍后...". The request runs beside the event loop, so the
// window keeps painting; it closes itself in every outcome, after showing the
// outcome's message if there is one. The draws received are in draws().
class CDialogIssueUpdate : public QDialog
{
    Q_OBJECT

public:
    static inline const QString kText = QStringLiteral("正在下载数据，请稍后...");
    static constexpr int kStartDelayMs = 100;

    CDialogIssueUpdate(AppServices &services, const QString &host, int lotteryNumber, QWidget *parent = nullptr);

    // Tests shorten the wait for a silent server.
    void setTimeout(int milliseconds) { m_download.setTimeout(milliseconds); }
    const QList<Draw> &draws() const { return m_draws; }
    const DownloadOutcome &outcome() const { return m_outcome; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void finish(const DownloadOutcome &outcome);

    AppServices &m_services;
    QString m_host;
    int m_lotteryNumber;
    bool m_started = false;
    bool m_done = false;
    QTimer *m_startTimer;
    DrawDownload m_download;
    DownloadOutcome m_outcome;
    QList<Draw> m_draws;
};

} // namespace numsieve::gui
