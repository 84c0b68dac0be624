#pragma once

// The scheme the benchmarks run: every digit in every position and conditions
// 1 to 14 with lists a player uses every day.

#include "core/Workspace.h"
#include "core/model/Number.h"

#include <QRandomGenerator>

namespace numsieve::bench {

inline QList<int> rowsOf(const ListCondition &c, const QStringList &entries)
{
    QList<int> rows;
    for (const QString &e : entries)
        rows.append(int(c.available().indexOf(e)));
    return rows;
}

inline void choose(Workspace &ws, int panel, int list, const QStringList &entries, ListMode mode = ListMode::Include)
{
    ws.addEntries(panel, list, rowsOf(*ws.conditions.lists(panel).at(list), entries));
    ws.setListMode(panel, panel == 1 ? list + 2 : list, mode);
}

inline QStringList range(int from, int to)
{
    QStringList out;
    for (int v = from; v <= to; ++v)
        out << QString::number(v);
    return out;
}

inline void setUp(Workspace &ws, int drawCount, bool everyPanel, bool oneNeverDrawn)
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

// Ten script conditions that only read, over the thirty newest draws.
inline const QString kConditions = QStringLiteral(
    "和值[0]!=和值[1];\r\n"
    "跨度[0]>=跨度[1]-9;\r\n"
    "号码[0][1]!=号码[1][1]||号码[0][2]!=号码[1][2];\r\n"
    "和尾数[0]!=和尾数[2]+10;\r\n"
    "平均值[0]+平均值[1]<20;\r\n"
    "AC值[0]>=-1;\r\n"
    "hz[0]+hz[3]>=hz[0];\r\n"
    "(号码[0][1]+号码[0][2]+号码[0][3])%10==hw[0];\r\n"
    "kd[0]<=9&&kd[30]>=0;\r\n"
    "号码[0][3]!=号码[5][3]+10;\r\n");

} // namespace numsieve::bench
