// The analysis server's answer to a draw download. Invariants: the answer is
// taken whole or refused whole with the message; every accepted draw has a
// three-digit number; the manager then holds exactly the received draws.

#include "FuzzSupport.h"

#include "history/LotteryManager.h"
#include "online/DrawDownload.h"
#include "online/HttpGet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace numsieve;
    fuzzsupport::ensureApplication();
    const DownloadOutcome outcome = parseDrawListBody(fuzzsupport::bytesOf(data, size));

    if (!outcome.message.isEmpty()) {
        FUZZ_CHECK(outcome.message == msg::kUpdateDataRefused);
        FUZZ_CHECK(outcome.draws.isEmpty());
        return 0;
    }
    for (const Draw &d : outcome.draws) {
        FUZZ_CHECK(fuzzsupport::isThreeAsciiDigits(d.number));
        FUZZ_CHECK(!d.issue.contains(QLatin1Char('\n')));
    }

    LotteryRegistry registry;
    registry.append(Lottery{QStringLiteral("福彩3D"), QStringLiteral("1"),
                            {Draw{QStringLiteral("2024001"), QStringLiteral("123")}}});
    LotteryManager manager(registry);
    const auto applied = manager.applyDownload(outcome.draws);
    // An empty download, or one the manager refuses (a draw without an issue,
    // text that cannot be saved), changes nothing; any other replaces the history.
    const QList<Draw> expected = outcome.draws.isEmpty() || !applied ? registry.at(0).draws : outcome.draws;
    for (const Draw &d : manager.registry().at(0).draws)
        FUZZ_CHECK(!d.issue.isEmpty());
    FUZZ_CHECK(manager.registry().at(0).draws == expected);
    FUZZ_CHECK(manager.drawEntries().size() == expected.size());
    return 0;
}
