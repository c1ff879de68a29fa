#pragma once
// PhotoFileScanner: looks at the photo files of a collection on a worker thread, because a
// large album on a slow or network disk would otherwise stall the window while the item list
// fills. Files are examined in the given order and reported in order, in batches (a small
// first batch, so the first screen of rows appears at once), as PhotoFileScanEvents posted to
// the receiver. Each fact says whether the path is an existing regular file, with its size
// and modification time.
//
// Threads: construct, Start and stop on the receiver's thread; the worker only reads file
// metadata and posts events. Ownership: the scanner holds copies of ids and paths; its owner
// stops and joins it (StopAndWait, also done by the destructor) before the receiver goes. A
// stop takes effect between two files. Each scan carries a generation so that the receiver
// can drop the events of a scan it has given up.

#include <cstdint>
#include <vector>

#include <QEvent>
#include <QString>

#include "platform/WorkerThread.h"

class QObject;

namespace tessary {

struct PhotoFileFact {
    int32_t key = 0;
    QString path;
    bool isFile = false; // an existing regular file (not a folder)
    qint64 size = 0;
    qint64 modifiedMs = 0;
};

// Reads the facts of one path on the calling thread.
PhotoFileFact ExaminePhotoFile(int32_t key, const QString& path);

class PhotoFileScanEvent : public QEvent {
public:
    PhotoFileScanEvent(uint64_t generation, std::vector<PhotoFileFact> facts, bool last)
        : QEvent(Type()), generation(generation), facts(std::move(facts)), last(last)
    {
    }
    static QEvent::Type Type();

    const uint64_t generation;
    std::vector<PhotoFileFact> facts; // in the order asked for
    const bool last;                  // the scan has ended with this batch
};

class PhotoFileScanner : public WorkerThread {
public:
    static constexpr size_t kFirstBatch = 64;
    static constexpr size_t kBatch = 1024;

    struct Entry {
        int32_t key = 0;
        QString path;
    };

    PhotoFileScanner(QObject* receiver, uint64_t generation, std::vector<Entry> entries);
    ~PhotoFileScanner() override;

    int Run() override;

private:
    QObject* const receiver_;
    const uint64_t generation_;
    const std::vector<Entry> entries_;
};

} // namespace tessary
