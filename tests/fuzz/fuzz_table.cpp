// A table pasted or opened for 从表格导入, merged into a lottery with draws.
// Invariants: every draw read has an issue of digits and a three-digit
// number, both standing in the digits of the line it names; each line gives
// at most one draw or one reason, and the draws follow the lines' order one
// way or the other; merged, the history keeps the rules of its gate, and the
// manager's report ends the messages. The reader's time is linear in the text's length (each line
// is walked a fixed number of times); bench/bench_table measures it on 64 MB.

#include "FuzzSupport.h"

#include "core/history/LotteryManager.h"
#include "core/history/TableReader.h"
#include "core/text/TextFile.h"

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
    // The lines as the reader decodes them: text from other programs.
    const QStringList lines = decodeForeignLines(bytes);
    const auto reading = readTable(bytes);
    if (!reading) {
        FUZZ_CHECK(!reading.error().isEmpty());
        return 0;
    }
    FUZZ_CHECK(reading->size() > 0);
    FUZZ_CHECK(reading->size() + reading->skippedCount <= lines.size());
    FUZZ_CHECK(reading->skipped.size() == std::min<qsizetype>(reading->skippedCount, TableReading::kListedSkips));
    QSet<int> used;
    for (qsizetype i = 0; i < reading->size(); ++i) {
        const Draw draw = reading->draw(i);
        const int line = reading->line(i);
        FUZZ_CHECK(line >= 1 && line <= lines.size());
        FUZZ_CHECK(reading->source(i) == lines.at(line - 1));
        FUZZ_CHECK(allDigits(draw.issue));
        FUZZ_CHECK(fuzzsupport::isThreeAsciiDigits(draw.number));
        // Written together, with a dash, or as one-digit cells: the digits
        // stand in the line, the number's in their order (a number that lost
        // its leading zeros without them).
        QString packed = digitsOf(lines.at(line - 1));
        packed.remove(QLatin1Char(' '));
        FUZZ_CHECK(packed.contains(draw.issue));
        QString number = draw.number;
        while (number.size() > 1 && number.startsWith(QLatin1Char('0')) && !packed.contains(number))
            number.remove(0, 1);
        FUZZ_CHECK(packed.contains(number));
        FUZZ_CHECK(!used.contains(line));
        used.insert(line);
    }
    for (const TableSkip &skip : reading->skipped) {
        FUZZ_CHECK(!skip.reason.isEmpty());
        FUZZ_CHECK(!used.contains(skip.line));
        used.insert(skip.line);
    }
    for (qsizetype i = 1; i < reading->size(); ++i) {
        const bool later = reading->line(i) > reading->line(i - 1);
        FUZZ_CHECK(later == !reading->newestFirst);
    }

    LotteryRegistry registry;
    registry.append(Lottery{QStringLiteral("福彩3D"), QStringLiteral("1"), {Draw{QStringLiteral("2024001"), QStringLiteral("123")}}});
    LotteryManager manager(registry);
    const QList<Draw> draws = reading->draws();
    const auto intake = manager.importDraws(draws);
    FUZZ_CHECK(intake.has_value());
    FUZZ_CHECK(LotteryManager::importMessages(*intake).last().startsWith(QStringLiteral("成功导入")));
    fuzzsupport::checkHistoryKept(registry.at(0).draws, draws, manager.registry().at(0).draws, false);
    return 0;
}
