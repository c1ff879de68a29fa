#pragma once
// A manual-reset event: once set it stays set, releasing every waiter, until Reset. Used as
// the pause gate of worker threads. Any thread may call any operation.

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tessary {

class ManualResetEvent {
public:
    explicit ManualResetEvent(bool signalled = false);
    ManualResetEvent(const ManualResetEvent&) = delete;
    ManualResetEvent& operator=(const ManualResetEvent&) = delete;

    void Set();
    void Reset();
    bool IsSet() const;
    // Blocks until the event is set.
    void Wait() const;
    // False when the time ran out before the event was set.
    bool WaitFor(std::chrono::milliseconds timeout) const;

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_signalled;
};

} // namespace tessary
