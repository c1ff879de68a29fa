#include "ThumbCacheStore.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unistd.h>

#include <QFile>

#include "util/FileTimes.h"

namespace tessary {

namespace {
std::atomic<uint32_t> g_nextSerial{1};

// The photo's modification time, when the photo can be opened for reading; an unreadable
// photo can be neither stored nor looked up.
std::optional<int64_t> ReadablePhotoTime(const QString& path)
{
    FileTimes times;
    if (!GetFileTimes(path, times) || ::access(QFile::encodeName(path).constData(), R_OK) != 0)
        return std::nullopt;
    return times.lastWrite;
}

struct ProcessStores {
    ThumbCacheStore listView;
    ThumbCacheStore preview;
};

// Never destroyed: a worker still running while the process ends finds a shut-down store
// instead of a destroyed one. The files go at exit through the handler registered here.
ProcessStores& Stores()
{
    static ProcessStores* stores = [] {
        auto* made = new ProcessStores;
        std::atexit([] {
            Stores().listView.Shutdown();
            Stores().preview.Shutdown();
        });
        return made;
    }();
    return *stores;
}
} // namespace

ThumbCacheStore& ThumbCacheStore::ListView()
{
    return Stores().listView;
}

ThumbCacheStore& ThumbCacheStore::Preview()
{
    return Stores().preview;
}

namespace {
std::mutex g_folderMutex;
QString g_storeFolder;
} // namespace

void ThumbCacheStore::SetStoreFolder(const QString& folder)
{
    std::lock_guard lock(g_folderMutex);
    g_storeFolder = folder;
}

QString ThumbCacheStore::StoreFolder()
{
    std::lock_guard lock(g_folderMutex);
    return g_storeFolder;
}

uint32_t ThumbCacheStore::NextSerial()
{
    return g_nextSerial.fetch_add(1, std::memory_order_relaxed);
}

ThumbCacheStore::ThumbCacheStore(uint64_t capacityLimit)
    : m_capacityLimit(capacityLimit)
{
}

ThumbCacheStore::~ThumbCacheStore()
{
    Shutdown();
}

bool ThumbCacheStore::Open(const QString& fileName, const QString& folder)
{
    std::lock_guard lock(m_mutex);
    if (m_file || m_shutDown)
        return false;
    auto file = std::make_unique<ThumbCacheFile>(m_capacityLimit);
    if (!file->Open(fileName, folder))
        return false;
    m_file = std::move(file);
    return true;
}

bool ThumbCacheStore::IsOpen() const
{
    std::lock_guard lock(m_mutex);
    return m_file && m_file->IsMapped();
}

QString ThumbCacheStore::FilePath() const
{
    std::lock_guard lock(m_mutex);
    return m_file ? m_file->Path() : QString();
}

bool ThumbCacheStore::Store(const QString& photoPath, QByteArrayView payload)
{
    if (payload.size() > qsizetype(ThumbCacheFile::MaxCapacity()))
        return false;
    return Store(photoPath, uint32_t(payload.size()), [&payload](uint8_t* dest, uint32_t size) {
        if (size > 0)
            std::memcpy(dest, payload.data(), size);
        return true;
    });
}

bool ThumbCacheStore::Store(const QString& photoPath, uint32_t payloadSize,
                            const ThumbCacheFile::PayloadWriter& write)
{
    return StoreRecord(photoPath, payloadSize, write, false);
}

bool ThumbCacheStore::StoreRecord(const QString& photoPath, uint32_t payloadSize,
                                  const ThumbCacheFile::PayloadWriter& write, bool keepCurrent)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_index.find(photoPath);
    ThumbCacheEntry current;
    const bool hadEntry = it != m_index.end();
    if (hadEntry) {
        current = it->second;
        m_index.erase(it);
    }
    if (!m_file)
        return false;
    const std::optional<int64_t> photoTime = ReadablePhotoTime(photoPath);
    if (!photoTime)
        return false;
    if (keepCurrent && hadEntry && current.photoTime == *photoTime) {
        m_index.emplace(photoPath, current);
        return true;
    }
    ThumbCacheEntry entry;
    entry.serial = NextSerial();
    entry.photoTime = *photoTime;
    if (!m_file->Append(entry, payloadSize, write))
        return false;
    m_index.emplace(photoPath, entry);
    return true;
}

bool ThumbCacheStore::Lookup(const QString& photoPath, QByteArray& payload, uint32_t* serial)
{
    return Lookup(
        photoPath,
        [&payload](const uint8_t* data, uint32_t size) {
            payload = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
            return true;
        },
        serial);
}

bool ThumbCacheStore::Lookup(const QString& photoPath, const ThumbCacheFile::PayloadReader& read,
                             uint32_t* serial)
{
    std::lock_guard lock(m_mutex);
    if (!m_file)
        return false;
    const auto it = m_index.find(photoPath);
    if (it == m_index.end())
        return false;
    const std::optional<int64_t> photoTime = ReadablePhotoTime(photoPath);
    if (!photoTime || *photoTime != it->second.photoTime)
        return false;
    if (!m_file->Read(it->second, read))
        return false;
    if (serial)
        *serial = it->second.serial;
    return true;
}

void ThumbCacheStore::Shutdown()
{
    std::lock_guard lock(m_mutex);
    m_shutDown = true;
    m_index.clear();
    if (m_file) {
        m_file->Delete();
        m_file.reset();
    }
}

size_t ThumbCacheStore::EntryCount() const
{
    std::lock_guard lock(m_mutex);
    return m_index.size();
}

uint64_t ThumbCacheStore::FileCapacity() const
{
    std::lock_guard lock(m_mutex);
    return m_file ? m_file->Capacity() : 0;
}

uint32_t ThumbCacheStore::FileUsed() const
{
    std::lock_guard lock(m_mutex);
    return m_file ? m_file->Used() : 0;
}

} // namespace tessary
