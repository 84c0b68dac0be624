// The lottery manager's 导入号码 file, imported into a lottery that already has
// draws. Invariants: a report always ends the messages; the stored draws keep
// their order and only gain, at their end, draws with a non-empty issue that
// was not stored before and a three-digit number; the draw list shows exactly
// the stored draws; the other lottery is untouched.

#include "FuzzSupport.h"

#include "history/LotteryManager.h"
#include "text/TextFile.h"

#include <QSet>

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
    LotteryManager manager(registry);
    const QStringList messages = manager.importLines(lines);

    FUZZ_CHECK(!messages.isEmpty());
    FUZZ_CHECK(messages.last().startsWith(QStringLiteral("成功导入")));
    const QList<Draw> &before = registry.at(0).draws;
    const QList<Draw> &after = manager.registry().at(0).draws;
    FUZZ_CHECK(after.size() >= before.size());
    FUZZ_CHECK(after.mid(0, before.size()) == before);
    QSet<QString> storedIssues;
    for (const Draw &d : before)
        storedIssues.insert(d.issue);
    for (qsizetype i = before.size(); i < after.size(); ++i) {
        const Draw &d = after.at(i);
        FUZZ_CHECK(!d.issue.isEmpty());
        FUZZ_CHECK(d.issue == d.issue.trimmed());
        FUZZ_CHECK(!storedIssues.contains(d.issue));
        FUZZ_CHECK(fuzzsupport::isThreeAsciiDigits(d.number));
    }
    FUZZ_CHECK(manager.registry().at(1) == registry.at(1));
    FUZZ_CHECK(manager.drawEntries().size() == after.size());

    // What was imported exports as the lines it came from, trimmed.
    const QStringList exported = manager.exportLines();
    FUZZ_CHECK(exported.size() == after.size());
    for (qsizetype i = 0; i < after.size(); ++i)
        FUZZ_CHECK(exported.at(i) == after.at(i).issue + QLatin1Char('$') + after.at(i).number);
    return 0;
}
