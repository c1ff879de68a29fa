#pragma once
// The list-view thumbnailer of one item-list window: an image list of 96 x 96 cells, the map
// from item id to the cell of its thumbnail, placeholder cells per file-type icon, and one
// worker thread that makes the thumbnails.
//
// The worker takes requests from the list's ThumbnailQueue, looks the photo up in the
// list-view store, otherwise loads it fitted into 94 x 94 and stores it, composes the framed
// cell (with the Exif badge on JPEG photos that have an Exif block), adds it to the image list
// and posts kThumbReadyEvent with the item id to the window. A photo that cannot be loaded
// keeps its placeholder; nothing is reported.
//
// Workers: WorkerCount() of them unless the constructor names a count. They share the
// queue, the store and the image list; each decodes with its own buffers, so the decoders'
// memory caps hold per worker. An id gets at most one cell per image list: a worker drops a
// request whose id is already done (a second request for it queued before the first was
// made), and AddThumbnail refuses it again under the lock, should two workers make it at once.
//
// Threads: construction, destruction, Reset, requests, ImageIndexFor and the image-list
// accessors belong to the window's (UI) thread; the workers only call AddCell. One mutex
// guards the image list and both maps; AddCell takes the queue's lock inside it, placeholder
// making takes IconCells' lock inside it. Requests carry copies of paths and ids: the worker
// never sees the album model or a widget.
// Ownership: the window owns the list and outlives it; events for it are posted with
// QCoreApplication::postEvent.

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>
#include <QImage>
#include <QObject>

#include "imaging/DibImage.h"
#include "thumbcache/CellImageList.h"
#include "thumbcache/ThumbCacheStore.h"
#include "thumbcache/ThumbnailCell.h"
#include "thumbcache/ThumbnailQueue.h"

namespace tessary {

class ThumbnailList {
public:
    static constexpr int kGrowth = 100;
    static constexpr int kMaxWorkers = 8;

    // The default pool size: TESSARY_THUMB_WORKERS when it holds a number from 1 to
    // kMaxWorkers, else the machine's core count within 1..kMaxWorkers.
    static int WorkerCount();

    // What the worker has done since the list was made; for measuring and tests.
    struct Counters {
        int64_t served = 0;    // requests taken and worked on
        int64_t made = 0;      // cells added (each followed by kThumbReadyEvent)
        int64_t storeHits = 0; // photos found in the store
        int64_t failed = 0;    // requests whose photo could not be loaded or added
        int64_t discarded = 0; // cells made for a list that was reset meanwhile
        int64_t repeated = 0;  // requests dropped because their id already had its cell
    };

    // Starts the workers on the process-wide list-view store, opened (when not yet open) in
    // ThumbCacheStore::StoreFolder().
    explicit ThumbnailList(QObject* window);
    // The same on `store`, opened in `storeFolder` when it is not open yet, with `workers`
    // workers (clamped to 1..kMaxWorkers; 0 means WorkerCount()).
    ThumbnailList(QObject* window, ThumbCacheStore& store, const QString& storeFolder, int workers = 0);
    // Stops the workers (see Stop).
    virtual ~ThumbnailList();
    ThumbnailList(const ThumbnailList&) = delete;
    ThumbnailList& operator=(const ThumbnailList&) = delete;

    // Drops every queued request, both id sets, every thumbnail and placeholder, and replaces
    // the image list by an empty one with room for max(initialCount, 1) cells; then posts
    // kThumbListResetEvent to the window. A request being worked on is finished (its photo
    // still goes into the store) but its cell is not added: by then its id may name an item
    // of another album. False when the new list cannot be made (the list then has none).
    virtual bool Reset(int initialCount);
    // Forgets which cells belong to which items; the image list, the placeholders and the
    // queue's sets are kept (so done ids are not queued again until the next Reset).
    void ForgetThumbnails();
    void Forget(int32_t itemId);

