// Draws that come in, by 导入号码 or by a download merged into a lottery that
// already has draws, and are then saved. Invariants: whatever the manager
// took, the save accepts, and reading the data folder back gives exactly the
// draws it held (no character turned into "?", no line split or lost); a
// second save of what was read changes no byte.

#include "FuzzSupport.h"

#include "history/DataFolder.h"
#include "history/LotteryManager.h"
#include "online/DrawDownload.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace numsieve;
    fuzzsupport::ensureApplication();
    if (size == 0)
        return 0;
    const bool download = data[0] & 1;
    const QByteArray bytes = fuzzsupport::bytesOf(data + 1, size - 1);

    const QString folder = fuzzsupport::scratchFile(QStringLiteral("data"));
    QDir(folder).removeRecursively();
    FUZZ_CHECK(QDir().mkpath(folder));
    LotteryRegistry registry;
    registry.append(Lottery{QStringLiteral("福彩3D"), QStringLiteral("1"),
                            {Draw{QStringLiteral("2024001"), QStringLiteral("123")},
                             Draw{QStringLiteral("第2024002期"), QStringLiteral("456")}}});
    LotteryManager manager(registry);
    if (download) {
        const DownloadOutcome outcome = parseDrawListBody(bytes);
        if (!outcome.message.isEmpty() || !manager.applyDownload(outcome.draws, LotteryManager::DownloadMode::Merge))
            return 0;
    } else {
        const QString file = fuzzsupport::scratchFile(QStringLiteral("import.txt"));
        FUZZ_CHECK(fuzzsupport::writeFile(file, bytes));
        (void)manager.importFile(file);
    }

    const auto saved = manager.save(folder);
    FUZZ_CHECK(saved.has_value());
    const LotteryRegistry loaded = loadRegistry(folder);
    FUZZ_CHECK(loaded.readProblems().isEmpty());
    FUZZ_CHECK(loaded == manager.registry());
    const QByteArray file = fuzzsupport::readFile(drawFilePath(folder, QStringLiteral("1")));
    FUZZ_CHECK(saveRegistry(folder, loaded).has_value());
    FUZZ_CHECK(fuzzsupport::readFile(drawFilePath(folder, QStringLiteral("1"))) == file);
    return 0;
}
