#pragma once
// Byte sources and sinks for the image readers and writers, with fread-like item semantics:
// Read and Write move whole and partial items alike but count only whole ones, and the position
// advances by the bytes actually moved. A stream is used by one thread at a time.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <QByteArray>
#include <QString>

namespace tessary {

class ImageStream {
public:
    enum Origin { kFromStart = 0, kFromCurrent = 1, kFromEnd = 2 };

    virtual ~ImageStream() = default;

    virtual bool IsOpen() const = 0;
    // Copies up to size * count bytes into buffer; returns the number of whole items copied.
    virtual size_t Read(void* buffer, size_t size, size_t count) = 0;
    // Returns the number of whole items written; a read-only stream writes nothing.
    virtual size_t Write(const void* buffer, size_t size, size_t count) = 0;
    // False (position unchanged) for a position before the start, or past the end of a
    // memory stream.
    virtual bool Seek(int64_t offset, int origin) = 0;
    virtual int64_t Tell() const = 0;
    virtual int64_t Size() const = 0;
    virtual bool Flush() { return true; }

    bool HasMore() const { return Tell() < Size(); }
    // The next byte, or -1 at the end.
    int ReadByte();
    bool WriteByte(uint8_t byte);
    bool Rewind() { return Seek(0, kFromStart); }
    bool SeekToEnd() { return Seek(0, kFromEnd); }

protected:
    ImageStream() = default;
    ImageStream(const ImageStream&) = delete;
    ImageStream& operator=(const ImageStream&) = delete;

    // The new absolute position for Seek, or -1 when it would lie before the start.
    static int64_t TargetPosition(int64_t offset, int origin, int64_t current, int64_t size);
};

// A file on disk, closed on destruction. Seeking past the end is allowed as with fseek; reads
// there return nothing.
class FileStream final : public ImageStream {
public:
    enum Mode { kRead, kWrite };

    // kWrite creates or truncates the file. Check IsOpen afterwards.
    explicit FileStream(const QString& path, Mode mode = kRead);
    ~FileStream() override;

    bool IsOpen() const override { return m_file != nullptr; }
    size_t Read(void* buffer, size_t size, size_t count) override;
    size_t Write(const void* buffer, size_t size, size_t count) override;
    bool Seek(int64_t offset, int origin) override;
    int64_t Tell() const override;
    int64_t Size() const override;
    // Pushes buffered bytes to the file and the file to the disk.
    bool Flush() override;

private:
    std::FILE* m_file = nullptr;
    Mode m_mode;
    int64_t m_readSize = 0; // the size of a file opened for reading, taken once
};

// A caller's buffer of known size; the buffer must outlive the stream. Reads and writes stop at
// the end of the buffer.
class MemoryStream final : public ImageStream {
public:
    enum Access { kReadable = 1, kWritable = 2 };

    MemoryStream(const void* data, size_t size);
    // access: kReadable, kWritable or both.
    MemoryStream(void* data, size_t size, int access);

    bool IsOpen() const override { return m_data != nullptr || m_size == 0; }
    size_t Read(void* buffer, size_t size, size_t count) override;
    size_t Write(const void* buffer, size_t size, size_t count) override;
    bool Seek(int64_t offset, int origin) override;
    int64_t Tell() const override { return int64_t(m_position); }
    int64_t Size() const override { return int64_t(m_size); }

private:
    uint8_t* m_data = nullptr;
    size_t m_size = 0;
    size_t m_position = 0;
    int m_access = 0;
};

// An owned buffer that grows as it is written (save-to-memory), up to a ceiling that guards
// against runaway sizes; writes that would pass it stop at the last whole item that fits.
class GrowableMemoryStream final : public ImageStream {
public:
    static constexpr int64_t kDefaultMaxSize = int64_t(1536) << 20;

    explicit GrowableMemoryStream(int64_t maxSize = kDefaultMaxSize);
    // Starts with a copy of `initial`, positioned at its start.
    explicit GrowableMemoryStream(const QByteArray& initial, int64_t maxSize = kDefaultMaxSize);

    bool IsOpen() const override { return true; }
    size_t Read(void* buffer, size_t size, size_t count) override;
    size_t Write(const void* buffer, size_t size, size_t count) override;
    bool Seek(int64_t offset, int origin) override;
    int64_t Tell() const override { return m_position; }
    int64_t Size() const override { return int64_t(m_bytes.size()); }

    const QByteArray& Bytes() const { return m_bytes; }
    // Hands the buffer over and leaves the stream empty.
    QByteArray TakeBytes();

private:
    QByteArray m_bytes;
    int64_t m_position = 0;
    int64_t m_maxSize;
};

} // namespace tessary
