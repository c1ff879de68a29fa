#pragma once
// One thumbnail scratch file: a run of records written back to back from offset 0, each a
// little-endian u32 serial followed by the record's payload (a complete BMP file image of
// the thumbnail). No header and no index: the records are found through ThumbCacheEntry
// values kept in memory by the store. The file is created empty and locked against every
// other opener, grows in chunks of ten allocation granules, and is reached through one
// mapped view at a time.
//
// Threads: not thread-safe; ThumbCacheStore uses it only under its lock.
// Failures: quiet; operations return false or null and leave earlier records readable.

#include <cstdint>
#include <functional>
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tessary {

struct ThumbCacheEntry {
    static constexpr uint32_t kNotWritten = 0xFFFFFFFFu;

    uint32_t serial = 0;
    int64_t photoTime = 0;          // modification time of the photo, nanoseconds
    uint32_t offset = kNotWritten;  // of the record in the file
    uint32_t length = 0;            // of the record: payload + 4
};

class ThumbCacheFile {
public:
    // Writes exactly `size` payload bytes to `dest`; false when it cannot.
    using PayloadWriter = std::function<bool(uint8_t* dest, uint32_t size)>;
    // Takes the payload of a record (valid only during the call); its result is Read's.
    using PayloadReader = std::function<bool(const uint8_t* data, uint32_t size)>;

    // 64 KiB, or the page size where that is larger; read once per process.
    static uint32_t Granularity();
    static uint32_t ChunkSize();
    // The largest capacity in whole chunks whose offsets and size fit in 32 bits.
    static uint64_t MaxCapacity();

    // `capacityLimit` caps the file size (clipped to MaxCapacity); tests use a small one.
    explicit ThumbCacheFile(uint64_t capacityLimit = MaxCapacity());
    ~ThumbCacheFile();
    ThumbCacheFile(const ThumbCacheFile&) = delete;
    ThumbCacheFile& operator=(const ThumbCacheFile&) = delete;

    // Creates folder/name empty (truncating a file of that name that nobody holds) and sizes
    // it to one chunk. When already open: whether that is the open file's path. Fails when
    // another ThumbCacheFile, in this or another process, holds the file.
    bool Open(const QString& name, const QString& folder);
    // Adds `chunks` chunks to the capacity, reserving the disk space so that writing through
    // the view cannot fault. On failure the capacity stays as it was.
    bool Grow(uint32_t chunks);
    // A view covering [offset, offset + length); the caller adds `delta` to the result.
    // Null when the range is empty or lies beyond the capacity, or mapping fails. The
    // pointer is valid until the next MapRange, Grow or Close.
    uint8_t* MapRange(uint32_t offset, uint32_t length, uint32_t& delta);

    // Appends a record with entry.serial and `payloadSize` bytes from `write`. On success
    // sets entry.offset and entry.length. Fails without writing when the record would take
    // the file past its capacity limit.
    bool Append(ThumbCacheEntry& entry, uint32_t payloadSize, const PayloadWriter& write);
    bool Append(ThumbCacheEntry& entry, QByteArrayView payload);
    // Hands the payload of the entry's record to `read`; false when the entry was never
    // written here or the record does not carry the entry's serial.
    bool Read(const ThumbCacheEntry& entry, const PayloadReader& read);
    bool Read(const ThumbCacheEntry& entry, QByteArray& payload);

    // Unmaps the view and closes the file; the path is forgotten.
    bool Close();
    // Closes the file when open, deletes it, and removes its folder when that is now empty.
    void Delete();

    bool IsMapped() const { return m_fd >= 0 && m_chunkCount > 0; }
    QString Path() const { return m_path; }
    uint64_t Capacity() const { return uint64_t(ChunkSize()) * m_chunkCount; }
    uint32_t ChunkCount() const { return m_chunkCount; }
    uint32_t Used() const { return m_used; }
    // How many views have been mapped so far (to see that views are reused).
    uint64_t ViewsMapped() const { return m_viewsMapped; }

private:
    bool UnmapView();

    const uint64_t m_capacityLimit;
    int m_fd = -1;
    QString m_path;
    uint8_t* m_viewBase = nullptr;
    uint64_t m_viewSize = 0;
    uint64_t m_viewOffset = 0;
    uint32_t m_chunkCount = 0;
    uint32_t m_used = 0;
    uint64_t m_viewsMapped = 0;
};

} // namespace tessary
