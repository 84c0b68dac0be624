#pragma once

#include "gui/app/AppServices.h"

#include "TestSupport.h"

#include <QAbstractButton>
#include <QDialog>
#include <QMenu>
#include <QQueue>
#include <QStringList>
#include <QTableWidget>
#include <QTest>

#include <functional>

namespace guitest {

using numsieve::gui::Answer;

// Answers every dialog from queues the test fills, and records what was shown.
class FakeServices : public numsieve::gui::AppServices
{
public:
    QStringList warnings;
    QStringList questions;           // "caption|text"
    QStringList fileFilters;         // the filter of every file dialog asked for
    QStringList suggestedNames;      // the name every save dialog offered
    QQueue<QString> openAnswers;     // empty queue: cancelled
    QQueue<QString> saveAnswers;
    QQueue<Answer> askAnswers;
    QQueue<bool> confirmAnswers;     // empty queue: no
    QList<QUrl> openedUrls;          // every URL handed to the browser
    bool browserOpens = true;        // false: no browser takes them
    QStringList printed;             // paths handed to the print service
    QString printError;              // when set, printing fails with it
    QStringList modalDialogs;        // titles of modal dialogs shown
    std::function<void()> whileAsking; // runs while a question is on screen
    std::function<void(QDialog *)> whileModal; // drives a modal dialog while it is "shown"

    void warn(QWidget *, const QString &text) override { warnings.append(text); }
    Answer ask(QWidget *, const QString &caption, const QString &text) override
    {
        questions.append(caption + '|' + text);
        if (whileAsking)
            whileAsking();
        return askAnswers.isEmpty() ? Answer::Cancel : askAnswers.dequeue();
    }
    Answer choose(QWidget *, const QString &caption, const QString &text, const QString &first,
                  const QString &second) override
    {
        questions.append(caption + '|' + text + '|' + first + '/' + second);
        return askAnswers.isEmpty() ? Answer::Cancel : askAnswers.dequeue();
    }
    bool confirm(QWidget *, const QString &caption, const QString &text) override
    {
        questions.append(caption + '|' + text);
        return !confirmAnswers.isEmpty() && confirmAnswers.dequeue();
    }
    QString openFileName(QWidget *, const QString &filter) override
    {
        fileFilters.append(filter);
        return openAnswers.isEmpty() ? QString() : openAnswers.dequeue();
    }
    QString saveFileName(QWidget *, const QString &filter, const QString &suggestedName) override
    {
        fileFilters.append(filter);
        suggestedNames.append(suggestedName);
        return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
    }
    void execModal(QDialog *dialog) override
    {
        modalDialogs.append(dialog->windowTitle());
        if (whileModal)
            whileModal(dialog);
    }
    bool openUrl(const QUrl &url) override
    {
        openedUrls.append(url);
        return browserOpens;
    }
    std::expected<void, QString> printFile(const QString &path) override
    {
        if (!printError.isEmpty())
            return std::unexpected(printError);
        printed.append(path);
        return {};
    }
};

// The button of a window that runs the command with that id.
inline QAbstractButton *button(QWidget &window, int id)
{
    for (QAbstractButton *b : window.findChildren<QAbstractButton *>())
        if (b->property("commandId").toInt() == id)
            return b;
    return nullptr;
}

// Runs the menu item with that id the way a click on it does, after
// checking its text.
inline void triggerMenuItem(QMenu *menu, int id, const QString &text)
{
    for (QAction *a : menu->actions())
        if (a->data().toInt() == id) {
            QCOMPARE(a->text(), text);
            a->trigger();
            return;
        }
    QFAIL("no such menu item");
}

// The folder the manager, import and draw-change tests open: 福彩3D (1)
// with the draws given and 排列三 (2) with the one draw 5$789.
inline bool writeTwoLotteryFolder(const QString &data, const QByteArray &firstDraws)
{
    return testsupport::DataFolderBuilder(data)
        .lottery("1", "福彩3D", firstDraws)
        .lottery("2", "排列三", "5$789\r\n")
        .write();
}

inline QString cellText(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
}

} // namespace guitest
