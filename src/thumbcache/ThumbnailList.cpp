#include "ThumbnailList.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <thread>
#include <QCoreApplication>

#include "thumbcache/IconCells.h"
#include "thumbcache/ThumbEvents.h"
#include "thumbcache/ThumbnailListWorker.h"

namespace tessary {

ThumbnailList::ThumbnailList(QObject* window)
    : ThumbnailList(window, ThumbCacheStore::ListView(), ThumbCacheStore::StoreFolder())
{
}

ThumbnailList::ThumbnailList(QObject* window, ThumbCacheStore& store, const QString& storeFolder, int workers)
    : m_window(window)
    , m_store(store)
    , m_style()
{
    const int count = workers > 0 ? std::min(workers, kMaxWorkers) : WorkerCount();
    m_workers.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        auto worker = std::make_unique<Worker>(*this, storeFolder);
        // A thread that cannot be made only leaves the pool smaller.
        if (worker->Start())
            m_workers.push_back(std::move(worker));
    }
}

int ThumbnailList::WorkerCount()
{
    if (const char* text = std::getenv("TESSARY_THUMB_WORKERS")) {
        char* end = nullptr;
        const long n = std::strtol(text, &end, 10);
        if (end != text && *end == '\0' && n >= 1 && n <= kMaxWorkers)
            return int(n);
    }
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp(int(cores), 1, kMaxWorkers);
}

ThumbnailList::~ThumbnailList()
{
    Stop();
}

void ThumbnailList::Stop()
{
    if (m_workers.empty())
        return;
    // One marker per worker: a worker ends on the first marker it takes, so each blocked
    // worker wakes to one of them.
    for (size_t i = 0; i < m_workers.size(); ++i)
        m_queue.Request({ThumbnailQueue::kStopMarker, QString()});
    for (auto& worker : m_workers)
        worker->SignalStop();
    for (auto& worker : m_workers)
        worker->Wait();
    m_workers.clear();
}

void ThumbnailList::PauseWorkers(bool paused)
{
    for (auto& worker : m_workers) {
        if (paused)
            worker->PauseGate().Reset();
        else
            worker->PauseGate().Set();
    }
}

bool ThumbnailList::Reset(int initialCount)
{
    std::lock_guard lock(m_mutex);
    m_queue.Clear();
    m_thumbIndex.clear();
    m_iconIndex.clear();
    m_lastUse.clear();
    m_images.reset();
    ++m_generation;
    m_images = CellImageList::Create(m_style.cell, std::max(initialCount, 1), kGrowth);
    if (!m_images)
        return false;
    if (m_window)
        QCoreApplication::postEvent(m_window, new ThumbEvent(kThumbListResetEvent, 0));
    return true;
}

void ThumbnailList::ForgetThumbnails()
{
    std::lock_guard lock(m_mutex);
    m_thumbIndex.clear();
}

void ThumbnailList::Forget(int32_t itemId)
{
    std::lock_guard lock(m_mutex);
    m_thumbIndex.erase(itemId);
}

void ThumbnailList::Request(const ThumbnailRequest& item)
{
    ThumbnailRequest stamped = item;
    stamped.generation = ImageListGeneration();
    m_queue.Request(std::move(stamped));
}

void ThumbnailList::RequestMany(std::vector<ThumbnailRequest> items)
{
    const uint64_t generation = ImageListGeneration();
    for (ThumbnailRequest& item : items)
        item.generation = generation;
    m_queue.RequestMany(std::move(items));
}

int ThumbnailList::ImageIndexFor(int32_t itemId, const QString& path)
{
    std::lock_guard lock(m_mutex);
    const auto thumb = m_thumbIndex.find(itemId);
    if (thumb != m_thumbIndex.end()) {
        m_lastUse[size_t(thumb->second)] = ++m_useClock; // sized when the cell was added
        return thumb->second;
    }
    if (!m_images)
        return -1;
    IconCells& icons = IconCells::Instance();
    const int iconIndex = icons.IconIndexFor(path);
    const auto placeholder = m_iconIndex.find(iconIndex);
    if (placeholder != m_iconIndex.end())
        return placeholder->second;
    DibImage24 cell;
    if (!icons.CopyCell(iconIndex, cell))
        return -1;
    return AddCellLocked(cell, iconIndex, true);
}

