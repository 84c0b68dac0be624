#include "gui/app/AppServices.h"

#include "core/Messages.h"
#include "core/online/ProductSite.h"
#include "core/results/NumberListFile.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTranslator>

namespace numsieve::gui {

namespace {

// The standard buttons carry the program's own words, whatever translation
// of Qt is installed.
void setButtonTexts(QMessageBox &box)
{
    const std::pair<QMessageBox::StandardButton, const char16_t *> texts[] = {
        {QMessageBox::Ok, u"确定"}, {QMessageBox::Yes, u"是"}, {QMessageBox::No, u"否"}, {QMessageBox::Cancel, u"取消"}};
    for (const auto &[which, text] : texts)
        if (QAbstractButton *b = box.button(which))
            b->setText(QString::fromUtf16(text));
}

QMessageBox::StandardButton runBox(QWidget *parent, QMessageBox::Icon icon, const QString &caption,
                                   const QString &text, QMessageBox::StandardButtons buttons,
                                   QMessageBox::StandardButton preferred)
{
    QMessageBox box(icon, caption, text, buttons, parent);
    // Messages may quote what a server or a file said; markup in it must
    // show as the characters it is made of.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(preferred);
    setButtonTexts(box);
    // A text laid out in lines (a path on a line of its own) keeps them:
    // wrapping would cut a file name in two.
    if (text.contains(QLatin1Char('\n')))
        if (auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label")))
            label->setWordWrap(false);
    return QMessageBox::StandardButton(box.exec());
}

} // namespace

void DesktopServices::warn(QWidget *parent, const QString &text)
{
    runBox(parent, QMessageBox::Warning, msg::kCaption, text, QMessageBox::Ok, QMessageBox::Ok);
}

Answer DesktopServices::ask(QWidget *parent, const QString &caption, const QString &text)
{
    const auto button = runBox(parent, QMessageBox::Question, caption, text,
                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    if (button == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}

Answer DesktopServices::choose(QWidget *parent, const QString &caption, const QString &text, const QString &first,
                               const QString &second)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    parent);
    box.setTextFormat(Qt::PlainText);
    setButtonTexts(box);
    box.button(QMessageBox::Yes)->setText(first);
    box.button(QMessageBox::No)->setText(second);
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    const int button = box.exec();
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    if (button == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}

bool DesktopServices::confirm(QWidget *parent, const QString &caption, const QString &text)
{
    return runBox(parent, QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                  QMessageBox::No) == QMessageBox::Yes;
}

QString DesktopServices::openFileName(QWidget *parent, const QString &filter)
{
    const QString path = QFileDialog::getOpenFileName(parent, QStringLiteral("打开"), m_lastFolder, filter, nullptr,
                                                      QFileDialog::ReadOnly);
    if (!path.isEmpty())
        m_lastFolder = QFileInfo(path).absolutePath();
    return path;
}

QString DesktopServices::saveFileName(QWidget *parent, const QString &filter, const QString &suggestedName)
{
    const QString start = suggestedName.isEmpty() ? m_lastFolder : QDir(m_lastFolder).filePath(suggestedName);
    const QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("另存为"), start, filter);
    if (!path.isEmpty())
        m_lastFolder = QFileInfo(path).absolutePath();
    return path;
}

void DesktopServices::execModal(QDialog *dialog)
{
    dialog->exec();
}

bool DesktopServices::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

std::expected<void, QString> DesktopServices::printFile(const QString &path)
{
    const QString lp = QStandardPaths::findExecutable(QStringLiteral("lp"));
    if (lp.isEmpty())
        return std::unexpected(QStringLiteral("没有找到打印服务，无法打印。\n号码已保存在文件：\n%1").arg(path));
    QProcess process;
    process.start(lp, {path});
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString detail = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return std::unexpected(QStringLiteral("打印服务没有接受打印任务%1。\n号码已保存在文件：\n%2")
                                   .arg(detail.isEmpty() ? QString() : QStringLiteral("（") + detail + QStringLiteral("）"),
                                        path));
    }
    return {};
}

QString chooseSavePath(AppServices &services, QWidget *parent, const QString &filter, const QString &extension,
                       const QString &suggestedName)
{
    const QString chosen =
        services.saveFileName(parent, filter, suggestedName.isEmpty() ? QString() : suggestedName + extension);
    if (chosen.isEmpty())
        return {};
    const QString path = savePathWithExtension(chosen, extension);
    // The dialog asked about the name as typed; a name that only now got its
    // extension may name another file that exists.
    if (path != chosen && QFileInfo::exists(path)
        && !services.confirm(parent, msg::kCaption,
                             QStringLiteral("%1 已存在。\n要替换它吗？").arg(QFileInfo(path).fileName())))
        return {};
    return path;
}

QString suggestedFileName(const QStringList &parts)
{
    QStringList kept;
    for (const QString &part : parts) {
        QString clean;
        for (const QChar c : part)
            if (c.unicode() >= 0x20 && !QStringLiteral("\\/:*?\"<>|").contains(c))
                clean += c;
        // Leading dots would hide the file, or make ".." of a part.
        clean = clean.trimmed();
        while (clean.startsWith(QLatin1Char('.')))
            clean.remove(0, 1);
        if (!clean.isEmpty())
            kept.append(clean);
    }
    return kept.join(QLatin1Char('_'));
}

bool openWebLink(AppServices &services, QWidget *parent, const QString &link)
{
    if (!isWebLink(link)) {
        services.warn(parent, QStringLiteral("这个网址不是 http 或 https 网页，没有打开：\n%1").arg(link));
        return false;
    }
    if (services.openUrl(QUrl(link, QUrl::StrictMode)))
        return true;
    services.warn(parent, QStringLiteral("无法打开网页，请把网址复制到浏览器中打开：\n%1").arg(link));
    return false;
}

void installChineseTranslations()
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

} // namespace numsieve::gui
