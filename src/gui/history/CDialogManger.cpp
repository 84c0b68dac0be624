#include "gui/history/CDialogManger.h"

#include "gui/app/AppServices.h"
#include "gui/app/WindowMessages.h"
#include "gui/history/CDialogIssueUpdate.h"
#include "gui/history/CDialogPrizes.h"
#include "gui/history/CDialogTableImport.h"
#include "core/online/OnlineHosts.h"
#include "gui/ui/DialogUnits.h"
#include "core/Messages.h"
#include "core/text/TextFile.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShortcut>

namespace numsieve::gui {

namespace {

using C = LotteryManager::Control;

constexpr QSize kButtonUnits{50, 14};

// Shows the texts in the list, touching it only when they changed, so that
// an unchanged list keeps its scroll position.
void showEntries(QListWidget *list, const QStringList &entries, int row)
{
    bool same = list->count() == entries.size();
    for (int i = 0; same && i < entries.size(); ++i)
        same = list->item(i)->text() == entries.at(i);
    if (!same) {
        list->clear();
        list->addItems(entries);
    }
    if (row >= 0 && row < list->count()) {
        list->setCurrentRow(row);
        list->scrollToItem(list->item(row));
    } else {
        list->setCurrentRow(-1);
        list->clearSelection();
    }
}

// The row the list shows highlighted, -1 for none. This, not the current
// item, is what the user sees as chosen: a click on blank space, a Ctrl+click
// or Ctrl+Space take the highlight away and leave the current item in place.
int selectedRow(const QListWidget *list)
{
    const QList<QListWidgetItem *> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

} // namespace

CDialogManger::CDialogManger(AppServices &services, MessageHandler &mainWindow, const LotteryRegistry &registry,
                             const QString &dataFolder, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_mainWindow(mainWindow)
    , m_dataFolder(dataFolder)
    , m_manager(registry)
{
    m_manager.setPrizeFile(loadPrizeFile(dataFolder));
    m_saved = m_manager;
    setObjectName(QStringLiteral("CDialogManger"));
    setWindowTitle(QStringLiteral("彩票管理"));
    setFixedSize(dluToPixels(QSize(419, 297)));
    createControls();
    showState();
}

QAbstractButton *CDialogManger::addButton(int id, const QString &text, QRect units)
{
    auto *b = new QPushButton(text, this);
    b->setGeometry(dluToPixels(units));
    b->setAutoDefault(false);
    b->setProperty("commandId", id);
    connect(b, &QAbstractButton::clicked, this, [this, id] { runCommand(id); });
    m_buttons.insert(id, b);
    return b;
}

QAbstractButton *CDialogManger::button(int id) const
{
    return m_buttons.value(id);
}

void CDialogManger::createControls()
{
    createLists();
    createEdits();
    createButtons();
    followLists();
}

void CDialogManger::createLists()
{
    auto *lotteries = new QGroupBox(QStringLiteral("彩票"), this);
    lotteries->setGeometry(dluToPixels(QRect(7, 7, 171, 264)));
    auto *draws = new QGroupBox(QStringLiteral("号码"), this);
    draws->setGeometry(dluToPixels(QRect(187, 7, 225, 264)));

    m_lotteryList = new QListWidget(this);
    m_lotteryList->setObjectName(QStringLiteral("1048"));
    // Shorter than the room there is, for the current lottery's prizes below it.
    m_lotteryList->setGeometry(dluToPixels(QRect(14, 19, 158, 172)));
    m_prizesLabel = new QLabel(this);
    m_prizesLabel->setObjectName(QStringLiteral("prizes"));
    m_prizesLabel->setGeometry(dluToPixels(QRect(14, 194, 104, 24)));
    m_prizesLabel->setWordWrap(true);
    m_prizesLabel->setTextFormat(Qt::PlainText);
    m_drawList = new QListWidget(this);
    m_drawList->setObjectName(QStringLiteral("1049"));
    m_drawList->setGeometry(dluToPixels(QRect(194, 19, 212, 183)));
    // A lottery may hold a hundred thousand draws.
    m_drawList->setUniformItemSizes(true);

    const std::pair<const char16_t *, QPoint> labels[] = {
        {u"彩票ID", {14, 223}}, {u"彩票名称", {68, 223}}, {u"奖期", {195, 206}}, {u"开奖号码", {248, 206}}};
    for (const auto &[text, at] : labels) {
        auto *label = new QLabel(QString::fromUtf16(text), this);
        label->move(dluToPixels(at));
        label->adjustSize();
    }
}

void CDialogManger::createEdits()
{
    const std::pair<C, QRect> edits[] = {{C::IdEdit, {14, 235, 50, 13}},
                                         {C::NameEdit, {68, 235, 104, 13}},
                                         {C::IssueEdit, {194, 217, 50, 13}},
                                         {C::NumberEdit, {248, 217, 158, 13}}};
    for (const auto &[id, units] : edits) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::number(int(id)));
        e->setGeometry(dluToPixels(units));
        m_edits.insert(id, e);
        connect(e, &QLineEdit::textEdited, this, [this, id, e](const QString &text) {
            if (!m_manager.setEditText(id, text))
                e->setText(m_manager.editText(id));
        });
    }
    const QRegularExpression digits(QStringLiteral("[0-9]*"));
    m_edits.value(C::IdEdit)->setValidator(new QRegularExpressionValidator(digits, this));
    m_edits.value(C::IdEdit)->setMaxLength(LotteryManager::kIdMaxLength);
    m_edits.value(C::NumberEdit)->setValidator(new QRegularExpressionValidator(digits, this));
    m_edits.value(C::NumberEdit)->setMaxLength(LotteryManager::kNumberMaxLength);
}

void CDialogManger::createButtons()
{
    addButton(C::LotteryUp, QStringLiteral("↑"), QRect(146, 222, 12, 10));
    addButton(C::LotteryDown, QStringLiteral("↓"), QRect(159, 222, 12, 10));
    addButton(IdPrizes, QStringLiteral("奖金..."), QRect(QPoint(122, 199), kButtonUnits))
        ->setToolTip(QStringLiteral("设置每注的价格和直选、组选三、组选六的奖金，方案回测和对奖按它算钱"));
    addButton(C::AddLottery, QStringLiteral("添加"), QRect(QPoint(14, 252), kButtonUnits));
    addButton(C::ModifyLottery, QStringLiteral("修改"), QRect(QPoint(68, 252), kButtonUnits));
    addButton(C::DeleteLottery, QStringLiteral("删除"), QRect(QPoint(122, 252), kButtonUnits));
    addButton(C::DrawUp, QStringLiteral("↑"), QRect(380, 205, 12, 10));
    addButton(C::DrawDown, QStringLiteral("↓"), QRect(393, 205, 12, 10));
    addButton(C::AddDraw, QStringLiteral("添加"), QRect(QPoint(194, 234), kButtonUnits));
    addButton(C::ModifyDraw, QStringLiteral("修改"), QRect(QPoint(248, 234), kButtonUnits));
    addButton(C::DeleteDraw, QStringLiteral("删除"), QRect(QPoint(302, 234), kButtonUnits));
    addButton(C::DeleteAllDraws, QStringLiteral("全部删除"), QRect(QPoint(356, 234), kButtonUnits));
    addButton(C::DownloadDraws, QStringLiteral("更新号码"), QRect(QPoint(194, 251), kButtonUnits));
    addButton(C::ExportDraws, QStringLiteral("导出号码"), QRect(QPoint(248, 251), kButtonUnits));
    addButton(C::ImportDraws, QStringLiteral("导入号码"), QRect(QPoint(302, 251), kButtonUnits));
    // In the free place at the end of the row, so that every other control
    // stays where players know it.
    addButton(IdTableImport, QStringLiteral("从表格导入..."), QRect(QPoint(356, 251), kButtonUnits))
        ->setToolTip(QStringLiteral("打开网页或电子表格保存的表格文件（也可以在号码列表中按Ctrl+V粘贴复制的表格）"));
    // Beside the lists' arrows, where a player looks for what the list takes.
    addButton(IdPasteTable, QStringLiteral("粘贴表格"), QRect(326, 205, 50, 11))
        ->setToolTip(QStringLiteral("把从网页或电子表格复制的开奖号码表格粘贴进来（Ctrl+V），先预览再导入"));
    auto *paste = new QShortcut(QKeySequence::Paste, m_drawList, nullptr, nullptr, Qt::WidgetShortcut);
    connect(paste, &QShortcut::activated, this, &CDialogManger::pasteTable);
    m_drawList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_drawList, &QWidget::customContextMenuRequested, this, &CDialogManger::showDrawMenu);
    auto *ok = addButton(IdOk, QStringLiteral("确定"), QRect(QPoint(254, 277), kButtonUnits));
    addButton(IdCancel, QStringLiteral("取消"), QRect(QPoint(308, 277), kButtonUnits));
    addButton(IdSave, QStringLiteral("保存"), QRect(QPoint(362, 277), kButtonUnits));
    static_cast<QPushButton *>(ok)->setDefault(true);
}

