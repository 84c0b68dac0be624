#include "core/script/ScriptWatchdog.h"

#include <QJSEngine>

#include <algorithm>

namespace numsieve {

ScriptWatchdog::ScriptWatchdog(std::chrono::milliseconds limit)
    : m_limit(limit)
{
    m_thread = std::thread([this] { watch(); });
}

ScriptWatchdog::~ScriptWatchdog()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void ScriptWatchdog::arm(QJSEngine *engine, std::chrono::steady_clock::time_point latest)
{
    const auto deadline = std::min(std::chrono::steady_clock::now() + m_limit, latest);
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        m_engine = engine;
        m_deadline = deadline;
        m_armed = true;
        m_fired = false;
        wake = m_sleeping;
    }
    // A watchdog that waits for an earlier deadline notices the new one when
    // that deadline passes; only one without any deadline must be woken.
    if (wake)
        m_wake.notify_one();
}

bool ScriptWatchdog::disarm()
{
    std::lock_guard lock(m_mutex);
    m_armed = false;
    const bool fired = m_fired;
    if (fired) {
        m_engine->setInterrupted(false);
        m_fired = false;
    }
    return fired;
}

void ScriptWatchdog::watch()
{
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (!m_armed) {
            m_sleeping = true;
            m_wake.wait(lock, [this] { return m_stop || m_armed; });
            m_sleeping = false;
            continue;
        }
        const auto deadline = m_deadline;
        if (std::chrono::steady_clock::now() >= deadline) {
            m_engine->setInterrupted(true);
            m_fired = true;
            m_armed = false;
            continue;
        }
        m_wake.wait_until(lock, deadline);
    }
}

} // namespace numsieve
