// The analysis server's answer to a draw download. Invariants: the answer is
// taken whole or refused whole with the message and its cause; an answer
// without draws is refused too; every accepted draw has an issue and a
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
        FUZZ_CHECK(outcome.message == msg::withCause(msg::kUpdateDataRefused, msg::kAnswerNotDrawList)
                   || outcome.message == msg::withCause(msg::kUpdateDataRefused, msg::kNoDrawsOnServer));
        FUZZ_CHECK(outcome.draws.isEmpty());
        return 0;
    }
    FUZZ_CHECK(!outcome.draws.isEmpty());
    for (const Draw &d : outcome.draws) {
        FUZZ_CHECK(fuzzsupport::isThreeAsciiDigits(d.number));
        FUZZ_CHECK(!d.issue.isEmpty());
        FUZZ_CHECK(!d.issue.contains(QLatin1Char('\n')));
    }

    LotteryRegistry registry;
    registry.append(Lottery{QStringLiteral("福彩3D"), QStringLiteral("1"),
                            {Draw{QStringLiteral("2024001"), QStringLiteral("123")}}});
    LotteryManager manager(registry);
    const auto applied = manager.applyDownload(outcome.draws);
    // An accepted download replaces the history, unless the manager refuses
    // it (text that cannot be saved): then nothing changes.
    const QList<Draw> expected = applied ? outcome.draws : registry.at(0).draws;
    FUZZ_CHECK(manager.registry().at(0).draws == expected);
    FUZZ_CHECK(manager.drawEntries().size() == expected.size());
    return 0;
}
