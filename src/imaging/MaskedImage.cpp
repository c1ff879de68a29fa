#include "MaskedImage.h"

#include "imaging/Blit.h"
#include "imaging/Guard.h"
#include "imaging/PixelFormat.h"

namespace tessary {

bool MaskedImage::IsValid() const
{
    return color.IsValid() && (mask.IsEmpty() || (mask.IsValid() && mask.Size() == color.Size()));
}

bool MaskedImage::CopyFrom(const MaskedImage& other)
{
    if (&other == this)
        return IsValid();
    if (!other.IsValid())
        return false;
    DibImage24 c;
    DibMask m;
    if (!c.CopyFrom(other.color) || (other.HasMask() && !m.CopyFrom(other.mask)))
        return false;
    color = std::move(c);
    mask = std::move(m);
    return true;
}

void MaskedImage::Reset()
{
    color.Reset();
    mask.Reset();
}

bool MaskedImage::Split(const DibImage& image32)
{
    if (!image32.IsValid() || image32.Bpp() != 32)
        return false;
    return detail::Guarded([&] {
        DibImage32 plain;
        if (!image32.To32(plain))
            return false;
        DibImage24 c;
        DibMask m;
        if (!c.Create(plain.Width(), plain.Height(), 24) || !m.Create(plain.Width(), plain.Height(), 8))
            return false;
        for (int y = 0; y < plain.Height(); ++y) {
            const uint8_t* s = plain.Row(y);
            uint8_t* d = c.Row(y);
            uint8_t* a = m.Row(y);
            for (int x = 0; x < plain.Width(); ++x, s += 4, d += 3) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
                a[x] = s[3];
            }
        }
        color = std::move(c);
        mask = std::move(m);
        return true;
    });
}

bool MaskedImage::Join(DibImage& target32) const
{
    if (!IsValid() || !target32.TakesDepth(32))
        return false;
    return detail::Guarded([&] {
        DibImage32 out;
        if (!out.Create(color.Width(), color.Height(), 32))
            return false;
        for (int y = 0; y < color.Height(); ++y) {
            const uint8_t* s = color.Row(y);
            const uint8_t* a = HasMask() ? mask.Row(y) : nullptr;
            uint8_t* d = out.Row(y);
            for (int x = 0; x < color.Width(); ++x, s += 3, d += 4) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
                d[3] = a ? a[x] : 255;
            }
        }
        return target32.Adopt(out);
    });
}

bool MaskedImage::DrawBlock(DibImage24& target, DibPoint position, const DibRect& source, const DibRect& clip) const
{
    // Target area that changes, in target coordinates.
    const DibRect placed{position.x, position.y, DibRect::Sat(int64_t(position.x) + source.Width()),
                         DibRect::Sat(int64_t(position.y) + source.Height())};
    const DibRect area = placed.Intersected(clip.Normalized()).Intersected(target.Rect());
    if (area.IsEmpty())
        return true;
    const int64_t dx = int64_t(source.left) - position.x;
    const int64_t dy = int64_t(source.top) - position.y;
    for (int y = area.top; y < area.bottom; ++y) {
        const int sy = int(y + dy);
        uint8_t* d = target.Pixel(area.left, y);
        const uint8_t* s = color.Pixel(int(area.left + dx), sy);
        if (!HasMask()) {
            std::copy_n(s, size_t(area.Width()) * 3, d);
            continue;
        }
        const uint8_t* m = mask.Row(sy) + (area.left + dx);
        for (int x = area.left; x < area.right; ++x, d += 3, s += 3, ++m)
            pixel::BlendBgr(d, s, *m);
    }
    return true;
}

bool MaskedImage::Draw(DibImage24& target, DibPoint position, const DibRect& clip) const
{
    if (!IsValid() || !target.IsValid())
        return false;
    return DrawBlock(target, position, color.Rect(), clip);
}

