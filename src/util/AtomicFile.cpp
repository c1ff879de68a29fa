#include "AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

namespace tessary {

namespace {
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
} // namespace

AtomicFileWriter::AtomicFileWriter(const QString& path) : m_target(QFile::encodeName(path))
{
    if (m_target.isEmpty())
        return;
    m_temp = m_target + ".tmp-XXXXXX";
    m_fd = ::mkostemp(m_temp.data(), O_CLOEXEC);
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
    bool ok = !m_failed && ::fsync(m_fd) == 0;
    ok = (::close(m_fd) == 0) && ok;
    m_fd = -1;
    if (ok)
        ok = ::rename(m_temp.constData(), m_target.constData()) == 0;
    if (!ok) {
        ::unlink(m_temp.constData());
        m_temp.clear();
        return false;
    }
    m_temp.clear();
    SyncFolder(QFile::encodeName(QFileInfo(QFile::decodeName(m_target)).absolutePath()));
    return true;
}

void AtomicFileWriter::Discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.isEmpty()) {
        ::unlink(m_temp.constData());
        m_temp.clear();
    }
}

QString AtomicFileWriter::TemporaryPath() const
{
    return QFile::decodeName(m_temp);
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    AtomicFileWriter file(path);
    return file.Write(bytes.constData(), size_t(bytes.size())) && file.Commit();
}

} // namespace tessary
