#pragma once

#include "core/online/HttpGet.h"
#include "core/online/ProductSite.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

namespace numsieve::gui {

class AppServices;

// 软件更新: asks the product site for the latest version once it is on
// screen, tells whether ours is the latest and offers the download when not.
// The request runs beside the event loop, so the window keeps painting.
class CDialogSoftUpdate : public QDialog
{
    Q_OBJECT

public:
    enum { IdStatus = 1059, IdDownload = 1032, IdCancel = 2 };
    static inline const QString kChecking = QStringLiteral("正在检查软件版本，请稍候...");
    static inline const QString kLatest = QStringLiteral("您使用的为最新版本，现无需更新");
    static inline const QString kNoDownloadLink = QStringLiteral("更新服务器没有给出新版本的下载网址。");
    static constexpr int kStartDelayMs = 100;

    CDialogSoftUpdate(AppServices &services, const QString &currentVersion, const QString &productHost,
                      QWidget *parent = nullptr);

    QString statusText() const;
    QPushButton *downloadButton() const { return m_download; }
    const UpdateFile &update() const { return m_update; }
    void setTimeout(int milliseconds) { m_get.setTimeout(milliseconds); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void checked(const HttpAnswer &answer);

    AppServices &m_services;
    QString m_currentVersion;
    QString m_productHost;
    bool m_started = false;
    QTimer *m_startTimer;
    QLabel *m_status;
    QPushButton *m_download;
    HttpGet m_get;
    UpdateFile m_update;
};

} // namespace numsieve::gui
