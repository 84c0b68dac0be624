// lottery.data and one draw file, read as a data folder reads them. The input
// holds the registry file, then a NUL byte, then the draw file.
// Invariants: at most 260 lotteries; what was read is written back as lines
// that read back to the same lotteries and draws, and through the GBK file
// encoding too whenever the text can be encoded.

#include "FuzzSupport.h"

#include "core/history/DataFolder.h"
#include "core/text/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace numsieve;
    fuzzsupport::ensureApplication();
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    const qsizetype cut = bytes.indexOf('\0');
    const QByteArray registryBytes = cut < 0 ? bytes : bytes.left(cut);
    const QByteArray drawBytes = cut < 0 ? QByteArray() : bytes.mid(cut + 1);

    const QStringList registryText = decodeLines(registryBytes);
    fuzzsupport::checkDecodedLines(registryText);
    const LotteryRegistry registry = parseRegistryLines(registryText);
    FUZZ_CHECK(registry.count() <= LotteryRegistry::kCapacity);
    FUZZ_CHECK(registry.count() <= registryText.size());

    const QStringList registryOut = registryLines(registry);
    FUZZ_CHECK(registryOut.size() == registry.count());
    FUZZ_CHECK(parseRegistryLines(registryOut) == registry);
    if (fuzzsupport::encodableAsGbk(registryOut))
        FUZZ_CHECK(parseRegistryLines(decodeLines(encodeLines(registryOut))) == registry);

    const QStringList drawText = decodeLines(drawBytes);
    fuzzsupport::checkDecodedLines(drawText);
    Lottery lottery = registry.isEmpty() ? Lottery{} : registry.at(0);
    lottery.draws = parseDrawLines(drawText);
    FUZZ_CHECK(lottery.draws.size() <= drawText.size());

    // Every accepted draw line comes back as the same draw, alone and in the file.
    const QStringList drawOut = drawLines(lottery);
    FUZZ_CHECK(drawOut.size() == lottery.draws.size());
    FUZZ_CHECK(parseDrawLines(drawOut) == lottery.draws);
    for (qsizetype i = 0; i < drawOut.size(); ++i)
        FUZZ_CHECK(parseDrawLines({drawOut.at(i)}) == QList<Draw>{lottery.draws.at(i)});
    if (fuzzsupport::encodableAsGbk(drawOut))
        FUZZ_CHECK(parseDrawLines(decodeLines(encodeLines(drawOut))) == lottery.draws);

    // The selector hands on the drawn numbers in file order.
    LotteryRegistry withDraws;
    withDraws.append(lottery);
    FUZZ_CHECK(selectionNumbers(withDraws, 0) == lottery.numbers());
    FUZZ_CHECK(lottery.numbers().size() == lottery.draws.size());
    return 0;
}
