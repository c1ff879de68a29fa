#include "PreviewThumbnails.h"

#include <cstdlib>
#include <QCoreApplication>
#include <QPainter>

#include "imaging/FitInBox.h"
#include "imagefiles/ImageLoader.h"
#include "platform/WorkerThread.h"
#include "thumbcache/ThumbEvents.h"

namespace tessary {

namespace {

// The picture in the format screens and backing stores blend without converting it first
// (the painter would otherwise convert a 24-bit copy, in Qt's thread pool for larger ones).
QImage ToPaintable(const DibImage24& image)
{
    QImage out(image.Width(), image.Height(), QImage::Format_RGB32);
    if (out.isNull())
        return {};
    for (int y = 0; y < image.Height(); ++y) {
        const uint8_t* from = image.Row(y);
        QRgb* to = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image.Width(); ++x, from += 3)
            to[x] = qRgb(from[2], from[1], from[0]);
    }
    return out;
}

std::atomic<PreviewThumbnails*> g_processService{nullptr};

void StopProcessService()
{
    if (PreviewThumbnails* service = g_processService.load()) {
        service->Stop();
        service->Clear();
    }
}

} // namespace

// Lives on the thread that made the service (the UI thread). A posted notice makes it hand
// the finished ids to their windows there, after checking that each window still exists:
// checking from the worker could race with the window being closed.
class PreviewThumbnails::Relay final : public QObject {
public:
    static QEvent::Type NoticeType()
    {
        static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
        return type;
    }

    explicit Relay(PreviewThumbnails& service)
        : m_service(service)
    {
    }

    bool event(QEvent* e) override
    {
        if (e->type() != NoticeType())
            return QObject::event(e);
        std::vector<PreviewRequest> ready;
        {
            std::lock_guard lock(m_service.m_mutex);
            ready.swap(m_service.m_ready);
        }
        for (const PreviewRequest& r : ready) {
            if (QObject* window = r.window.data()) {
                ThumbEvent notice(kThumbReadyEvent, r.itemId);
                QCoreApplication::sendEvent(window, &notice);
            }
        }
        return true;
    }

private:
    PreviewThumbnails& m_service;
};

class PreviewThumbnails::Worker final : public WorkerThread {
public:
    Worker(PreviewThumbnails& service, const QString& storeFolder)
        : m_service(service)
    {
        if (!m_service.m_store.IsOpen())
            m_service.m_store.Open(QString::fromLatin1(ThumbCacheStore::kPreviewFileName), storeFolder);
    }
    ~Worker() override { StopAndWait(); }

    int Run() override
    {
        if (IsStopRequested())
            return 0;
        for (;;) {
            m_service.m_available.Acquire();
            PauseGate().Wait();
            PreviewRequest request;
            m_service.TakeRequest(request);
            if (request.itemId < 0)
                break;
            if (request.itemId > 0 && (m_service.HasResult(request.itemId) || MakePreview(request)))
                m_service.PostReady(std::move(request));
            if (IsStopRequested())
                break;
        }
        return 1;
    }

private:
    bool MakePreview(const PreviewRequest& request)
    {
        ThumbCacheStore& store = m_service.m_store;
        DibImage24 image;
        if (store.Lookup(image, request.path)) {
            ++m_service.m_storeHits;
        } else {
            if (!LoadImageFitted(image, request.path, kBox))
                return false;
            ++m_service.m_decoded;
            // A failed write only costs a decode next time; the preview is shown all the same.
            store.Store(image, request.path);
        }
        // False also when another window's request for the item got there first.
        return m_service.AddResult(image, request.itemId) || m_service.HasResult(request.itemId);
    }

    PreviewThumbnails& m_service;
};

PreviewThumbnails& PreviewThumbnails::Instance()
{
    static PreviewThumbnails* service = [] {
        // The store's own exit handler is registered first, so this one runs before it.
        ThumbCacheStore& store = ThumbCacheStore::Preview();
        auto* made = new PreviewThumbnails(store, ThumbCacheStore::StoreFolder());
        g_processService.store(made);
        std::atexit(StopProcessService);
        // The worker must be gone before the application object it posts through.
        if (QCoreApplication::instance())
            qAddPostRoutine(StopProcessService);
        return made;
    }();
    return *service;
}

PreviewThumbnails::PreviewThumbnails(ThumbCacheStore& store, const QString& storeFolder)
    : m_store(store)
    , m_available(0, kMaxAvailable)
    , m_relay(std::make_unique<Relay>(*this))
{
    m_worker = std::make_unique<Worker>(*this, storeFolder);
    m_worker->Start();
}

