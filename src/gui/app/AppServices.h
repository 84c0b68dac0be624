#pragma once

#include <QString>
#include <QUrl>

#include <expected>

class QDialog;
class QWidget;

namespace numsieve::gui {

enum class Answer { Yes, No, Cancel };

// Everything that blocks or leaves the program: message boxes, file dialogs,
// the exit question, modal dialogs, the browser and the printer. The window
// classes reach them only through this interface, so that tests answer them
// and read what was shown.
class AppServices
{
public:
    virtual ~AppServices() = default;

    // A message box with the caption "提示" and the warning icon.
    virtual void warn(QWidget *parent, const QString &text) = 0;
    // A yes/no/cancel question with the question icon.
    virtual Answer ask(QWidget *parent, const QString &caption, const QString &text) = 0;
    // A yes/no question with the question icon; true for yes.
    virtual bool confirm(QWidget *parent, const QString &caption, const QString &text) = 0;
    // A question with two answers of its own and 取消 (question icon): Yes
    // for the first, No for the second, Cancel for 取消 or Esc. The text is
    // shown as plain text, whatever it holds.
    virtual Answer choose(QWidget *parent, const QString &caption, const QString &text, const QString &first,
                          const QString &second) = 0;
    // Standard file dialogs; an empty path means the user cancelled. They
    // open in the folder used last. filter is a Qt name filter such as
    // "文本文件(*.txt)". The save dialog offers the suggested file name and
    // asks before replacing the file as typed.
    virtual QString openFileName(QWidget *parent, const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &filter, const QString &suggestedName) = 0;
    // Shows a dialog modally.
    virtual void execModal(QDialog *dialog) = 0;
    // The shell's "open" verb for web pages; false when nothing could open it.
    virtual bool openUrl(const QUrl &url) = 0;
    // Hands a text file to the system's print service without a dialog. The
    // error is the text to show when there is no print service.
    virtual std::expected<void, QString> printFile(const QString &path) = 0;
};

// The real thing: Qt's dialogs, the desktop's browser and the lp command.
class DesktopServices : public AppServices
{
public:
    void warn(QWidget *parent, const QString &text) override;
    Answer ask(QWidget *parent, const QString &caption, const QString &text) override;
    bool confirm(QWidget *parent, const QString &caption, const QString &text) override;
    Answer choose(QWidget *parent, const QString &caption, const QString &text, const QString &first,
                  const QString &second) override;
    QString openFileName(QWidget *parent, const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &filter, const QString &suggestedName) override;
    void execModal(QDialog *dialog) override;
    bool openUrl(const QUrl &url) override;
    std::expected<void, QString> printFile(const QString &path) override;

private:
    QString m_lastFolder;
};

// Asks for the file to save to and returns the path to write, empty when the
// user cancelled. The extension is appended unless the name already ends with
// it; when that names another file that exists, the user is asked before it
// is replaced, so the file written is always the one the user agreed to. The
// dialog offers the suggested name with the extension.
QString chooseSavePath(AppServices &services, QWidget *parent, const QString &filter, const QString &extension,
                       const QString &suggestedName = {});

// The name a save dialog offers: what the file holds, e.g. the lottery, what
// it is and the newest issue, joined by "_"; empty parts are left out, and
// so is every character a file name cannot hold on any system, and the dots
// that would begin a part.
QString suggestedFileName(const QStringList &parts);

// Opens a link in the browser when it is an http or https URL with a host;
// any other link (file:, a program's own scheme) is not opened. Whenever the
// page does not open, the user is told with the address written out, so that
// it can be copied into a browser by hand. True when the browser took it.
bool openWebLink(AppServices &services, QWidget *parent, const QString &link);

// Loads Qt's own Chinese texts, so that standard buttons and file dialogs
// speak the program's language.
void installChineseTranslations();

} // namespace numsieve::gui
