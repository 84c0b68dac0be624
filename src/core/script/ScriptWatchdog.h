#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class QJSEngine;

namespace numsieve {

// Interrupts a script engine whose current evaluation has run longer than the
// limit. The engine runs on the caller's thread; the watchdog waits on its own
// thread and only ever calls QJSEngine::setInterrupted, which is thread safe.
//
// Arming and disarming take an uncontended lock and wake the watchdog only when
// it sleeps without a deadline, so guarding a call costs far less than the call.
class ScriptWatchdog
{
public:
    explicit ScriptWatchdog(std::chrono::milliseconds limit);
    ~ScriptWatchdog();
    ScriptWatchdog(const ScriptWatchdog &) = delete;
    ScriptWatchdog &operator=(const ScriptWatchdog &) = delete;

    std::chrono::milliseconds limit() const { return m_limit; }

    // Starts the clock for one evaluation of the engine. It stops at the
    // limit, or at the latest moment given when that comes first.
    void arm(QJSEngine *engine, std::chrono::steady_clock::time_point latest = std::chrono::steady_clock::time_point::max());
    // Stops the clock. Returns true when the limit was reached; the engine's
    // interrupt flag is then cleared again so that it can be used further.
    bool disarm();

private:
    void watch();

    const std::chrono::milliseconds m_limit;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    QJSEngine *m_engine = nullptr;
    std::chrono::steady_clock::time_point m_deadline;
    bool m_armed = false;
    bool m_fired = false;
    bool m_sleeping = false;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace numsieve
