#pragma once
// The preview thumbnailer: one per process, made at first use, stopped at exit. Windows ask
// through Draw; a missing preview is queued and made by one worker thread, newest request
// first, from the preview store or by loading the photo fitted into 160 x 160. When it is
// there, kThumbReadyEvent with the item id reaches the window that asked, provided that window
// still exists; the window then draws again.
//
// Threads: Draw, Enqueue, Clear and Stop belong to the UI thread; the worker adds results.
// One mutex guards the pending requests, the results and their index; the semaphore carries
// one count per queued request (Clear leaves the counts; the worker then takes nothing).
// The ready event is delivered on the thread that made the service, after the window has been
// found still alive there, so a closed window is never reached; receivers live on that thread.

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>
#include <QPointer>
#include <QRect>
#include <QString>

#include "imaging/DibDepths.h"
#include "platform/CountingSemaphore.h"
#include "thumbcache/ThumbCacheStore.h"

class QPainter;

namespace tessary {

struct PreviewRequest {
    static constexpr int32_t kStopMarker = -1;

    QPointer<QObject> window; // made on the UI thread, where the window lives
    int32_t itemId = 0;       // positive; kStopMarker ends the worker
    QString path;             // a copy of the photo's path
};

class PreviewThumbnails {
public:
    static constexpr DibSize kBox{160, 160};
    static constexpr int64_t kMaxAvailable = 1000000;

    // The process-wide service on the preview store, opened (when not yet open) in
    // ThumbCacheStore::StoreFolder(). Made, with its worker started, on the first call; stopped
    // and emptied when the application object goes, or at exit.
    static PreviewThumbnails& Instance();

    // A service of its own on `store`, opened in `storeFolder` when it is not open yet.
    PreviewThumbnails(ThumbCacheStore& store, const QString& storeFolder);
    ~PreviewThumbnails();
    PreviewThumbnails(const PreviewThumbnails&) = delete;
    PreviewThumbnails& operator=(const PreviewThumbnails&) = delete;

    // Draws the item's preview into `rect`, fitted (scaled up or down, aspect kept) and
    // centred, with smooth scaling when the size differs; `drawn` receives where it went. Without
    // a preview yet the request is queued and nothing is drawn: the caller draws its own
    // placeholder. False for a null painter, an empty rectangle, an id that is not positive or
    // an empty path.
    bool Draw(QPainter* painter, const QRect& rect, const PreviewRequest& request, QRect* drawn = nullptr);
    // Queues the request at the front, unless the item has a preview or the same window
    // already waits for the same id.
    void Enqueue(PreviewRequest request);
    bool HasResult(int32_t itemId) const;
    // Keeps a copy of `image` as the item's preview; false for ids <= 0, ids that have one and
    // images that cannot be copied.
    bool AddResult(const DibImage& image, int32_t itemId);
    bool CopyResult(int32_t itemId, DibImage& out) const;
    // Drops every preview and every pending request.
    void Clear();
    // Ends the worker: a stop marker at the front, the stop flag, a wait without time-out. The
    // preview being made is finished first. Later calls do nothing.
    void Stop();

    // Holds the worker before it takes its next request, or lets it go on (it starts going).
    // Stop lets a held worker go.
    void PauseWorker(bool paused);

    // Pending item ids, the next one to be served first; for tests and inspection.
    std::vector<int32_t> PendingIds() const;
    int64_t Decoded() const { return m_decoded.load(); }
    int64_t StoreHits() const { return m_storeHits.load(); }

private:
    class Worker;
    class Relay;
    friend class Worker;
    friend class Relay;

    bool TakeRequest(PreviewRequest& out);
    // Worker: hands the finished request's id to its window through the relay.
    void PostReady(PreviewRequest request);
    bool HasResultLocked(int32_t itemId) const;

    ThumbCacheStore& m_store;
    mutable std::mutex m_mutex;
    std::deque<PreviewRequest> m_pending;
    std::deque<std::unique_ptr<DibImage24>> m_results;
    std::map<int32_t, size_t> m_resultIndex;
    std::vector<PreviewRequest> m_ready; // finished, not yet handed to their windows
    CountingSemaphore m_available;
    std::atomic<int64_t> m_decoded{0};
    std::atomic<int64_t> m_storeHits{0};
    std::unique_ptr<QObject> m_relay;
    std::unique_ptr<Worker> m_worker;
};

} // namespace tessary
