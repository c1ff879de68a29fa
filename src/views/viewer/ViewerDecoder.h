#pragma once
// Decodes photos for the viewer on worker threads, so that a camera photo never blocks input.
//
// Requests (path, box, id) wait in one queue: urgent ones at the front, read-ahead at the
// back. A worker takes the front request, decodes it with the load function (LoadScreenPhoto
// unless a test gives another) and posts a ScreenPhotoEvent with the request id and the
// result to the receiver named at construction, which looks the request up by id. Workers
// never touch the receiver, a widget or the photo list.
//
// Threads: everything but the load function belongs to the receiver's (UI) thread. The
// workers start with the first request. Cancelling removes a queued request; one already
// being decoded still answers, and the receiver drops what it no longer wants.
// Ownership: the decoder owns its threads and the queued requests. Stop (and the destructor)
// drop the queue and join the workers, so nothing is posted once it returns: the receiver
// must outlive the decoder or stop it first. Events already posted are deleted by Qt with
// the receiver.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include <QEvent>
#include <QString>

#include "views/viewer/ScreenPhoto.h"

class QObject;

namespace tessary {

// A finished request: the photo, or none when it could not be decoded.
class ScreenPhotoEvent : public QEvent {
public:
    ScreenPhotoEvent(int requestId, std::unique_ptr<ScreenPhoto> photo);
    // Registered with Qt once, on first use.
    static QEvent::Type EventType();

    int RequestId() const { return m_requestId; }
    std::unique_ptr<ScreenPhoto> TakePhoto() { return std::move(m_photo); }

private:
    int m_requestId;
    std::unique_ptr<ScreenPhoto> m_photo;
};

class ViewerDecoder {
public:
    // Two workers: the photo asked for and the next one decode side by side.
    static constexpr int kDefaultWorkers = 2;
    static constexpr int kMaxWorkers = 4;
    // Called on a worker; must be re-entrant. False means the photo cannot be shown.
    using LoadFunction = std::function<bool(const QString& path, DibSize box, ScreenPhoto& out)>;

    // `workers` is clamped to 1..kMaxWorkers; an empty `load` means LoadScreenPhoto.
    explicit ViewerDecoder(QObject* receiver, int workers = kDefaultWorkers, LoadFunction load = {});
    ~ViewerDecoder();
    ViewerDecoder(const ViewerDecoder&) = delete;
    ViewerDecoder& operator=(const ViewerDecoder&) = delete;

    // Queues a decode and returns its id (positive, never reused by this decoder). 0 when the
    // decoder has been stopped or a worker could not be started.
    int Request(const QString& path, DibSize box, bool urgent);
    // Moves a queued request to the front; false when it is not queued (taken or unknown).
    bool Promote(int id);
    // Removes a queued request; false when it is not queued (a worker may have it).
    bool Cancel(int id);
    // Removes every queued request.
    void CancelAll();
    // Requests waiting for a worker (not the ones being decoded).
    int Queued() const;
    // Requests taken by workers since the decoder was made.
    int Started() const;
    // Drops the queue and joins the workers; later requests are refused.
    void Stop();

private:
    class Worker;
    struct Job {
        int id = 0;
        QString path;
        DibSize box;
    };

    bool StartWorkers();
    // Worker side: waits for the next job; false when stopping.
    bool Take(Job& job);
    void Serve();

    QObject* m_receiver;
    int m_workerCount;
    LoadFunction m_load;
    std::vector<std::unique_ptr<Worker>> m_workers;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_queue;
    bool m_stopping = false;
    int m_started = 0;
    int m_nextId = 1;
};

} // namespace tessary
