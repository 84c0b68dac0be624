#include "core/analysis/TableText.h"

#include <algorithm>

namespace numsieve {

QString tableCell(const QString &text, int width, bool right)
{
    int used = 0;
    for (QChar c : text)
        used += c.unicode() >= 0x2e80 ? 2 : 1;
    const QString pad(std::max(0, width - used), QLatin1Char(' '));
    return right ? pad + text : text + pad;
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvLine(const QStringList &fields)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QString &f : fields)
        out.append(csvField(f));
    return out.join(QLatin1Char(','));
}

} // namespace numsieve
