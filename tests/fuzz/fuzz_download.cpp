// The analysis server's answer to a draw download. Invariants: the answer is
// taken whole or refused whole with the message and its cause; an answer
// without draws is refused too; every accepted draw has an issue and a
// three-digit number. Merged, the history keeps the rules of its gate;
// replacing, it holds the downloaded issues in issue order, each once, and
// the held number where one differs.
// The same bytes as a whole HTTP answer, status line and header included,
// read by the bounded reader: the outcome does not depend on how the bytes
// arrive, a body never passes the limit, and what is refused keeps nothing.

#include "FuzzSupport.h"

#include "core/history/LotteryManager.h"
#include "core/online/DrawDownload.h"
#include "core/online/HttpGet.h"
#include "core/online/HttpResponse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace numsieve;
    fuzzsupport::ensureApplication();
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    const DownloadOutcome outcome = parseDrawListBody(bytes);

    constexpr qint64 limit = 4096;
    using State = HttpResponseReader::State;
    auto read = [&bytes](qsizetype piece) {
        HttpResponseReader reader(limit);
        for (qsizetype at = 0; at < bytes.size(); at += piece)
            reader.feed(QByteArrayView(bytes).sliced(at, std::min(piece, bytes.size() - at)));
        const State state = reader.close();
        FUZZ_CHECK(reader.body().size() <= limit);
        FUZZ_CHECK(state != State::Reading);
        FUZZ_CHECK(state == State::Done || reader.body().isEmpty());
        FUZZ_CHECK(state != State::Done || reader.headerRead());
        return std::pair(state, reader.body());
    };
    FUZZ_CHECK(read(std::max<qsizetype>(1, bytes.size())) == read(1 + (size > 0 ? data[0] % 7 : 0)));

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
    for (const auto mode : {LotteryManager::DownloadMode::Merge, LotteryManager::DownloadMode::Replace}) {
        LotteryManager manager(registry);
        const auto applied = manager.applyDownload(outcome.draws, mode);
        const QList<Draw> &after = manager.registry().at(0).draws;
        FUZZ_CHECK(manager.drawEntries().size() == after.size());
        if (!applied) {   // text that cannot be saved: nothing changes
            FUZZ_CHECK(after == registry.at(0).draws);
            continue;
        }
        if (mode == LotteryManager::DownloadMode::Merge) {
            fuzzsupport::checkHistoryKept(registry.at(0).draws, outcome.draws, after, false);
            continue;
        }
        // A replacing list: the downloaded issues not refused, each once, in
        // issue order where they are digits, the held number kept where it differs.
        // An issue is taken unless every time it came was refused (a
        // repeat with the same number is refused once and taken once).
        QHash<QString, int> left;
        for (const Draw &d : outcome.draws)
            ++left[issueKey(d.issue)];
        for (const RefusedDraw &r : applied->intake.refused)
            --left[issueKey(r.draw.issue)];
        QSet<QString> expected;
        for (auto it = left.cbegin(); it != left.cend(); ++it)
            if (it.value() > 0)
                expected.insert(it.key());
        if (expected.isEmpty()) {
            FUZZ_CHECK(after == registry.at(0).draws);
            continue;
        }
        FUZZ_CHECK(after.size() == expected.size());
        for (const Draw &d : after) {
            FUZZ_CHECK(expected.contains(issueKey(d.issue)));
            if (issueKey(d.issue) == issueKey(registry.at(0).draws.first().issue))
                FUZZ_CHECK(d.number == registry.at(0).draws.first().number);
        }
        if (std::ranges::all_of(after, [](const Draw &d) { return isDigitIssue(d.issue); }))
            for (qsizetype i = 1; i < after.size(); ++i)
                FUZZ_CHECK(compareIssueValues(after.at(i - 1).issue, after.at(i).issue) < 0);
    }
    return 0;
}
