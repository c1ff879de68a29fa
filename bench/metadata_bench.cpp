// Reading a photo's metadata (orientation, date taken, thumbnail) reads the headers only, so it
// costs the same for a large photo as for a small one; a full marker read is shown beside it.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "../tests/imagefiles/ExifBuilder.h"
#include "imagefiles/ExifReader.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/PhotoMetadata.h"

using namespace tessary;
using namespace tessary::test;

namespace {
// A camera-like photo with `scanBytes` of entropy-coded data, written once per run.
QString PhotoWithScan(size_t scanBytes)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo_%1.jpg").arg(scanBytes));
    if (QFileInfo::exists(path))
        return path;
    TiffBuilder b(false);
    b.AddAscii(TiffBuilder::kIfd0, 271, "Orvanne");
    b.AddShort(TiffBuilder::kIfd0, kTagOrientation, 6);
    b.AddAscii(TiffBuilder::kExif, 36867, "2009:07:14 18:30:05");
    b.SetThumbnail(JpegFile({}, 160, 120, 6000));
    Bytes icc = Segment(0xE2, Bytes(3000, 7));
    const Bytes file = JpegFile({JfifSegment(), ExifSegment(b.Build()), icc}, 4000, 3000, scanBytes);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(reinterpret_cast<const char*>(file.data()), qint64(file.size()));
    return path;
}

void Metadata(benchmark::State& state, const QString& path)
{
    for (auto _ : state) {
        MarkerList markers;
        if (!ReadHeaderMarkers(path, markers)) {
            state.SkipWithError("unreadable");
            return;
        }
        benchmark::DoNotOptimize(ExifOrientation(markers));
        benchmark::DoNotOptimize(ExifDateTaken(markers));
        benchmark::DoNotOptimize(ExifThumbnail(markers));
    }
}

void BM_MetadataHeadersOnly(benchmark::State& state)
{
    Metadata(state, PhotoWithScan(size_t(state.range(0))));
    state.SetLabel(std::to_string(state.range(0) >> 20) + " MiB scan");
}
BENCHMARK(BM_MetadataHeadersOnly)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);

void BM_FullMarkerRead(benchmark::State& state)
{
    const QString path = PhotoWithScan(size_t(state.range(0)));
    for (auto _ : state) {
        FileStream stream(path);
        MarkerList markers;
        benchmark::DoNotOptimize(ReadMarkers(stream, false, markers));
    }
    state.SetLabel(std::to_string(state.range(0) >> 20) + " MiB scan");
}
BENCHMARK(BM_FullMarkerRead)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);

void BM_MetadataOfSample(benchmark::State& state)
{
    const QString path = QStringLiteral(TESSARY_TESTDATA_DIR "/exif-samples/jpg/mobile/HMD_Nokia_8.3_5G.jpg");
    if (!QFileInfo::exists(path)) {
        state.SkipWithError("no Exif samples");
        return;
    }
    Metadata(state, path);
}
BENCHMARK(BM_MetadataOfSample)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