PreviewThumbnails::~PreviewThumbnails()
{
    Stop();
}

bool PreviewThumbnails::Draw(QPainter* painter, const QRect& rect, const PreviewRequest& request, QRect* drawn)
{
    if (!painter || rect.isEmpty() || request.itemId <= 0 || request.path.isEmpty())
        return false;
    QImage picture;
    QRect target;
    bool found = false;
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_resultIndex.find(request.itemId);
        if (it != m_resultIndex.end() && m_results[it->second]->IsValid()) {
            found = true;
            const DibImage24& image = *m_results[it->second];
            const DibSize fit = FitInBox({rect.width(), rect.height()}, image.Size());
            target = QRect(rect.left() + (rect.width() - fit.width) / 2, rect.top() + (rect.height() - fit.height) / 2,
                           fit.width, fit.height);
            if (fit == image.Size()) {
                picture = ToPaintable(image);
            } else if (!fit.IsEmpty()) {
                DibImage24 scaled;
                if (image.ResizeInto(scaled, fit, true))
                    picture = ToPaintable(scaled);
            }
        }
    }
    if (!found) {
        Enqueue(request);
        return true;
    }
    if (!picture.isNull())
        painter->drawImage(target.topLeft(), picture);
    if (drawn)
        *drawn = target;
    return true;
}

void PreviewThumbnails::Enqueue(PreviewRequest request)
{
    {
        std::lock_guard lock(m_mutex);
        if (HasResultLocked(request.itemId))
            return;
        for (const PreviewRequest& p : m_pending) {
            if (p.itemId == request.itemId && p.window == request.window)
                return;
        }
        m_pending.push_front(std::move(request));
    }
    m_available.Release(1);
}

void PreviewThumbnails::PostReady(PreviewRequest request)
{
    if (request.window.isNull())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_ready.push_back(std::move(request));
    }
    QCoreApplication::postEvent(m_relay.get(), new QEvent(Relay::NoticeType()));
}

bool PreviewThumbnails::TakeRequest(PreviewRequest& out)
{
    std::lock_guard lock(m_mutex);
    if (m_pending.empty()) {
        out = PreviewRequest();
        return false;
    }
    out = std::move(m_pending.front());
    m_pending.pop_front();
    return true;
}

bool PreviewThumbnails::HasResult(int32_t itemId) const
{
    std::lock_guard lock(m_mutex);
    return HasResultLocked(itemId);
}

bool PreviewThumbnails::HasResultLocked(int32_t itemId) const
{
    return m_resultIndex.count(itemId) != 0;
}

bool PreviewThumbnails::AddResult(const DibImage& image, int32_t itemId)
{
    if (itemId <= 0 || !image.IsValid())
        return false;
    auto copy = std::make_unique<DibImage24>();
    // The copy is made outside the lock; the UI thread may be drawing meanwhile.
    if (image.Bpp() == 24 ? !copy->CopyFrom(image) : !image.To24(*copy))
        return false;
    std::lock_guard lock(m_mutex);
    if (HasResultLocked(itemId))
        return false;
    m_results.push_back(std::move(copy));
    m_resultIndex.emplace(itemId, m_results.size() - 1);
    return true;
}

bool PreviewThumbnails::CopyResult(int32_t itemId, DibImage& out) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_resultIndex.find(itemId);
    return it != m_resultIndex.end() && out.CopyFrom(*m_results[it->second]);
}

void PreviewThumbnails::Clear()
{
    std::lock_guard lock(m_mutex);
    m_results.clear();
    m_resultIndex.clear();
    m_pending.clear();
}

void PreviewThumbnails::Stop()
{
    if (!m_worker)
        return;
    Enqueue({QPointer<QObject>(), PreviewRequest::kStopMarker, QString()});
    m_worker->SignalStop();
    m_worker->Wait();
    m_worker.reset();
}

void PreviewThumbnails::PauseWorker(bool paused)
{
    if (!m_worker)
        return;
    if (paused)
        m_worker->PauseGate().Reset();
    else
        m_worker->PauseGate().Set();
}

std::vector<int32_t> PreviewThumbnails::PendingIds() const
{
    std::lock_guard lock(m_mutex);
    std::vector<int32_t> ids;
    for (const PreviewRequest& p : m_pending)
        ids.push_back(p.itemId);
    return ids;
}

} // namespace tessary
