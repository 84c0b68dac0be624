#include "analysis/CsvExport.h"

#include "app/AppServices.h"
#include "text/TextFile.h"

#include <QHeaderView>
#include <QTableWidget>

namespace numsieve::gui {

bool exportCsvLines(AppServices &services, QWidget *parent, const QStringList &lines)
{
    const QString path = chooseSavePath(services, parent, QStringLiteral("CSV文件(*.csv)"), QStringLiteral(".csv"));
    if (path.isEmpty())
        return false;
    const auto saved = writeTextLines(path, lines);
    if (!saved)
        services.warn(parent, saved.error());
    return saved.has_value();
}

QTableWidget *figureTable(int rows, const QStringList &headers, const QString &widestHeader)
{
    auto *table = new QTableWidget(rows, int(headers.size()));
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The figures' columns keep some room around their headers.
    QHeaderView *header = table->horizontalHeader();
    header->setMinimumSectionSize(header->fontMetrics().horizontalAdvance(widestHeader) + 24);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < headers.size(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    return table;
}

QString percentText(double share)
{
    return QString::number(share * 100, 'f', 2) + QLatin1Char('%');
}

} // namespace numsieve::gui
