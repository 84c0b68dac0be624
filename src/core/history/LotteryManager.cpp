#include "core/history/LotteryManager.h"

#include "core/Messages.h"
#include "core/history/DataFolder.h"
#include "core/results/NumberListFile.h"
#include "core/text/TextFile.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace numsieve {

namespace {

const QString kSeparator = QStringLiteral(" - ");
const QChar kDollar = QLatin1Char('$');

const QString kIdEmpty = QStringLiteral("彩票ID不能为空");
const QString kNameEmpty = QStringLiteral("彩票名称不能为空");
const QString kNameDollar = QStringLiteral("彩票名称不能包含$");
const QString kIdExists = QStringLiteral("彩票ID已经存在，请选择其他ID");
const QString kRegistryFull = QStringLiteral("彩票数量已达上限%1个，无法添加").arg(LotteryRegistry::kCapacity);
const QString kBuiltIn = QStringLiteral("\"福彩3D\"、\"排列三\"、\"时时乐\"和\"时时彩\"是系统默认彩种，无法删除");
const QString kIssueEmpty = QStringLiteral("奖期不能为空");
const QString kIssueDollar = QStringLiteral("奖期不能包含$");
const QString kNumberEmpty = QStringLiteral("开奖号码不能为空");
const QString kNumberLength = QStringLiteral("开奖号码必须是3个");
const QString kNumberDigits = QStringLiteral("开奖号码只能是数字");
const QString kIssueExists = QStringLiteral("奖期已经存在，请选择其他奖期");
const QString kNotDownloadable = QStringLiteral(
    "目前只支持\"福彩3D\"、\"排列三\"、\"时时乐\"和\"时时彩\"的号码自动更新\n"
    "注意:\"福彩3D\"ID必须为1，\"排列三\"ID必须为2，\"时时乐\"ID必须为3，\"时时彩\"ID必须为4，否则无法更新");

const QString kKeepExistingDraws = QStringLiteral("数据文件夹中已有彩票ID为%1的开奖号码%2期，是否沿用这些号码？");
const QString kDownloadLacks = QStringLiteral("下载到%1期开奖号码（最新一期 %2）。本地%3期中有%4期不在下载的号码里。");

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allAsciiDigits(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), isAsciiDigit);
}

// "id - name" or "issue - number" for every entry.
template<typename Entry>
QStringList entryTexts(const QList<Entry> &entries, QString Entry::*first, QString Entry::*second)
{
    QStringList texts;
    texts.reserve(entries.size());
    for (const Entry &entry : entries)
        texts.append(entry.*first + kSeparator + entry.*second);
    return texts;
}

template<typename Entry>
bool moveRow(QList<Entry> &entries, int &row, int step)
{
    const int target = row + step;
    if (row < 0 || row >= entries.size() || target < 0 || target >= entries.size())
        return false;
    entries.move(row, target);
    row = target;
    return true;
}

} // namespace

LotteryManager::LotteryManager(const LotteryRegistry &registry) : m_registry(registry)
{
    for (const Lottery &lottery : m_registry.lotteries())
        m_lotteries.append(Record{lottery.id, lottery.name});
    if (!m_registry.isEmpty()) {
        m_draws = m_registry.at(0).draws;
        m_lotteryRow = 0;
        m_currentId = m_lotteries.first().first;
    }
    m_enabled.fill(true);
}

QStringList LotteryManager::lotteryEntries() const
{
    return entryTexts(m_lotteries, &Record::first, &Record::second);
}

QStringList LotteryManager::drawEntries() const
{
    return entryTexts(m_draws, &Draw::issue, &Draw::number);
}

QString LotteryManager::editText(Control edit) const
{
    if (edit < IdEdit || edit > NumberEdit)
        return {};
    return m_edits[edit - IdEdit];
}

bool LotteryManager::isEnabled(Control control) const
{
    if (control < kFirstControl || control > kLastControl)
        return false;
    return m_enabled[control - kFirstControl];
}