void CDialogManger::followLists()
{
    // The manager's rows follow the highlight, whatever changed it, so that
    // 修改 and 删除 act on exactly the entry the user sees chosen.
    connect(m_lotteryList, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_showing)
            return;
        m_manager.selectLottery(selectedRow(m_lotteryList));
        showState();
    });
    connect(m_drawList, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_showing)
            return;
        m_manager.selectDraw(selectedRow(m_drawList));
        showState();
    });
    connect(m_lotteryList, &QListWidget::itemDoubleClicked, this, [this] {
        m_manager.lotteryDoubleClicked();
        showState();
    });
    connect(m_drawList, &QListWidget::itemDoubleClicked, this, [this] {
        m_manager.drawDoubleClicked();
        showState();
    });
}

void CDialogManger::runCommand(int id)
{
    QStringList messages;
    switch (id) {
    case C::LotteryUp: m_manager.moveLotteryUp(); break;
    case C::LotteryDown: m_manager.moveLotteryDown(); break;
    case C::AddLottery:
        messages = m_manager.addLottery(m_dataFolder, [this](const QString &question) {
            return m_services.confirm(this, msg::kCaption, question);
        });
        break;
    case C::ModifyLottery: messages = m_manager.modifyLottery(); break;
    case C::DeleteLottery: messages = m_manager.deleteLottery(); break;
    case C::DrawUp: m_manager.moveDrawUp(); break;
    case C::DrawDown: m_manager.moveDrawDown(); break;
    case C::AddDraw: messages = m_manager.addDraw(); break;
    case C::ModifyDraw: messages = m_manager.modifyDraw(); break;
    case C::DeleteDraw: m_manager.deleteDraw(); break;
    case C::DeleteAllDraws:
        if (m_services.confirm(this, msg::kCaption, LotteryManager::kDeleteAllQuestion))
            m_manager.deleteAllDraws();
        break;
    case C::DownloadDraws: download(); break;
    case C::ExportDraws: exportDraws(); break;
    case C::ImportDraws: importDraws(); break;
    case IdTableImport: importTableFile(); break;
    case IdPasteTable: pasteTable(); break;
    case IdPrizes: editPrizes(); break;
    case IdSave: save(); break;
    case IdOk:
        // A save that failed keeps the window, and the edits, open.
        if (save())
            accept();
        return;
    case IdCancel: reject(); return;
    default: return;
    }
    showMessages(messages);
    showState();
}

