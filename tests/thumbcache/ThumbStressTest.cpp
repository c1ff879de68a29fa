// Several producers, several workers and resets in between, over one queue and two stores. Meant
// to run under ThreadSanitizer (the tsan preset) as well as in the normal builds.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include <QTemporaryDir>

#include "platform/WorkerThread.h"
#include "thumbcache/ThumbCacheStore.h"
#include "thumbcache/ThumbTestFiles.h"
#include "thumbcache/ThumbnailQueue.h"

using namespace tessary;
using namespace tessary::test;
using namespace std::chrono_literals;

namespace {
constexpr int kPhotos = 12;
constexpr int kProducers = 3;
constexpr int kRounds = 150;
constexpr qsizetype kThumbSize = 2000;

QByteArray ThumbFor(int32_t id)
{
    return Payload(uint32_t(id % kPhotos), kThumbSize);
}

class StressWorker : public WorkerThread {
public:
    StressWorker(ThumbnailQueue& queue, ThumbCacheStore& store)
        : m_queue(queue)
        , m_store(store)
    {
    }
    ~StressWorker() override { StopAndWait(); }

    int Run() override
    {
        for (;;) {
            ThumbnailRequest request;
            if (m_queue.Take(request)) {
                if (request.itemId < 0)
                    break;
                if (request.itemId >= kPhotos * 100 || request.path.isEmpty())
                    ++corrupt;
                QByteArray thumb;
                if (m_store.Lookup(request.path, thumb)) {
                    ++hits;
                    if (thumb != ThumbFor(request.itemId))
                        ++corrupt;
                } else if (!m_store.Store(request.path, ThumbFor(request.itemId))) {
                    ++failures;
                }
                m_queue.MarkDone(request.itemId);
                ++served;
            } else {
                ++empty;
            }
            if (IsStopRequested())
                break;
        }
        return 1;
    }

    std::atomic<int> served{0}, hits{0}, empty{0}, corrupt{0}, failures{0};

private:
    ThumbnailQueue& m_queue;
    ThumbCacheStore& m_store;
};
} // namespace

TEST(ThumbStress, ProducersSeveralWorkersAndResets)
{
    QTemporaryDir dir;
    QStringList photos;
    for (int i = 0; i < kPhotos; ++i) {
        photos << dir.filePath(QStringLiteral("%1.jpg").arg(i));
        ASSERT_TRUE(WriteFile(photos.last(), "photo"));
    }
    ThumbCacheStore listView, preview;
    ASSERT_TRUE(listView.Open(QString::fromLatin1(ThumbCacheStore::kListViewFileName), dir.path()));
    ASSERT_TRUE(preview.Open(QString::fromLatin1(ThumbCacheStore::kPreviewFileName), dir.path()));

    ThumbnailQueue queue;
    constexpr int kWorkers = 3;
    std::vector<std::unique_ptr<StressWorker>> workers;
    for (int w = 0; w < kWorkers; ++w) {
        workers.push_back(std::make_unique<StressWorker>(queue, listView));
        ASSERT_TRUE(workers.back()->Start());
    }

    // Ids map onto the photos; each producer uses its own id range.
    auto request = [&](int32_t id) { return ThumbnailRequest{id, photos[id % kPhotos]}; };
    std::atomic<bool> producing{true};
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&, p] {
            for (int round = 0; round < kRounds; ++round) {
                const int32_t base = p * 300 + round % 300;
                queue.Request(request(base));
                std::vector<ThumbnailRequest> batch;
                for (int32_t k = 0; k < 4; ++k)
                    batch.push_back(request((base + k * 7) % (kProducers * 300)));
                queue.RequestMany(std::move(batch));
                if (round % 16 == 0)
                    std::this_thread::yield();
            }
        });
    }
    // A second side: the preview worker on its own store, and a second item list's worker
    // on the shared list-view store, both drawing serials from the shared counter.
    std::atomic<int> otherMismatches{0};
    std::thread otherSide([&] {
        int i = 0;
        while (producing.load() || i < 4 * kPhotos) {
            const int k = i++ % kPhotos;
            ThumbCacheStore& store = (i / kPhotos) % 2 ? listView : preview;
            const QByteArray expected = &store == &listView ? ThumbFor(k) : Payload(7, 500);
            QByteArray back;
            if (store.Lookup(photos[k], back)) {
                if (back != expected)
                    ++otherMismatches;
            } else if (!store.Store(photos[k], expected)) {
                ++otherMismatches;
            }
        }
    });

    for (int reset = 0; reset < 20; ++reset) {
        std::this_thread::sleep_for(1ms);
        queue.Clear();
    }
    for (std::thread& t : producers)
        t.join();
    producing.store(false);
    otherSide.join();

    for (int w = 0; w < kWorkers; ++w)
        queue.Request({ThumbnailQueue::kStopMarker, QString()});
    for (auto& worker : workers)
        EXPECT_TRUE(worker->SignalStop());
    int served = 0, hits = 0;
    for (auto& worker : workers) {
        ASSERT_TRUE(worker->Wait());
        EXPECT_EQ(worker->corrupt.load(), 0);
        EXPECT_EQ(worker->failures.load(), 0);
        EXPECT_EQ(worker->ExitCode(), 0);
        served += worker->served.load();
        hits += worker->hits.load();
    }
    EXPECT_EQ(otherMismatches.load(), 0);
    EXPECT_GT(served, 0);
    EXPECT_GT(hits, 0);
    EXPECT_EQ(listView.EntryCount(), size_t(kPhotos));
    EXPECT_EQ(preview.EntryCount(), size_t(kPhotos));
}
