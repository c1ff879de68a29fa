#include "ViewerDecoder.h"

#include <algorithm>

#include <QCoreApplication>
#include <QObject>

#include "platform/WorkerThread.h"

namespace tessary {

class ViewerDecoder::Worker final : public WorkerThread {
public:
    explicit Worker(ViewerDecoder& owner) : m_owner(owner) {}
    ~Worker() override { StopAndWait(); }
    int Run() override
    {
        m_owner.Serve();
        return 1;
    }

private:
    ViewerDecoder& m_owner;
};

ScreenPhotoEvent::ScreenPhotoEvent(int requestId, std::unique_ptr<ScreenPhoto> photo)
    : QEvent(EventType())
    , m_requestId(requestId)
    , m_photo(std::move(photo))
{
}

QEvent::Type ScreenPhotoEvent::EventType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

ViewerDecoder::ViewerDecoder(QObject* receiver, int workers, LoadFunction load)
    : m_receiver(receiver)
    , m_workerCount(std::clamp(workers, 1, kMaxWorkers))
    , m_load(load ? std::move(load) : LoadFunction(LoadScreenPhoto))
{
}

ViewerDecoder::~ViewerDecoder()
{
    Stop();
}

bool ViewerDecoder::StartWorkers()
{
    while (int(m_workers.size()) < m_workerCount) {
        auto worker = std::make_unique<Worker>(*this);
        if (!worker->Start())
            return !m_workers.empty();
        m_workers.push_back(std::move(worker));
    }
    return true;
}

int ViewerDecoder::Request(const QString& path, DibSize box, bool urgent)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping)
            return 0;
    }
    if (!StartWorkers())
        return 0;
    std::lock_guard lock(m_mutex);
    Job job{m_nextId++, path, box};
    if (urgent)
        m_queue.push_front(std::move(job));
    else
        m_queue.push_back(std::move(job));
    m_wake.notify_one();
    return urgent ? m_queue.front().id : m_queue.back().id;
}

bool ViewerDecoder::Promote(int id)
{
    std::lock_guard lock(m_mutex);
    const auto it = std::find_if(m_queue.begin(), m_queue.end(), [id](const Job& j) { return j.id == id; });
    if (it == m_queue.end())
        return false;
    Job job = std::move(*it);
    m_queue.erase(it);
    m_queue.push_front(std::move(job));
    return true;
}

bool ViewerDecoder::Cancel(int id)
{
    std::lock_guard lock(m_mutex);
    const auto it = std::find_if(m_queue.begin(), m_queue.end(), [id](const Job& j) { return j.id == id; });
    if (it == m_queue.end())
        return false;
    m_queue.erase(it);
    return true;
}

void ViewerDecoder::CancelAll()
{
    std::lock_guard lock(m_mutex);
    m_queue.clear();
}

int ViewerDecoder::Queued() const
{
    std::lock_guard lock(m_mutex);
    return int(m_queue.size());
}

int ViewerDecoder::Started() const
{
    std::lock_guard lock(m_mutex);
    return m_started;
}

void ViewerDecoder::Stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_queue.clear();
    }
    m_wake.notify_all();
    for (auto& worker : m_workers)
        worker->StopAndWait();
    m_workers.clear();
}

bool ViewerDecoder::Take(Job& job)
{
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
    if (m_stopping)
        return false;
    job = std::move(m_queue.front());
    m_queue.pop_front();
    ++m_started;
    return true;
}

void ViewerDecoder::Serve()
{
    Job job;
    while (Take(job)) {
        std::unique_ptr<ScreenPhoto> photo;
        try {
            photo = std::make_unique<ScreenPhoto>();
            if (!m_load(job.path, job.box, *photo))
                photo.reset();
        } catch (...) {
            // Every request must answer, or its photo would wait for ever.
            photo.reset();
        }
        // Posting is safe from any thread; the receiver lives until Stop has joined us.
        QCoreApplication::postEvent(m_receiver, new ScreenPhotoEvent(job.id, std::move(photo)));
    }
}

} // namespace tessary
