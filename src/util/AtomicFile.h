#pragma once
// Replacing a file so that a crash, a kill or a full disk leaves either the old or the new
// content, never a mix: the bytes go to a temporary file in the same folder, which is flushed
// to disk and then renamed over the target.
//
// A path that is a symbolic link is followed to the file it names (through any chain of
// links); that file is replaced and the links stay as they are. A hard-linked target is
// replaced by a new file: its other names keep the old content.
//
// A temporary file is "<target>.tmp-XXXXXX" and is held under an exclusive flock from the
// moment it has a name until it is renamed or removed. After every successful replacement the
// temporary files of the same target that nobody holds (left by a killed process) are
// removed; those of a replacement still under way, in this process or another, are kept.

#include <cstddef>
#include <QByteArray>
#include <QString>

namespace tessary {

// False when any step fails; the previous file is then untouched and the temporary file gone.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);

// The same replacement for content produced piece by piece, so that a large file never has to
// be held in memory whole. Nothing is visible at `path` until Commit() succeeds; an object
// destroyed without a successful Commit() removes its temporary file. One thread at a time.
class AtomicFileWriter {
public:
    // Creates the temporary file "<target>.tmp-XXXXXX" beside the target (the file `path`
    // names once symbolic links are followed). Fails for a loop of links.
    explicit AtomicFileWriter(const QString& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // False when the temporary file could not be created or a write has failed.
    bool Ok() const { return m_fd >= 0 && !m_failed; }
    // Appends bytes; false (and every later call false) once a write fails.
    bool Write(const char* data, size_t size);
    // Flushes to disk and renames over the target, then removes stale temporary files of the
    // target; false on any failure, the target then untouched. The writer is finished either
    // way.
    bool Commit();
    // Drops the temporary file; the target stays as it was.
    void Discard();

    // Name of the temporary file (empty when none was created); for tests.
    QString TemporaryPath() const;

private:
    QByteArray m_target;
    QByteArray m_temp;
    int m_fd = -1;
    bool m_failed = false;
};

// Removes the temporary files "<target>.tmp-XXXXXX" beside `target` that no process holds
// locked; regular files only, never through a link. Called by Commit().
void RemoveStaleTemporaries(const QByteArray& target);

} // namespace tessary
