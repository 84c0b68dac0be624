#include "core/history/PrizeFile.h"

#include "core/text/FileAccess.h"
#include "core/text/TextFile.h"

#include <QDir>

#include <algorithm>

namespace numsieve {

namespace {

const QChar kDollar = QLatin1Char('$');

// A count of yuan from 1 to `max`, written with digits only.
std::expected<int, QString> amountOf(const QString &text, const QString &name, int max)
{
    const bool digits = !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    const qlonglong value = digits && text.size() <= 9 ? text.toLongLong() : -1;
    if (value < 1 || value > max)
        return std::unexpected(QStringLiteral("%1须是1到%2元的整数").arg(name).arg(max));
    return int(value);
}

// The id of a line, and its prizes when the line holds them as it should.
std::pair<QString, std::optional<Prizes>> lineOf(const QString &line)
{
    const QStringList fields = line.split(kDollar);
    if (fields.size() != 5 || fields.first().isEmpty())
        return {fields.first(), std::nullopt};
    const auto prizes = parsePrizes(fields.at(1), fields.at(2), fields.at(3), fields.at(4));
    return {fields.first(), prizes ? std::optional<Prizes>(*prizes) : std::nullopt};
}

} // namespace

std::expected<Prizes, QString> parsePrizes(const QString &price, const QString &straight, const QString &groupThree,
                                           const QString &groupSix)
{
    const auto p = amountOf(price, QStringLiteral("每注价格"), kMaxPrice);
    const auto s = amountOf(straight, QStringLiteral("直选奖金"), kMaxPrize);
    const auto g3 = amountOf(groupThree, QStringLiteral("组选三奖金"), kMaxPrize);
    const auto g6 = amountOf(groupSix, QStringLiteral("组选六奖金"), kMaxPrize);
    for (const auto *amount : {&p, &s, &g3, &g6})
        if (!*amount)
            return std::unexpected(amount->error());
    return Prizes{*p, *s, *g3, *g6};
}

std::expected<Prizes, QString> parsePrizeList(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::unexpected(QStringLiteral("奖金须写成“每注价格,直选,组选三,组选六”，如 2,1040,346,173"));
    return parsePrizes(parts.at(0), parts.at(1), parts.at(2), parts.at(3));
}

QString prizesText(const Prizes &prizes)
{
    return QStringLiteral("每注%1元，直选%2元，组选三%3元，组选六%4元")
        .arg(prizes.price)
        .arg(prizes.straight)
        .arg(prizes.groupThree)
        .arg(prizes.groupSix);
}

std::optional<Prizes> PrizeFile::prizesOf(const QString &id) const
{
    if (!readProblem.isEmpty())
        return std::nullopt;
    // The last line of an id counts, as set() leaves one.
    for (qsizetype i = m_lines.size() - 1; i >= 0; --i) {
        const auto [lineId, prizes] = lineOf(m_lines.at(i));
        if (lineId == id)
            return prizes;
    }
    return std::nullopt;
}

void PrizeFile::set(const QString &id, const std::optional<Prizes> &prizes)
{
    m_lines.removeIf([&id](const QString &line) { return lineOf(line).first == id; });
    if (prizes)
        m_lines.append(QStringList{id, QString::number(prizes->price), QString::number(prizes->straight),
                                   QString::number(prizes->groupThree), QString::number(prizes->groupSix)}
                           .join(kDollar));
}

PrizeFile parsePrizeFile(const QStringList &lines)
{
    PrizeFile file;
    file.m_lines = lines;
    file.m_lines.removeIf([](const QString &line) { return line.isEmpty(); });
    return file;
}

QString prizeFilePath(const QString &dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("prize.data"));
}

PrizeFile loadPrizeFile(const QString &dataDir)
{
    const QString path = prizeFilePath(dataDir);
    if (entryKind(path) == EntryKind::Missing)
        return {};
    const auto bytes = readFileBytes(path);
    if (!bytes) {
        PrizeFile unreadable;
        unreadable.readProblem = bytes.error();
        return unreadable;
    }
    const auto lines = decodeLinesStrictly(*bytes);
    if (!lines) {
        PrizeFile unreadable;
        unreadable.readProblem = QStringLiteral("无法读取文件 %1：%2").arg(QDir::toNativeSeparators(path), lines.error());
        return unreadable;
    }
    return parsePrizeFile(*lines);
}

QByteArray defaultPrizeFileBytes()
{
    return encodeLines({QStringLiteral("1$2$1040$346$173"), QStringLiteral("2$2$1040$346$173")});
}

} // namespace numsieve
