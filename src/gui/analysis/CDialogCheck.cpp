#include "gui/analysis/CDialogCheck.h"

#include "core/Messages.h"
#include "gui/analysis/CsvExport.h"
#include "gui/app/AppServices.h"
#include "core/model/Number.h"
#include "core/results/NumberListFile.h"
#include "gui/ui/ScreenFit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace numsieve::gui {

namespace {

const QString kListFilter = QStringLiteral("文本文件(*.txt)");

QString kindName(BetKind kind)
{
    return kind == BetKind::Group ? QStringLiteral("组选") : QStringLiteral("直选");
}

QString groupName(int number)
{
    switch (groupKind(number)) {
    case GroupKind::Triple: return QStringLiteral("豹子");
    case GroupKind::GroupThree: return QStringLiteral("组选三");
    case GroupKind::GroupSix: break;
    }
    return QStringLiteral("组选六");
}

// What a list holds of the draw, in the terms its kind pays by.
QString holdsText(const ListCheck &check, int drawn)
{
    if (check.kind == BetKind::Straight)
        return check.holdsNumber ? QStringLiteral("含开奖号码 %1").arg(numberText(drawn))
                                 : QStringLiteral("不含开奖号码");
    if (groupKind(drawn) == GroupKind::Triple)
        return QStringLiteral("开奖号码是豹子，组选不中");
    return check.holdsGroup ? QStringLiteral("含%1 %2").arg(groupName(drawn), numberText(sortedForm(drawn)))
                            : QStringLiteral("不含开奖号码的组选");
}

QList<int> valuesOf(const QStringList &texts)
{
    QList<int> values;
    values.reserve(texts.size());
    for (const QString &text : texts)
        values.append(text.toInt());
    return values;
}

} // namespace

