#include "filter/EditorText.h"

#include <algorithm>

namespace numsieve {

const QStringList &editorAttributes()
{
    static const QStringList attributes{QStringLiteral("号码"), QStringLiteral("和值"), QStringLiteral("和尾数"),
                                        QStringLiteral("平均值"), QStringLiteral("跨度"), QStringLiteral("AC值")};
    return attributes;
}

const QStringList &editorPeriods()
{
    static const QStringList periods = [] {
        QStringList out{QStringLiteral("本期")};
        for (int k = 1; k <= 30; ++k)
            out.append(QStringLiteral("前") + QString::number(k) + QStringLiteral("期"));
        return out;
    }();
    return periods;
}

const QStringList &editorPositions()
{
    static const QStringList positions{QStringLiteral("第一位"), QStringLiteral("第二位"), QStringLiteral("第三位")};
    return positions;
}

QString referenceText(int attribute, int period, int position)
{
    attribute = std::clamp(attribute, 0, int(editorAttributes().size()) - 1);
    period = std::clamp(period, 0, int(editorPeriods().size()) - 1);
    position = std::clamp(position, 0, int(editorPositions().size()) - 1);
    QString text = editorAttributes().at(attribute) + u'[' + QString::number(period) + u']';
    if (attribute == 0)
        text += u'[' + QString::number(position + 1) + u']';
    return text;
}

QString appendToken(const QString &composed, const QString &token)
{
    return composed.isEmpty() ? token : composed + QStringLiteral("  ") + token;
}

} // namespace numsieve
