// Geometric operations: crop, trim, rotations, mirror, flip, transpose, transverse and the
// 8-bit canvas resize. Depth classes with whole-byte pixels take the typed paths; 1-, 4- and
// 16-bit images go through the generic per-pixel path.
#include <cstring>
#include <utility>
#include <vector>

#include "imaging/Blit.h"
#include "imaging/DibDepths.h"
#include "imaging/ExifOrientation.h"
#include "imaging/Guard.h"
#include "imaging/PixelFormat.h"

namespace tessary {

namespace {

enum class Remap { Rotate180, Clockwise, CounterClockwise, Transpose, Transverse };

bool SwapsSides(Remap op) { return op != Remap::Rotate180; }

// Where source pixel (x, y) of a w x h image lands.
inline std::pair<int, int> Destination(Remap op, int x, int y, int w, int h)
{
    switch (op) {
    case Remap::Rotate180: return {w - 1 - x, h - 1 - y};
    case Remap::Clockwise: return {h - 1 - y, x};
    case Remap::CounterClockwise: return {y, w - 1 - x};
    case Remap::Transpose: return {y, x};
    case Remap::Transverse: return {h - 1 - y, w - 1 - x};
    }
    return {x, y};
}

// Pixels of N whole bytes.
template <int N>
bool RemapBytes(DibImage& self, Remap op)
{
    if (!self.IsValid())
        return false;
    return detail::Guarded([&] {
        const int w = self.Width();
        const int h = self.Height();
        DibImage out;
        if (!detail::CreateLike(self, out, SwapsSides(op) ? h : w, SwapsSides(op) ? w : h))
            return false;
        for (int y = 0; y < h; ++y) {
            const uint8_t* s = self.Row(y);
            for (int x = 0; x < w; ++x, s += N) {
                const auto [dx, dy] = Destination(op, x, y, w, h);
                std::memcpy(out.Row(dy) + int64_t(dx) * N, s, N);
            }
        }
        return self.Adopt(out);
    });
}

bool RemapGeneric(DibImage& self, Remap op)
{
    if (!self.IsValid())
        return false;
    return detail::Guarded([&] {
        const int w = self.Width();
        const int h = self.Height();
        const int bpp = self.Bpp();
        DibImage out;
        if (!detail::CreateLike(self, out, SwapsSides(op) ? h : w, SwapsSides(op) ? w : h))
            return false;
        for (int y = 0; y < h; ++y) {
            const uint8_t* s = self.Row(y);
            for (int x = 0; x < w; ++x) {
                const auto [dx, dy] = Destination(op, x, y, w, h);
                pixel::WriteRaw(out.Row(dy), dx, bpp, pixel::ReadRaw(s, x, bpp));
            }
        }
        return self.Adopt(out);
    });
}

template <int N>
bool MirrorBytes(DibImage& self)
{
    if (!self.IsValid())
        return false;
    const int w = self.Width();
    for (int y = 0; y < self.Height() && w > 1; ++y) {
        uint8_t* l = self.Row(y);
        uint8_t* r = l + int64_t(w - 1) * N;
        for (; l < r; l += N, r -= N)
            std::swap_ranges(l, l + N, r);
    }
    return true;
}

bool MirrorGeneric(DibImage& self)
{
    if (!self.IsValid())
        return false;
    const int w = self.Width();
    const int bpp = self.Bpp();
    for (int y = 0; y < self.Height(); ++y) {
        uint8_t* row = self.Row(y);
        for (int l = 0, r = w - 1; l < r; ++l, --r) {
            const uint32_t a = pixel::ReadRaw(row, l, bpp);
            pixel::WriteRaw(row, l, bpp, pixel::ReadRaw(row, r, bpp));
            pixel::WriteRaw(row, r, bpp, a);
        }
    }
    return true;
}

bool FlipRows(DibImage& self)
{
    if (!self.IsValid())
        return false;
    return detail::Guarded([&] {
        const size_t n = size_t(self.Stride());
        std::vector<uint8_t> tmp(n);
        for (int t = 0, b = self.Height() - 1; t < b; ++t, --b) {
            std::memcpy(tmp.data(), self.Row(t), n);
            std::memcpy(self.Row(t), self.Row(b), n);
            std::memcpy(self.Row(b), tmp.data(), n);
        }
        return true;
    });
}

// Bounding box of the pixels that differ from the top-left one; empty when there are none.
DibRect DifferingBox(const DibImage& self)
{
    const int w = self.Width();
    const int h = self.Height();
    const int bpp = self.Bpp();
    const uint32_t ref = pixel::ReadRaw(self.Row(0), 0, bpp);
    auto rowDiffers = [&](int y) {
        const uint8_t* row = self.Row(y);
        for (int x = 0; x < w; ++x) {
            if (pixel::ReadRaw(row, x, bpp) != ref)
                return true;
        }
        return false;
    };
    int top = 0;
    while (top < h && !rowDiffers(top))
        ++top;
    if (top == h)
        return {};
    int bottom = h - 1;
    while (bottom > top && !rowDiffers(bottom))
        --bottom;
    auto columnDiffers = [&](int x) {
        for (int y = top; y <= bottom; ++y) {
            if (pixel::ReadRaw(self.Row(y), x, bpp) != ref)
                return true;
        }
        return false;
    };
    int left = 0;
    while (left < w && !columnDiffers(left))
        ++left;
    int right = w - 1;
    while (right > left && !columnDiffers(right))
        --right;
    return {left, top, right + 1, bottom + 1};
}

bool Trim(DibImage& self)
{
    if (!self.IsValid())
        return false;
    const DibRect box = DifferingBox(self);
    if (box.IsEmpty() || box == self.Rect())
        return true;
    return self.Crop(box, true);
}

} // namespace

// ---- base class: lend to the depth class, or the generic path for depths without their own --

bool DibImage::Crop(const DibRect& rect, bool keepContent)
{
    if (!IsValid())
        return false;
    const DibRect r = rect.Normalized();
    if (r.IsEmpty())
        return false;
    const bool sameSize = r.Width() == Width() && r.Height() == Height();
    if (sameSize && (!keepContent || (r.left == 0 && r.top == 0)))
        return true;
    return detail::Guarded([&] {
        DibImage out;
        if (!detail::CreateLike(*this, out, r.Width(), r.Height()))
            return false;
        if (keepContent) {
            const int64_t sx = std::max<int64_t>(r.left, 0);
            const int64_t sy = std::max<int64_t>(r.top, 0);
            detail::CopyBlock(*this, int(sx), int(sy), out, int(sx - r.left), int(sy - r.top), Width(), Height());
        }
        return Adopt(out);
    });
}

bool DibImage::TrimBorder()
{
    return LendOr([](DibImage& t) { return t.TrimBorder(); }, [this] { return Trim(*this); });
}

bool DibImage::Rotate180()
{
    return LendOr([](DibImage& t) { return t.Rotate180(); }, [this] { return RemapGeneric(*this, Remap::Rotate180); });
}

bool DibImage::RotateClockwise()
{
    return LendOr([](DibImage& t) { return t.RotateClockwise(); },
                  [this] { return RemapGeneric(*this, Remap::Clockwise); });
}

bool DibImage::RotateCounterClockwise()
{
    return LendOr([](DibImage& t) { return t.RotateCounterClockwise(); },
                  [this] { return RemapGeneric(*this, Remap::CounterClockwise); });
}

bool DibImage::MirrorHorizontal()
{
    return LendOr([](DibImage& t) { return t.MirrorHorizontal(); }, [this] { return MirrorGeneric(*this); });
}

bool DibImage::FlipVertical()
{
    return LendOr([](DibImage& t) { return t.FlipVertical(); }, [this] { return FlipRows(*this); });
}

bool DibImage::Transpose()
{
    return LendOr([](DibImage& t) { return t.Transpose(); }, [this] { return RemapGeneric(*this, Remap::Transpose); });
}

bool DibImage::Transverse()
{
    return LendOr([](DibImage& t) { return t.Transverse(); }, [this] { return RemapGeneric(*this, Remap::Transverse); });
}

bool DibImage::ResizeCanvas(DibSize size, DibPoint offset)
{
    return LendOr([&](DibImage& t) { return t.ResizeCanvas(size, offset); }, [] { return false; });
}

// ---- 4 bits: the mirror builds a new image --------------------------------------------------

bool DibImage4::MirrorHorizontal()
{
    if (!IsValid())
        return false;
    return detail::Guarded([&] {
        DibImage4 out;
        if (!out.CopyFrom(*this) || !MirrorGeneric(out))
            return false;
        return Adopt(out);
    });
}

// ---- 8 bits ---------------------------------------------------------------------------------

bool DibImage8::TrimBorder() { return Trim(*this); }
bool DibImage8::Rotate180() { return RemapBytes<1>(*this, Remap::Rotate180); }
bool DibImage8::RotateClockwise() { return RemapBytes<1>(*this, Remap::Clockwise); }
bool DibImage8::RotateCounterClockwise() { return RemapBytes<1>(*this, Remap::CounterClockwise); }
bool DibImage8::MirrorHorizontal() { return MirrorBytes<1>(*this); }
bool DibImage8::FlipVertical() { return FlipRows(*this); }
bool DibImage8::Transpose() { return RemapBytes<1>(*this, Remap::Transpose); }
bool DibImage8::Transverse() { return RemapBytes<1>(*this, Remap::Transverse); }

bool DibImage8::ResizeCanvas(DibSize size, DibPoint offset)
{
    if (!IsValid() || size.IsEmpty())
        return false;
    return detail::Guarded([&] {
        DibImage8 out;
        if (!detail::CreateLike(*this, out, size.width, size.height))
            return false;
        detail::CopyBlock(*this, 0, 0, out, offset.x, offset.y, Width(), Height());
        return Adopt(out);
    });
}

// ---- 24 bits --------------------------------------------------------------------------------

bool DibImage24::TrimBorder() { return Trim(*this); }
bool DibImage24::Rotate180() { return RemapBytes<3>(*this, Remap::Rotate180); }
bool DibImage24::RotateClockwise() { return RemapBytes<3>(*this, Remap::Clockwise); }
bool DibImage24::RotateCounterClockwise() { return RemapBytes<3>(*this, Remap::CounterClockwise); }
bool DibImage24::MirrorHorizontal() { return MirrorBytes<3>(*this); }
bool DibImage24::FlipVertical() { return FlipRows(*this); }
bool DibImage24::Transpose() { return RemapBytes<3>(*this, Remap::Transpose); }
bool DibImage24::Transverse() { return RemapBytes<3>(*this, Remap::Transverse); }

// ---- 32 bits --------------------------------------------------------------------------------

bool DibImage32::Rotate180() { return RemapBytes<4>(*this, Remap::Rotate180); }
bool DibImage32::RotateClockwise() { return RemapBytes<4>(*this, Remap::Clockwise); }
bool DibImage32::RotateCounterClockwise() { return RemapBytes<4>(*this, Remap::CounterClockwise); }
bool DibImage32::MirrorHorizontal() { return MirrorBytes<4>(*this); }
bool DibImage32::FlipVertical() { return FlipRows(*this); }
bool DibImage32::Transpose() { return RemapBytes<4>(*this, Remap::Transpose); }
bool DibImage32::Transverse() { return RemapBytes<4>(*this, Remap::Transverse); }

// ---- Exif orientation -----------------------------------------------------------------------

bool ApplyExifOrientation(DibImage& image, int orientation)
{
    switch (orientation) {
    case 2: return image.MirrorHorizontal();
    case 3: return image.Rotate180();
    case 4: return image.FlipVertical();
    case 5: return image.Transpose();
    case 6: return image.RotateClockwise();
    case 7: return image.Transverse();
    case 8: return image.RotateCounterClockwise();
    default: return image.IsValid();
    }
}

} // namespace tessary
