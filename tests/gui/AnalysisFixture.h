#pragma once

#include "core/Workspace.h"
#include "core/history/Draw.h"
#include "gui/app/CMyNumSieveDlg.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QTemporaryDir>

#include <memory>

namespace guitest {

// How long a run of these windows may take before a test gives up, in ms.
inline constexpr int kWait = 120000;

// Opens a 更多 item the way a click on it does.
inline void triggerMoreItem(numsieve::gui::CMyNumSieveDlg &w, int id, const QString &text)
{
    triggerMenuItem(w.commandMenu(numsieve::gui::CMyNumSieveDlg::IdMore), id, text);
}

// Draws from a fixed linear congruential sequence, issues counted up from
// firstIssue: the same history on every run, with no pattern a condition
// would favour.
inline QList<numsieve::Draw> seededDraws(quint32 seed, int count, int firstIssue)
{
    QList<numsieve::Draw> draws;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        draws.append({QString::number(firstIssue + i), QString::asprintf("%03u", (seed >> 8) % 1000)});
    }
    return draws;
}

// What the analysis windows are tried on: every digit of 百十个 chosen, 和值
// 10 to 17 and 跨度 4 to 7, 跨度 tolerable at tolerance index 1.
inline void chooseDigitsSumAndSpan(numsieve::Workspace &ws)
{
    ws.selection.hundreds.selectAll();
    ws.selection.tens.selectAll();
    ws.selection.units.selectAll();
    ws.addEntries(2, 0, {10, 11, 12, 13, 14, 15, 16, 17});
    ws.addEntries(4, 0, {4, 5, 6, 7});
    ws.setTolerable(4, true);
    ws.toleranceIndex = 1;
}

// Window tests of the analysis and money windows: each test function gets a
// main window of its own on a fresh data folder with one lottery, 3D (1).
class AnalysisFixture : public QObject
{
protected:
    // Closes the window of the test before and writes a fresh folder whose
    // lottery holds draws.
    [[nodiscard]] bool writeFolder(QList<numsieve::Draw> draws)
    {
        m_window.reset();
        m_dir = std::make_unique<QTemporaryDir>();
        m_services = FakeServices();
        m_draws = std::move(draws);
        return testsupport::DataFolderBuilder(m_dir->filePath("data")).lottery("1", "3D", m_draws).write();
    }
    numsieve::Workspace &openWindow()
    {
        m_window = std::make_unique<numsieve::gui::CMyNumSieveDlg>(m_services, m_dir->path());
        return m_window->workspace();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<numsieve::gui::CMyNumSieveDlg> m_window;
    QList<numsieve::Draw> m_draws;
    FakeServices m_services;
};

} // namespace guitest