bool LotteryManager::editAccepts(Control edit, const QString &text)
{
    switch (edit) {
    case IdEdit:
        return text.size() <= kIdMaxLength && allAsciiDigits(text);
    case NumberEdit:
        return text.size() <= kNumberMaxLength && allAsciiDigits(text);
    case NameEdit:
    case IssueEdit:
        return true;
    default:
        return false;
    }
}

bool LotteryManager::setEditText(Control control, const QString &text)
{
    if (!editAccepts(control, text))
        return false;
    edit(control) = text;
    return true;
}

bool LotteryManager::setEdits(const QString &id, const QString &name, const QString &issue, const QString &number)
{
    // Each edit takes what it accepts, as typing into four edits would.
    const bool idTaken = setEditText(IdEdit, id);
    const bool nameTaken = setEditText(NameEdit, name);
    const bool issueTaken = setEditText(IssueEdit, issue);
    const bool numberTaken = setEditText(NumberEdit, number);
    return idTaken && nameTaken && issueTaken && numberTaken;
}

std::optional<QString> LotteryManager::currentReadProblem() const
{
    const qsizetype slot = slotOf(m_currentId);
    if (slot < 0 || m_registry.at(slot).readProblem.isEmpty())
        return std::nullopt;
    return m_registry.at(slot).readProblem;
}

qsizetype LotteryManager::slotOf(const QString &id) const
{
    for (qsizetype i = 0; i < m_registry.count(); ++i) {
        if (m_registry.at(i).id == id)
            return i;
    }
    return -1;
}

// An entry without an id or issue part cannot be edited; such entries only
// stand for "nothing selected".
const Record *LotteryManager::selectedLottery() const
{
    if (m_lotteryRow < 0 || m_lotteryRow >= m_lotteries.size() || m_lotteries.at(m_lotteryRow).first.isEmpty())
        return nullptr;
    return &m_lotteries.at(m_lotteryRow);
}

const Draw *LotteryManager::selectedDraw() const
{
    if (m_drawRow < 0 || m_drawRow >= m_draws.size() || m_draws.at(m_drawRow).issue.isEmpty())
        return nullptr;
    return &m_draws.at(m_drawRow);
}

void LotteryManager::fillDrawList()
{
    m_drawRow = -1;
    const qsizetype slot = slotOf(m_currentId);
    m_draws = slot >= 0 ? m_registry.at(slot).draws : QList<Draw>();
}

void LotteryManager::rebuildDraws()
{
    const qsizetype slot = slotOf(m_currentId);
    if (slot < 0)
        return;
    m_registry[slot].draws = m_draws;
}

void LotteryManager::setEnabled(std::initializer_list<Control> controls, bool enabled)
{
    for (const Control control : controls)
        m_enabled[control - kFirstControl] = enabled;
}

void LotteryManager::resetAll()
{
    for (QString &text : m_edits)
        text.clear();
    m_enabled.fill(true);
}

void LotteryManager::resetLotterySide()
{
    edit(IdEdit).clear();
    edit(NameEdit).clear();
    setEnabled({IdEdit, NameEdit, LotteryUp, LotteryDown, AddLottery, ModifyLottery, DeleteLottery}, true);
}

void LotteryManager::resetDrawSide()
{
    edit(IssueEdit).clear();
    edit(NumberEdit).clear();
    setEnabled({IssueEdit, NumberEdit, DrawUp, DrawDown, AddDraw, ModifyDraw, DeleteDraw, DeleteAllDraws,
                DownloadDraws, ExportDraws, ImportDraws},
               true);
}

bool LotteryManager::placesByIssue() const
{
    const qsizetype slot = slotOf(m_currentId);
    return slot >= 0 && std::ranges::all_of(m_registry.at(slot).draws, [](const Draw &d) { return isDigitIssue(d.issue); });
}

