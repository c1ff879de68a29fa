#include "ImageStreams.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

namespace tessary {

namespace {
// Bytes asked for by size * count, clamped where the product would overflow.
size_t RequestedBytes(size_t size, size_t count)
{
    if (size == 0 || count == 0)
        return 0;
    if (count > std::numeric_limits<size_t>::max() / size)
        count = std::numeric_limits<size_t>::max() / size;
    return size * count;
}
} // namespace

int ImageStream::ReadByte()
{
    uint8_t byte = 0;
    return Read(&byte, 1, 1) == 1 ? int(byte) : -1;
}

bool ImageStream::WriteByte(uint8_t byte)
{
    return Write(&byte, 1, 1) == 1;
}

int64_t ImageStream::TargetPosition(int64_t offset, int origin, int64_t current, int64_t size)
{
    int64_t base = 0;
    switch (origin) {
    case kFromStart: base = 0; break;
    case kFromCurrent: base = current; break;
    case kFromEnd: base = size; break;
    default: return -1;
    }
    if ((offset > 0 && base > std::numeric_limits<int64_t>::max() - offset) || base + offset < 0)
        return -1;
    return base + offset;
}

// ---------------------------------------------------------------------------------------------

FileStream::FileStream(const QString& path, Mode mode) : m_mode(mode)
{
    const QByteArray name = QFile::encodeName(path);
    std::FILE* file = std::fopen(name.constData(), mode == kRead ? "rbe" : "wbe");
    if (!file)
        return;
    // Only regular files: a folder, pipe or device has no size to trust.
    struct stat st;
    if (::fstat(::fileno(file), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::fclose(file);
        return;
    }
    m_file = file;
    m_readSize = int64_t(st.st_size);
}

FileStream::~FileStream()
{
    if (m_file)
        std::fclose(m_file);
}

size_t FileStream::Read(void* buffer, size_t size, size_t count)
{
    if (!m_file || m_mode != kRead || RequestedBytes(size, count) == 0)
        return 0;
    return std::fread(buffer, size, RequestedBytes(size, count) / size, m_file);
}

size_t FileStream::Write(const void* buffer, size_t size, size_t count)
{
    if (!m_file || m_mode != kWrite || RequestedBytes(size, count) == 0)
        return 0;
    return std::fwrite(buffer, size, RequestedBytes(size, count) / size, m_file);
}

bool FileStream::Seek(int64_t offset, int origin)
{
    if (!m_file)
        return false;
    const int64_t target = TargetPosition(offset, origin, Tell(), Size());
    if (target < 0)
        return false;
    return ::fseeko(m_file, off_t(target), SEEK_SET) == 0;
}

int64_t FileStream::Tell() const
{
    return m_file ? int64_t(::ftello(m_file)) : 0;
}

int64_t FileStream::Size() const
{
    if (!m_file)
        return 0;
    if (m_mode == kRead)
        return m_readSize;
    std::fflush(m_file);
    struct stat st;
    return ::fstat(::fileno(m_file), &st) == 0 ? int64_t(st.st_size) : 0;
}

bool FileStream::Flush()
{
    if (!m_file)
        return false;
    if (m_mode == kRead)
        return true;
    return std::fflush(m_file) == 0 && ::fsync(::fileno(m_file)) == 0;
}

// ---------------------------------------------------------------------------------------------

MemoryStream::MemoryStream(const void* data, size_t size)
    : m_data(static_cast<uint8_t*>(const_cast<void*>(data))), m_size(data ? size : 0),
      m_access(kReadable)
{
}

MemoryStream::MemoryStream(void* data, size_t size, int access)
    : m_data(static_cast<uint8_t*>(data)), m_size(data ? size : 0),
      m_access(access & (kReadable | kWritable))
{
}

size_t MemoryStream::Read(void* buffer, size_t size, size_t count)
{
    if (!(m_access & kReadable))
        return 0;
    const size_t bytes = std::min(RequestedBytes(size, count), m_size - m_position);
    if (bytes == 0)
        return 0;
    std::memcpy(buffer, m_data + m_position, bytes);
    m_position += bytes;
    return bytes / size;
}

size_t MemoryStream::Write(const void* buffer, size_t size, size_t count)
{
    if (!(m_access & kWritable))
        return 0;
    const size_t bytes = std::min(RequestedBytes(size, count), m_size - m_position);
    if (bytes == 0)
        return 0;
    std::memcpy(m_data + m_position, buffer, bytes);
    m_position += bytes;
    return bytes / size;
}

bool MemoryStream::Seek(int64_t offset, int origin)
{
    const int64_t target = TargetPosition(offset, origin, Tell(), Size());
    if (target < 0 || uint64_t(target) > m_size)
        return false;
    m_position = size_t(target);
    return true;
}

// ---------------------------------------------------------------------------------------------

GrowableMemoryStream::GrowableMemoryStream(int64_t maxSize) : m_maxSize(std::max<int64_t>(maxSize, 0))
{
}

GrowableMemoryStream::GrowableMemoryStream(const QByteArray& initial, int64_t maxSize)
    : m_bytes(initial), m_maxSize(std::max<int64_t>(maxSize, initial.size()))
{
}

size_t GrowableMemoryStream::Read(void* buffer, size_t size, size_t count)
{
    const size_t available = size_t(m_bytes.size() - m_position);
    const size_t bytes = std::min(RequestedBytes(size, count), available);
    if (bytes == 0)
        return 0;
    std::memcpy(buffer, m_bytes.constData() + m_position, bytes);
    m_position += int64_t(bytes);
    return bytes / size;
}

size_t GrowableMemoryStream::Write(const void* buffer, size_t size, size_t count)
{
    const size_t room = size_t(m_maxSize - m_position);
    size_t bytes = std::min(RequestedBytes(size, count), room);
    bytes -= bytes % std::max<size_t>(size, 1);
    if (bytes == 0)
        return 0;
    const int64_t end = m_position + int64_t(bytes);
    if (end > m_bytes.size()) {
        if (end > m_bytes.capacity()) {
            // Doubling keeps a long run of small writes linear.
            const int64_t grown = std::max<int64_t>(end, std::max<int64_t>(4096, 2 * m_bytes.capacity()));
            m_bytes.reserve(qsizetype(std::min(grown, m_maxSize)));
        }
        m_bytes.resize(qsizetype(end));
    }
    std::memcpy(m_bytes.data() + m_position, buffer, bytes);
    m_position = end;
    return bytes / size;
}

bool GrowableMemoryStream::Seek(int64_t offset, int origin)
{
    const int64_t target = TargetPosition(offset, origin, Tell(), Size());
    if (target < 0 || target > m_bytes.size())
        return false;
    m_position = target;
    return true;
}

QByteArray GrowableMemoryStream::TakeBytes()
{
    QByteArray out = std::move(m_bytes);
    m_bytes = QByteArray();
    m_position = 0;
    return out;
}

} // namespace tessary
