#include "FileTimes.h"

#include <sys/stat.h>
#include <time.h>

#include <QFile>

namespace tessary {

namespace {
int64_t Nanos(const timespec& t)
{
    return int64_t(t.tv_sec) * 1000000000LL + t.tv_nsec;
}
} // namespace

bool GetFileTimes(const QString& path, FileTimes& out)
{
    struct stat st;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    out.statusChange = Nanos(st.st_ctim);
    out.lastAccess = Nanos(st.st_atim);
    out.lastWrite = Nanos(st.st_mtim);
    return true;
}

int64_t LastWriteTime(const QString& path)
{
    FileTimes t;
    return GetFileTimes(path, t) ? t.lastWrite : 0;
}

int64_t NowAsFileTime(bool on)
{
    if (!on)
        return 0;
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return Nanos(ts);
}

} // namespace tessary
