#include "AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

namespace tessary {

namespace {

constexpr char kTemporaryInfix[] = ".tmp-";
constexpr int kRandomChars = 6;
constexpr int kMaxLinkDepth = 40; // as the kernel allows

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

void SyncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QByteArray FolderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArray(".");
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

// The file a path names once symbolic links are followed (the last component only: the
// folders are resolved by the kernel as usual); empty for a loop or a chain that is too long.
QByteArray FollowLinks(QByteArray path)
{
    if (path.isEmpty())
        return path;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat st;
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        QByteArray link(PATH_MAX, Qt::Uninitialized);
        const ssize_t n = ::readlink(path.constData(), link.data(), size_t(link.size()));
        if (n <= 0 || n >= link.size())
            return QByteArray();
        link.truncate(n);
        path = link.startsWith('/') ? link : FolderOf(path) + '/' + link;
    }
    return QByteArray();
}

void AppendRandomName(QByteArray& name)
{
    static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    uint8_t bytes[kRandomChars];
    if (::getrandom(bytes, sizeof bytes, 0) != ssize_t(sizeof bytes)) {
        // Only the uniqueness matters; linking refuses a name that exists.
        const uint64_t seed = uint64_t(::getpid()) * 0x9E3779B97F4A7C15ull ^ uint64_t(std::time(nullptr));
        for (size_t i = 0; i < sizeof bytes; ++i)
            bytes[i] = uint8_t(seed >> (8 * i));
    }
    for (uint8_t b : bytes)
        name.append(kChars[b % (sizeof kChars - 1)]);
}

// Creates "<target>.tmp-XXXXXX" holding an exclusive flock, and returns its descriptor (-1 on
// failure). The file is made without a name (O_TMPFILE) and locked before it is linked in, so
// no other process ever sees it unlocked; where the file system cannot do that, a named file
// is made and locked at once.
int CreateLockedTemporary(const QByteArray& target, QByteArray& temp)
{
    const int fd = ::open(FolderOf(target).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
        if (::flock(fd, LOCK_EX) == 0) {
            const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
            for (int attempt = 0; attempt < 100; ++attempt) {
                temp = target + kTemporaryInfix;
                AppendRandomName(temp);
                if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temp.constData(), AT_SYMLINK_FOLLOW) == 0)
                    return fd;
                if (errno != EEXIST)
                    break;
            }
        }
        ::close(fd);
    }
    temp = target + kTemporaryInfix + "XXXXXX";
    const int named = ::mkostemp(temp.data(), O_CLOEXEC);
    if (named < 0)
        return -1;
    if (::flock(named, LOCK_EX) != 0) {
        ::unlink(temp.constData());
        ::close(named);
        return -1;
    }
    return named;
}
} // namespace

AtomicFileWriter::AtomicFileWriter(const QString& path) : m_target(FollowLinks(QFile::encodeName(path)))
{
    if (m_target.isEmpty())
        return;
    m_fd = CreateLockedTemporary(m_target, m_temp);
    if (m_fd < 0) {
        m_temp.clear();
        return;
    }
    // Keep the mode of the file being replaced; a new file gets the usual 0666 less umask.
    struct stat st;
    mode_t mode;
    if (::stat(m_target.constData(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(m_fd, mode) != 0)
        m_failed = true;
}

AtomicFileWriter::~AtomicFileWriter()
{
    Discard();
}

bool AtomicFileWriter::Write(const char* data, size_t size)
{
    if (!Ok())
        return false;
    if (!WriteAll(m_fd, data, size))
        m_failed = true;
    return !m_failed;
}

bool AtomicFileWriter::Commit()
{
    if (m_fd < 0)
        return false;
    // The lock stays until the rename is done, so the file is never taken for a stale one.
    bool ok = !m_failed && ::fsync(m_fd) == 0;
    if (ok)
        ok = ::rename(m_temp.constData(), m_target.constData()) == 0;
    if (!ok)
        ::unlink(m_temp.constData());
    ok = (::close(m_fd) == 0) && ok;
    m_fd = -1;
    m_temp.clear();
    if (!ok)
        return false;
    SyncFolder(FolderOf(m_target));
    RemoveStaleTemporaries(m_target);
    return true;
}

void AtomicFileWriter::Discard()
{
    if (!m_temp.isEmpty()) {
        ::unlink(m_temp.constData());
        m_temp.clear();
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

QString AtomicFileWriter::TemporaryPath() const
{
    return QFile::decodeName(m_temp);
}

void RemoveStaleTemporaries(const QByteArray& target)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray prefix = target.mid(slash + 1) + kTemporaryInfix;
    DIR* dir = ::opendir(FolderOf(target).constData());
    if (!dir)
        return;
    const int dfd = ::dirfd(dir);
    std::vector<QByteArray> candidates;
    while (const dirent* e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        if (name.size() == prefix.size() + kRandomChars && name.startsWith(prefix))
            candidates.push_back(name);
    }
    for (const QByteArray& name : candidates) {
        const int fd = ::openat(dfd, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat opened, named;
        // A writer holds its file locked until it has renamed it: a file nobody holds is one
        // a killed process left. It goes only while the name still means the file locked here.
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0
            && ::fstatat(dfd, name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0
            && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
            ::unlinkat(dfd, name.constData(), 0);
        ::close(fd);
    }
    ::closedir(dir);
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    AtomicFileWriter file(path);
    return file.Write(bytes.constData(), size_t(bytes.size())) && file.Commit();
}

} // namespace tessary
