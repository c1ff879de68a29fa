#pragma once
// File times as nanoseconds since the Unix epoch, compared in all 64 bits.

#include <cstdint>
#include <QString>

namespace tessary {

struct FileTimes {
    int64_t statusChange = 0; // the closest this platform has to a creation time
    int64_t lastAccess = 0;
    int64_t lastWrite = 0;
};

// False when the file cannot be examined; `out` is then unchanged.
bool GetFileTimes(const QString& path, FileTimes& out);
// The modification time of a file, 0 when it cannot be read.
int64_t LastWriteTime(const QString& path);
// The clock as a file time when `on`, else 0.
int64_t NowAsFileTime(bool on = true);

} // namespace tessary
