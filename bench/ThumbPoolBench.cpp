// The list-view thumbnailer's worker pool on camera-size photos (bench/thumbs/pool_bench.sh
// makes them and names the folder in TESSARY_CAMERA_PHOTOS):
// - BM_ColdPass/N: a fresh store and list with N workers, every photo asked for as one batch,
//   until every cell is made (target: 2 workers at least 1.8 x faster than 1).
// - BM_FirstScreen/N: the first screen of an album, 30 urgent requests ahead of the batch of
//   every photo, until those 30 cells are made (target: no slower with the pool).
// The worker counts are registered alternately (1, 2, 2, 1) so that both see the same load.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "thumbcache/ThumbnailList.h"

using namespace tessary;

namespace {
constexpr int kFirstScreen = 30;

const std::vector<ThumbnailRequest>& Photos()
{
    static const std::vector<ThumbnailRequest> photos = [] {
        std::vector<ThumbnailRequest> all;
        const QString folder = qEnvironmentVariable("TESSARY_CAMERA_PHOTOS");
        if (folder.isEmpty())
            return all;
        const QStringList names = QDir(folder).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
        for (qsizetype i = 0; i < names.size(); ++i)
            all.push_back({int32_t(i + 1), QDir(folder).filePath(names[i])});
        return all;
    }();
    return photos;
}

void Poll()
{
    std::this_thread::sleep_for(std::chrono::microseconds(200));
}

void BM_ColdPass(benchmark::State& state)
{
    const std::vector<ThumbnailRequest>& photos = Photos();
    if (photos.empty()) {
        state.SkipWithError("set TESSARY_CAMERA_PHOTOS to a folder of camera photos");
        return;
    }
    const int workers = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        ThumbCacheStore store;
        auto list = std::make_unique<ThumbnailList>(nullptr, store, dir.path(), workers);
        list->Reset(int(photos.size()));
        state.ResumeTiming();

        list->RequestMany(photos);
        for (;;) {
            const ThumbnailList::Counters c = list->GetCounters();
            if (c.made + c.failed >= int64_t(photos.size()))
                break;
            Poll();
        }

        state.PauseTiming();
        if (list->GetCounters().failed != 0)
            state.SkipWithError("a photo failed");
        list.reset();
        state.ResumeTiming();
    }
    state.counters["workers"] = workers;
    state.counters["photos"] = double(photos.size());
}
BENCHMARK(BM_ColdPass)->Arg(1)->Arg(2)->Arg(2)->Arg(1)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FirstScreen(benchmark::State& state)
{
    const std::vector<ThumbnailRequest>& photos = Photos();
    if (photos.size() < size_t(kFirstScreen)) {
        state.SkipWithError("set TESSARY_CAMERA_PHOTOS to a folder of camera photos");
        return;
    }
    const int workers = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        ThumbCacheStore store;
        auto list = std::make_unique<ThumbnailList>(nullptr, store, dir.path(), workers);
        list->Reset(int(photos.size()));
        state.ResumeTiming();

        // As the item list paints its first screen: the visible cells urgent, then the rows.
        for (int i = 0; i < kFirstScreen; ++i)
            list->Request(photos[size_t(i)]);
        list->RequestMany(photos);
        for (int i = 0; i < kFirstScreen;) {
            if (list->ThumbIndex(photos[size_t(i)].itemId) >= 0)
                ++i;
            else
                Poll();
        }

        state.PauseTiming();
        list.reset(); // the workers finish the photos in hand, the rest is dropped
        state.ResumeTiming();
    }
    state.counters["workers"] = workers;
}
BENCHMARK(BM_FirstScreen)->Arg(1)->Arg(2)->Arg(2)->Arg(1)->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
