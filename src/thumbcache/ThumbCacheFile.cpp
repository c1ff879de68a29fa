#include "ThumbCacheFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include "util/Paths.h"

namespace tessary {

namespace {
constexpr uint32_t kChunkGranules = 10;
constexpr uint32_t kSerialSize = 4;

// folder + "/" + name; empty when either part is unusable, so that a missing temporary
// folder never turns into a file at the root.
QString JoinPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty() || name.isEmpty() || name.contains(QLatin1Char('/'))
        || name == QLatin1String(".") || name == QLatin1String(".."))
        return {};
    return WithTrailingSlash(folder) + name;
}
} // namespace

uint32_t ThumbCacheFile::Granularity()
{
    static const uint32_t granularity = [] {
        const long page = ::sysconf(_SC_PAGESIZE);
        // Page sizes are powers of two, so the larger of the two is a multiple of both.
        return uint32_t(std::max<long>(64 * 1024, page > 0 ? page : 0));
    }();
    return granularity;
}

uint32_t ThumbCacheFile::ChunkSize()
{
    return kChunkGranules * Granularity();
}

uint64_t ThumbCacheFile::MaxCapacity()
{
    return (uint64_t(0xFFFFFFFFu) / ChunkSize()) * ChunkSize();
}

ThumbCacheFile::ThumbCacheFile(uint64_t capacityLimit)
    : m_capacityLimit(std::min(capacityLimit, MaxCapacity()) / ChunkSize() * ChunkSize())
{
}

ThumbCacheFile::~ThumbCacheFile()
{
    Close();
}

bool ThumbCacheFile::Open(const QString& name, const QString& folder)
{
    const QString path = JoinPath(folder, name);
    if (IsMapped())
        return !path.isEmpty() && path == m_path;
    if (m_fd >= 0) {
        Close();
        return false;
    }
    if (path.isEmpty())
        return false;

    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    // The lock stands in for opening without sharing: a second opener, in this process or
    // another, fails here instead of truncating a file that is in use.
    struct stat st;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)
        || ::fchmod(fd, 0600) != 0 || ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_path = path;
    m_used = 0;
    m_chunkCount = 0;
    if (Grow(1))
        return true;
    ::unlink(native.constData());
    Close();
    return false;
}

bool ThumbCacheFile::Grow(uint32_t chunks)
{
    if (m_fd < 0)
        return false;
    if (chunks == 0)
        return true;
    const uint64_t oldCapacity = Capacity();
    const uint64_t newCapacity = oldCapacity + uint64_t(chunks) * ChunkSize();
    if (newCapacity > m_capacityLimit || !UnmapView())
        return false;
    // Reserve the blocks now: a write through the view into a hole the file system cannot
    // fill (full disk or tmpfs) would raise SIGBUS instead of failing.
    int error;
    do {
        error = ::posix_fallocate(m_fd, off_t(oldCapacity), off_t(newCapacity - oldCapacity));
    } while (error == EINTR);
    if (error != 0) {
        if (::ftruncate(m_fd, off_t(oldCapacity)) != 0) {
            // The file may now be shorter than the records; stop using it.
            Close();
        }
        return false;
    }
    m_chunkCount += chunks;
    return true;
}

bool ThumbCacheFile::UnmapView()
{
    if (!m_viewBase)
        return true;
    if (::munmap(m_viewBase, m_viewSize) != 0)
        return false;
    m_viewBase = nullptr;
    m_viewSize = 0;
    m_viewOffset = 0;
    return true;
}

uint8_t* ThumbCacheFile::MapRange(uint32_t offset, uint32_t length, uint32_t& delta)
{
    const uint64_t end = uint64_t(offset) + length;
    if (length == 0 || !IsMapped() || end > Capacity())
        return nullptr;
    if (m_viewBase && m_viewOffset <= offset && m_viewOffset + m_viewSize >= end) {
        delta = uint32_t(offset - m_viewOffset);
        return m_viewBase;
    }
    if (!UnmapView())
        return nullptr;
    const uint64_t aligned = offset - offset % Granularity();
    // A window of at least one chunk, so that records appended one after another and reads
    // of neighbouring records share a view.
    const uint64_t size = std::min(Capacity() - aligned, std::max(end - aligned, uint64_t(ChunkSize())));
    void* base = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, off_t(aligned));
    if (base == MAP_FAILED)
        return nullptr;
    m_viewBase = static_cast<uint8_t*>(base);
    m_viewSize = size;
    m_viewOffset = aligned;
    ++m_viewsMapped;
    delta = uint32_t(offset - aligned);
    return m_viewBase;
}

bool ThumbCacheFile::Append(ThumbCacheEntry& entry, uint32_t payloadSize, const PayloadWriter& write)
{
    if (!IsMapped() || !write)
        return false;
    const uint64_t length = uint64_t(payloadSize) + kSerialSize;
    const uint64_t end = uint64_t(m_used) + length;
    // Offsets and lengths are 32-bit: a record that would end past the limit is refused
    // before anything is written.
    if (end > m_capacityLimit)
        return false;
    entry.length = uint32_t(length);
    if (end > Capacity()) {
        const uint64_t missing = end - Capacity();
        Grow(uint32_t((missing + ChunkSize() - 1) / ChunkSize()));
    }
    uint32_t delta = 0;
    uint8_t* base = MapRange(m_used, uint32_t(length), delta);
    if (!base)
        return false;
    uint8_t* record = base + delta;
    qToLittleEndian<uint32_t>(entry.serial, record);
    if (!write(record + kSerialSize, payloadSize))
        return false;
    entry.offset = m_used;
    m_used = uint32_t(end);
    return true;
}

bool ThumbCacheFile::Append(ThumbCacheEntry& entry, QByteArrayView payload)
{
    if (payload.size() > qsizetype(m_capacityLimit))
        return false;
    return Append(entry, uint32_t(payload.size()), [&payload](uint8_t* dest, uint32_t size) {
        if (size > 0)
            std::memcpy(dest, payload.data(), size);
        return true;
    });
}

bool ThumbCacheFile::Read(const ThumbCacheEntry& entry, const PayloadReader& read)
{
    if (!IsMapped() || !read || entry.offset >= m_used || entry.length < kSerialSize
        || uint64_t(entry.offset) + entry.length > m_used)
        return false;
    uint32_t delta = 0;
    const uint8_t* base = MapRange(entry.offset, entry.length, delta);
    if (!base)
        return false;
    const uint8_t* record = base + delta;
    if (qFromLittleEndian<uint32_t>(record) != entry.serial)
        return false;
    return read(record + kSerialSize, entry.length - kSerialSize);
}

bool ThumbCacheFile::Read(const ThumbCacheEntry& entry, QByteArray& payload)
{
    return Read(entry, [&payload](const uint8_t* data, uint32_t size) {
        payload = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
        return true;
    });
}

bool ThumbCacheFile::Close()
{
    const bool unmapped = UnmapView();
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_path.clear();
    m_chunkCount = 0;
    m_used = 0;
    return unmapped;
}

void ThumbCacheFile::Delete()
{
    const QString path = m_path;
    Close();
    if (path.isEmpty())
        return;
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    if (::lstat(native.constData(), &st) == 0 && S_ISREG(st.st_mode))
        ::unlink(native.constData());
    // Removes the folder only when nothing else is left in it.
    ::rmdir(QFile::encodeName(QFileInfo(path).absolutePath()).constData());
}

} // namespace tessary
