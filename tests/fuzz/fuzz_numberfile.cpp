// A number file, as the base-file import and the intersect command read it.
// The first byte picks the 类型 of the import and the view mode of the
// intersection; the rest is the file.
// Invariants: an accepted file yields only three-digit texts; the base list is
// exactly them without repeats, and a refused file leaves it empty; an
// intersection promotes exactly the filtered entries of the view that the file
// names (group entries by their sorted digits) and touches nothing else.

#include "FuzzSupport.h"

#include "core/results/NumberListFile.h"
#include "core/results/ResultTables.h"
#include "core/selection/SelectionState.h"
#include "core/text/TextFile.h"

#include <algorithm>
#include <array>
#include <bitset>

namespace {

using namespace numsieve;

QString sortedDigits(const QString &text)
{
    QString s = text;
    std::sort(s.begin(), s.end());
    return s;
}

int sortedNumber(int number)
{
    std::array<int, 3> d{number / 100, number / 10 % 10, number % 10};
    std::sort(d.begin(), d.end());
    return d[0] * 100 + d[1] * 10 + d[2];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::ensureApplication();
    if (size == 0)
        return 0;
    const uint8_t choice = data[0];
    const QByteArray file = fuzzsupport::bytesOf(data + 1, size - 1);

    const auto parsed = parseNumberLines(decodeLines(file));
    if (parsed) {
        for (const QString &text : *parsed)
            FUZZ_CHECK(fuzzsupport::isThreeAsciiDigits(text));
    } else {
        FUZZ_CHECK(!parsed.error().isEmpty());
    }

    // Base import, from the file on disk into a list that held numbers before.
    const QString path = fuzzsupport::scratchFile(QStringLiteral("numbers.txt"));
    if (!fuzzsupport::writeFile(path, file))
        return 0;
    SelectionState selection;
    selection.baseType = (choice & 1) ? SelectionType::Group : SelectionType::Straight;
    const SelectionType other = (choice & 1) ? SelectionType::Straight : SelectionType::Group;
    selection.baseList(selection.baseType) = {QStringLiteral("123"), QStringLiteral("456")};
    selection.baseList(other) = {QStringLiteral("789")};
    const auto imported = selection.importBaseFile(path);
    FUZZ_CHECK(imported.has_value() == parsed.has_value());
    if (imported)
        FUZZ_CHECK(selection.baseList(selection.baseType) == withoutRepeats(*parsed));
    else
        FUZZ_CHECK(selection.baseList(selection.baseType).isEmpty());
    FUZZ_CHECK(selection.baseList(other) == QStringList{QStringLiteral("789")});
    if (!parsed)
        return 0;

    // Intersection over tables where every third entry of every table was filtered.
    ResultTables tables;
    const ViewMode view = (choice & 2) ? ViewMode::Group : ViewMode::Straight;
    tables.setViewMode(view);
    for (TableId id : {TableId::Straight, TableId::GroupThree, TableId::GroupSix}) {
        int k = 0;
        for (ResultEntry &e : tables.table(id))
            e.stage = (k++ % 3 == 0) ? ResultStage::Filtered : ResultStage::Selected;
    }
    tables.intersect(*parsed);

    std::bitset<1000> named;
    std::bitset<1000> namedSorted;
    for (const QString &text : *parsed) {
        named.set(text.toInt());
        namedSorted.set(sortedDigits(text).toInt());
    }
    for (TableId id : {TableId::Straight, TableId::GroupThree, TableId::GroupSix}) {
        const bool inView = (id == TableId::Straight) == (view == ViewMode::Straight);
        int k = 0;
        for (const ResultEntry &e : tables.table(id)) {
            const ResultStage was = (k++ % 3 == 0) ? ResultStage::Filtered : ResultStage::Selected;
            const bool matches = id == TableId::Straight ? named.test(std::size_t(e.number))
                                                         : namedSorted.test(std::size_t(sortedNumber(e.number)));
            const ResultStage expected = inView && was == ResultStage::Filtered && matches ? ResultStage::Intersected : was;
            FUZZ_CHECK(e.stage == expected);
        }
    }
    return 0;
}
