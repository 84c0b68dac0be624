#include "app/AppServices.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

namespace numsieve::gui {

void DesktopServices::warn(QWidget *parent, const QString &text)
{
    QMessageBox::warning(parent, QStringLiteral("提示"), text);
}

Answer DesktopServices::ask(QWidget *parent, const QString &caption, const QString &text)
{
    const auto button = QMessageBox::question(parent, caption, text,
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                              QMessageBox::Yes);
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    if (button == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}

QString DesktopServices::openFileName(QWidget *parent, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter, nullptr,
                                        QFileDialog::ReadOnly);
}

QString DesktopServices::saveFileName(QWidget *parent, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, QString(), QString(), filter);
}

void DesktopServices::execModal(QDialog *dialog)
{
    dialog->exec();
}

void DesktopServices::openUrl(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}

std::expected<void, QString> DesktopServices::printFile(const QString &path)
{
    const QString lp = QStandardPaths::findExecutable(QStringLiteral("lp"));
    if (lp.isEmpty())
        return std::unexpected(QStringLiteral("没有找到打印服务，无法打印。号码已保存在文件 %1 中。").arg(path));
    QProcess process;
    process.start(lp, {path});
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString detail = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return std::unexpected(QStringLiteral("打印服务没有接受打印任务%1。号码已保存在文件 %2 中。")
                                   .arg(detail.isEmpty() ? QString() : QStringLiteral("（") + detail + QStringLiteral("）"),
                                        path));
    }
    return {};
}

} // namespace numsieve::gui