void CDialogManger::showMessages(const QStringList &messages)
{
    for (const QString &text : messages)
        m_services.warn(this, text);
}

void CDialogManger::showState()
{
    m_showing = true;
    // The next draw's issue waits in the empty issue edit.
    m_manager.prefillNextIssue();
    showEntries(m_lotteryList, m_manager.lotteryEntries(), m_manager.lotteryRow());
    showEntries(m_drawList, m_manager.drawEntries(), m_manager.drawRow());
    for (auto it = m_edits.cbegin(); it != m_edits.cend(); ++it) {
        const auto id = C(it.key());
        if (it.value()->text() != m_manager.editText(id))
            it.value()->setText(m_manager.editText(id));
        it.value()->setEnabled(m_manager.isEnabled(id));
    }
    for (int id = LotteryManager::kFirstControl; id <= LotteryManager::kLastControl; ++id)
        if (QAbstractButton *b = m_buttons.value(id))
            b->setEnabled(m_manager.isEnabled(C(id)));
    // A table is an import as 导入号码 is one, and available when it is.
    m_buttons.value(IdTableImport)->setEnabled(m_manager.isEnabled(C::ImportDraws));
    m_buttons.value(IdPasteTable)->setEnabled(m_manager.isEnabled(C::ImportDraws));
    const auto prizes = m_manager.currentPrizes();
    m_prizesLabel->setText(prizes ? QStringLiteral("每注%1元　直选%2元\n组选三%3元　组选六%4元")
                                        .arg(prizes->price)
                                        .arg(prizes->straight)
                                        .arg(prizes->groupThree)
                                        .arg(prizes->groupSix)
                                  : QStringLiteral("没有设置奖金"));
    m_buttons.value(IdPrizes)->setEnabled(!m_manager.currentId().isEmpty());
    m_showing = false;
}

