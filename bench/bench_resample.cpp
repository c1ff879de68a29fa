// The smooth downscale of a photo to its thumbnail and preview sizes: the hot path of every
// thumbnail. Target: under 20 ms for each on one core.
#include <benchmark/benchmark.h>

#include "imaging/DibDepths.h"
#include "imaging/FitInBox.h"

using namespace tessary;

namespace {

// A 4000 x 3000 24-bit photo with detail in every channel.
const DibImage24& Photo()
{
    static const DibImage24 photo = [] {
        DibImage24 img;
        img.Create(4000, 3000, 24);
        for (int y = 0; y < img.Height(); ++y) {
            uint8_t* p = img.Row(y);
            for (int x = 0; x < img.Width(); ++x, p += 3) {
                p[0] = uint8_t(x * 7 + y);
                p[1] = uint8_t((x ^ y) * 3);
                p[2] = uint8_t(x + y * 5);
            }
        }
        return img;
    }();
    return photo;
}

void FitSmooth(benchmark::State& state)
{
    const DibImage24& photo = Photo();
    const DibSize box{int(state.range(0)), int(state.range(0))};
    const DibSize size = FitInBox(box, photo.Size());
    for (auto _ : state) {
        DibImage24 thumb;
        if (!photo.ResizeInto(thumb, size, true))
            state.SkipWithError("resize failed");
        benchmark::DoNotOptimize(thumb.Bits());
    }
    state.SetLabel(std::to_string(size.width) + "x" + std::to_string(size.height));
}

void FitNearest(benchmark::State& state)
{
    const DibImage24& photo = Photo();
    const DibSize size = FitInBox(DibSize{int(state.range(0)), int(state.range(0))}, photo.Size());
    for (auto _ : state) {
        DibImage24 thumb;
        photo.ResizeInto(thumb, size, false);
        benchmark::DoNotOptimize(thumb.Bits());
    }
}

} // namespace

BENCHMARK(FitSmooth)->Arg(94)->Arg(160)->Unit(benchmark::kMillisecond);
BENCHMARK(FitNearest)->Arg(94)->Arg(160)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
