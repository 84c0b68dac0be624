#include "gui/history/CDialogTableImport.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace numsieve::gui {

namespace {

// A tab would open a wide gap in a list row; two blanks keep the cells
// apart and the line readable.
QString shownLine(const QString &line)
{
    QString text = line;
    return text.replace(QLatin1Char('\t'), QStringLiteral("  "));
}

// The first few of a list, and how many more there are.
QString firstOf(const QStringList &lines, const QString &separator)
{
    constexpr int kShown = 5;
    QString text = lines.mid(0, kShown).join(separator);
    if (lines.size() > kShown)
        text += separator + QStringLiteral("……另有%1条").arg(lines.size() - kShown);
    return text;
}

} // namespace

// The draws of a reading, made row by row as the view shows them: a table of
// a million draws costs no item per cell.
class TableReadingModel : public QAbstractTableModel
{
public:
    explicit TableReadingModel(const TableReading &reading, QObject *parent) : QAbstractTableModel(parent), m_reading(reading) {}

    void refresh()
    {
        beginResetModel();
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_reading.size()); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 3; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const Draw draw = m_reading.draw(index.row());
        switch (index.column()) {
        case 0: return draw.issue;
        case 1: return draw.number;
        default: return QStringLiteral("第%1行：%2").arg(m_reading.line(index.row())).arg(shownLine(m_reading.source(index.row())));
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        static const QString headers[] = {QStringLiteral("奖期"), QStringLiteral("开奖号码"), QStringLiteral("原文")};
        return section >= 0 && section < 3 ? headers[section] : QString();
    }

private:
    const TableReading &m_reading;
};

CDialogTableImport::CDialogTableImport(const TableReading &reading, const QString &lotteryName, const Preview &preview,
                                       bool orderMatters, QWidget *parent)
    : QDialog(parent), m_reading(reading), m_lotteryName(lotteryName), m_preview(preview)
{
    setObjectName(QStringLiteral("CDialogTableImport"));
    setWindowTitle(QStringLiteral("从表格导入"));
    auto *layout = new QVBoxLayout(this);

    m_layout = new QLabel(this);
    m_layout->setWordWrap(true);
    // The notes and the source lines come from the pasted text: never markup.
    m_layout->setTextFormat(Qt::PlainText);
    layout->addWidget(m_layout);
    m_intake = new QLabel(this);
    m_intake->setWordWrap(true);
    m_intake->setTextFormat(Qt::PlainText);
    layout->addWidget(m_intake);

    m_model = new TableReadingModel(m_reading, this);
    m_table = new QTableView(this);
    m_table->setModel(m_model);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setVisible(false);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    // Sized by what the columns can hold, not by measuring every row.
    const QFontMetrics metrics = m_table->fontMetrics();
    m_table->horizontalHeader()->resizeSection(0, metrics.horizontalAdvance(QStringLiteral("20240010001")) + 16);
    m_table->horizontalHeader()->resizeSection(1, metrics.horizontalAdvance(QStringLiteral("开奖号码")) + 16);
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 3);

    auto *skippedTitle = new QLabel(QStringLiteral("未读取的行："), this);
    layout->addWidget(skippedTitle);
    m_skipped = new QListWidget(this);
    m_skipped->setUniformItemSizes(true);
    layout->addWidget(m_skipped, 1);

    m_reverse = new QCheckBox(QStringLiteral("倒转顺序（新旧顺序认错时勾选）"), this);
    m_reverse->setEnabled(orderMatters);
    if (!orderMatters)
        m_reverse->setToolTip(QStringLiteral("奖期都是数字，号码按奖期的大小排进已有的号码中，与表格的顺序无关"));
    layout->addWidget(m_reverse);
    connect(m_reverse, &QCheckBox::toggled, this, [this] {
        m_reading.reverse();
        m_model->refresh();
        showReading();
    });

    auto *buttons = new QDialogButtonBox(this);
    m_import = buttons->addButton(QStringLiteral("导入"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    for (const TableSkip &skip : m_reading.skipped)
        m_skipped->addItem(QStringLiteral("第%1行：%2：%3").arg(skip.line).arg(skip.reason, shownLine(skip.source)));
    if (m_reading.skippedCount > m_reading.skipped.size())
        m_skipped->addItem(QStringLiteral("……另有%1行未读取").arg(m_reading.skippedCount - m_reading.skipped.size()));
    if (m_reading.skipped.isEmpty())
        m_skipped->addItem(QStringLiteral("（无）"));
    showReading();
    resize(720, 520);
}

CDialogTableImport::~CDialogTableImport() = default;

void CDialogTableImport::showReading()
{
    QString text = QStringLiteral("导入到：%1\n%2；共%3期，按下表的顺序保存")
                       .arg(m_lotteryName, m_reading.description(), QString::number(m_reading.size()));
    for (const QString &note : m_reading.notes)
        text += QLatin1Char('\n') + note;
    m_layout->setText(text);

    const Intake intake = m_preview ? m_preview(m_reading.draws()) : Intake{};
    QString summary = QStringLiteral("将新增%1期，%2期已有且相同").arg(intake.added.size()).arg(intake.known);
    QStringList placed;
    for (const PlacedRun &run : intake.inserted)
        placed.append(placedRunText(run));
    if (!placed.isEmpty())
        summary += QLatin1Char('\n') + firstOf(placed, QStringLiteral("；"));
    if (!intake.differing.isEmpty()) {
        QStringList differing;
        for (const DifferingDraw &draw : intake.differing)
            differing.append(differingText(draw));
        summary += QStringLiteral("\n%1期与本地的开奖号码不同（导入时会问保留哪个）：").arg(intake.differing.size())
                   + firstOf(differing, QStringLiteral("；"));
    }
    if (!intake.refused.isEmpty()) {
        QStringList refused;
        for (const RefusedDraw &draw : intake.refused)
            refused.append(refusedText(draw));
        summary += QStringLiteral("\n%1个号码不会导入：").arg(intake.refused.size()) + firstOf(refused, QStringLiteral("；"));
    }
    m_intake->setText(summary);
}

} // namespace numsieve::gui
