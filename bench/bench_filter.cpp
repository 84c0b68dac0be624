// Times a whole filter run: 1000 straight candidates, conditions 1 to 14 on
// with everyday lists, 100,000 draws. Condition 1's omission comes once from
// the one-pass index and once from a scan of the draws per number.
//
//   build/bin/bench_filter [draws] [runs]

#include "Workspace.h"
#include "filter/FilterRun.h"
#include "model/Number.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace numsieve;

namespace {

QList<int> rowsOf(const ListCondition &c, const QStringList &entries)
{
    QList<int> rows;
    for (const QString &e : entries)
        rows.append(int(c.available().indexOf(e)));
    return rows;
}

void choose(Workspace &ws, int panel, int list, const QStringList &entries, ListMode mode = ListMode::Include)
{
    ws.addEntries(panel, list, rowsOf(*ws.conditions.lists(panel).at(list), entries));
    ws.setListMode(panel, panel == 1 ? list + 2 : list, mode);
}

QStringList range(int from, int to)
{
    QStringList out;
    for (int v = from; v <= to; ++v)
        out << QString::number(v);
    return out;
}

void setUp(Workspace &ws, int drawCount, bool everyPanel, bool oneNeverDrawn)
{
    ws.selection.hundreds.selectAll();
    ws.selection.tens.selectAll();
    ws.selection.units.selectAll();

    QRandomGenerator random(20240601);
    ws.selectionNumbers.reserve(drawCount);
    // With one number never drawn the omission pass has to walk every draw.
    for (int i = 0; i < drawCount; ++i)
        ws.selectionNumbers << numberText(int(random.bounded(oneNeverDrawn ? 999 : 1000)));

    ws.setNumberField(NumberField::OmissionFrom, QStringLiteral("2"));
    ws.setNumberField(NumberField::OmissionTo, QStringLiteral("3000"));
    ws.setNumberField(NumberField::HistoryDepth, QStringLiteral("3"));
    ws.setListMode(1, 1, ListMode::Exclude);
    choose(ws, 1, 0, {QStringLiteral("00*"), QStringLiteral("*99"), QStringLiteral("5*5"), QStringLiteral("12*")},
           ListMode::Exclude);
    choose(ws, 1, 1, {QStringLiteral("00"), QStringLiteral("99")}, ListMode::Exclude);
    choose(ws, 2, 0, range(5, 22));
    choose(ws, 2, 1, {QStringLiteral("0"), QStringLiteral("5")}, ListMode::Exclude);
    choose(ws, 3, 0, range(2, 7));
    choose(ws, 4, 0, range(2, 8));
    choose(ws, 5, 0, {QStringLiteral("-1")}, ListMode::Exclude);
    choose(ws, 6, 0, {QStringLiteral("[大小] 大大大"), QStringLiteral("[大小] 小小小")}, ListMode::Exclude);
    choose(ws, 6, 1, {QStringLiteral("[大小] 2:1 (2大1小)"), QStringLiteral("[大小] 1:2 (1大2小)")});
    ws.setRangeCombo(3, 9);
    ws.setRangeCombo(0, 0);
    choose(ws, 7, 0, {QStringLiteral("奇奇奇"), QStringLiteral("偶偶偶")}, ListMode::Exclude);
    choose(ws, 7, 1, {QStringLiteral("2:1 (2奇1偶)"), QStringLiteral("1:2 (1奇2偶)")});
    choose(ws, 8, 0, {QStringLiteral("合合合")}, ListMode::Exclude);
    choose(ws, 8, 1, {QStringLiteral("3:0 (3质0合)")}, ListMode::Exclude);
    choose(ws, 9, 0, {QStringLiteral("000"), QStringLiteral("111"), QStringLiteral("222")}, ListMode::Exclude);
    choose(ws, 9, 1, {QStringLiteral("1:1:1 (1零1壹1贰)"), QStringLiteral("2:1:0 (2零1壹0贰)"),
                      QStringLiteral("1:2:0 (1零2壹0贰)"), QStringLiteral("0:1:2 (0零1壹2贰)"),
                      QStringLiteral("1:0:2 (1零0壹2贰)"), QStringLiteral("2:0:1 (2零0壹1贰)"),
                      QStringLiteral("0:2:1 (0零2壹1贰)")});
    choose(ws, 10, 0, {QStringLiteral("旧旧旧")}, ListMode::Exclude);
    choose(ws, 10, 1, {QStringLiteral("3:0:0 (3新0旧0跳)")}, ListMode::Exclude);
    choose(ws, 11, 0, {QStringLiteral("旧旧旧")}, ListMode::Exclude);
    choose(ws, 11, 1, {QStringLiteral("0:0:3 (0旧0斜3孤)")}, ListMode::Exclude);
    choose(ws, 12, 0, {QStringLiteral("三个重复")}, ListMode::Exclude);
    choose(ws, 13, 0, {QStringLiteral("三连号")}, ListMode::Exclude);
    choose(ws, 14, 0, {QStringLiteral("三间隔")}, ListMode::Exclude);

    if (everyPanel) {
        // every panel tolerable and room for all of them: no number stops early
        for (int panel = 1; panel <= 14; ++panel)
            ws.setTolerable(panel, true);
        ws.toleranceIndex = 10;
    }
}

struct Figures {
    double medianMs;
    double minMs;
    int filtered;
};

Figures measure(Workspace &ws, OmissionMethod method, int runs)
{
    std::vector<double> ms;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        (void)runFilter(ws, nullptr, method);
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::ranges::sort(ms);
    return {ms[ms.size() / 2], ms.front(), ws.tables.counts(TableId::Straight)[1]};
}

} // namespace

int main(int argc, char **argv)
{
    const int drawCount = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 200;

    struct Scenario {
        const char *name;
        bool everyPanel;
        bool oneNeverDrawn;
    };
    const Scenario scenarios[] = {
        {"everyday lists", false, false},
        {"every panel tested (all 容错, tolerance 10)", true, false},
        {"everyday lists, 999 never drawn (omission pass walks every draw)", false, true},
    };
    for (const Scenario &scenario : scenarios) {
        Workspace ws;
        setUp(ws, drawCount, scenario.everyPanel, scenario.oneNeverDrawn);
        int on = 0;
        for (int c = 1; c <= 14; ++c)
            on += ws.enabled[c];
        std::printf("%s: %d draws, 1000 candidates, %d of conditions 1-14 on\n", scenario.name, drawCount, on);
        const Figures index = measure(ws, OmissionMethod::Index, runs);
        std::printf("  one-pass omission index : median %8.3f ms  min %8.3f ms  (%d filtered, %d runs)\n", index.medianMs,
                    index.minMs, index.filtered, runs);
        const Figures scan = measure(ws, OmissionMethod::PerNumberScan, std::max(3, runs / 20));
        std::printf("  per-number draw scan    : median %8.3f ms  min %8.3f ms  (%d filtered, %d runs)\n", scan.medianMs,
                    scan.minMs, scan.filtered, std::max(3, runs / 20));
        if (index.filtered != scan.filtered)
            std::printf("  MISMATCH between the two omission methods\n");
    }
    return 0;
}