void LotteryManager::prefillNextIssue()
{
    const qsizetype slot = slotOf(m_currentId);
    if (slot < 0 || !edit(IssueEdit).isEmpty() || !isEnabled(IssueEdit) || !placesByIssue())
        return;
    const QList<Draw> &draws = m_registry.at(slot).draws;
    if (draws.isEmpty())
        return;
    QString next = std::ranges::max(draws, [](const Draw &a, const Draw &b) {
                       return compareIssueValues(a.issue, b.issue) < 0;
                   }).issue;
    qsizetype i = next.size() - 1;
    for (; i >= 0 && next.at(i) == QLatin1Char('9'); --i)
        next[i] = QLatin1Char('0');
    if (i >= 0)
        next[i] = QChar(next.at(i).unicode() + 1);
    else
        next.prepend(QLatin1Char('1'));
    edit(IssueEdit) = next;
}

void LotteryManager::enterLotteryEditMode()
{
    const Record *entry = selectedLottery();
    if (!entry)
        return;
    edit(IdEdit) = entry->first;
    edit(NameEdit) = entry->second;
    setEnabled({IdEdit, LotteryUp, LotteryDown, AddLottery, DeleteLottery}, false);
}

void LotteryManager::enterDrawEditMode()
{
    const Draw *entry = selectedDraw();
    if (!entry)
        return;
    edit(IssueEdit) = entry->issue;
    edit(NumberEdit) = entry->number;
    setEnabled({IssueEdit, DrawUp, DrawDown, AddDraw, DeleteDraw, DeleteAllDraws, DownloadDraws, ExportDraws,
                ImportDraws},
               false);
}

void LotteryManager::selectLottery(int row)
{
    if (row < 0 || row >= m_lotteries.size()) {
        m_lotteryRow = -1;
        return;
    }
    m_lotteryRow = row;
    const QString id = m_lotteries.at(row).first;
    if (id == m_currentId)
        return;
    resetAll();
    m_currentId = id;
    fillDrawList();
}

void LotteryManager::lotteryDoubleClicked()
{
    if (!selectedLottery())
        return;
    resetDrawSide();
    enterLotteryEditMode();
}

void LotteryManager::moveLotteryUp()
{
    moveRow(m_lotteries, m_lotteryRow, -1);
}

void LotteryManager::moveLotteryDown()
{
    moveRow(m_lotteries, m_lotteryRow, +1);
}

QStringList LotteryManager::addLottery(const QString &dataDir, const Ask &askKeep)
{
    if (m_registry.isFull())
        return {kRegistryFull};
    const QString id = edit(IdEdit);
    const QString name = edit(NameEdit);
    if (id.isEmpty())
        return {kIdEmpty};
    if (name.isEmpty())
        return {kNameEmpty};
    if (name.contains(kDollar)) {
        edit(NameEdit).clear();
        return {kNameDollar};
    }
    if (const auto problem = unsavableText(name)) {
        edit(NameEdit).clear();
        return {QStringLiteral("彩票名称") + *problem};
    }
    if (slotOf(id) >= 0) {
        edit(IdEdit).clear();
        return {kIdExists};
    }
    // A lottery deleted earlier left its draw file behind; a new lottery of
    // the same id would replace it with nothing at the next save.
    Lottery added{name, id, {}, {}};
    QStringList messages;
    if (!dataDir.isEmpty() && idNamesDrawFile(id)) {
        auto existing = readDrawFile(drawFilePath(dataDir, id));
        if (!existing) {
            added.readProblem = existing.error();
            messages.append(existing.error());
        } else if (!existing->isEmpty() && askKeep
                   && askKeep(kKeepExistingDraws.arg(id).arg(existing->size()))) {
            added.draws = std::move(*existing);
        }
    }
    m_lotteries.append(Record{id, name});
    m_lotteryRow = int(m_lotteries.size() - 1);
    m_registry.append(added);
    m_currentId = id;
    fillDrawList();
    edit(IdEdit).clear();
    edit(NameEdit).clear();
    return messages;
}

