#include "analysis/CsvExport.h"

#include "app/AppServices.h"
#include "text/TextFile.h"

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

QString percentText(double share)
{
    return QString::number(share * 100, 'f', 2) + QLatin1Char('%');
}

} // namespace numsieve::gui
