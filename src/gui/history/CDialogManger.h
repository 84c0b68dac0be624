#pragma once

#include "core/history/LotteryManager.h"
#include "core/history/TableReader.h"

#include <QDialog>
#include <QMap>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QListWidget;

namespace numsieve::gui {

class AppServices;
class MessageHandler;

// 彩票管理: edits a working copy of the lotteries and their draws. The
// manager core holds every list, edit text and enabled state; this window
// hands it the user's typing and clicks and shows its state after each one.
// Only 保存 and 确定 write the data folder, and each save asks the main
// window to read it again.
class CDialogManger : public QDialog
{
    Q_OBJECT

public:
    enum { IdSave = 1032, IdOk = 1, IdCancel = 2, IdTableImport = 1068, IdPasteTable = 1069, IdPrizes = 1070 };
    static inline const QString kFilter = QStringLiteral("文本文件(*.txt)");
    static inline const QString kTableFilter = QStringLiteral("表格文件(*.txt *.csv);;所有文件(*)");
    static inline const QString kDiscardQuestion = QStringLiteral("放弃未保存的修改吗？");

    CDialogManger(AppServices &services, MessageHandler &mainWindow, const LotteryRegistry &registry,
                  const QString &dataFolder, QWidget *parent = nullptr);

    const LotteryManager &manager() const { return m_manager; }
    QAbstractButton *button(int id) const;
    QLineEdit *edit(LotteryManager::Control id) const { return m_edits.value(id); }
    QListWidget *lotteryList() const { return m_lotteryList; }
    QListWidget *drawList() const { return m_drawList; }
    QLabel *prizesLabel() const { return m_prizesLabel; }
    // Tests shorten the wait for a silent download server.
    void setDownloadTimeout(int milliseconds) { m_downloadTimeoutMs = milliseconds; }

    // The commands of the buttons, by id.
    void runCommand(int id);

    // 取消, Escape and the close box: with changes that 保存 would write,
    // the user is asked before they are dropped.
    void reject() override;

private:
    void createControls();
    void createLists();
    void createEdits();
    void createButtons();
    // The manager follows the lists' highlight and double clicks.
    void followLists();
    QAbstractButton *addButton(int id, const QString &text, QRect units);
    void showMessages(const QStringList &messages);
    void showState();
    void download();
    void exportDraws();
    void importDraws();
    void importTableFile();
    // Ctrl+V in the draw list: the clipboard's text as a table.
    void pasteTable();
    void previewTable(const std::expected<TableReading, QString> &reading);
    // For draws whose issue the history holds with another number, asks
    // whether to keep the held numbers (保留本地的) or take these (换成新的);
    // nothing for 取消. Keeps the held ones without asking when none differ.
    std::optional<Differing> askDiffering(const QList<Draw> &draws);
    // Merges the draws, asking first about differing ones, and shows what
    // the history made of them.
    void importInto(const QList<Draw> &draws, const QStringList &problems);
    void showDrawMenu(const QPoint &at);
    void editPrizes();
    bool save();

    AppServices &m_services;
    MessageHandler &m_mainWindow;
    QString m_dataFolder;
    LotteryManager m_manager;
    // The state as last loaded or saved, to tell whether there is anything
    // a close would lose.
    LotteryManager m_saved;
    QListWidget *m_lotteryList = nullptr;
    QListWidget *m_drawList = nullptr;
    QLabel *m_prizesLabel = nullptr;
    QMap<int, QLineEdit *> m_edits;
    QMap<int, QAbstractButton *> m_buttons;
    int m_downloadTimeoutMs = 0;
    // Set while the window shows the core's state, so that the lists'
    // selection signals are not taken for the user's.
    bool m_showing = false;
};

} // namespace numsieve::gui
