#pragma once
// Small helpers for the thumbnail cache tests: photo stand-ins with chosen modification times
// and payloads that can be recognised again.

#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>

#include <QByteArray>
#include <QFile>
#include <QString>

namespace tessary::test {

inline bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool SetModificationTime(const QString& path, int64_t seconds, long nanoseconds)
{
    const timespec times[2] = {{time_t(seconds), nanoseconds}, {time_t(seconds), nanoseconds}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

// `size` bytes that depend on `seed` everywhere, so that a record mixed up with another or
// cut short is noticed.
inline QByteArray Payload(uint32_t seed, qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    uint32_t x = seed * 2654435761u + 1;
    for (qsizetype i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        bytes[i] = char(x >> 24);
    }
    return bytes;
}

} // namespace tessary::test
