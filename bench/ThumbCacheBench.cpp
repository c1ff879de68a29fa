// One store lookup of a 96 x 96 thumbnail record (24-bit BMP image: 27,702 bytes), as bytes
// and as the image the workers read back with the BMP reader (target: under 100 us).
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "imaging/DibDepths.h"
#include "thumbcache/ThumbCacheStore.h"

using namespace tessary;

namespace {
constexpr qsizetype kRecordPayload = 54 + 96 * 96 * 3;

void BM_StoreLookup96(benchmark::State& state)
{
    QTemporaryDir dir;
    ThumbCacheStore store;
    if (!store.Open(QString::fromLatin1(ThumbCacheStore::kListViewFileName), dir.path())) {
        state.SkipWithError("cannot open the store");
        return;
    }
    // A store holding a few hundred thumbnails, looked up in turn.
    const int photos = int(state.range(0));
    QStringList paths;
    for (int i = 0; i < photos; ++i) {
        paths << dir.filePath(QStringLiteral("photo_%1.jpg").arg(i, 4, 10, QLatin1Char('0')));
        QFile f(paths.last());
        if (!f.open(QIODevice::WriteOnly) || !store.Store(paths.last(), QByteArray(kRecordPayload, char(i)))) {
            state.SkipWithError("cannot fill the store");
            return;
        }
    }
    QByteArray thumb;
    int next = 0;
    for (auto _ : state) {
        if (!store.Lookup(paths[next], thumb)) {
            state.SkipWithError("lookup missed");
            return;
        }
        benchmark::DoNotOptimize(thumb.constData());
        next = (next + 7) % photos;
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kRecordPayload);
}
BENCHMARK(BM_StoreLookup96)->Arg(1)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_StoreLookupImage96(benchmark::State& state)
{
    QTemporaryDir dir;
    ThumbCacheStore store;
    if (!store.Open(QString::fromLatin1(ThumbCacheStore::kListViewFileName), dir.path())) {
        state.SkipWithError("cannot open the store");
        return;
    }
    const int photos = int(state.range(0));
    QStringList paths;
    for (int i = 0; i < photos; ++i) {
        paths << dir.filePath(QStringLiteral("photo_%1.jpg").arg(i, 4, 10, QLatin1Char('0')));
        DibImage24 thumb;
        QFile f(paths.last());
        if (!thumb.Create24({96, 96}) || !thumb.Clear(DibColor::Rgb(uint8_t(i), 80, 160))
            || !f.open(QIODevice::WriteOnly) || !store.Store(thumb, paths.last())) {
            state.SkipWithError("cannot fill the store");
            return;
        }
    }
    int next = 0;
    for (auto _ : state) {
        DibImage24 thumb;
        if (!store.Lookup(thumb, paths[next]) || thumb.Width() != 96) {
            state.SkipWithError("lookup missed");
            return;
        }
        benchmark::DoNotOptimize(thumb.Bits());
        next = (next + 7) % photos;
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kRecordPayload);
}
BENCHMARK(BM_StoreLookupImage96)->Arg(1)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_StoreWrite96(benchmark::State& state)
{
    QTemporaryDir dir;
    ThumbCacheStore store;
    const QString photo = dir.filePath(QStringLiteral("photo.jpg"));
    QFile f(photo);
    if (!store.Open(QString::fromLatin1(ThumbCacheStore::kListViewFileName), dir.path())
        || !f.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot open the store");
        return;
    }
    const QByteArray thumb(kRecordPayload, 'x');
    for (auto _ : state) {
        if (!store.Store(photo, thumb)) {
            state.SkipWithError("store failed");
            return;
        }
    }
}
// Each iteration appends a record, so the count is bounded to keep the file small.
BENCHMARK(BM_StoreWrite96)->Iterations(2000)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
