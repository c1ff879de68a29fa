#include "FilterJob.h"

#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QFile>

#include "util/Paths.h"
#include "util/PhotoFormat.h"

namespace tessary {

namespace {
// Entry names of a folder in the order the file system returns them. The folder is closed
// before anything below it is examined, so depth never costs open descriptors.
std::vector<QString> FolderEntries(const QByteArray& folder)
{
    std::vector<QString> names;
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return names;
    while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            names.push_back(QFile::decodeName(e->d_name));
    }
    ::closedir(dir);
    return names;
}
} // namespace

FilterJob::FilterJob(QStringList input, QObject* receiver)
    : m_input(std::move(input))
    , m_receiver(receiver)
{
}

FilterJob::~FilterJob()
{
    StopAndWait();
}

int FilterJob::Run()
{
    m_output.clear();
    m_accepted.store(0);
    m_lastPosted = -1;
    std::vector<FolderKey> ancestors;
    Walk walk = Walk::Continue;
    for (const QString& path : m_input) {
        walk = Examine(path, ancestors);
        if (walk == Walk::Stop)
            break;
    }
    PostProgress(false);
    return walk == Walk::Continue ? 1 : 0;
}

void FilterJob::OnEnd(int result)
{
    if (result != 0)
        PostProgress(true);
}

FilterJob::Walk FilterJob::Examine(const QString& path, std::vector<FolderKey>& ancestors)
{
    if (IsStopRequested())
        return Walk::Stop;
    PauseGate().Wait();
    // A confirmed cancel opens the gate; the path waited for must not be examined then.
    if (IsStopRequested())
        return Walk::Stop;
    const int accepted = m_accepted.load();
    if (accepted % 10 == 0 && accepted != m_lastPosted) {
        PostProgress(false);
        OnProgress();
    }

    const QString normalized = NormalizePath(path);
    struct stat st;
    if (!normalized.isEmpty() && ::stat(QFile::encodeName(normalized).constData(), &st) == 0
        && S_ISDIR(st.st_mode)) {
        const FolderKey key{st.st_dev, st.st_ino};
        // A link back to a folder being walked would never end.
        for (const FolderKey& a : ancestors) {
            if (a == key)
                return Walk::Continue;
        }
        ancestors.push_back(key);
        const Walk walk = ExamineFolder(WithTrailingSlash(normalized), ancestors);
        ancestors.pop_back();
        return walk;
    }
    if (IsStorablePhotoFormat(PhotoFormatFromPath(path))) {
        m_output.append(path);
        m_accepted.fetch_add(1);
    }
    return Walk::Continue;
}

FilterJob::Walk FilterJob::ExamineFolder(const QString& folder, std::vector<FolderKey>& ancestors)
{
    for (const QString& name : FolderEntries(QFile::encodeName(folder))) {
        if (Examine(folder + name, ancestors) == Walk::Stop)
            return Walk::Stop;
    }
    return Walk::Continue;
}

void FilterJob::PostProgress(bool finished)
{
    const int count = m_accepted.load();
    if (!finished)
        m_lastPosted = count;
    if (m_receiver)
        QCoreApplication::postEvent(m_receiver, new FilterProgressEvent(finished, count));
}

std::optional<QStringList> FilterPathsNow(const QStringList& paths)
{
    FilterJob job(paths);
    if (!job.Start())
        return std::nullopt;
    job.Wait();
    return job.Output();
}

} // namespace tessary
