#include "CountingSemaphore.h"

#include <algorithm>

namespace tessary {

CountingSemaphore::CountingSemaphore(int64_t initialCount, int64_t maximumCount)
    : m_count(std::clamp<int64_t>(initialCount, 0, std::max<int64_t>(maximumCount, 0)))
    , m_maximum(std::max<int64_t>(maximumCount, 0))
{
}

bool CountingSemaphore::Release(int64_t count)
{
    {
        std::lock_guard lock(m_mutex);
        if (count <= 0 || count > m_maximum - m_count)
            return false;
        m_count += count;
    }
    if (count == 1)
        m_positive.notify_one();
    else
        m_positive.notify_all();
    return true;
}

void CountingSemaphore::Acquire()
{
    std::unique_lock lock(m_mutex);
    m_positive.wait(lock, [this] { return m_count > 0; });
    --m_count;
}

bool CountingSemaphore::TryAcquireFor(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    if (!m_positive.wait_for(lock, timeout, [this] { return m_count > 0; }))
        return false;
    --m_count;
    return true;
}

int64_t CountingSemaphore::Count() const
{
    std::lock_guard lock(m_mutex);
    return m_count;
}

} // namespace tessary
