// Colour reductions: monochrome by Burkes error diffusion, threshold, mapping onto a given
// palette (optionally error-diffused), and the octree palette conversions built on them.
#include <algorithm>
#include <vector>

#include "imaging/DibDepths.h"
#include "imaging/Guard.h"
#include "imaging/OctreeQuantiser.h"
#include "imaging/PixelFormat.h"
#include "imaging/PixelRows.h"

namespace tessary {

namespace {

uint8_t ClampByte(int v) { return uint8_t(std::clamp(v, 0, 255)); }

// Nearest-entry search remembered for recent colours; results are those of NearestIndex.
class NearestCache {
public:
    explicit NearestCache(const ColorTable& table) : table_(table), keys_(kSize, ~0u), values_(kSize) {}
    int Find(DibColor c)
    {
        const uint32_t key = c.Value() & 0xFFFFFFu;
        const size_t slot = (key * 2654435761u) >> (32 - kBits);
        if (keys_[slot] != key) {
            keys_[slot] = key;
            values_[slot] = table_.NearestIndex(c);
        }
        return values_[slot];
    }

private:
    static constexpr int kBits = 12;
    static constexpr size_t kSize = size_t(1) << kBits;
    const ColorTable& table_;
    std::vector<uint32_t> keys_;
    std::vector<int> values_;
};

} // namespace

bool DibImage::ToMonochrome(DibImage& target) const
{
    if (!IsValid() || !target.TakesDepth(1))
        return false;
    return detail::Guarded([&] {
        DibImage8 grey;
        DibImage out;
        if (!ToGray8(grey) || !out.Create(Width(), Height(), 1))
            return false;
        const int w = Width();
        const int h = Height();
        auto spread = [&](int x, int y, int add) {
            if (x < 0 || x >= w || y >= h)
                return;
            uint8_t& v = grey.At(x, y);
            v = ClampByte(v + add);
        };
        for (int y = 0; y < h; ++y) {
            uint8_t* bits = out.Row(y);
            for (int x = 0; x < w; ++x) {
                const int g = grey.At(x, y);
                int e;
                if (g <= 128) {
                    e = g;
                } else {
                    bits[x >> 3] = uint8_t(bits[x >> 3] | (0x80 >> (x & 7)));
                    e = g - 255;
                }
                if (e == 0)
                    continue;
                // Burkes weights (of 32), divisions truncating toward zero.
                spread(x + 1, y, e * 8 / 32);
                spread(x + 2, y, e * 4 / 32);
                spread(x - 2, y + 1, e * 2 / 32);
                spread(x - 1, y + 1, e * 4 / 32);
                spread(x, y + 1, e * 8 / 32);
                spread(x + 1, y + 1, e * 4 / 32);
                spread(x + 2, y + 1, e * 2 / 32);
            }
        }
        return target.Adopt(out);
    });
}

bool DibImage::ToThreshold(DibImage& target, int level) const
{
    if (!IsValid() || !target.TakesDepth(1))
        return false;
    return detail::Guarded([&] {
        DibImage8 grey;
        DibImage out;
        if (!out.Create(Width(), Height(), 1))
            return false;
        const int w = Width();
        if (level <= 0 || level >= 255) {
            // 0: every pixel white; 255: every pixel black (the image is zero-filled).
            if (level <= 0) {
                for (int y = 0; y < Height(); ++y)
                    std::fill_n(out.Row(y), out.Stride(), uint8_t(0xFF));
            }
            return target.Adopt(out);
        }
        if (!ToGray8(grey))
            return false;
        for (int y = 0; y < Height(); ++y) {
            uint8_t* bits = out.Row(y);
            for (int x = 0; x < w; ++x) {
                if (grey.At(x, y) >= level)
                    bits[x >> 3] = uint8_t(bits[x >> 3] | (0x80 >> (x & 7)));
            }
        }
        return target.Adopt(out);
    });
}

bool DibImage::MapToPalette(DibImage& target, int bpp, const ColorTable& table, bool dither) const
{
    if (!IsValid() || (bpp != 1 && bpp != 4 && bpp != 8) || bpp >= Bpp() || !target.TakesDepth(bpp))
        return false;
    if (table.IsEmpty() || table.Count() > (1 << bpp))
        return false;
    return detail::Guarded([&] {
        DibImage out;
        if (!out.Create(Width(), Height(), bpp, table.Count()) || !out.SetColors(table))
            return false;
        const int w = Width();
        const int h = Height();
        NearestCache nearest(table);

        if (!dither) {
            std::vector<DibColor> line(static_cast<size_t>(w));
            for (int y = 0; y < h; ++y) {
                pixel::UnpackRow(*header_, y, line.data());
                uint8_t* d = out.Row(y);
                for (int x = 0; x < w; ++x)
                    pixel::WriteRaw(d, x, bpp, uint32_t(nearest.Find(line[size_t(x)])));
            }
            return target.Adopt(out);
        }

        // Error diffusion over a working copy at the source's own depth: each pixel's error
        // (wanted minus stored, per channel) goes 7/16 right and 2/16, 4/16, 1/16 to the row
        // below, each addition clamped to 0..255; the rest of the error is dropped.
        static constexpr int kWeights[4][3] = {{1, 0, 7}, {-1, 1, 2}, {0, 1, 4}, {1, 1, 1}};
        if (Bpp() == 24) {
            DibImage24 work;
            if (!work.CopyFrom(*this))
                return false;
            for (int y = 0; y < h; ++y) {
                uint8_t* d = out.Row(y);
                for (int x = 0; x < w; ++x) {
                    const uint8_t* p = work.Pixel(x, y);
                    const DibColor wanted{p[0], p[1], p[2], 255};
                    const int index = nearest.Find(wanted);
                    pixel::WriteRaw(d, x, bpp, uint32_t(index));
                    const DibColor stored = table.At(index);
                    const int e[3] = {wanted.blue - stored.blue, wanted.green - stored.green, wanted.red - stored.red};
                    if (!e[0] && !e[1] && !e[2])
                        continue;
                    for (const auto& k : kWeights) {
                        const int nx = x + k[0];
                        const int ny = y + k[1];
                        if (nx < 0 || nx >= w || ny >= h)
                            continue;
                        uint8_t* q = work.Pixel(nx, ny);
                        for (int c = 0; c < 3; ++c)
                            q[c] = ClampByte(q[c] + e[c] * k[2] / 16);
                    }
                }
            }
            return target.Adopt(out);
        }

        std::unique_ptr<DibImage> work = Clone();
        if (!work)
            return false;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                DibColor wanted;
                work->GetColor(wanted, x, y);
                const int index = nearest.Find(wanted);
                out.SetIndex(x, y, index);
                const DibColor stored = table.At(index);
                const int e[3] = {wanted.blue - stored.blue, wanted.green - stored.green, wanted.red - stored.red};
                if (!e[0] && !e[1] && !e[2])
                    continue;
                for (const auto& k : kWeights) {
                    const int nx = x + k[0];
                    const int ny = y + k[1];
                    DibColor c;
                    if (nx < 0 || nx >= w || ny >= h || !work->GetColor(c, nx, ny))
                        continue;
                    c.blue = ClampByte(c.blue + e[0] * k[2] / 16);
                    c.green = ClampByte(c.green + e[1] * k[2] / 16);
                    c.red = ClampByte(c.red + e[2] * k[2] / 16);
                    work->SetColor(nx, ny, c);
                }
            }
        }
        return target.Adopt(out);
    });
}