bool MaskedImage::DrawScaled(DibImage24& target, const DibRect& destination, const DibRect& source) const
{
    if (!IsValid() || !target.IsValid())
        return false;
    const DibRect to = destination.Normalized();
    const DibRect from = source.Normalized().Intersected(color.Rect());
    if (to.IsEmpty() || from.IsEmpty() || to.Width() > INT32_MAX || to.Height() > INT32_MAX)
        return false;
    if (to.Width() == from.Width() && to.Height() == from.Height())
        return DrawBlock(target, DibPoint{to.left, to.top}, from, target.Rect());
    return detail::Guarded([&] {
        const bool shrinking = to.Width() < from.Width() || to.Height() < from.Height();
        MaskedImage scaled;
        if (!scaled.color.Create(int(to.Width()), int(to.Height()), 24))
            return false;
        detail::StretchBlock(color, from, scaled.color, scaled.color.Rect(), shrinking || color.SmoothStretch());
        if (HasMask()) {
            if (!scaled.mask.Create(int(to.Width()), int(to.Height()), 8))
                return false;
            detail::StretchBlock(mask, from, scaled.mask, scaled.mask.Rect(), shrinking || mask.SmoothStretch());
        }
        return scaled.DrawBlock(target, DibPoint{to.left, to.top}, scaled.color.Rect(), target.Rect());
    });
}

bool MaskedImage::FillThroughMask(DibImage24& target, DibColor colour, DibPoint position) const
{
    if (!IsValid() || !target.IsValid())
        return false;
    if (!HasMask())
        return true;
    const DibRect placed{position.x, position.y, DibRect::Sat(int64_t(position.x) + color.Width()),
                         DibRect::Sat(int64_t(position.y) + color.Height())};
    const DibRect area = placed.Intersected(target.Rect());
    const uint8_t c[3] = {colour.blue, colour.green, colour.red};
    for (int y = area.top; y < area.bottom; ++y) {
        uint8_t* d = target.Pixel(area.left, y);
        const uint8_t* m = mask.Row(y - position.y) + (area.left - position.x);
        for (int x = area.left; x < area.right; ++x, d += 3, ++m)
            pixel::BlendBgr(d, c, 255 - *m);
    }
    return true;
}

template <class Op>
bool MaskedImage::BothPlanes(Op op)
{
    if (!IsValid())
        return false;
    return detail::Guarded([&] {
        DibImage24 c;
        DibMask m;
        if (!c.CopyFrom(color) || !op(c))
            return false;
        if (HasMask() && (!m.CopyFrom(mask) || !op(m)))
            return false;
        color = std::move(c);
        mask = std::move(m);
        return true;
    });
}

bool MaskedImage::Rotate180() { return BothPlanes([](DibImage& i) { return i.Rotate180(); }); }
bool MaskedImage::RotateClockwise() { return BothPlanes([](DibImage& i) { return i.RotateClockwise(); }); }
bool MaskedImage::RotateCounterClockwise() { return BothPlanes([](DibImage& i) { return i.RotateCounterClockwise(); }); }
bool MaskedImage::MirrorHorizontal() { return BothPlanes([](DibImage& i) { return i.MirrorHorizontal(); }); }
bool MaskedImage::FlipVertical() { return BothPlanes([](DibImage& i) { return i.FlipVertical(); }); }

QImage MaskedImage::ToQImage() const
{
    if (!IsValid())
        return {};
    QImage out(color.Width(), color.Height(), QImage::Format_ARGB32);
    if (out.isNull())
        return {};
    for (int y = 0; y < color.Height(); ++y) {
        const uint8_t* s = color.Row(y);
        const uint8_t* a = HasMask() ? mask.Row(y) : nullptr;
        QRgb* d = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < color.Width(); ++x, s += 3)
            d[x] = qRgba(s[2], s[1], s[0], a ? a[x] : 255);
    }
    return out;
}

} // namespace tessary
