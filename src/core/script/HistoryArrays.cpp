#include "core/script/HistoryArrays.h"

#include "core/model/Attributes.h"

#include <array>
#include <cmath>

namespace numsieve {

namespace {

struct ArrayName {
    QString chinese;
    QString alias;
};

const std::array<ArrayName, 6> &arrayNames()
{
    static const std::array<ArrayName, 6> names{{
        {QStringLiteral("号码"), QStringLiteral("hm")},
        {QStringLiteral("和值"), QStringLiteral("hz")},
        {QStringLiteral("和尾数"), QStringLiteral("hw")},
        {QStringLiteral("平均值"), QStringLiteral("pj")},
        {QStringLiteral("跨度"), QStringLiteral("kd")},
        {QStringLiteral("AC值"), QStringLiteral("ac")},
    }};
    return names;
}

QString num(int value) { return QString::number(value); }

QString indexZeroAssignments(const ScriptAttributes &a)
{
    const QString H = num(a.h), T = num(a.t), U = num(a.u);
    return QStringLiteral("号码[0][1]=") + H + QStringLiteral(";hm[0][1]=") + H + QStringLiteral(";号码[0][2]=") + T
        + QStringLiteral(";hm[0][2]=") + T + QStringLiteral(";号码[0][3]=") + U + QStringLiteral(";hm[0][3]=") + U
        + QStringLiteral(";和值[0]=") + num(a.sum) + QStringLiteral(";hz[0]=") + num(a.sum)
        + QStringLiteral(";和尾数[0]=") + num(a.tail) + QStringLiteral(";hw[0]=") + num(a.tail)
        + QStringLiteral(";平均值[0]=") + num(a.average) + QStringLiteral(";pj[0]=") + num(a.average)
        + QStringLiteral(";跨度[0]=") + num(a.span) + QStringLiteral(";kd[0]=") + num(a.span)
        + QStringLiteral(";AC值[0]=") + num(a.ac) + QStringLiteral(";ac[0]=") + num(a.ac) + u';';
}

} // namespace

int drawValue(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r'
                               || text[i] == u'\v' || text[i] == u'\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9' && value < 1'000'000'000LL) {
        value = value * 10 + (text[i].unicode() - u'0');
        ++i;
    }
    return int(negative ? -value : value);
}

ScriptAttributes scriptAttributes(int number)
{
    const Digits d = digitsOf(number);
    const int sum = digitSum(d);
    // The average is the rounded third of the sum, computed in floating point.
    const int avg = int(std::floor(double(sum) / 3.0 + 0.5));
    return {d.h, d.t, d.u, sum, sum % 10, avg, span(d), acValue(d)};
}

QList<ScriptAttributes> historyAttributes(const QStringList &draws)
{
    QList<ScriptAttributes> history;
    const qsizetype used = std::min<qsizetype>(draws.size(), kHistoryDepth);
    for (qsizetype k = 0; k < used; ++k)
        history.append(scriptAttributes(drawValue(draws[draws.size() - 1 - k])));
    return history;
}

QString historyText(const QStringList &draws)
{
    const auto &names = arrayNames();
    std::array<QString, 6> lines;
    lines[0] = QStringLiteral("var ") + names[0].chinese + QStringLiteral("=[[-1,-1,-1,-1]");
    for (int i = 1; i < 6; ++i)
        lines[i] = QStringLiteral("var ") + names[i].chinese + QStringLiteral("=[-1");

    for (const ScriptAttributes &a : historyAttributes(draws)) {
        lines[0] += QStringLiteral(",[-1,") + num(a.h) + u',' + num(a.t) + u',' + num(a.u) + u']';
        lines[1] += u',' + num(a.sum);
        lines[2] += u',' + num(a.tail);
        lines[3] += u',' + num(a.average);
        lines[4] += u',' + num(a.span);
        lines[5] += u',' + num(a.ac);
    }

    QString text;
    for (auto &line : lines) {
        line += QStringLiteral("];");
        text += line + u'\n';
    }
    for (int i = 0; i < 6; ++i) {
        // Only the name after "var " changes; the values hold no letters.
        QString alias = lines[i];
        alias.replace(4, names[i].chinese.size(), names[i].alias);
        text += alias + u'\n';
    }
    return text;
}

QString computeText(const QString &expression)
{
    return QStringLiteral("function compute(){if(") + expression + QStringLiteral("){return 1;}else{return 0;}}");
}

QString computeText(const QString &expression, int number)
{
    return QStringLiteral("function compute(){") + indexZeroAssignments(scriptAttributes(number)) + QStringLiteral("if(")
        + expression + QStringLiteral("){return 1;}else{return 0;}}");
}

} // namespace numsieve