QStringList LotteryManager::modifyLottery()
{
    const Record *entry = selectedLottery();
    if (!entry)
        return {};
    const QString id = edit(IdEdit);
    const QString name = edit(NameEdit);
    // The first press only loads the selected lottery, so that the id cannot
    // be changed and the name is edited in place.
    if (id.isEmpty() || id != entry->first || name.isEmpty()) {
        resetDrawSide();
        enterLotteryEditMode();
        return name.isEmpty() ? QStringList{kNameEmpty} : QStringList{};
    }
    edit(NameEdit).clear();
    if (name.contains(kDollar))
        return {kNameDollar};
    if (const auto problem = unsavableText(name))
        return {QStringLiteral("彩票名称") + *problem};
    m_lotteries[m_lotteryRow].second = name;
    if (const qsizetype slot = slotOf(id); slot >= 0)
        m_registry[slot].name = name;
    resetAll();
    return {};
}

QStringList LotteryManager::deleteLottery()
{
    const Record *entry = selectedLottery();
    if (!entry)
        return {};
    if (isBuiltInLotteryId(entry->first))
        return {kBuiltIn};
    m_lotteries.removeAt(m_lotteryRow);
    if (const qsizetype slot = slotOf(m_currentId); slot >= 0)
        m_registry.removeAt(slot);
    m_lotteryRow = m_lotteries.isEmpty() ? -1 : 0;
    m_currentId = m_lotteries.isEmpty() ? QString() : m_lotteries.first().first;
    resetAll();
    fillDrawList();
    return {};
}

void LotteryManager::selectDraw(int row)
{
    if (row < 0 || row >= m_draws.size()) {
        m_drawRow = -1;
        return;
    }
    m_drawRow = row;
    resetAll();
}

void LotteryManager::drawDoubleClicked()
{
    if (!selectedDraw())
        return;
    resetLotterySide();
    enterDrawEditMode();
}

void LotteryManager::moveDrawUp()
{
    moveRow(m_draws, m_drawRow, -1);
}

void LotteryManager::moveDrawDown()
{
    moveRow(m_draws, m_drawRow, +1);
}

QStringList LotteryManager::addDraw()
{
    const qsizetype slot = slotOf(m_currentId);
    if (slot < 0)   // no lottery to add to
        return {};
    const Draw draw{edit(IssueEdit), edit(NumberEdit)};
    switch (const DrawCheck check = checkDraw(draw); check.fault) {
    case DrawFault::None: break;
    case DrawFault::IssueEmpty: return {kIssueEmpty};
    case DrawFault::IssueDollar: edit(IssueEdit).clear(); return {kIssueDollar};
    case DrawFault::IssueCharacter: edit(IssueEdit).clear(); return {QStringLiteral("奖期") + check.detail};
    case DrawFault::NumberEmpty: return {kNumberEmpty};
    case DrawFault::NumberLength:
    case DrawFault::NumberDollar: edit(NumberEdit).clear(); return {kNumberLength};
    case DrawFault::NumberDigits: edit(NumberEdit).clear(); return {kNumberDigits};
    }
    if (const auto problem = currentReadProblem())
        return {keptUnreadableMessage(*problem)};
    // Against the stored draws, which hold the same issues as the list.
    const QList<Draw> &stored = m_registry.at(slot).draws;
    const QString key = issueKey(draw.issue);
    if (std::ranges::any_of(stored, [&key](const Draw &d) { return issueKey(d.issue) == key; })) {
        edit(IssueEdit).clear();
        return {kIssueExists};
    }
    // The list shows the stored draws; sharing them, a long history is held
    // once, and adding to it does not copy it.
    m_draws = {};
    Intake intake = mergeDraws(m_registry[slot].draws, {draw}, Differing::KeepHeld);
    m_draws = m_registry.at(slot).draws;
    if (!intake.refused.isEmpty()) {
        edit(IssueEdit).clear();
        return {intake.refused.first().reason};
    }
    m_drawRow = intake.inserted.isEmpty() ? int(m_draws.size() - 1)
                                          : int(std::ranges::find(std::as_const(m_draws), draw.issue, &Draw::issue) - m_draws.cbegin());
    m_lastIntake = std::move(intake);
    resetAll();
    return {};
}

