#include "VeTabCtrl.h"

#include "imaging/DibImage.h"

namespace tessary {

namespace {

// new = old + w * (target - old) / 256 per channel; a weight of 255 or more sets the target.
inline uint8_t Blend(int old, int target, int weight)
{
    if (weight >= 255)
        return uint8_t(target);
    return uint8_t(old + weight * (target - old) / 256);
}

inline void BlendPixel(uint8_t* pixel, int target, int weight)
{
    for (int c = 0; c < 3; ++c)
        pixel[c] = Blend(pixel[c], target, weight);
}

} // namespace

void ApplyTabSelectionShading(DibImage& buffer)
{
    if (buffer.Bpp() != 24)
        return;
    const int w = buffer.Width();
    const int h = buffer.Height();
    const int64_t hh = int64_t(h) * h;
    for (int i = 1; i < h; ++i) {
        const bool last = i == h - 1;
        const int64_t ii = int64_t(i) * i;
        const int inner = int(ii * (last ? 140 : 230) / hh);
        const int edge = int(ii * (last ? 150 : 220) / hh);
        uint8_t* row = buffer.Row(i);
        for (int j = 0; j < w; ++j) {
            const bool border = j == 0 || j == w - 1;
            BlendPixel(row + 3 * j, border ? 128 : 255, border ? edge : inner);
        }
    }
}

void ApplyTabHoverShading(DibImage& buffer)
{
    if (buffer.Bpp() != 24)
        return;
    const int w = buffer.Width();
    const int h = buffer.Height();
    const int64_t hh = int64_t(h) * h;
    for (int i = 1; i < h - 1; ++i) {
        const int weight = int(int64_t(i) * i * 128 / hh);
        uint8_t* row = buffer.Row(i);
        for (int j = 0; j < w; ++j)
            BlendPixel(row + 3 * j, 255, weight);
    }
}

} // namespace tessary
