#include "AlbumLayout.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <QDir>
#include <QFile>
#include <QStringList>

#include "util/Paths.h"

namespace tessary {

namespace {
QString Numbered(const char* pattern, int32_t id)
{
    return QString::asprintf(pattern, id);
}

// Deeper trees than this are not an album's; refusing them bounds recursion and open files.
constexpr int kMaxRemovalDepth = 64;

bool EmptyFolderAt(int fd, int depth);

// Removes one entry of the folder open as `dirFd`.
bool RemoveEntryAt(int dirFd, const char* name, int depth)
{
    struct stat st;
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return ::unlinkat(dirFd, name, 0) == 0 || errno == ENOENT;
    if (::unlinkat(dirFd, name, AT_REMOVEDIR) == 0)
        return true;
    if (errno != ENOTEMPTY && errno != EEXIST)
        return false;
    if (depth >= kMaxRemovalDepth)
        return false;
    const int sub = ::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (sub < 0)
        return false;
    const bool emptied = EmptyFolderAt(sub, depth + 1);
    ::close(sub);
    return emptied && ::unlinkat(dirFd, name, AT_REMOVEDIR) == 0;
}

bool EmptyFolderAt(int fd, int depth)
{
    struct stat st;
    if (::fstat(fd, &st) == 0 && !(st.st_mode & S_IWUSR))
        ::fchmod(fd, (st.st_mode & 07777) | S_IWUSR | S_IXUSR);
    // Names are taken first so that deleting never disturbs the listing.
    const int listFd = ::dup(fd);
    if (listFd < 0)
        return false;
    DIR* dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return false;
    }
    std::vector<QByteArray> names;
    while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            names.emplace_back(e->d_name);
    }
    ::closedir(dir);
    for (const QByteArray& name : names) {
        if (!RemoveEntryAt(fd, name.constData(), depth))
            return false;
    }
    return true;
}

QByteArray WithoutTrailingSlash(const QString& path)
{
    QByteArray p = QFile::encodeName(path);
    while (p.size() > 1 && p.endsWith('/'))
        p.chop(1);
    return p;
}
} // namespace

QString PhotosFolderPath(const QString& albumFolder)
{
    if (albumFolder.isEmpty())
        return QString();
    return WithTrailingSlash(albumFolder) + QLatin1String(kPhotosFolderName);
}

QString CollectionFolderPath(const QString& albumFolder, int32_t collectionId)
{
    if (albumFolder.isEmpty() || collectionId <= 0)
        return QString();
    return PhotosFolderPath(albumFolder) + Numbered("/C_%06d", collectionId);
}

QString ItemFolderPath(const QString& albumFolder, int32_t collectionId, int32_t itemId)
{
    const QString c = CollectionFolderPath(albumFolder, collectionId);
    if (c.isEmpty() || itemId <= 0)
        return QString();
    return c + Numbered("/I_%06d", itemId);
}

QString PhotoFilePath(const QString& albumFolder, int32_t collectionId, int32_t itemId,
                      int32_t photoId, PhotoFormat format)
{
    const QString i = ItemFolderPath(albumFolder, collectionId, itemId);
    if (i.isEmpty() || photoId <= 0 || !IsStorablePhotoFormat(format))
        return QString();
    return i + Numbered("/P_%06d.", photoId) + QLatin1String(CanonicalExtension(format));
}

bool StaysInsideAlbum(const QString& albumFolder, const QString& path)
{
    if (albumFolder.isEmpty() || path.isEmpty())
        return false;
    const QString base = QDir::cleanPath(QDir::fromNativeSeparators(albumFolder));
    const QString target = QDir::cleanPath(QDir::fromNativeSeparators(path));
    const QString prefix = WithTrailingSlash(base);
    if (!target.startsWith(prefix) || target.size() == prefix.size())
        return false;
    // Every folder between the album folder and the target must be a real folder.
    const QStringList parts = target.mid(prefix.size()).split(QLatin1Char('/'));
    QString current = base;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        if (parts[i] == QLatin1String("..") || parts[i] == QLatin1String("."))
            return false;
        current += QLatin1Char('/') + parts[i];
        struct stat st;
        if (::lstat(QFile::encodeName(current).constData(), &st) != 0)
            return errno == ENOENT;
        if (!S_ISDIR(st.st_mode))
            return false;
    }
    return true;
}

namespace {
bool WriteAll(int fd, const char* p, size_t left)
{
    while (left > 0) {
        const ssize_t w = ::write(fd, p, left);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        p += w;
        left -= size_t(w);
    }
    return true;
}

bool CopyByReading(int in, int out)
{
    std::vector<char> buffer(size_t(1) << 20);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (!WriteAll(out, buffer.data(), size_t(n)))
            return false;
    }
}

// The kernel copies without passing the bytes through us. False with `fallBack` set when
// nothing was copied and the file systems cannot do it (or report the file as empty, as
// some special files do), so that plain reading takes over.
bool CopyInKernel(int in, int out, bool& fallBack)
{
    fallBack = false;
    off_t total = 0;
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, size_t(1) << 30, 0);
        if (n > 0) {
            total += n;
            continue;
        }
        if (n == 0) {
            fallBack = total == 0;
            return !fallBack;
        }
        if (errno == EINTR)
            continue;
        fallBack = total == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL
                                  || errno == EOPNOTSUPP || errno == EPERM || errno == EBADF);
        return false;
    }
}
} // namespace

bool CopyToNewFile(const QString& source, const QString& destination)
{
    // Opened without blocking so that a pipe or device given as a source cannot hang us.
    const int in = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (in < 0)
        return false;
    struct stat st;
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(in);
        return false;
    }
    ::fcntl(in, F_SETFL, ::fcntl(in, F_GETFL) & ~O_NONBLOCK);
    const QByteArray dest = QFile::encodeName(destination);
    const int out = ::open(dest.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (out < 0) {
        ::close(in);
        return false;
    }
    ::posix_fadvise(in, 0, 0, POSIX_FADV_SEQUENTIAL);
    bool fallBack = false;
    bool ok = CopyInKernel(in, out, fallBack);
    if (fallBack)
        ok = ::lseek(in, 0, SEEK_SET) == 0 && ::lseek(out, 0, SEEK_SET) == 0 && ::ftruncate(out, 0) == 0
             && CopyByReading(in, out);
    ok = ::close(out) == 0 && ok;
    ::close(in);
    if (!ok)
        ::unlink(dest.constData());
    return ok;
}

bool DeleteFileIfPresent(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QByteArray p = QFile::encodeName(path);
    struct stat st;
    if (::lstat(p.constData(), &st) != 0)
        return errno == ENOENT;
    if (S_ISDIR(st.st_mode))
        return false;
    return ::unlink(p.constData()) == 0;
}

bool RemoveFolderTree(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QByteArray p = WithoutTrailingSlash(path);
    struct stat st;
    if (::lstat(p.constData(), &st) != 0)
        return false;
    if (S_ISLNK(st.st_mode))
        return ::unlink(p.constData()) == 0;
    if (!S_ISDIR(st.st_mode))
        return false;
    if (::rmdir(p.constData()) == 0)
        return true;
    if (errno != ENOTEMPTY && errno != EEXIST)
        return false;
    const int fd = ::open(p.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool emptied = EmptyFolderAt(fd, 0);
    ::close(fd);
    return emptied && ::rmdir(p.constData()) == 0;
}

} // namespace tessary
