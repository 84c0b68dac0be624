#include "core/model/Vocabulary.h"

#include <QString>

#include <map>

namespace numsieve {

namespace {

QStringList numbers(int from, int to)
{
    QStringList list;
    for (int v = from; v <= to; ++v)
        list.append(QString::number(v));
    return list;
}

// All words of three marks, the first mark varying slowest.
QStringList shapes(const QString &marks, const QString &prefix = {})
{
    QStringList list;
    for (QChar a : marks)
        for (QChar b : marks)
            for (QChar c : marks)
                list.append(prefix + a + b + c);
    return list;
}

QString n(int v) { return QString::number(v); }

QStringList twoPartRatios(const QString &marks, const QString &prefix = {})
{
    QStringList list;
    for (int a = 3; a >= 0; --a)
        list.append(prefix + n(a) + u':' + n(3 - a) + QStringLiteral(" (") + n(a) + marks.at(0) + n(3 - a) + marks.at(1) + u')');
    return list;
}

QStringList threePartRatios(const QString &marks, const QString &prefix = {})
{
    QStringList list;
    for (const auto &s : kThreePartSplits) {
        list.append(prefix + n(s[0]) + u':' + n(s[1]) + u':' + n(s[2]) + QStringLiteral(" (") + n(s[0]) + marks.at(0) + n(s[1])
                    + marks.at(1) + n(s[2]) + marks.at(2) + u')');
    }
    return list;
}

QStringList stepKindNames(const QString &word, const QString &none)
{
    QStringList list;
    list << QStringLiteral("三") + word << QStringLiteral("顺序三") + word << QStringLiteral("乱序三") + word
         << QStringLiteral("二") + word;
    for (const QString &group : {QString(), QStringLiteral("组三"), QStringLiteral("组六")})
        for (const QString &place : {QStringLiteral("百十"), QStringLiteral("百个"), QStringLiteral("十个")})
            list << group + place + word;
    list << none;
    return list;
}

QStringList straightPairs()
{
    QStringList list;
    for (int v = 0; v < 100; ++v)
        list.append(QStringLiteral("%1*").arg(v, 2, 10, QLatin1Char('0')));
    for (int a = 0; a <= 9; ++a)
        for (int b = 0; b <= 9; ++b)
            list.append(QStringLiteral("%1*%2").arg(a).arg(b));
    for (int v = 0; v < 100; ++v)
        list.append(QStringLiteral("*%1").arg(v, 2, 10, QLatin1Char('0')));
    return list;
}

QStringList groupPairs()
{
    QStringList list;
    for (int a = 0; a <= 9; ++a)
        for (int b = a; b <= 9; ++b)
            list.append(QStringLiteral("%1%2").arg(a).arg(b));
    return list;
}

QStringList build(Vocab vocab)
{
    const QString twoWay = QStringLiteral("[大小] ");
    const QString threeWay = QStringLiteral("[大中小] ");
    switch (vocab) {
    case Vocab::Sum: return numbers(0, 27);
    case Vocab::SumTail:
    case Vocab::Average:
    case Vocab::Span: return numbers(0, 9);
    case Vocab::Ac: return numbers(-1, 1);
    case Vocab::BigSmallShape: return shapes(QStringLiteral("大小"), twoWay) + shapes(QStringLiteral("大中小"), threeWay);
    case Vocab::BigSmallRatio:
        return twoPartRatios(QStringLiteral("大小"), twoWay) + threePartRatios(QStringLiteral("大中小"), threeWay);
    case Vocab::OddEvenShape: return shapes(QStringLiteral("奇偶"));
    case Vocab::OddEvenRatio: return twoPartRatios(QStringLiteral("奇偶"));
    case Vocab::PrimeShape: return shapes(QStringLiteral("质合"));
    case Vocab::PrimeRatio: return twoPartRatios(QStringLiteral("质合"));
    case Vocab::Mod3Shape: return shapes(QStringLiteral("012"));
    case Vocab::Mod3Ratio: return threePartRatios(QStringLiteral("零壹贰"));
    case Vocab::NewOldJumpShape: return shapes(QStringLiteral("新旧跳"));
    case Vocab::NewOldJumpRatio: return threePartRatios(QStringLiteral("新旧跳"));
    case Vocab::OldDiagonalIsolatedShape: return shapes(QStringLiteral("旧斜孤"));
    case Vocab::OldDiagonalIsolatedRatio: return threePartRatios(QStringLiteral("旧斜孤"));
    case Vocab::Repeat:
        return {QStringLiteral("三个重复"), QStringLiteral("二个重复"), QStringLiteral("百十重复"),
                QStringLiteral("百个重复"), QStringLiteral("十个重复"), QStringLiteral("无重复号")};
    case Vocab::Consecutive: return stepKindNames(QStringLiteral("连号"), QStringLiteral("无连号"));
    case Vocab::Interval: return stepKindNames(QStringLiteral("间隔"), QStringLiteral("无间隔"));
    case Vocab::StraightPair: return straightPairs();
    case Vocab::GroupPair: return groupPairs();
    }
    return {};
}

} // namespace

const QStringList &vocabulary(Vocab vocab)
{
    static const std::map<Vocab, QStringList> all = [] {
        std::map<Vocab, QStringList> m;
        for (int v = int(Vocab::Sum); v <= int(Vocab::GroupPair); ++v)
            m.emplace(Vocab(v), build(Vocab(v)));
        return m;
    }();
    return all.at(vocab);
}

} // namespace numsieve
