// The thumbnail services under load from several threads: producers asking a thumbnail list
// (each with a pool of workers) for cells, the UI thread reading cells, forgetting and
// resetting, lists made and destroyed while their workers are busy, and the preview service
// drawn, cleared and fed at the same time, over one shared list-view store and the preview
// store. Meant to run under ThreadSanitizer (the tsan preset) as well as in the normal builds.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <QPainter>
#include <QTemporaryDir>

#include "thumbcache/IconCells.h"
#include "thumbcache/PreviewThumbnails.h"
#include "thumbcache/ThumbPhotos.h"
#include "thumbcache/ThumbnailList.h"

using namespace tessary;
using namespace tessary::test;

namespace {
constexpr int kPhotos = 10;
constexpr int kProducers = 3;
constexpr int kRounds = 60;
constexpr int kWorkers = 3;
} // namespace

TEST(ThumbServicesStress, ProducersTheUiThreadAndResetsOverBothServices)
{
    QTemporaryDir dir;
    QStringList photos;
    for (int i = 0; i < kPhotos; ++i) {
        photos << dir.filePath(QStringLiteral("%1.%2").arg(i).arg(i % 2 ? QStringLiteral("bmp") : QStringLiteral("png")));
        const bool ok = i % 2 ? WriteSolidBmp(photos.last(), 60 + i, 40, DibColor::Rgb(uint8_t(20 * i), 90, 200))
                              : WriteSolidPng(photos.last(), 40, 50 + i, qRgb(20 * i, 200, 90));
        ASSERT_TRUE(ok);
    }
    IconCells::Instance().SetProvider(nullptr);
    ThumbCacheStore listStore, previewStore;
    EventRecorder window, previewWindow;
    auto list = std::make_unique<ThumbnailList>(&window, listStore, dir.path(), kWorkers);
    auto second = std::make_unique<ThumbnailList>(&window, listStore, dir.path(), kWorkers); // shares the store
    PreviewThumbnails previews(previewStore, dir.path());
    ASSERT_TRUE(list->Reset(100));
    ASSERT_TRUE(second->Reset(100));

    auto request = [&](int32_t id) { return ThumbnailRequest{id, photos[id % kPhotos]}; };
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&, p] {
            for (int round = 0; round < kRounds; ++round) {
                const int32_t base = p * 100 + round;
                list->Request(request(base));
                second->Request(request(base + 1));
                std::vector<ThumbnailRequest> batch;
                for (int32_t k = 0; k < 3; ++k)
                    batch.push_back(request((base + k * 7) % (kProducers * 100)));
                list->RequestMany(std::move(batch));
                if (round % 8 == 0)
                    std::this_thread::yield();
            }
        });
    }

    // Short-lived lists on the same store, destroyed with requests queued and cells being made
    // (no window: nothing may be posted once a list is gone).
    std::atomic<int> shortLived{0};
    std::thread churn([&] {
        for (int round = 0; round < 12; ++round) {
            ThumbnailList brief(nullptr, listStore, dir.path(), kWorkers);
            if (!brief.Reset(20))
                continue;
            std::vector<ThumbnailRequest> batch;
            for (int32_t k = 0; k < kPhotos; ++k)
                batch.push_back(request(k + round));
            brief.RequestMany(std::move(batch));
            brief.Request(request(round));
            if (round % 3 == 0)
                brief.ForgetThumbnails();
            if (round % 4 == 1)
                brief.Reset(20);
            if (round % 2)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ++shortLived;
        }
    });

    // The UI thread: cells and placeholders, forgetting and resetting, previews drawn and cleared.
    QImage canvas(170, 170, QImage::Format_RGB32);
    for (int step = 0; step < 200; ++step) {
        const int32_t id = step % (kProducers * 100);
        const int index = list->ImageIndexFor(id, photos[id % kPhotos]);
        EXPECT_GE(index, 0);
        EXPECT_FALSE(list->Image(index).isNull());
        second->ImageIndexFor(id + 1, photos[(id + 1) % kPhotos]);
        {
            QPainter painter(&canvas);
            previews.Draw(&painter, canvas.rect(), {QPointer<QObject>(&previewWindow), 1 + step % kPhotos, photos[step % kPhotos]});
        }
        if (step % 37 == 0)
            list->Reset(100);
        if (step % 23 == 0)
            list->ForgetThumbnails();
        if (step % 41 == 0)
            previews.Clear();
        if (step % 10 == 0)
            QCoreApplication::processEvents();
    }
    for (std::thread& t : producers)
        t.join();
    churn.join();
    EXPECT_EQ(shortLived.load(), 12);

    list->Stop();
    second->Stop();
    previews.Stop();

    // Afterwards a fresh list makes every cell, and a refresh finds every photo in the store.
    ThumbnailList fresh(&window, listStore, dir.path(), kWorkers);
    std::vector<ThumbnailRequest> all;
    for (int32_t i = 0; i < kPhotos; ++i)
        all.push_back({i, photos[i]});
    for (int pass = 1; pass <= 2; ++pass) {
        const ThumbnailList::Counters before = fresh.GetCounters();
        ASSERT_TRUE(fresh.Reset(100));
        fresh.RequestMany(all);
        ASSERT_TRUE(WaitUntil([&] { return fresh.GetCounters().made - before.made == kPhotos; }));
        EXPECT_EQ(fresh.GetCounters().failed, 0);
        EXPECT_EQ(fresh.ImageCount(), kPhotos);
        if (pass == 2) {
            EXPECT_EQ(fresh.GetCounters().storeHits - before.storeHits, kPhotos);
        }
    }
    EXPECT_EQ(listStore.EntryCount(), size_t(kPhotos));
    QCoreApplication::processEvents();
}