void CDialogManger::download()
{
    const auto number = m_manager.downloadLotteryNumber();
    if (!number) {
        m_services.warn(this, number.error());
        return;
    }
    CDialogIssueUpdate update(m_services, loadOnlineHosts(m_dataFolder).analysis, *number, this);
    if (m_downloadTimeoutMs > 0)
        update.setTimeout(m_downloadTimeoutMs);
    m_services.execModal(&update);
    const QList<Draw> draws = update.draws();
    // A list that lacks draws held here (a server that keeps only the latest)
    // replaces them only when the user says so.
    auto mode = LotteryManager::DownloadMode::Merge;
    if (const auto question = m_manager.downloadQuestion(draws)) {
        switch (m_services.choose(this, msg::kCaption, *question, QStringLiteral("替换"), QStringLiteral("合并"))) {
        case Answer::Yes: mode = LotteryManager::DownloadMode::Replace; break;
        case Answer::No: break;
        case Answer::Cancel: return;
        }
    }
    // Nor does a downloaded number replace a different one held for its issue.
    const auto differing = askDiffering(draws);
    if (!differing)
        return;
    const auto applied = m_manager.applyDownload(draws, mode, *differing);
    if (!applied) {
        m_services.warn(this, applied.error());
        return;
    }
    // Only what the player needs to know: issues left out, and where older
    // draws went; the list shows the rest.
    QStringList messages = LotteryManager::importMessages(applied->intake);
    messages.removeLast();
    messages.removeIf([](const QString &m) { return m.contains(QStringLiteral("与本地不同")); });
    showMessages(messages);
}

void CDialogManger::exportDraws()
{
    const QString path = chooseSavePath(m_services, this, kFilter, QStringLiteral(".txt"));
    if (path.isEmpty())
        return;
    if (const auto written = m_manager.exportFile(path); !written)
        m_services.warn(this, written.error());
}

void CDialogManger::importDraws()
{
    const QString path = m_services.openFileName(this, kFilter);
    if (path.isEmpty())
        return;
    const auto read = LotteryManager::readImportFile(path);
    if (!read) {
        m_services.warn(this, read.error());
        return;
    }
    importInto(read->draws, read->problems);
}

std::optional<Differing> CDialogManger::askDiffering(const QList<Draw> &draws)
{
    const QList<DifferingDraw> differing = m_manager.previewImport(draws).differing;
    if (differing.isEmpty())
        return Differing::KeepHeld;
    constexpr int kShown = 15;
    QStringList lines;
    for (qsizetype i = 0; i < differing.size() && i < kShown; ++i)
        lines.append(differingText(differing.at(i)));
    if (differing.size() > kShown)
        lines.append(QStringLiteral("……另有%1期").arg(differing.size() - kShown));
    const QString question = QStringLiteral("%1期的开奖号码与本地的不同：\n%2\n\n保留本地的号码，还是换成新的号码？"
                                            "（换成新的号码时，保存前会先备份原来的文件）")
                                 .arg(differing.size())
                                 .arg(lines.join(QLatin1Char('\n')));
    switch (m_services.choose(this, msg::kCaption, question, QStringLiteral("保留本地的"), QStringLiteral("换成新的"))) {
    case Answer::Yes: return Differing::KeepHeld;
    case Answer::No: return Differing::TakeOffered;
    case Answer::Cancel: break;
    }
    return std::nullopt;
}