int ThumbnailList::AddCell(const DibImage& bitmap, int32_t key, bool isPlaceholder)
{
    std::lock_guard lock(m_mutex);
    return AddCellLocked(bitmap, key, isPlaceholder);
}

int ThumbnailList::AddThumbnail(const DibImage& cell, int32_t itemId, uint64_t generation)
{
    std::lock_guard lock(m_mutex);
    if (generation != m_generation)
        return -2;
    if (m_queue.IsDone(itemId))
        return -3;
    return AddCellLocked(cell, itemId, false);
}

int ThumbnailList::AddCellLocked(const DibImage& bitmap, int32_t key, bool isPlaceholder)
{
    if (!m_images)
        return -1;
    const int index = m_images->Add(bitmap);
    if (index < 0)
        return -1;
    if (isPlaceholder) {
        m_iconIndex[key] = index;
    } else {
        m_thumbIndex[key] = index;
        if (m_lastUse.size() <= size_t(index))
            m_lastUse.resize(size_t(index) + 1, 0);
        m_lastUse[size_t(index)] = ++m_useClock;
        m_queue.MarkDone(key);
    }
    return index;
}

bool ThumbnailList::HasImageList() const
{
    std::lock_guard lock(m_mutex);
    return m_images != nullptr;
}

int ThumbnailList::ImageCount() const
{
    std::lock_guard lock(m_mutex);
    return m_images ? m_images->Count() : 0;
}

uint64_t ThumbnailList::ImageListGeneration() const
{
    return m_generation.load();
}

bool ThumbnailList::CopyImage(int index, DibImage& out) const
{
    std::lock_guard lock(m_mutex);
    return m_images && m_images->Copy(index, out);
}

QImage ThumbnailList::Image(int index) const
{
    std::lock_guard lock(m_mutex);
    return m_images ? m_images->ToQImage(index) : QImage();
}

int ThumbnailList::ThumbnailCount() const
{
    std::lock_guard lock(m_mutex);
    return int(m_thumbIndex.size());
}

std::vector<int> ThumbnailList::TrimThumbnails(size_t maxCells, const std::vector<int32_t>& keep)
{
    std::lock_guard lock(m_mutex);
    std::vector<int> released;
    if (!m_images || m_thumbIndex.size() <= maxCells)
        return released;
    const std::set<int32_t> kept(keep.begin(), keep.end());
    struct Candidate {
        uint64_t lastUse;
        int32_t item;
        int index;
    };
    std::vector<Candidate> candidates;
    candidates.reserve(m_thumbIndex.size());
    for (const auto& [item, index] : m_thumbIndex) {
        if (!kept.count(item))
            candidates.push_back({m_lastUse[size_t(index)], item, index});
    }
    const size_t excess = std::min(candidates.size(), m_thumbIndex.size() - maxCells);
    std::nth_element(candidates.begin(), candidates.begin() + long(excess), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.lastUse < b.lastUse; });
    for (size_t i = 0; i < excess; ++i) {
        m_thumbIndex.erase(candidates[i].item);
        m_queue.Unmark(candidates[i].item);
        m_images->Release(candidates[i].index);
        released.push_back(candidates[i].index);
    }
    return released;
}

int ThumbnailList::ThumbIndex(int32_t itemId) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_thumbIndex.find(itemId);
    return it == m_thumbIndex.end() ? -1 : it->second;
}

ThumbnailList::Counters ThumbnailList::GetCounters() const
{
    Counters c;
    c.served = m_served.load();
    c.made = m_made.load();
    c.storeHits = m_storeHits.load();
    c.failed = m_failed.load();
    c.discarded = m_discarded.load();
    c.repeated = m_repeated.load();
    return c;
}

} // namespace tessary
