#include "core/script/EditorTokens.h"

#include "core/script/HistoryArrays.h"

namespace numsieve {

const QStringList &attributeItems()
{
    static const QStringList items{QStringLiteral("号码"), QStringLiteral("和值"), QStringLiteral("和尾数"),
                                   QStringLiteral("平均值"), QStringLiteral("跨度"), QStringLiteral("AC值")};
    return items;
}

const QStringList &periodItems()
{
    static const QStringList items = [] {
        QStringList list{QStringLiteral("本期")};
        for (int k = 1; k <= kHistoryDepth; ++k)
            list << QStringLiteral("前") + QString::number(k) + QStringLiteral("期");
        return list;
    }();
    return items;
}

const QStringList &positionItems()
{
    static const QStringList items{QStringLiteral("第一位"), QStringLiteral("第二位"), QStringLiteral("第三位")};
    return items;
}

QString referenceText(int attributeIndex, int periodIndex, int positionIndex)
{
    if (attributeIndex < 0 || attributeIndex >= attributeItems().size() || periodIndex < 0
        || periodIndex >= periodItems().size())
        return {};
    QString text = attributeItems()[attributeIndex] + u'[' + QString::number(periodIndex) + u']';
    if (positionEnabled(attributeIndex)) {
        if (positionIndex < 0 || positionIndex >= positionItems().size())
            return {};
        text += u'[' + QString::number(positionIndex + 1) + u']';
    }
    return text;
}

QString appendToken(const QString &composed, const QString &token)
{
    return composed.isEmpty() ? token : composed + QStringLiteral("  ") + token;
}

} // namespace numsieve