QStringList LotteryManager::modifyDraw()
{
    const Draw *entry = selectedDraw();
    if (!entry)
        return {};
    const QString issue = edit(IssueEdit);
    const QString number = edit(NumberEdit);
    if (issue.isEmpty() || issue != entry->issue || number.isEmpty()) {
        resetLotterySide();
        enterDrawEditMode();
        return number.isEmpty() ? QStringList{kNumberEmpty} : QStringList{};
    }
    if (number.size() != 3) {
        edit(NumberEdit).clear();
        return {kNumberLength};
    }
    m_draws[m_drawRow].number = number;
    rebuildDraws();
    resetAll();
    return {};
}

void LotteryManager::deleteDraw()
{
    if (!selectedDraw())
        return;
    m_draws.removeAt(m_drawRow);
    m_drawRow = m_draws.isEmpty() ? -1 : std::max(m_drawRow - 1, 0);
    rebuildDraws();
    resetAll();
}

void LotteryManager::deleteAllDraws()
{
    m_draws.clear();
    m_drawRow = -1;
    rebuildDraws();
    resetAll();
}

std::expected<int, QString> LotteryManager::downloadLotteryNumber() const
{
    int number = 0;
    for (const QChar c : m_currentId) {
        if (!isAsciiDigit(c))
            break;
        number = std::min(number * 10 + (c.unicode() - u'0'), 1000);   // any id past 4 is refused alike
    }
    if (number < 1 || number > 4)
        return std::unexpected(kNotDownloadable);
    return number;
}

