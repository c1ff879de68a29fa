#pragma once
// AlbumNameReader: reads the stored names of album files on a worker thread, because reading
// a large album file takes long enough to be seen, and posts each one to a receiver as an
// AlbumNameEvent (index in the given list, path, name; an empty name when the file is
// missing, unreadable or has none). Files are read in order, one event per file, until the
// list ends or a stop is requested.
//
// Threads: construct, Start and stop on the receiver's thread. The worker only reads files
// and posts events; it never touches the receiver beyond postEvent.
// Ownership: the reader holds copies of the paths. The receiver must outlive the thread:
// whoever owns both stops and joins the reader (StopAndWait, also done by the destructor)
// before the receiver is destroyed. A stop takes effect after the file being read.

#include <QEvent>
#include <QStringList>

#include "platform/WorkerThread.h"

class QObject;

namespace tessary {

class AlbumNameEvent : public QEvent {
public:
    AlbumNameEvent(int index, const QString& path, const QString& name)
        : QEvent(Type()), index(index), path(path), name(name)
    {
    }
    // The event type, registered on first use.
    static QEvent::Type Type();

    const int index;
    const QString path;
    const QString name;
};

class AlbumNameReader : public WorkerThread {
public:
    AlbumNameReader(QObject* receiver, const QStringList& paths);
    ~AlbumNameReader() override;

    int Run() override;

private:
    QObject* const receiver_;
    const QStringList paths_;
};

} // namespace tessary
