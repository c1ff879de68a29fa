// Resizing whole images and stretching blocks between images.
#include <vector>

#include "imaging/Blit.h"
#include "imaging/DibDepths.h"
#include "imaging/Guard.h"
#include "imaging/PixelFormat.h"
#include "imaging/Resampler.h"

namespace tessary {

namespace detail {

namespace {

// Channels averaged by the smooth mode for an image's layout; 0: nearest neighbour only.
int SmoothChannels(const DibImage& img)
{
    switch (img.Bpp()) {
    case 24:
        return 3;
    case 32: {
        const DibHeader& h = *img.Header();
        const bool plain = !h.UsesBitFields() || (h.masks[kChRed] == 0xFF0000 && h.masks[kChGreen] == 0xFF00
                                                  && h.masks[kChBlue] == 0xFF);
        return plain ? 4 : 0;
    }
    case 8: {
        // Averaging indices is averaging colours only for the grey ramp (masks, grey images).
        const ColorTable& t = img.Colors();
        if (t.Count() != 256)
            return 0;
        for (int i = 0; i < 256; ++i) {
            if (!t.At(i).SameRgb(DibColor{uint8_t(i), uint8_t(i), uint8_t(i), 0}))
                return 0;
        }
        return 1;
    }
    default:
        return 0;
    }
}

std::vector<uint8_t*> RowsOf(const DibImage& img, const DibRect& r, int64_t bytesPerPixel)
{
    std::vector<uint8_t*> rows(size_t(r.Height()));
    for (int y = 0; y < r.Height(); ++y)
        rows[size_t(y)] = const_cast<uint8_t*>(img.Row(r.top + y)) + r.left * bytesPerPixel;
    return rows;
}

} // namespace

// Stretches block `from` of src over block `to` of dst (same layout; both blocks inside their
// images and non-empty). Throws std::bad_alloc.
void StretchBlock(const DibImage& src, const DibRect& from, DibImage& dst, const DibRect& to, bool smooth)
{
    const int channels = smooth ? SmoothChannels(src) : 0;
    if (channels) {
        const std::vector<uint8_t*> s = RowsOf(src, from, channels);
        const std::vector<uint8_t*> d = RowsOf(dst, to, channels);
        AreaResample(s.data(), int(from.Width()), int(from.Height()), d.data(), int(to.Width()), int(to.Height()),
                     channels);
        return;
    }
    if (smooth && src.Bpp() == 16) {
        // Average in 24 bits, then pack with the destination's own masks.
        DibImage24 wide, block;
        if (!src.To24(wide) || !block.Create(int(to.Width()), int(to.Height()), 24))
            throw std::bad_alloc();
        StretchBlock(wide, from, block, block.Rect(), true);
        const DibHeader& h = *dst.Header();
        for (int y = 0; y < block.Height(); ++y) {
            const uint8_t* p = block.Row(y);
            uint8_t* row = dst.Row(to.top + y);
            for (int x = 0; x < block.Width(); ++x, p += 3)
                pixel::WriteRaw(row, to.left + x, 16, pixel::PackMasked(DibColor{p[0], p[1], p[2], 0}, h));
        }
        return;
    }
    const std::vector<uint8_t*> s = RowsOf(src, from, 0);
    const std::vector<uint8_t*> d = RowsOf(dst, to, 0);
    NearestResample(s.data(), from.left, int(from.Width()), int(from.Height()), d.data(), to.left, int(to.Width()),
                    int(to.Height()), src.Bpp());
}

} // namespace detail

bool DibImage::ResizeInto(DibImage& target, DibSize size, bool smooth) const
{
    if (!IsValid() || size.IsEmpty() || !target.TakesDepth(Bpp()))
        return false;
    return detail::Guarded([&] {
        DibImage out;
        if (size == Size()) {
            if (!out.CopyFrom(*this))
                return false;
        } else {
            if (!detail::CreateLike(*this, out, size.width, size.height))
                return false;
            detail::StretchBlock(*this, Rect(), out, out.Rect(), smooth);
        }
        return target.Adopt(out);
    });
}

bool DibImage::Resize(DibSize size, bool smooth)
{
    if (!IsValid() || size.IsEmpty())
        return false;
    if (size == Size())
        return true;
    return ResizeInto(*this, size, smooth);
}

} // namespace tessary