CDialogCheck::CDialogCheck(AppServices &services, const AnalysedLottery &lottery, const ResultTables &tables,
                           QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_lottery(lottery)
    , m_tables(tables)
{
    setWindowTitle(QStringLiteral("对奖"));

    QHBoxLayout *drawRow = createDrawRow();
    m_prizesLabel = new QLabel(m_lottery.prizes ? QStringLiteral("奖金：") + prizesText(*m_lottery.prizes)
                                                : noPrizesText(m_lottery));
    m_prizesLabel->setWordWrap(true);
    m_prizesLabel->setTextFormat(Qt::PlainText);

    QHBoxLayout *stageRow = createStageRow();

    m_table = figureTable(0,
                          {QStringLiteral("号码表"), QStringLiteral("类型"), QStringLiteral("注数"),
                           QStringLiteral("含开奖号码吗"), QStringLiteral("对奖结果")},
                          QStringLiteral("注数"));
    m_table->horizontalHeader()->setSectionResizeMode(Kind, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(Holds, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(Result, QHeaderView::ResizeToContents);
    m_table->setMinimumHeight(160);
    m_total = new QLabel;
    m_total->setTextFormat(Qt::PlainText);
    m_total->setWordWrap(true);

    auto *note = new QLabel(
        QStringLiteral("直选按号码的顺序对奖；组选不论顺序，开奖号码有两个数字相同中组选三，三个都不同中组选六，"
                       "豹子不中组选。号码文件里的号码都按从小到大写、又没有豹子时当作组选号码（保存号码这样写组选），"
                       "不对时请在“类型”里改。"));
    note->setWordWrap(true);

    auto *close = new QPushButton(QStringLiteral("关闭"));
    close->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(drawRow);
    layout->addWidget(m_prizesLabel);
    layout->addLayout(stageRow);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_total);
    layout->addWidget(note);
    layout->addLayout(buttons);
    resize(720, 440);
    fitDialogToScreen(this);

    connect(m_issue, &QComboBox::currentIndexChanged, this, &CDialogCheck::refresh);
    for (QCheckBox *box : m_stages)
        connect(box, &QCheckBox::toggled, this, &CDialogCheck::refresh);
    connect(m_addFile, &QPushButton::clicked, this, &CDialogCheck::addListFile);
    connect(m_remove, &QPushButton::clicked, this, &CDialogCheck::removeSelected);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, [this] {
        const int row = m_table->currentRow();
        m_remove->setEnabled(row >= 0 && row < shownLists().size() && shownLists().at(row).file >= 0);
    });
    connect(close, &QPushButton::clicked, this, &CDialogCheck::reject);

    if (m_lottery.draws.isEmpty()) {
        m_draw->setText(QStringLiteral("所选彩票没有开奖号码，无法对奖。") + msg::kHowToGetDraws);
        m_draw->setWordWrap(true);
    }
    refresh();
}

QHBoxLayout *CDialogCheck::createDrawRow()
{
    m_issue = new QComboBox;
    for (qsizetype i = m_lottery.draws.size() - 1; i >= 0; --i)
        m_issue->addItem(m_lottery.draws.at(i).issue, int(i));
    m_issue->setEnabled(!m_lottery.draws.isEmpty());
    m_draw = new QLabel;
    m_draw->setTextFormat(Qt::PlainText);
    auto *drawRow = new QHBoxLayout;
    drawRow->addWidget(new QLabel(
        QStringLiteral("彩种：%1　奖期").arg(m_lottery.name.isEmpty() ? QStringLiteral("—") : m_lottery.name)));
    drawRow->addWidget(m_issue);
    drawRow->addWidget(m_draw, 1);
    return drawRow;
}

QHBoxLayout *CDialogCheck::createStageRow()
{
    // The main window's lists, of the kind its view mode works on.
    const bool straight = m_tables.viewMode() == ViewMode::Straight;
    const ListKind kind = straight ? ListKind::Straight : ListKind::Group;
    auto *stageRow = new QHBoxLayout;
    stageRow->addWidget(new QLabel(straight ? QStringLiteral("当前直选号码：") : QStringLiteral("当前组选号码：")));
    const QString stageNames[] = {QStringLiteral("选号"), QStringLiteral("过滤"), QStringLiteral("交集")};
    int last = 0;
    for (int stage = 1; stage <= 3; ++stage) {
        const qsizetype count = m_tables.extract(kind, ResultStage(stage)).size();
        auto *box = new QCheckBox(QStringLiteral("%1（%2注）").arg(stageNames[stage - 1]).arg(count));
        box->setEnabled(count > 0);
        if (count > 0)
            last = stage;
        m_stages[std::size_t(stage) - 1] = box;
        stageRow->addWidget(box);
    }
    stageRow->addStretch(1);
    // The list a player would buy: the furthest stage the numbers reached.
    if (last > 0)
        m_stages[std::size_t(last) - 1]->setChecked(true);

    m_addFile = new QPushButton(QStringLiteral("添加文件..."));
    m_remove = new QPushButton(QStringLiteral("移除文件"));
    m_remove->setEnabled(false);
    stageRow->addWidget(m_addFile);
    stageRow->addWidget(m_remove);
    return stageRow;
}

QComboBox *CDialogCheck::kindBox(int row) const
{
    return qobject_cast<QComboBox *>(m_table->cellWidget(row, Kind));
}

int CDialogCheck::drawn() const
{
    const int index = m_issue->currentData().toInt();
    if (m_lottery.draws.isEmpty() || index < 0 || index >= m_lottery.draws.size())
        return -1;
    const QString &number = m_lottery.draws.at(index).number;
    bool digits = number.size() == 3;
    for (QChar c : number)
        digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    return digits ? number.toInt() : -1;
}

QList<CDialogCheck::Shown> CDialogCheck::shownLists() const
{
    QList<Shown> lists;
    const bool straight = m_tables.viewMode() == ViewMode::Straight;
    const QString stageNames[] = {QStringLiteral("当前选号"), QStringLiteral("当前过滤"), QStringLiteral("当前交集")};
    for (int stage = 1; stage <= 3; ++stage)
        if (m_stages[std::size_t(stage) - 1]->isChecked())
            lists.append(
                {stageNames[stage - 1], QString(), straight ? BetKind::Straight : BetKind::Group,
                 valuesOf(m_tables.extract(straight ? ListKind::Straight : ListKind::Group, ResultStage(stage))), -1});
    for (int i = 0; i < m_files.size(); ++i)
        lists.append({QFileInfo(m_files.at(i).path).fileName(), QDir::toNativeSeparators(m_files.at(i).path),
                      m_files.at(i).kind, m_files.at(i).numbers, i});
    return lists;
}

void CDialogCheck::refresh()
{
    const int number = drawn();
    if (!m_lottery.draws.isEmpty()) {
        const Draw &draw = m_lottery.draws.at(m_issue->currentData().toInt());
        m_draw->setText(number < 0 ? QStringLiteral("第%1期的开奖号码“%2”不是三位数字").arg(draw.issue, draw.number)
                                   : QStringLiteral("开奖号码 %1（%2）").arg(draw.number, groupName(number)));
    }
    const QList<Shown> lists = number < 0 ? QList<Shown>() : shownLists();
    m_table->setRowCount(int(lists.size()));
    for (int row = 0; row < lists.size(); ++row)
        showRow(row, lists.at(row), number);
    m_remove->setEnabled(false);
    showTotal();
}

void CDialogCheck::showRow(int row, const Shown &list, int number)
{
    fillRow(row, list, number);
    if (list.file < 0) {
        m_table->removeCellWidget(row, Kind);
        return;
    }
    // A file's kind was guessed from how its numbers are written.
    auto *kind = new QComboBox;
    kind->addItems({kindName(BetKind::Straight), kindName(BetKind::Group)});
    kind->setCurrentIndex(list.kind == BetKind::Group ? 1 : 0);
    connect(kind, &QComboBox::currentIndexChanged, this, [this, file = list.file](int index) {
        m_files[file].kind = index == 1 ? BetKind::Group : BetKind::Straight;
        // Only the texts of this row change: the selector stays as it is.
        const QList<Shown> lists = shownLists();
        for (int row = 0; row < lists.size(); ++row)
            if (lists.at(row).file == file)
                fillRow(row, lists.at(row), drawn());
        showTotal();
    });
    m_table->setCellWidget(row, Kind, kind);
}

void CDialogCheck::fillRow(int row, const Shown &list, int number)
{
    const ListCheck check = checkList(list.kind, list.numbers, number, m_lottery.prizes);
    const QString texts[kColumns] = {list.name, kindName(list.kind), QString::number(check.bets),
                                     holdsText(check, number), checkText(check, number, m_lottery.prizes.has_value())};
    for (int column = 0; column < kColumns; ++column) {
        auto *item = new QTableWidgetItem(texts[column]);
        if (column == Bets)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (!list.tip.isEmpty())
            item->setToolTip(list.tip);
        if (column == Result && check.prize > 0) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
        }
        m_table->setItem(row, column, item);
    }
}

