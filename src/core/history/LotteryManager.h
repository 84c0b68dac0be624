#pragma once

#include "core/history/DataFolder.h"
#include "core/history/Draw.h"
#include "core/history/DrawGate.h"
#include "core/history/LotteryRegistry.h"
#include "core/history/RecordLine.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <expected>
#include <functional>
#include <initializer_list>
#include <optional>

namespace numsieve {

// Everything the lottery manager dialog shows, and every operation its
// controls start, without a widget. The dialog hands in the edit texts, runs
// one operation, shows the returned messages in order (caption "提示", warning
// icon) and then repaints every control from this state.
//
// The two lists are not just a view of the working copy. The lottery list's
// order and names are what lottery.data gets on saving, and the draw list can
// run ahead of the stored draws: ↑/↓ reorder only the list, and the stored
// order follows only when 修改 or 删除 of a draw rebuilds the draws from it.
// Nothing reaches the data folder before save().
//
// The dialog must not feed its own repaint back: setting a list's rows after
// an operation is not a selection by the user. With no lottery at all, the
// draw operations have nothing to work on and do nothing.
class LotteryManager
{
public:
    // The controls by their ids in the dialog.
    enum Control {
        LotteryUp = 1050,
        LotteryDown = 1051,
        DrawUp = 1052,
        DrawDown = 1053,
        IdEdit = 1054,
        NameEdit = 1055,
        IssueEdit = 1056,
        NumberEdit = 1057,
        AddLottery = 1058,
        ModifyLottery = 1059,
        DeleteLottery = 1060,
        AddDraw = 1061,
        ModifyDraw = 1062,
        DeleteDraw = 1063,
        DeleteAllDraws = 1064,
        DownloadDraws = 1065,
        ExportDraws = 1066,
        ImportDraws = 1067,
    };
    static constexpr int kFirstControl = LotteryUp;
    static constexpr int kLastControl = ImportDraws;

    static constexpr int kIdMaxLength = 5;
    static constexpr int kNumberMaxLength = 3;

    // 全部删除 asks this (Yes/No, question icon) before deleteAllDraws().
    static inline const QString kDeleteAllQuestion = QStringLiteral("您确定要全部删除吗");

    LotteryManager() : LotteryManager(LotteryRegistry()) {}
    // Lists filled from the working copy, the first lottery selected and
    // current, every edit empty and every control enabled.
    explicit LotteryManager(const LotteryRegistry &registry);

    const LotteryRegistry &registry() const { return m_registry; }
    QString currentId() const { return m_currentId; }

    QStringList lotteryEntries() const;   // "id - name"
    int lotteryRow() const { return m_lotteryRow; }   // -1: none selected
    QStringList drawEntries() const;      // "issue - number"
    int drawRow() const { return m_drawRow; }

    QString editText(Control edit) const;
    bool isEnabled(Control control) const;

    // What the ID and number edits let the user type: digits only, at most
    // kIdMaxLength / kNumberMaxLength of them. The other edits take any text.
    static bool editAccepts(Control edit, const QString &text);
    // False, and the edit keeps its text, when the edit would not take it.
    bool setEditText(Control edit, const QString &text);
    bool setEdits(const QString &id, const QString &name, const QString &issue, const QString &number);

    // Operations. A returned list holds the messages to show, in order.

    // Row -1 or outside the list only clears the selection: a list that loses
    // its selection does not switch lotteries.
    void selectLottery(int row);
    void lotteryDoubleClicked();
    void moveLotteryUp();
    void moveLotteryDown();
    // 添加. With a data folder given, a lottery whose draw file is still
    // there (its lottery was deleted, the file kept) may take its draws
    // back: askKeep gets the question and answers 是 (true) or 否.
    using Ask = std::function<bool(const QString &question)>;
    [[nodiscard]] QStringList addLottery(const QString &dataDir = {}, const Ask &askKeep = {});
    [[nodiscard]] QStringList modifyLottery();
    [[nodiscard]] QStringList deleteLottery();

    void selectDraw(int row);
    void drawDoubleClicked();
    void moveDrawUp();
    void moveDrawDown();
    [[nodiscard]] QStringList addDraw();
    [[nodiscard]] QStringList modifyDraw();
    void deleteDraw();
    void deleteAllDraws();

    void resetAll();
    void resetLotterySide();
    void resetDrawSide();
    // Whether new draws stand by issue among the current lottery's (every
    // issue is digits), so that the order they come in does not matter.
    bool placesByIssue() const;
    // Puts the issue after the newest ("2024100" after "2024099") into the
    // issue edit while it is empty and takes typing, so that a draw is
    // entered by its number alone. Issues that are not digits get none.
    void prefillNextIssue();
    // Load the selected entry into its edits and leave only 修改 (and the
    // name or number edit) usable on that side. Nothing selected: no change.
    void enterLotteryEditMode();
    void enterDrawEditMode();