void CDialogManger::importInto(const QList<Draw> &draws, const QStringList &problems)
{
    // Every faulty line first, as they were read; the good ones are kept.
    showMessages(problems);
    const auto differing = askDiffering(draws);
    if (!differing)
        return;
    const auto intake = m_manager.importDraws(draws, *differing);
    showMessages(intake ? LotteryManager::importMessages(*intake) : intake.error());
}

void CDialogManger::showDrawMenu(const QPoint &at)
{
    QMenu menu(this);
    const bool importing = m_manager.isEnabled(C::ImportDraws);
    menu.addAction(QStringLiteral("粘贴表格\tCtrl+V"), this, &CDialogManger::pasteTable)->setEnabled(importing);
    menu.addAction(QStringLiteral("从表格导入..."), this, [this] { runCommand(IdTableImport); })->setEnabled(importing);
    menu.addAction(QStringLiteral("导入号码..."), this, [this] { runCommand(C::ImportDraws); })->setEnabled(importing);
    menu.addAction(QStringLiteral("导出号码..."), this, [this] { runCommand(C::ExportDraws); })
        ->setEnabled(m_manager.isEnabled(C::ExportDraws));
    menu.exec(m_drawList->viewport()->mapToGlobal(at));
}

void CDialogManger::editPrizes()
{
    if (const QString problem = m_manager.prizeFile().readProblem; !problem.isEmpty()) {
        m_services.warn(this, keptUnreadableMessage(problem));
        return;
    }
    const int row = m_manager.lotteryRow();
    CDialogPrizes dialog(m_services, row >= 0 ? m_manager.lotteryEntries().value(row) : m_manager.currentId(),
                         m_manager.currentPrizes(), this);
    m_services.execModal(&dialog);
    if (dialog.result() == QDialog::Accepted)
        showMessages(m_manager.setCurrentPrizes(dialog.prizes()));
}

void CDialogManger::importTableFile()
{
    const QString path = m_services.openFileName(this, kTableFilter);
    if (path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        m_services.warn(this, msg::kFileMissing);
        return;
    }
    const auto bytes = readFileBytes(path);
    if (!bytes) {
        m_services.warn(this, bytes.error());
        return;
    }
    previewTable(readTable(*bytes));
}

void CDialogManger::pasteTable()
{
    if (!m_manager.isEnabled(C::ImportDraws))
        return;
    const QString text = QGuiApplication::clipboard()->text();
    if (text.trimmed().isEmpty()) {
        m_services.warn(this, QStringLiteral("剪贴板里没有文字。请先在网页或电子表格中选中开奖号码表格并复制，再粘贴。"));
        return;
    }
    previewTable(readTableText(text));
    showState();
}

void CDialogManger::previewTable(const std::expected<TableReading, QString> &reading)
{
    if (!reading) {
        m_services.warn(this, reading.error());
        return;
    }
    const int row = m_manager.lotteryRow();
    const QString target = row >= 0 ? m_manager.lotteryEntries().value(row) : QString();
    CDialogTableImport preview(*reading, target, [this](const QList<Draw> &draws) { return m_manager.previewImport(draws); },
                               !m_manager.placesByIssue(), this);
    m_services.execModal(&preview);
    if (preview.result() == QDialog::Accepted)
        importInto(preview.draws(), {});
}

bool CDialogManger::save()
{
    const auto saved = m_manager.save(m_dataFolder);
    if (!saved) {
        m_services.warn(this, saved.error());
        return false;
    }
    m_saved = m_manager;
    m_mainWindow.sendMessage(WM_LOTTERY_RELOAD);
    if (!saved->backups.isEmpty())
        m_services.warn(this, QStringLiteral("保存前，被替换的开奖号码文件已备份到：\n%1")
                                  .arg(QDir::toNativeSeparators(backupFolderPath(m_dataFolder))));
    return true;
}

void CDialogManger::reject()
{
    if (!m_manager.savesSameAs(m_saved) && !m_services.confirm(this, msg::kCaption, kDiscardQuestion))
        return;
    QDialog::reject();
}

} // namespace numsieve::gui
