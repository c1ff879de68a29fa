// The thumbnail loader on 12-megapixel (4032 x 3024) photos of the formats read through their
// own libraries, fitted into 94 x 94 on one core, beside each library's own full decode:
// - HEIC with its embedded 320 x 240 thumbnail, and without one (the whole picture decoded
//   and shrunk), against libheif's decode of the picture to interleaved RGB;
// - WebP decoded by libwebp at twice the fitted size, against libwebp's full decode;
// - TIFF (LZW strips) shrunk band by band, against libtiff's whole RGBA read.
// The photos are made here with the libraries' own encoders (x265 at its ultrafast preset, so
// that making them takes seconds) from a camera-like picture.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include <QFile>
#include <QTemporaryDir>

#include "../tests/imagefiles/HeifFixture.h"
#include "../tests/imagefiles/TiffFixture.h"
#include "../tests/imagefiles/WebpFixture.h"
#include "imagefiles/ImageLoader.h"

using namespace tessary;
using namespace tessary::test;

namespace {

constexpr int kWidth = 4032;
constexpr int kHeight = 3024;
constexpr DibSize kBox{94, 94};

uint8_t CameraLikeSample(int x, int y, int c)
{
    if (c == 3)
        return 255;
    const double fx = double(x) / kWidth, fy = double(y) / kHeight;
    double v = 60 + 120 * fx * (c == 0) + 110 * fy * (c == 1) + 90 * (1 - fx) * fy * (c == 2);
    v += 40 * std::sin(fx * 23 + c) * std::cos(fy * 17);
    if ((x / 250 + y / 250) % 7 == 0)
        v += 35;
    const uint32_t h = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u ^ uint32_t(c) * 83492791u;
    v += double(h >> 27) - 15.5;
    return uint8_t(std::clamp(v, 0.0, 255.0));
}

struct Photos {
    QTemporaryDir dir;
    QString heicWithThumbnail, heicWithout, webp, tiff;
    std::vector<uint8_t> heicBytes, webpBytes, tiffBytes;

    Photos()
    {
        HeifRecipe heif;
        heif.width = kWidth;
        heif.height = kHeight;
        heif.quality = 80;
        heif.preset = "ultrafast";
        heicBytes = EncodeHeif(heif, CameraLikeSample);
        heif.thumbnailSide = 320;
        heicWithThumbnail = Write("with.heic", EncodeHeif(heif, CameraLikeSample));
        heicWithout = Write("without.heic", heicBytes);
        WebpRecipe w;
        w.width = kWidth;
        w.height = kHeight;
        w.quality = 80;
        webpBytes = EncodeWebp(w, CameraLikeSample);
        webp = Write("photo.webp", webpBytes);
        TiffRecipe t;
        t.width = kWidth;
        t.height = kHeight;
        t.rowsPerStrip = 16;
        tiffBytes = EncodeTiff(t, CameraLikeSample);
        tiff = Write("photo.tif", tiffBytes);
    }
    QString Write(const char* name, const std::vector<uint8_t>& bytes)
    {
        const QString path = dir.filePath(QLatin1String(name));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        return path;
    }
};

Photos& Files()
{
    static Photos photos;
    return photos;
}

void Fitted(benchmark::State& state, const QString& path)
{
    for (auto _ : state) {
        DibImage24 thumb;
        if (!LoadImageFitted(thumb, path, kBox)) {
            state.SkipWithError("the thumbnail failed");
            return;
        }
        benchmark::DoNotOptimize(thumb.Bits());
    }
}

void HeicWithEmbeddedThumbnail(benchmark::State& state) { Fitted(state, Files().heicWithThumbnail); }
void HeicWithoutEmbeddedThumbnail(benchmark::State& state) { Fitted(state, Files().heicWithout); }
void WebpReducedDecode(benchmark::State& state) { Fitted(state, Files().webp); }
void TiffBandByBand(benchmark::State& state) { Fitted(state, Files().tiff); }

void LibheifFullDecode(benchmark::State& state)
{
    const std::vector<uint8_t>& bytes = Files().heicBytes;
    for (auto _ : state) {
        const RgbaPixels pixels = ReferenceHeif(bytes);
        if (pixels.width != kWidth) {
            state.SkipWithError("libheif failed");
            return;
        }
        benchmark::DoNotOptimize(pixels.rgba.data());
    }
}

void LibwebpFullDecode(benchmark::State& state)
{
    const std::vector<uint8_t>& bytes = Files().webpBytes;
    for (auto _ : state) {
        int w = 0, h = 0;
        uint8_t* bgr = WebPDecodeBGR(bytes.data(), bytes.size(), &w, &h);
        benchmark::DoNotOptimize(bgr);
        WebPFree(bgr);
    }
}

void LibtiffFullDecode(benchmark::State& state)
{
    const std::vector<uint8_t>& bytes = Files().tiffBytes;
    for (auto _ : state) {
        const RgbaPixels pixels = ReferenceTiff(bytes);
        benchmark::DoNotOptimize(pixels.rgba.data());
    }
}

} // namespace

BENCHMARK(HeicWithEmbeddedThumbnail)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(HeicWithoutEmbeddedThumbnail)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LibheifFullDecode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WebpReducedDecode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LibwebpFullDecode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TiffBandByBand)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LibtiffFullDecode)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
