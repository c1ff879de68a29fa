// A list-view style worker over the queue and the store: stop handling and posted results.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>

#include "platform/WorkerThread.h"
#include "thumbcache/ThumbCacheStore.h"
#include "thumbcache/ThumbEvents.h"
#include "thumbcache/ThumbTestFiles.h"
#include "thumbcache/ThumbnailQueue.h"

using namespace tessary;
using namespace tessary::test;
using namespace std::chrono_literals;

namespace {

// Receives the posted results on the test's (UI) thread.
class Receiver : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() != kThumbReadyEvent)
            return QObject::event(e);
        ready.push_back(static_cast<ThumbEvent*>(e)->ItemId());
        return true;
    }
    std::vector<int32_t> ready;
};

// Serves requests as the list-view worker does: store first, "decode" on a miss. The decode
// of the first request can be held to simulate a slow photo.
class QueueWorker : public WorkerThread {
public:
    QueueWorker(ThumbnailQueue& queue, ThumbCacheStore& store, QObject* receiver)
        : m_queue(queue)
        , m_store(store)
        , m_receiver(receiver)
    {
    }
    ~QueueWorker() override { StopAndWait(); }

    int Run() override
    {
        if (IsStopRequested())
            return 0;
        for (;;) {
            ThumbnailRequest request;
            if (m_queue.Take(request)) {
                if (request.itemId < 0)
                    break;
                if (Make(request))
                    QCoreApplication::postEvent(m_receiver, new ThumbEvent(kThumbReadyEvent, request.itemId));
            }
            if (IsStopRequested())
                break;
        }
        return 1;
    }

    bool Make(const ThumbnailRequest& request)
    {
        QByteArray thumb;
        if (m_store.Lookup(request.path, thumb)) {
            ++hits;
        } else {
            busy.Set();
            proceed.Wait();
            thumb = Payload(uint32_t(request.itemId), 96 * 96 * 3 + 54);
            m_store.Store(request.path, thumb);
        }
        m_queue.MarkDone(request.itemId);
        made.push_back(request.itemId);
        return true;
    }

    ManualResetEvent busy{false};
    ManualResetEvent proceed{true};
    std::vector<int32_t> made; // read by the test only after the thread ended
    int hits = 0;

private:
    ThumbnailQueue& m_queue;
    ThumbCacheStore& m_store;
    QObject* m_receiver;
};

class ThumbWorkerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_store.Open(QString::fromLatin1(ThumbCacheStore::kListViewFileName), m_dir.path()));
        for (int32_t id = 1; id <= 5; ++id) {
            const QString path = m_dir.filePath(QStringLiteral("%1.jpg").arg(id));
            ASSERT_TRUE(WriteFile(path, "photo"));
            m_batch.push_back({id, path});
        }
    }

    void WaitForReady(size_t count)
    {
        QDeadlineTimer deadline(5000);
        while (m_receiver.ready.size() < count && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    QTemporaryDir m_dir;
    ThumbCacheStore m_store;
    ThumbnailQueue m_queue;
    Receiver m_receiver;
    std::vector<ThumbnailRequest> m_batch;
};

} // namespace

TEST_F(ThumbWorkerTest, AWorkerStoppedWhileBusyFinishesTheCurrentRequestOnly)
{
    QueueWorker worker(m_queue, m_store, &m_receiver);
    worker.proceed.Reset();
    m_queue.RequestMany(m_batch);
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(worker.busy.WaitFor(5s));

    // The stop as the thumbnail list gives it: marker, stop flag, wait.
    m_queue.Request({ThumbnailQueue::kStopMarker, QString()});
    EXPECT_TRUE(worker.SignalStop());
    worker.proceed.Set();
    ASSERT_TRUE(worker.Wait());

    EXPECT_EQ(worker.made, (std::vector<int32_t>{1}));
    EXPECT_EQ(worker.ExitCode(), 0);
    EXPECT_TRUE(m_queue.IsDone(1));
    EXPECT_FALSE(m_queue.IsDone(2));
    EXPECT_EQ(m_queue.NormalIds(), (std::vector<int32_t>{2, 3, 4, 5}));
    WaitForReady(1);
    EXPECT_EQ(m_receiver.ready, (std::vector<int32_t>{1}));
}

TEST_F(ThumbWorkerTest, TheStopMarkerAloneEndsTheWorkerAfterTheCurrentRequest)
{
    QueueWorker worker(m_queue, m_store, &m_receiver);
    worker.proceed.Reset();
    m_queue.RequestMany(m_batch);
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(worker.busy.WaitFor(5s));
    m_queue.Request({ThumbnailQueue::kStopMarker, QString()}); // urgent: ahead of 2..5
    worker.proceed.Set();
    ASSERT_TRUE(worker.Wait());
    EXPECT_EQ(worker.made, (std::vector<int32_t>{1}));
}

TEST_F(ThumbWorkerTest, ResultsArePostedAndLaterPassesComeFromTheStore)
{
    {
        QueueWorker worker(m_queue, m_store, &m_receiver);
        ASSERT_TRUE(worker.Start());
        m_queue.RequestMany(m_batch);
        WaitForReady(5);
        m_queue.Request({ThumbnailQueue::kStopMarker, QString()});
        worker.StopAndWait();
        EXPECT_EQ(worker.hits, 0);
    }
    EXPECT_EQ(m_receiver.ready, (std::vector<int32_t>{1, 2, 3, 4, 5}));

    // After a reset the same photos are served from the store.
    m_queue.Clear();
    m_receiver.ready.clear();
    QueueWorker again(m_queue, m_store, &m_receiver);
    again.proceed.Reset(); // a decode would hang the test
    ASSERT_TRUE(again.Start());
    m_queue.RequestMany(m_batch);
    WaitForReady(5);
    m_queue.Request({ThumbnailQueue::kStopMarker, QString()});
    again.proceed.Set();
    again.StopAndWait();
    EXPECT_EQ(again.hits, 5);
    EXPECT_EQ(m_receiver.ready.size(), 5u);
}
