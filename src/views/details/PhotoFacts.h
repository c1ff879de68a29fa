#pragma once
// What the info strip says about one photo, read from its file's header (dimensions, Exif
// date taken) and its metadata (size), never by decoding pixels. PhotoFactsReader reads them
// on a worker, since even a header read waits on a slow or network disk.
//
// Threads: Request and the destructor belong to the receiver's thread; the worker reads the
// newest request only (older ones are dropped) and posts a PhotoFactsEvent to the receiver.
// Ownership: the receiver owns the reader and outlives it (the destructor joins the worker).

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>

#include <QEvent>
#include <QString>

#include "platform/WorkerThread.h"
#include "util/DateTime.h"

class QObject;

namespace tessary {

struct PhotoFacts {
    int32_t key = 0;
    QString path;
    bool readable = false;
    int width = 0;
    int height = 0;
    std::optional<DateTime> dateTaken;
    qint64 size = 0;
};

// Reads the facts on the calling thread.
PhotoFacts ReadPhotoFacts(int32_t key, const QString& path);

// "%u bytes" below 1 KiB, whole KB rounded up below 1 MiB, else "%3.2f MB".
QString InfoSizeText(uint32_t bytes);
// The user's short date and time of a date taken, or "n/a".
QString DateTakenText(const std::optional<DateTime>& taken);

class PhotoFactsEvent : public QEvent {
public:
    explicit PhotoFactsEvent(PhotoFacts facts) : QEvent(Type()), facts(std::move(facts)) {}
    static QEvent::Type Type();
    const PhotoFacts facts;
};

class PhotoFactsReader : public WorkerThread {
public:
    explicit PhotoFactsReader(QObject* receiver);
    ~PhotoFactsReader() override;

    // Replaces any request not yet taken; starts the worker on first use.
    void Request(int32_t key, const QString& path);

    int Run() override;

private:
    QObject* const m_receiver;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<std::pair<int32_t, QString>> m_next;
    bool m_quit = false;
};

} // namespace tessary
