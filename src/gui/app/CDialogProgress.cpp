#include "gui/app/CDialogProgress.h"

#include "gui/ui/DialogUnits.h"
#include "gui/ui/SkinFont.h"
#include "gui/ui/SkinImages.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace numsieve::gui {

CDialogProgress::CDialogProgress(QWidget *owner)
    : CBitmapDialog(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_caption(new QLabel(this))
    , m_text(new QLabel(this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("三位筛号器"));
    const QSize body = bodySize();
    const QSize whole(body.width(), body.height() + captionHeight);
    setFixedSize(whole);
    setBackground(SkinImages::progressBackground(whole));
    setShaped(true);
    setDraggable(true);

    m_caption->setFont(skinFont(9, true));
    m_caption->setStyleSheet(QStringLiteral("color: white;"));
    m_caption->setGeometry(10, 0, whole.width() - 20, captionHeight);
    m_caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_caption->setText(QStringLiteral("三位筛号器"));

    m_text->setFont(skinFont());
    m_text->setStyleSheet(QStringLiteral("color: rgb(0, 54, 101);"));
    m_text->setGeometry(6, captionHeight, body.width() - 12, body.height());
    m_text->setAlignment(Qt::AlignCenter);
}

QSize CDialogProgress::bodySize()
{
    return dluToPixels(QSize(186, 44));
}

void CDialogProgress::setCaption(const QString &caption)
{
    m_caption->setText(caption);
    setWindowTitle(caption);
}

QString CDialogProgress::caption() const
{
    return m_caption->text();
}

void CDialogProgress::setText(const QString &text)
{
    m_text->setText(text);
    if (!isVisible())
        return;
    repaint();
    // Let the window system take the new picture; user input waits, so no
    // command can start in the middle of the job that shows this window.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString CDialogProgress::text() const
{
    return m_text->text();
}

ModelessDialogTracker::~ModelessDialogTracker()
{
    close();
}

CDialogProgress *ModelessDialogTracker::open(const QString &caption, const QString &text, QWidget *owner)
{
    close();
    auto *dialog = new CDialogProgress(owner);
    m_dialog = dialog;
    dialog->setCaption(caption);
    const QWidget *anchor = owner ? owner->window() : nullptr;
    QRect area = anchor && anchor->isVisible() ? anchor->frameGeometry() : QRect();
    if (area.isEmpty())
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            area = screen->availableGeometry();
    dialog->move(area.center() - dialog->rect().center());
    dialog->show();
    dialog->setText(text);
    return dialog;
}

void ModelessDialogTracker::close()
{
    // QPointer: when the owner window went first, it took the dialog with it.
    delete m_dialog.data();
    m_dialog.clear();
}

ProgressGuard::ProgressGuard(ModelessDialogTracker &tracker, const QString &text,
                             const QString &caption, QWidget *owner)
    : m_tracker(tracker)
{
    m_tracker.open(caption, text, owner);
}

ProgressGuard::~ProgressGuard()
{
    m_tracker.close();
}

void ProgressGuard::setText(const QString &text)
{
    if (CDialogProgress *dialog = m_tracker.dialog())
        dialog->setText(text);
}

} // namespace numsieve::gui
