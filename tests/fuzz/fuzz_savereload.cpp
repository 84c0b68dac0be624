// Draws that come in, by 导入号码 or by a download merged into a lottery that
// already has draws, and are then saved. Invariants: the history keeps the
// rules of its gate; whatever the manager took, the save accepts, and
// reading the data folder back gives exactly the draws it held (no character
// turned into "?" or into a byte the reader refuses, no line split or lost);
// a second save of what was read changes no byte; no save leaves a
// temporary file behind.

#include "FuzzSupport.h"

#include "core/history/DataFolder.h"
#include "core/history/LotteryManager.h"
#include "core/online/DrawDownload.h"
#include "core/text/FileAccess.h"

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
    // The second bit chooses whether offered numbers replace differing held ones.
    const Differing differing = data[0] & 2 ? Differing::TakeOffered : Differing::KeepHeld;
    QList<Draw> offered;
    if (download) {
        const DownloadOutcome outcome = parseDrawListBody(bytes);
        offered = outcome.draws;
        if (!outcome.message.isEmpty() || !manager.applyDownload(offered, LotteryManager::DownloadMode::Merge, differing))
            return 0;
    } else {
        const QString file = fuzzsupport::scratchFile(QStringLiteral("import.txt"));
        FUZZ_CHECK(fuzzsupport::writeFile(file, bytes));
        const auto read = LotteryManager::readImportFile(file);
        FUZZ_CHECK(read.has_value());
        offered = read->draws;
        FUZZ_CHECK(manager.importDraws(offered, differing).has_value());
    }
    fuzzsupport::checkHistoryKept(registry.at(0).draws, offered, manager.registry().at(0).draws,
                                  differing == Differing::TakeOffered);

    const auto saved = manager.save(folder);
    FUZZ_CHECK(saved.has_value());
    const LotteryRegistry loaded = loadRegistry(folder);
    FUZZ_CHECK(loaded.readProblems().isEmpty());
    FUZZ_CHECK(loaded == manager.registry());
    const QByteArray file = fuzzsupport::readFile(drawFilePath(folder, QStringLiteral("1")));
    FUZZ_CHECK(saveRegistry(folder, loaded).has_value());
    FUZZ_CHECK(fuzzsupport::readFile(drawFilePath(folder, QStringLiteral("1"))) == file);
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        FUZZ_CHECK(!isSaveTemporaryName(name));
    return 0;
}
