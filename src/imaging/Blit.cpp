#include "Blit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/PixelFormat.h"

namespace tessary::detail {

void CopyBlock(const DibImage& src, int sx, int sy, DibImage& dst, int dx, int dy, int w, int h)
{
    if (!src.IsValid() || !dst.IsValid() || src.Bpp() != dst.Bpp() || w <= 0 || h <= 0)
        return;
    // Clip in 64 bits: positions may come from anywhere.
    int64_t x0 = sx, y0 = sy, x1 = dx, y1 = dy, cw = w, ch = h;
    auto clip = [&](int64_t& a, int64_t& b, int64_t& len, int64_t limA, int64_t limB) {
        if (a < 0) { b -= a; len += a; a = 0; }
        if (b < 0) { a -= b; len += b; b = 0; }
        len = std::min({len, limA - a, limB - b});
    };
    clip(x0, x1, cw, src.Width(), dst.Width());
    clip(y0, y1, ch, src.Height(), dst.Height());
    if (cw <= 0 || ch <= 0)
        return;

    const int bpp = src.Bpp();
    const bool sameImage = &src == &dst || src.Bits() == dst.Bits();
    // Moving down within one image: go bottom-up so that source rows are read before being
    // overwritten.
    const bool upward = sameImage && y1 > y0;
    for (int64_t i = 0; i < ch; ++i) {
        const int64_t r = upward ? ch - 1 - i : i;
        const uint8_t* s = src.Row(int(y0 + r));
        uint8_t* d = dst.Row(int(y1 + r));
        if (bpp >= 8) {
            const int64_t n = bpp / 8;
            std::memmove(d + x1 * n, s + x0 * n, size_t(cw * n));
        } else if (sameImage && y0 + r == y1 + r && x1 > x0) {
            for (int64_t x = cw - 1; x >= 0; --x)
                pixel::WriteRaw(d, int(x1 + x), bpp, pixel::ReadRaw(s, int(x0 + x), bpp));
        } else {
            for (int64_t x = 0; x < cw; ++x)
                pixel::WriteRaw(d, int(x1 + x), bpp, pixel::ReadRaw(s, int(x0 + x), bpp));
        }
    }
}

bool CreateLike(const DibImage& like, DibImage& out, int64_t width, int64_t height)
{
    if (!like.IsValid() || width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX)
        return false;
    BitmapInfoBlock block = BitmapInfoBlock::ForImage(like);
    block.header.width = int32_t(width);
    block.header.height = int32_t(height);
    if (!out.CreateFromInfo(block))
        return false;
    out.SetSmoothStretch(like.SmoothStretch());
    return true;
}

} // namespace tessary::detail
