#include "core/script/ConditionList.h"

#include "core/Messages.h"
#include "core/script/ScriptWorker.h"

namespace numsieve {

namespace {

const QChar kIdeographicBlank(0x3000);

} // namespace

QString cleanExpression(const QString &composed)
{
    QString text = composed.trimmed();
    text.remove(u' ');
    text.remove(kIdeographicBlank);
    return text;
}

bool hasComparisonOperator(const QString &expression)
{
    // ">=" and "<=" contain ">" and "<", so four probes cover all six operators.
    return expression.contains(u'>') || expression.contains(u'<') || expression.contains(QStringLiteral("=="))
        || expression.contains(QStringLiteral("!="));
}

QStringList cutConditionList(const QString &conditionText)
{
    QString text = conditionText;
    text.remove(u' ');
    text.remove(kIdeographicBlank);
    text.remove(u'\r');
    text.remove(u'\n');
    while (text.contains(QStringLiteral(";;")))
        text.replace(QStringLiteral(";;"), QStringLiteral(";"));

    QStringList expressions = text.split(u';');
    // The piece after the last ";" (or the whole text without any) is an
    // expression only when it holds something.
    if (expressions.last().isEmpty())
        expressions.removeLast();
    return expressions;
}

bool conditionListTooLarge(const QString &conditionText)
{
    // Counted without converting: the text may be many megabytes.
    qsizetype bytes = 0;
    for (const QChar ch : conditionText) {
        const char16_t u = ch.unicode();
        bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : ch.isSurrogate() ? 2 : 3;
        if (bytes > kMaxConditionListBytes)
            return true;
    }
    return cutConditionList(conditionText).size() > kMaxExpressions;
}

int conditionSwitchCode(const QString &conditionText)
{
    return conditionText.trimmed().isEmpty() ? 30 : 15;
}

std::expected<QString, QString> addExpression(const QString &composed, const QString &conditionText,
                                              const QStringList &draws, std::chrono::milliseconds timeLimit)
{
    if (composed.isEmpty())
        return conditionText;
    const QString expression = cleanExpression(composed);
    if (!hasComparisonOperator(expression))
        return std::unexpected(msg::kExpressionIncomplete);

    const QString added = conditionText + expression + QStringLiteral(";\r\n");
    if (conditionListTooLarge(added))
        return std::unexpected(msg::kExpressionTooMany);
    if (const auto tried = ScriptWorker::shared().trial(expression, draws, timeLimit); !tried)
        return std::unexpected(tried.error());
    return added;
}

} // namespace numsieve