namespace {

// Whatever reader brought the list, nothing enters the history that a save
// could not write back as it came: one faulty draw refuses the download.
std::optional<QString> downloadProblem(const QList<Draw> &draws)
{
    for (const Draw &draw : draws) {
        const DrawCheck check = checkDraw(draw);
        if (check.fault == DrawFault::IssueCharacter)
            return QStringLiteral("下载的奖期") + check.detail;
        if (check)
            return QStringLiteral("服务器的回答不是开奖号码列表");
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> LotteryManager::downloadQuestion(const QList<Draw> &draws) const
{
    if (draws.isEmpty() || m_registry.isEmpty() || downloadProblem(draws))
        return std::nullopt;
    const QList<Draw> &local = m_registry.at(std::max<qsizetype>(slotOf(m_currentId), 0)).draws;
    QSet<QString> downloaded;
    downloaded.reserve(draws.size());
    for (const Draw &draw : draws)
        downloaded.insert(draw.issue);
    const auto missing = std::ranges::count_if(local, [&](const Draw &d) { return !downloaded.contains(d.issue); });
    if (missing == 0)
        return std::nullopt;
    // The newest by issue: a list may come newest first.
    const bool digits = std::ranges::all_of(draws, [](const Draw &d) { return isDigitIssue(d.issue); });
    const Draw &newest = digits ? *std::ranges::max_element(draws, [](const Draw &a, const Draw &b) {
        return compareIssueValues(a.issue, b.issue) < 0;
    })
                                : draws.last();
    // One arg() for all: an issue is the server's text and may hold "%3".
    return kDownloadLacks.arg(QString::number(draws.size()), newest.issue, QString::number(local.size()),
                              QString::number(missing));
}

std::expected<LotteryManager::DownloadResult, QString> LotteryManager::applyDownload(const QList<Draw> &draws,
                                                                                     DownloadMode mode,
                                                                                     Differing differing)
{
    DownloadResult result;
    result.downloaded = int(draws.size());
    if (draws.isEmpty() || m_registry.isEmpty())
        return result;
    if (const auto problem = downloadProblem(draws))
        return std::unexpected(*problem);
    const qsizetype slot = std::max<qsizetype>(slotOf(m_currentId), 0);
    if (!m_registry.at(slot).readProblem.isEmpty())
        return std::unexpected(keptUnreadableMessage(m_registry.at(slot).readProblem));
    m_draws = {};
    QList<Draw> &local = m_registry[slot].draws;
    result.intake = mode == DownloadMode::Replace ? replaceDraws(local, draws, differing)
                                                  : mergeDraws(local, draws, differing);
    result.added = int(result.intake.added.size());
    result.removed = result.intake.removed;
    m_lastIntake = result.intake;
    m_draws = local;
    m_drawRow = -1;
    return result;
}

LotteryManager::ImportLines LotteryManager::readImportLines(const QStringList &lines)
{
    ImportLines read;
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        const qsizetype split = line.indexOf(kDollar);
        if (split < 0) {
            read.problems.append(msg::kBadFormat);
            break;
        }
        const Draw draw{line.left(split).trimmed(), line.mid(split + 1).trimmed()};
        const DrawCheck check = checkDraw(draw);
        switch (check.fault) {
        case DrawFault::None: read.draws.append(draw); break;
        case DrawFault::IssueEmpty: read.problems.append(QStringLiteral("奖期为空，无法导入")); break;
        case DrawFault::IssueDollar: read.problems.append(QStringLiteral("奖期包含$，无法导入")); break;
        case DrawFault::IssueCharacter: read.problems.append(QStringLiteral("奖期") + check.detail + QStringLiteral("，无法导入")); break;
        case DrawFault::NumberEmpty: read.problems.append(draw.issue + QStringLiteral("期开奖号码为空，无法导入")); break;
        case DrawFault::NumberLength: read.problems.append(draw.issue + QStringLiteral("期开奖号码不是3个，无法导入")); break;
        case DrawFault::NumberDollar: read.problems.append(draw.issue + QStringLiteral("期开奖号码包含$，无法导入")); break;
        case DrawFault::NumberDigits: read.problems.append(draw.issue + QStringLiteral("期开奖号码不是数字，无法导入")); break;
        }
    }
    return read;
}

std::expected<LotteryManager::ImportLines, QString> LotteryManager::readImportFile(const QString &path)
{
    if (!QFileInfo::exists(path))
        return std::unexpected(msg::kFileMissing);
    const auto lines = readTextLines(path);
    if (!lines)
        return std::unexpected(lines.error());
    return readImportLines(*lines);
}

std::expected<qsizetype, QStringList> LotteryManager::importSlot() const
{
    const qsizetype slot = slotOf(m_currentId);
    if (slot < 0)
        return std::unexpected(QStringList());
    if (const auto problem = currentReadProblem())
        return std::unexpected(QStringList{keptUnreadableMessage(*problem)});
    return slot;
}

Intake LotteryManager::previewImport(const QList<Draw> &draws) const
{
    const qsizetype slot = slotOf(m_currentId);
    QList<Draw> history = slot >= 0 ? m_registry.at(slot).draws : QList<Draw>();
    return mergeDraws(history, draws, Differing::KeepHeld);
}

std::expected<Intake, QStringList> LotteryManager::importDraws(const QList<Draw> &draws, Differing differing)
{
    const auto slot = importSlot();
    if (!slot)
        return std::unexpected(slot.error());
    Intake intake = mergeDraws(m_registry[*slot].draws, draws, differing);
    // The list may run ahead of the stored order; new draws that all came
    // after the newest are added to it as they are to the stored draws,
    // others show the stored order.
    if (intake.inserted.isEmpty() && !intake.differingTaken)
        m_draws.append(intake.added);
    else
        fillDrawList();
    m_lastIntake = intake;
    return intake;
}

QStringList LotteryManager::importMessages(const Intake &intake)
{
    QStringList messages;
    // One message for each kind, however many draws it names.
    const auto listed = [&messages](const QString &heading, const QStringList &lines) {
        constexpr int kShown = 20;
        if (lines.isEmpty())
            return;
        QStringList shown = lines.mid(0, kShown);
        if (lines.size() > kShown)
            shown.append(QStringLiteral("……另有%1条").arg(lines.size() - kShown));
        messages.append(heading + QLatin1Char('\n') + shown.join(QLatin1Char('\n')));
    };
    QStringList refused;
    for (const RefusedDraw &draw : intake.refused)
        refused.append(refusedText(draw));
    listed(QStringLiteral("%1个号码没有导入：").arg(intake.refused.size()), refused);
    const QStringList differing = differingLines(intake);
    if (!differing.isEmpty())
        listed(differing.first(), differing.mid(1));
    QStringList placed;
    for (const PlacedRun &run : intake.inserted)
        placed.append(placedRunText(run));
    listed(QStringLiteral("按奖期排列："), placed);
    const int filtered = intake.known + (intake.differingTaken ? 0 : int(intake.differing.size()));
    const int imported = int(intake.added.size());
    messages.append(filtered == 0 ? QStringLiteral("成功导入%1期号码").arg(imported)
                                  : QStringLiteral("成功导入%1期号码,自动过滤掉%2个已存在的奖期号码").arg(imported).arg(filtered));
    return messages;
}

QStringList LotteryManager::importLines(const QStringList &lines)
{
    ImportLines read = readImportLines(lines);
    const auto intake = importDraws(read.draws);
    if (!intake)
        return intake.error();
    return read.problems + importMessages(*intake);
}

QStringList LotteryManager::exportLines() const
{
    QStringList lines;
    lines.reserve(m_draws.size());
    for (const Draw &draw : m_draws)
        lines.append(recordLine(draw.issue, draw.number));
    return lines;
}

std::expected<QString, QString> LotteryManager::exportFile(const QString &chosenPath) const
{
    const QString path = savePathWithExtension(chosenPath, QStringLiteral(".txt"));
    if (auto written = writeTextLines(path, exportLines()); !written)
        return std::unexpected(written.error());
    return path;
}

std::optional<Prizes> LotteryManager::currentPrizes() const
{
    return m_currentId.isEmpty() ? std::nullopt : m_prizes.prizesOf(m_currentId);
}

QStringList LotteryManager::setCurrentPrizes(const std::optional<Prizes> &prizes)
{
    if (m_currentId.isEmpty())
        return {};
    if (!m_prizes.readProblem.isEmpty())
        return {keptUnreadableMessage(m_prizes.readProblem)};
    m_prizes.set(m_currentId, prizes);
    return {};
}

std::expected<SaveReport, QString> LotteryManager::save(const QString &dataDir) const
{
    QStringList listed;
    listed.reserve(m_lotteries.size());
    for (const Record &entry : m_lotteries)
        listed.append(recordLine(entry.first, entry.second));
    return saveRegistry(dataDir, m_registry, listed, &m_prizes);
}

bool LotteryManager::savesSameAs(const LotteryManager &other) const
{
    if (m_lotteries != other.m_lotteries || m_registry.count() != other.m_registry.count() || m_prizes != other.m_prizes)
        return false;
    // The registry's names are not written; lottery.data takes the list's.
    for (qsizetype i = 0; i < m_registry.count(); ++i) {
        const Lottery &mine = m_registry.at(i);
        const Lottery &theirs = other.m_registry.at(i);
        if (mine.id != theirs.id || mine.draws != theirs.draws)
            return false;
    }
    return true;
}

} // namespace numsieve
