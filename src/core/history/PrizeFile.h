#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <expected>
#include <optional>

namespace numsieve {

// What a bet costs and what it pays, in yuan: 直选 for the number in its
// order, 组选三 and 组选六 for a drawn number of that kind in any order.
struct Prizes {
    int price = 0;
    int straight = 0;
    int groupThree = 0;
    int groupSix = 0;

    friend bool operator==(const Prizes &, const Prizes &) = default;
};

// The ranges a lottery's prizes may take; beyond them a typing slip is far
// likelier than a lottery.
inline constexpr int kMaxPrice = 100;
inline constexpr int kMaxPrize = 10'000'000;

// The four numbers as typed (digits only) or refused with the reason.
std::expected<Prizes, QString> parsePrizes(const QString &price, const QString &straight, const QString &groupThree,
                                           const QString &groupSix);
// "2,1040,346,173", as numsieve-cli draws prizes --set takes them.
std::expected<Prizes, QString> parsePrizeList(const QString &text);
// "每注2元，直选1040元，组选三346元，组选六173元"
QString prizesText(const Prizes &prizes);

// prize.data in the data folder: one line "id$price$直选$组选三$组选六" per
// lottery, GBK with CR LF as every data file. Lines it does not understand
// (another program's, a lottery deleted) are kept as they are.
class PrizeFile
{
public:
    std::optional<Prizes> prizesOf(const QString &id) const;
    // Sets or, with none, clears a lottery's prizes.
    void set(const QString &id, const std::optional<Prizes> &prizes);

    QStringList lines() const { return m_lines; }
    // Why the file could not be read, when it exists but could not: then no
    // lottery has prizes and no save may replace it.
    QString readProblem;

    friend bool operator==(const PrizeFile &, const PrizeFile &) = default;

private:
    friend PrizeFile parsePrizeFile(const QStringList &lines);
    QStringList m_lines;
};

PrizeFile parsePrizeFile(const QStringList &lines);
QString prizeFilePath(const QString &dataDir);
// A missing file has no prizes and is not created.
PrizeFile loadPrizeFile(const QString &dataDir);
// The prizes a new data folder starts with: 福彩3D and 排列三 at 2 yuan a bet.
QByteArray defaultPrizeFileBytes();

} // namespace numsieve
