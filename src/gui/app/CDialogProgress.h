#pragma once

#include "gui/ui/CBitmapDialog.h"

#include <QPointer>
#include <QString>

class QLabel;

namespace numsieve::gui {

// The please-wait window shown while the window thread is busy: a caption
// strip and one centred line of text, no buttons. The window draws its own
// frame; the system's title bar would only offer a close box that must not
// work.
class CDialogProgress : public CBitmapDialog
{
    Q_OBJECT

public:
    explicit CDialogProgress(QWidget *owner = nullptr);

    void setCaption(const QString &caption);
    QString caption() const;

    // Shows the text at once: the window is repainted before this returns,
    // so it is on screen before the caller starts its long job.
    void setText(const QString &text);
    QString text() const;

    // The text area, 186 × 44 dialog units; the caption strip comes on top.
    static QSize bodySize();
    static constexpr int captionHeight = 24;

private:
    QLabel *m_caption;
    QLabel *m_text;
};

// Owns the one progress window that may be open. Closing the tracker, or
// destroying it, destroys the window; a window that its owner destroyed
// first is simply forgotten.
class ModelessDialogTracker
{
public:
    ModelessDialogTracker() = default;
    ~ModelessDialogTracker();
    ModelessDialogTracker(const ModelessDialogTracker &) = delete;
    ModelessDialogTracker &operator=(const ModelessDialogTracker &) = delete;

    // Replaces any open window by a new one showing caption and text.
    CDialogProgress *open(const QString &caption, const QString &text, QWidget *owner = nullptr);
    CDialogProgress *dialog() const { return m_dialog.data(); }
    void close();

private:
    QPointer<CDialogProgress> m_dialog;
};

// Shows the progress window for the length of one operation: every way out
// of the scope, an early return included, closes it.
class ProgressGuard
{
public:
    ProgressGuard(ModelessDialogTracker &tracker, const QString &text,
                  const QString &caption = QStringLiteral("三位筛号器"), QWidget *owner = nullptr);
    ~ProgressGuard();
    ProgressGuard(const ProgressGuard &) = delete;
    ProgressGuard &operator=(const ProgressGuard &) = delete;

    void setText(const QString &text);
    CDialogProgress *dialog() const { return m_tracker.dialog(); }

private:
    ModelessDialogTracker &m_tracker;
};

} // namespace numsieve::gui