namespace {

// Shared flow of ToPalette4 and ToPalette8 (`bpp` 4 or 8, `colours` already clamped).
bool ToPaletteDepth(const DibImage& src, DibImage& target, int bpp, int colours)
{
    if (!src.IsValid() || !target.TakesDepth(bpp))
        return false;
    const int sb = src.Bpp();
    if (sb == bpp) {
        DibImage copy;
        return copy.CopyFrom(src) && target.Adopt(copy);
    }
    if (sb < bpp)
        return src.ExpandPalette(target, bpp);
    return detail::Guarded([&] {
        const DibImage* quantised = &src;
        DibImage24 deep;
        if (sb == 16 || sb == 32) {
            if (!src.To24(deep))
                return false;
            quantised = &deep;
            if (sb == 32)
                colours = 1 << bpp;
        }
        const ColorTable table = Quantise(*quantised, colours);
        if (table.IsEmpty())
            return false;
        return quantised->MapToPalette(target, bpp, table, true);
    });
}

} // namespace

bool DibImage::ToPalette4(DibImage& target, int colours) const
{
    return ToPaletteDepth(*this, target, 4, std::clamp(colours, 1, 16));
}

bool DibImage::ToPalette8(DibImage& target, int colours) const
{
    return ToPaletteDepth(*this, target, 8, std::clamp(colours, 1, 256));
}

} // namespace tessary
