#include "PhotoFileScanner.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

namespace tessary {

QEvent::Type PhotoFileScanEvent::Type()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

PhotoFileFact ExaminePhotoFile(int32_t key, const QString& path)
{
    PhotoFileFact fact;
    fact.key = key;
    fact.path = path;
    if (path.isEmpty())
        return fact;
    const QFileInfo info(path);
    fact.isFile = info.isFile();
    if (fact.isFile) {
        fact.size = info.size();
        fact.modifiedMs = info.lastModified().toMSecsSinceEpoch();
    }
    return fact;
}

PhotoFileScanner::PhotoFileScanner(QObject* receiver, uint64_t generation, std::vector<Entry> entries)
    : receiver_(receiver), generation_(generation), entries_(std::move(entries))
{
}

PhotoFileScanner::~PhotoFileScanner()
{
    StopAndWait();
}

int PhotoFileScanner::Run()
{
    std::vector<PhotoFileFact> batch;
    size_t limit = kFirstBatch;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (IsStopRequested())
            return 0;
        batch.push_back(ExaminePhotoFile(entries_[i].key, entries_[i].path));
        const bool last = i + 1 == entries_.size();
        if (batch.size() >= limit || last) {
            QCoreApplication::postEvent(receiver_, new PhotoFileScanEvent(generation_, std::move(batch), last));
            batch.clear();
            limit = kBatch;
        }
    }
    if (entries_.empty())
        QCoreApplication::postEvent(receiver_, new PhotoFileScanEvent(generation_, {}, true));
    return 1;
}

} // namespace tessary
