// A table pasted or opened for 从表格导入, merged into a lottery with draws.
// Invariants: every draw read has an issue of digits and a three-digit
// number, both standing in the digits of the line it names; each line gives
// at most one draw or one reason, and the draws follow the lines' order one
// way or the other; the manager takes every draw read, and its report ends
// the messages. The reader's time is linear in the text's length (each line
// is walked a fixed number of times); bench/bench_table measures it on 64 MB.

#include "FuzzSupport.h"

#include "history/LotteryManager.h"
#include "history/TableReader.h"
#include "text/TextFile.h"

#include <QSet>

namespace {

// The line's digits as the reader sees them: full-width ones count.
QString digitsOf(const QString &line)
{
    QString digits;
    for (const QChar c : line) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits.append(c);
        else if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19)
            digits.append(QChar(char16_t(u'0' + (c.unicode() - 0xFF10))));
        else
            digits.append(QLatin1Char(' '));
    }
    return digits;
}

bool allDigits(const QString &text)
{
    return !text.isEmpty()
           && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace numsieve;
    fuzzsupport::ensureApplication();
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    const QStringList lines = decodeLines(bytes);
    const auto reading = readTable(bytes);
    if (!reading) {
        FUZZ_CHECK(!reading.error().isEmpty());
        return 0;
    }
    FUZZ_CHECK(!reading->rows.isEmpty());
    FUZZ_CHECK(reading->rows.size() + reading->skipped.size() <= lines.size());
    QSet<int> used;
    for (const TableRow &row : reading->rows) {
        FUZZ_CHECK(row.line >= 1 && row.line <= lines.size());
        FUZZ_CHECK(row.source == lines.at(row.line - 1));
        FUZZ_CHECK(allDigits(row.draw.issue));
        FUZZ_CHECK(fuzzsupport::isThreeAsciiDigits(row.draw.number));
        // Written together, with a dash, or as one-digit cells: the digits
        // stand in the line, the number's in their order.
        const QString digits = digitsOf(row.source);
        QString packed = digits;
        packed.remove(QLatin1Char(' '));
        FUZZ_CHECK(packed.contains(row.draw.issue));
        FUZZ_CHECK(packed.contains(row.draw.number));
        FUZZ_CHECK(!used.contains(row.line));
        used.insert(row.line);
    }
    for (const TableSkip &skip : reading->skipped) {
        FUZZ_CHECK(!skip.reason.isEmpty());
        FUZZ_CHECK(!used.contains(skip.line));
        used.insert(skip.line);
    }
    for (qsizetype i = 1; i < reading->rows.size(); ++i) {
        const bool later = reading->rows.at(i).line > reading->rows.at(i - 1).line;
        FUZZ_CHECK(later == !reading->newestFirst);
    }

    LotteryRegistry registry;
    registry.append(Lottery{QStringLiteral("福彩3D"), QStringLiteral("1"), {Draw{QStringLiteral("2024001"), QStringLiteral("123")}}});
    LotteryManager manager(registry);
    const QStringList messages = manager.importDraws(reading->draws());
    FUZZ_CHECK(messages.size() == 1);
    FUZZ_CHECK(messages.last().startsWith(QStringLiteral("成功导入")));
    const QList<Draw> &after = manager.registry().at(0).draws;
    FUZZ_CHECK(after.first() == registry.at(0).draws.first());
    for (qsizetype i = 1; i < after.size(); ++i)
        FUZZ_CHECK(after.at(i).issue != QLatin1String("2024001"));
    return 0;
}
