#include "history/CDialogTableImport.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
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

} // namespace

CDialogTableImport::CDialogTableImport(const TableReading &reading, QWidget *parent)
    : QDialog(parent), m_reading(reading)
{
    setObjectName(QStringLiteral("CDialogTableImport"));
    setWindowTitle(QStringLiteral("从表格导入"));
    auto *layout = new QVBoxLayout(this);

    m_layout = new QLabel(this);
    m_layout->setWordWrap(true);
    // The note and the source lines come from the pasted text: never markup.
    m_layout->setTextFormat(Qt::PlainText);
    layout->addWidget(m_layout);

    m_table = new QTableWidget(0, 3, this);
    m_table->setHorizontalHeaderLabels({QStringLiteral("奖期"), QStringLiteral("开奖号码"), QStringLiteral("原文")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->setVisible(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setWordWrap(false);
    layout->addWidget(m_table, 3);

    auto *skippedTitle = new QLabel(QStringLiteral("未读取的行："), this);
    layout->addWidget(skippedTitle);
    m_skipped = new QListWidget(this);
    m_skipped->setUniformItemSizes(true);
    layout->addWidget(m_skipped, 1);

    m_reverse = new QCheckBox(QStringLiteral("倒转顺序（新旧顺序认错时勾选）"), this);
    layout->addWidget(m_reverse);
    connect(m_reverse, &QCheckBox::toggled, this, [this] {
        m_reading.reverse();
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
    if (m_reading.skipped.isEmpty())
        m_skipped->addItem(QStringLiteral("（无）"));
    showReading();
    resize(680, 480);
}

void CDialogTableImport::showReading()
{
    QString text = QStringLiteral("%1；共%2期，按下表的顺序保存").arg(m_reading.description()).arg(m_reading.rows.size());
    if (!m_reading.note.isEmpty())
        text += QLatin1Char('\n') + m_reading.note;
    m_layout->setText(text);
    m_table->setRowCount(int(m_reading.rows.size()));
    for (int i = 0; i < m_reading.rows.size(); ++i) {
        const TableRow &row = m_reading.rows.at(i);
        const QString cells[] = {row.draw.issue, row.draw.number, QStringLiteral("第%1行：%2").arg(row.line).arg(shownLine(row.source))};
        for (int c = 0; c < 3; ++c) {
            if (QTableWidgetItem *item = m_table->item(i, c))
                item->setText(cells[c]);
            else
                m_table->setItem(i, c, new QTableWidgetItem(cells[c]));
        }
    }
    m_table->resizeColumnToContents(0);
    m_table->resizeColumnToContents(1);
    m_table->resizeColumnToContents(2);
}

} // namespace numsieve::gui
