// The lottery manager's 导入号码 file, imported into a lottery that already has
// draws, keeping the held numbers and, again, taking the offered ones.
// Invariants: a report always ends the messages; the history keeps the rules
// of its gate (held draws in their order, new ones valid, of new issues and
// in issue order); the draw list shows exactly the stored draws; the other
// lottery is untouched; what was imported exports as the lines it came from.

#include "FuzzSupport.h"

#include "core/history/LotteryManager.h"
#include "core/text/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace numsieve;
    fuzzsupport::ensureApplication();
    const QStringList lines = decodeLines(fuzzsupport::bytesOf(data, size));

    LotteryRegistry registry;
    registry.append(Lottery{QStringLiteral("福彩3D"), QStringLiteral("1"),
                            {Draw{QStringLiteral("2024001"), QStringLiteral("123")},
                             Draw{QStringLiteral("2024002"), QStringLiteral("456")}}});
    registry.append(Lottery{QStringLiteral("排列三"), QStringLiteral("2"),
                            {Draw{QStringLiteral("2024001"), QStringLiteral("789")}}});
    const QList<Draw> offered = LotteryManager::readImportLines(lines).draws;
    for (const bool takeNew : {false, true}) {
        LotteryManager manager(registry);
        QStringList messages;
        if (takeNew)
            messages = LotteryManager::importMessages(*manager.importDraws(offered, Differing::TakeOffered));
        else
            messages = manager.importLines(lines);
        FUZZ_CHECK(!messages.isEmpty());
        FUZZ_CHECK(messages.last().startsWith(QStringLiteral("成功导入")));
        const QList<Draw> &after = manager.registry().at(0).draws;
        fuzzsupport::checkHistoryKept(registry.at(0).draws, offered, after, takeNew);
        for (const Draw &d : after)
            FUZZ_CHECK(d.issue == d.issue.trimmed());
        FUZZ_CHECK(manager.registry().at(1) == registry.at(1));
        FUZZ_CHECK(manager.drawEntries().size() == after.size());
        const QStringList exported = manager.exportLines();
        FUZZ_CHECK(exported.size() == after.size());
        for (qsizetype i = 0; i < after.size(); ++i)
            FUZZ_CHECK(exported.at(i) == after.at(i).issue + QLatin1Char('$') + after.at(i).number);
    }
    return 0;
}
