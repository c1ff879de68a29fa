#include "ThumbnailQueue.h"

namespace tessary {

ThumbnailQueue::ThumbnailQueue()
    : m_available(0, kMaxAvailable)
{
}

void ThumbnailQueue::Request(ThumbnailRequest request)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_done.count(request.itemId))
            return;
        if (m_urgent.size() >= kUrgentLimit)
            m_normal.splice(m_normal.begin(), m_urgent);
        m_requested.insert(request.itemId);
        m_urgent.push_back(std::move(request));
    }
    m_available.Release(1);
}

void ThumbnailQueue::RequestMany(std::vector<ThumbnailRequest> batch)
{
    int64_t queued = 0;
    {
        std::lock_guard lock(m_mutex);
        std::list<ThumbnailRequest> kept;
        for (ThumbnailRequest& request : batch) {
            if (m_done.count(request.itemId))
                continue;
            m_requested.insert(request.itemId);
            kept.push_back(std::move(request));
            ++queued;
        }
        m_normal.splice(m_normal.begin(), kept);
    }
    if (queued > 0)
        m_available.Release(queued);
}

void ThumbnailQueue::MarkDone(int32_t itemId)
{
    std::lock_guard lock(m_mutex);
    if (m_requested.count(itemId))
        m_done.insert(itemId);
}

void ThumbnailQueue::Unmark(int32_t itemId)
{
    std::lock_guard lock(m_mutex);
    if (m_done.erase(itemId))
        m_requested.erase(itemId);
}

void ThumbnailQueue::Clear()
{
    std::lock_guard lock(m_mutex);
    m_urgent.clear();
    m_normal.clear();
    m_requested.clear();
    m_done.clear();
}

bool ThumbnailQueue::TakeFront(ThumbnailRequest& out)
{
    std::lock_guard lock(m_mutex);
    std::list<ThumbnailRequest>& from = m_urgent.empty() ? m_normal : m_urgent;
    if (from.empty())
        return false;
    out = std::move(from.front());
    from.pop_front();
    out.ticket = ++m_lastTicket;
    return true;
}

bool ThumbnailQueue::Take(ThumbnailRequest& out)
{
    m_available.Acquire();
    return TakeFront(out);
}

ThumbnailQueue::TakeResult ThumbnailQueue::TakeFor(ThumbnailRequest& out, std::chrono::milliseconds timeout)
{
    if (!m_available.TryAcquireFor(timeout))
        return TakeResult::TimedOut;
    return TakeFront(out) ? TakeResult::Taken : TakeResult::Empty;
}

std::vector<int32_t> ThumbnailQueue::UrgentIds() const
{
    std::lock_guard lock(m_mutex);
    std::vector<int32_t> ids;
    for (const ThumbnailRequest& r : m_urgent)
        ids.push_back(r.itemId);
    return ids;
}

std::vector<int32_t> ThumbnailQueue::NormalIds() const
{
    std::lock_guard lock(m_mutex);
    std::vector<int32_t> ids;
    for (const ThumbnailRequest& r : m_normal)
        ids.push_back(r.itemId);
    return ids;
}

bool ThumbnailQueue::IsRequested(int32_t itemId) const
{
    std::lock_guard lock(m_mutex);
    return m_requested.count(itemId) != 0;
}

bool ThumbnailQueue::IsDone(int32_t itemId) const
{
    std::lock_guard lock(m_mutex);
    return m_done.count(itemId) != 0;
}

} // namespace tessary