    // One urgent request; dropped when the item's thumbnail is done.
    void Request(const ThumbnailRequest& item);
    // A batch in display order, ahead of older batches, behind urgent requests.
    void RequestMany(std::vector<ThumbnailRequest> items);

    // The cell to show for the item: its thumbnail, else the placeholder of its file type
    // (made on first use). -1 without an image list.
    int ImageIndexFor(int32_t itemId, const QString& path);
    // Adds a cell-size image to the image list: as the placeholder of icon key `key`, or as
    // the thumbnail of item `key`, which then counts as done in the queue. Returns its index
    // or -1.
    int AddCell(const DibImage& bitmap, int32_t key, bool isPlaceholder);

    // Ends every worker: one urgent stop marker per worker, the stop flags, then a wait (no
    // time-out) for each thread. Requests being worked on are finished first. Later requests
    // stay queued. A worker that sees its flag before a marker leaves that marker queued.
    void Stop();
    // Holds every worker before it takes its next request (the one being made is finished),
    // or lets them go on. Stop lets held workers go.
    void PauseWorkers(bool paused);
    // The number of workers started (0 after Stop).
    int Workers() const { return int(m_workers.size()); }

    // ---- the image list, for the window ------------------------------------------------------
    bool HasImageList() const;
    int ImageCount() const;
    // Counts the image lists made by Reset; a window compares it to notice a new list.
    uint64_t ImageListGeneration() const;
    bool CopyImage(int index, DibImage& out) const;
    QImage Image(int index) const;

    const CellStyle& Style() const { return m_style; }
    // Set by the item list while it shows its Thumbnails view.
    void SetThumbnailsOn(bool on) { m_thumbnailsOn.store(on); }
    bool ThumbnailsOn() const { return m_thumbnailsOn.load(); }

    QObject* Window() const { return m_window; }
    ThumbnailQueue& Queue() { return m_queue; }
    Counters GetCounters() const;
    // The thumbnail cell of an item, or -1 (no placeholder is made).
    int ThumbIndex(int32_t itemId) const;
    int ThumbnailCount() const;
    // Keeps at most `maxCells` thumbnails: gives up those shown (ImageIndexFor) or made
    // longest ago, never one of `keep`, and returns their cell indexes, whose slots later
    // thumbnails reuse. Their items count as not done, so asking for them again remakes them
    // (from the store, usually). UI thread.
    std::vector<int> TrimThumbnails(size_t maxCells, const std::vector<int32_t>& keep);

private:
    class Worker;
    friend class Worker;

    int AddCellLocked(const DibImage& bitmap, int32_t key, bool isPlaceholder);
    // Worker: AddCell of a thumbnail, unless the list was reset after `generation` (then -2)
    // or the id already has its cell in this list (then -3). Requests are stamped with the
    // current generation when they are queued.
    int AddThumbnail(const DibImage& cell, int32_t itemId, uint64_t generation);

    QObject* const m_window;
    ThumbCacheStore& m_store;
    const CellStyle m_style;
    std::atomic<bool> m_thumbnailsOn{false};
    ThumbnailQueue m_queue;

    mutable std::mutex m_mutex;
    std::unique_ptr<CellImageList> m_images;
    std::atomic<uint64_t> m_generation{0}; // changed under m_mutex; read freely by requests
    std::map<int32_t, int> m_thumbIndex;
    std::map<int, int> m_iconIndex;
    std::vector<uint64_t> m_lastUse; // per cell: when it was last shown or made
    uint64_t m_useClock = 0;

    std::atomic<int64_t> m_served{0};
    std::atomic<int64_t> m_made{0};
    std::atomic<int64_t> m_storeHits{0};
    std::atomic<int64_t> m_failed{0};
    std::atomic<int64_t> m_discarded{0};
    std::atomic<int64_t> m_repeated{0};

    std::vector<std::unique_ptr<Worker>> m_workers;
};

} // namespace tessary