    // 更新号码: the number of the download endpoint for the current lottery,
    // taken from the id's leading digits ("01" is 1), or the message to show.
    std::expected<int, QString> downloadLotteryNumber() const;
    // What a download does to the current lottery's draws (the first
    // lottery's when none has the current id). Replace makes them the
    // download, Merge keeps every draw there is and adds the downloaded ones
    // of other issues; both in issue order, as every entry of draws is.
    enum class DownloadMode { Replace, Merge };
    struct DownloadResult {
        int downloaded = 0;
        int added = 0;     // downloaded draws the lottery did not have
        int removed = 0;   // draws of the lottery the result no longer has
        Intake intake;
    };
    // The question to ask before a download replaces draws it lacks (替换 /
    // 合并 / 取消); none when the download only adds.
    std::optional<QString> downloadQuestion(const QList<Draw> &draws) const;
    // Refused, changing nothing, when a draw has no issue, a number that is
    // not three digits, or text that cannot be saved. An empty download
    // changes nothing. An issue held with another number keeps the held
    // one unless `differing` says to take the downloaded.
    std::expected<DownloadResult, QString> applyDownload(const QList<Draw> &draws,
                                                         DownloadMode mode = DownloadMode::Replace,
                                                         Differing differing = Differing::KeepHeld);

    // 导入号码: the draws of a text file's lines, and one message per faulty
    // line; reading stops at a line without "$".
    struct ImportLines {
        QStringList problems;
        QList<Draw> draws;
    };
    static ImportLines readImportLines(const QStringList &lines);
    // The same from a file, which must exist; else the message.
    static std::expected<ImportLines, QString> readImportFile(const QString &path);
    // What importing these draws into the current lottery would do, changing
    // nothing: the table preview and a dry run show it, and the window asks
    // about differing draws from it.
    Intake previewImport(const QList<Draw> &draws) const;
    // Merges the draws into the current lottery. Without a lottery there is
    // nothing to do (no messages); a lottery whose file could not be read
    // refuses with that message.
    std::expected<Intake, QStringList> importDraws(const QList<Draw> &draws, Differing differing = Differing::KeepHeld);
    // What the window shows after an import, ending with the count
    // ("成功导入…"): draws not taken, differing issues, where the added ones
    // were placed.
    static QStringList importMessages(const Intake &intake);
    // 导入号码 in one step, keeping held numbers: the faulty lines' messages,
    // then importMessages().
    [[nodiscard]] QStringList importLines(const QStringList &lines);
    // The last add, import or download as the history took it.
    const Intake &lastIntake() const { return m_lastIntake; }
    // 导出号码: "issue$number" for every draw-list entry, in list order.
    QStringList exportLines() const;
    // Writes them to the chosen path, ".txt" appended unless the name ends
    // with it in any case; gives the path written.
    std::expected<QString, QString> exportFile(const QString &chosenPath) const;

    // The prizes of the lotteries, saved with them. A prize file that could
    // not be read gives no prizes and takes none.
    void setPrizeFile(const PrizeFile &file) { m_prizes = file; }
    const PrizeFile &prizeFile() const { return m_prizes; }
    std::optional<Prizes> currentPrizes() const;
    // Sets or clears the current lottery's prizes; the message when they
    // cannot be set.
    [[nodiscard]] QStringList setCurrentPrizes(const std::optional<Prizes> &prizes);

    // Draw files of every lottery of the working copy, then lottery.data
    // from the lottery list, each replaced atomically; stops at the first
    // failure with its message.
    std::expected<SaveReport, QString> save(const QString &dataDir) const;
    // Whether save() would write the same files as `other` would: the
    // lottery list (order, ids, names) and every lottery's stored draws.
    // The edits, the selection and a draw list reordered ahead of the stored
    // draws are not written, so they do not count.
    bool savesSameAs(const LotteryManager &other) const;

private:
    qsizetype slotOf(const QString &id) const;
    // Why the current lottery's draw file could not be read, if it could not.
    std::optional<QString> currentReadProblem() const;
    // The current lottery's place for an import, or what the import answers
    // instead: nothing without a lottery, the reason when its file is kept.
    std::expected<qsizetype, QStringList> importSlot() const;
    const Record *selectedLottery() const;
    const Draw *selectedDraw() const;
    void fillDrawList();
    void rebuildDraws();
    void setEnabled(std::initializer_list<Control> controls, bool enabled);
    QString &edit(Control control) { return m_edits[control - IdEdit]; }

    LotteryRegistry m_registry;
    QString m_currentId;
    // Entries are kept as their two parts, so an issue such as "2024-001"
    // or "a - b" comes back whole from its entry.
    QList<Record> m_lotteries;   // id, name
    QList<Draw> m_draws;
    int m_lotteryRow = -1;
    int m_drawRow = -1;
    std::array<QString, 4> m_edits;
    std::array<bool, kLastControl - kFirstControl + 1> m_enabled{};
    Intake m_lastIntake;
    PrizeFile m_prizes;
};

} // namespace numsieve
