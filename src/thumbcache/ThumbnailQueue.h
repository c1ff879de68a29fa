#pragma once
// The request queue of one list-view thumbnailer, shared by its workers.
//
// Order: urgent requests first, first in first out; then normal requests. A batch asked for
// with RequestMany goes to the front of the normal list in the given (display) order, ahead
// of older batches. When ten urgent requests are waiting, the next one first moves them, in
// order, to the front of the normal list, which keeps the urgent list short.
// An id whose thumbnail is done is not queued again until Clear.
//
// Threads: producers (the UI thread) call Request, RequestMany, MarkDone and Clear; the
// list's workers call Take, each getting the next request in the order above. Everything is
// under one mutex; the semaphore carries one count per queued request. Clear leaves the
// counts, so a later Take may find nothing: the worker then simply goes round again.

#include <chrono>
#include <cstdint>
#include <list>
#include <mutex>
#include <set>
#include <vector>
#include <QString>

#include "platform/CountingSemaphore.h"

namespace tessary {

struct ThumbnailRequest {
    int32_t itemId = 0;      // negative: the stop marker
    QString path;            // the photo file, a copy owned by the request
    uint64_t generation = 0; // the image list it was asked for (set by ThumbnailList)
    uint64_t ticket = 0;     // set by Take: 1 for the first request the queue handed out, and so on
};

class ThumbnailQueue {
public:
    static constexpr int32_t kStopMarker = -1;
    static constexpr size_t kUrgentLimit = 10;
    static constexpr int64_t kMaxAvailable = 1000010;

    enum class TakeResult { Taken, Empty, TimedOut };

    ThumbnailQueue();

    // One urgent request.
    void Request(ThumbnailRequest request);
    // A batch of normal requests in display order.
    void RequestMany(std::vector<ThumbnailRequest> batch);
    // Marks a requested id as having its thumbnail.
    void MarkDone(int32_t itemId);
    // Forgets a done id, so that it may be requested again (its cell was given up).
    void Unmark(int32_t itemId);
    // Drops every queued request and both id sets.
    void Clear();

    // Waits for a count, then takes the next request; false when the queue had been cleared
    // under the count.
    bool Take(ThumbnailRequest& out);
    // The same with a time limit on the wait.
    TakeResult TakeFor(ThumbnailRequest& out, std::chrono::milliseconds timeout);

    // Snapshots, for tests and inspection.
    std::vector<int32_t> UrgentIds() const;
    std::vector<int32_t> NormalIds() const;
    bool IsRequested(int32_t itemId) const;
    bool IsDone(int32_t itemId) const;
    int64_t AvailableCount() const { return m_available.Count(); }

private:
    bool TakeFront(ThumbnailRequest& out);

    mutable std::mutex m_mutex;
    std::list<ThumbnailRequest> m_urgent;
    std::list<ThumbnailRequest> m_normal;
    std::set<int32_t> m_requested;
    std::set<int32_t> m_done;
    uint64_t m_lastTicket = 0;
    CountingSemaphore m_available;
};

} // namespace tessary
