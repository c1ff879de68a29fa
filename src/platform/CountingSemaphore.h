#pragma once
// A counting semaphore with a maximum count. Unlike std::counting_semaphore, a release that
// would pass the maximum is refused (the count stays as it was) instead of being undefined.
// Any thread may call any operation.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace tessary {

class CountingSemaphore {
public:
    CountingSemaphore(int64_t initialCount, int64_t maximumCount);
    CountingSemaphore(const CountingSemaphore&) = delete;
    CountingSemaphore& operator=(const CountingSemaphore&) = delete;

    // Adds `count` (> 0); false, with the count unchanged, when it would pass the maximum.
    bool Release(int64_t count = 1);
    // Blocks until the count is positive, then takes one.
    void Acquire();
    // False when the time ran out with the count still at zero.
    bool TryAcquireFor(std::chrono::milliseconds timeout);
    int64_t Count() const;
    int64_t Maximum() const { return m_maximum; }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_positive;
    int64_t m_count;
    const int64_t m_maximum;
};

} // namespace tessary