void CDialogCheck::showTotal()
{
    const int number = drawn();
    const QList<Shown> lists = number < 0 ? QList<Shown>() : shownLists();
    if (lists.isEmpty()) {
        m_total->setText(number < 0
                             ? QString()
                             : QStringLiteral("没有要对奖的号码：请勾选当前的号码，或按“添加文件...”选择号码文件。"));
        return;
    }
    qint64 bets = 0;
    qint64 prize = 0;
    for (const Shown &list : lists) {
        const ListCheck check = checkList(list.kind, list.numbers, number, m_lottery.prizes);
        bets += check.bets;
        prize += check.prize;
    }
    if (m_lottery.prizes)
        m_total->setText(
            QStringLiteral("合计：%1注，投入%2元，奖金%3元").arg(bets).arg(bets * m_lottery.prizes->price).arg(prize));
    else
        m_total->setText(QStringLiteral("合计：%1注").arg(bets));
}

void CDialogCheck::addListFile()
{
    const QString path = m_services.openFileName(this, kListFilter);
    if (!path.isEmpty())
        addFile(path);
}

bool CDialogCheck::addFile(const QString &path)
{
    const auto numbers = readNumberListFile(path);
    if (!numbers) {
        m_services.warn(this, QDir::toNativeSeparators(path) + QStringLiteral("：") + numbers.error());
        return false;
    }
    const QList<int> values = valuesOf(*numbers);
    m_files.append({path, values, guessBetKind(values)});
    refresh();
    return true;
}

void CDialogCheck::removeSelected()
{
    const int row = m_table->currentRow();
    const QList<Shown> lists = shownLists();
    if (row < 0 || row >= lists.size() || lists.at(row).file < 0)
        return;
    m_files.removeAt(lists.at(row).file);
    refresh();
}

} // namespace numsieve::gui
