// Drawing on an image in software: fills, frames, lines, ellipses, inversion, scrolling,
// tiling and drawing one image into another.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/Blit.h"
#include "imaging/DibDepths.h"
#include "imaging/Guard.h"
#include "imaging/PixelFormat.h"
#include "imaging/PixelRows.h"

namespace tessary {

namespace {

// Sets pixels [x0, x1) of a row to a stored value.
void FillSpan(uint8_t* row, int x0, int x1, int bpp, uint32_t raw)
{
    switch (bpp) {
    case 8:
        std::memset(row + x0, int(raw & 0xFF), size_t(x1 - x0));
        return;
    case 24: {
        uint8_t* p = row + 3 * int64_t(x0);
        for (int x = x0; x < x1; ++x, p += 3) {
            p[0] = uint8_t(raw);
            p[1] = uint8_t(raw >> 8);
            p[2] = uint8_t(raw >> 16);
        }
        return;
    }
    case 32: {
        uint8_t* p = row + 4 * int64_t(x0);
        for (int x = x0; x < x1; ++x, p += 4)
            std::memcpy(p, &raw, 4);
        return;
    }
    default:
        for (int x = x0; x < x1; ++x)
            pixel::WriteRaw(row, x, bpp, raw);
        return;
    }
}

// Inverts pixels [x0, x1) of a row.
void InvertSpan(uint8_t* row, int x0, int x1, int bpp)
{
    switch (bpp) {
    case 8:
        for (int x = x0; x < x1; ++x)
            row[x] = uint8_t(~row[x]);
        return;
    case 24:
        for (int64_t i = 3 * int64_t(x0); i < 3 * int64_t(x1); ++i)
            row[i] = uint8_t(~row[i]);
        return;
    case 32:
        for (int64_t x = x0; x < x1; ++x) {
            uint8_t* p = row + 4 * x;
            p[0] = uint8_t(~p[0]);
            p[1] = uint8_t(~p[1]);
            p[2] = uint8_t(~p[2]);
        }
        return;
    default: {
        const uint32_t all = bpp == 16 ? 0xFFFFu : (1u << bpp) - 1;
        for (int x = x0; x < x1; ++x)
            pixel::WriteRaw(row, x, bpp, pixel::ReadRaw(row, x, bpp) ^ all);
        return;
    }
    }
}

// Calls span(y, x0, x1) for every row piece of `area` (already inside the image) outside
// `exclude`.
template <class Span>
void ForEachSpan(const DibRect& area, const DibRect& exclude, Span span)
{
    const DibRect ex = exclude.Normalized().Intersected(area);
    for (int y = area.top; y < area.bottom; ++y) {
        if (ex.IsEmpty() || y < ex.top || y >= ex.bottom) {
            span(y, area.left, area.right);
            continue;
        }
        if (ex.left > area.left)
            span(y, area.left, ex.left);
        if (ex.right < area.right)
            span(y, ex.right, area.right);
    }
}

} // namespace

bool DibImage::Clear(DibColor c)
{
    return FillRect(Rect(), c);
}

bool DibImage::FillRect(const DibRect& rect, DibColor c, const DibRect& exclude)
{
    if (!IsValid())
        return false;
    const DibRect r = rect.Normalized();
    if (r.IsEmpty())
        return false;
    const uint32_t raw = pixel::RawOfColor(*header_, c);
    const int bpp = Bpp();
    ForEachSpan(r.Intersected(Rect()), exclude, [&](int y, int x0, int x1) { FillSpan(Row(y), x0, x1, bpp, raw); });
    return true;
}

bool DibImage::Frame(const DibRect& rect, DibColor c, bool filled, const DibRect& exclude)
{
    if (!IsValid())
        return false;
    const DibRect r = rect.Normalized();
    if (r.IsEmpty())
        return false;
    const DibRect ex = exclude.Normalized();
    if (!ex.IsEmpty() && ex.Contains(r))
        return true;
    if (filled)
        return FillRect(r, c, ex);
    const uint32_t raw = pixel::RawOfColor(*header_, c);
    const int bpp = Bpp();
    const DibRect edges[4] = {
        {r.left, r.top, r.right, r.top + 1},
        {r.left, r.bottom - 1, r.right, r.bottom},
        {r.left, r.top, r.left + 1, r.bottom},
        {r.right - 1, r.top, r.right, r.bottom},
    };
    for (const DibRect& e : edges)
        ForEachSpan(e.Intersected(Rect()), ex, [&](int y, int x0, int x1) { FillSpan(Row(y), x0, x1, bpp, raw); });
    return true;
}

bool DibImage::Line(DibPoint from, DibPoint to, DibColor c)
{
    if (!IsValid())
        return false;
    const uint32_t raw = pixel::RawOfColor(*header_, c);
    const int bpp = Bpp();
    const int64_t dx = int64_t(to.x) - from.x;
    const int64_t dy = int64_t(to.y) - from.y;
    const bool steep = std::llabs(dy) > std::llabs(dx);
    // Walk the major axis; the minor coordinate of step i is the nearest to the exact line
    // (halves away from the start), which is the Bresenham line. Steps are limited to those
    // that fall inside the image along the major axis, so a far-off line costs nothing.
    const int64_t major0 = steep ? from.y : from.x;
    const int64_t minor0 = steep ? from.x : from.y;
    const int64_t dMajor = steep ? dy : dx;
    const int64_t dMinor = steep ? dx : dy;
    const int64_t majorExtent = steep ? Height() : Width();
    const int64_t minorExtent = steep ? Width() : Height();
    const int64_t steps = std::llabs(dMajor);
    const int64_t dir = dMajor < 0 ? -1 : 1;
    // Steps i with 0 <= major0 + dir * i < majorExtent.
    int64_t iLo = 0, iHi = steps;
    if (dir > 0) {
        iLo = std::max<int64_t>(iLo, -major0);
        iHi = std::min<int64_t>(iHi, majorExtent - 1 - major0);
    } else {
        iLo = std::max<int64_t>(iLo, major0 - (majorExtent - 1));
        iHi = std::min<int64_t>(iHi, major0);
    }
    for (int64_t i = iLo; i <= iHi; ++i) {
        int64_t minor = minor0;
        if (steps) {
            const __int128 num = __int128(2) * i * dMinor;
            const __int128 den = __int128(2) * steps;
            // Round num / den to nearest, halves away from zero.
            const __int128 q = (num >= 0 ? num + steps : num - steps) / den;
            minor += int64_t(q);
        }
        if (minor < 0 || minor >= minorExtent)
            continue;
        const int64_t major = major0 + dir * i;
        const int x = int(steep ? minor : major);
        const int y = int(steep ? major : minor);
        pixel::WriteRaw(Row(y), x, bpp, raw);
    }
    return true;
}

bool DibImage::FillEllipse(const DibRect& rect, DibColor c)
{
    if (!IsValid())
        return false;
    const DibRect r = rect.Normalized();
    if (r.IsEmpty())
        return false;
    const uint32_t raw = pixel::RawOfColor(*header_, c);
    const int bpp = Bpp();
    const double cx = (double(r.left) + double(r.right)) / 2;
    const double cy = (double(r.top) + double(r.bottom)) / 2;
    const double rx = double(r.Width()) / 2;
    const double ry = double(r.Height()) / 2;
    const DibRect area = r.Intersected(Rect());
    for (int y = area.top; y < area.bottom; ++y) {
        const double v = (y + 0.5 - cy) / ry;
        if (v * v > 1.0)
            continue;
        const double half = rx * std::sqrt(1.0 - v * v);
        const double x0 = std::max<double>(std::ceil(cx - half - 0.5), area.left);
        const double x1 = std::min<double>(std::floor(cx + half - 0.5) + 1, area.right);
        if (x0 < x1)
            FillSpan(Row(y), int(x0), int(x1), bpp, raw);
    }
    return true;
}

bool DibImage::Invert()
{
    return InvertRect(Rect());
}

bool DibImage::InvertRect(const DibRect& rect, const DibRect& exclude)
{
    if (!IsValid())
        return false;
    const DibRect r = rect.Normalized();
    if (r.IsEmpty())
        return false;
    const int bpp = Bpp();
    ForEachSpan(r.Intersected(Rect()), exclude, [&](int y, int x0, int x1) { InvertSpan(Row(y), x0, x1, bpp); });
    return true;
}

bool DibImage::Scroll(const DibRect& rect, int dx, int dy)
{
    if (!IsValid())
        return false;
    const DibRect r = rect.Normalized();
    if (r.IsEmpty())
        return false;
    if (dx == 0 && dy == 0)
        return true;
    const DibRect clip = r.Intersected(Rect());
    const DibRect from = clip.Translated(-int64_t(dx), -int64_t(dy)).Intersected(clip);
    if (from.IsEmpty())
        return true;
    detail::CopyBlock(*this, from.left, from.top, *this, from.left + dx, from.top + dy, int(from.Width()),
                      int(from.Height()));
    return true;
}

bool DibImage::Tile(const DibImage& pattern)
{
    if (!IsValid() || !pattern.IsValid())
        return false;
    return detail::Guarded([&] {
        // The pattern in this image's layout, drawn across the first band, which is then
        // copied down.
        const int pw = pattern.Width();
        const int ph = std::min(pattern.Height(), Height());
        for (int64_t x = 0; x < Width(); x += pw) {
            if (!DrawImage(pattern, int(x), 0))
                return false;
        }
        for (int64_t y = ph; y < Height(); y += ph)
            detail::CopyBlock(*this, 0, 0, *this, 0, int(y), Width(), ph);
        return true;
    });
}

bool DibImage::DrawImage(const DibImage& other, int x, int y)
{
    return DrawImage(other, x, y, other.Rect());
}

bool DibImage::DrawImage(const DibImage& other, int x, int y, const DibRect& source)
{
    if (!IsValid() || !other.IsValid())
        return false;
    const DibRect s = source.Normalized().Intersected(other.Rect());
    if (s.IsEmpty())
        return source.Normalized().IsEmpty() ? false : true;
    // Keep the drawn block where it lands after clipping the source.
    const int64_t ox = int64_t(x) + (s.left - source.Normalized().left);
    const int64_t oy = int64_t(y) + (s.top - source.Normalized().top);
    if (SameFormat(other)) {
        if (ox > INT32_MAX || oy > INT32_MAX || ox < INT32_MIN || oy < INT32_MIN)
            return true;
        detail::CopyBlock(other, s.left, s.top, *this, int(ox), int(oy), int(s.Width()), int(s.Height()));
        return true;
    }
    const DibRect placed = DibRect{DibRect::Sat(ox), DibRect::Sat(oy), DibRect::Sat(ox + s.Width()),
                                   DibRect::Sat(oy + s.Height())}.Intersected(Rect());
    if (placed.IsEmpty())
        return true;
    return detail::Guarded([&] {
        std::vector<DibColor> line(static_cast<size_t>(other.Width()));
        const int bpp = Bpp();
        const bool palette = bpp <= 8;
        uint32_t lastColor = 0, lastRaw = 0;
        bool haveLast = false;
        for (int ty = placed.top; ty < placed.bottom; ++ty) {
            pixel::UnpackRow(*other.header_, int(ty - oy + s.top), line.data());
            uint8_t* row = Row(ty);
            for (int tx = placed.left; tx < placed.right; ++tx) {
                const DibColor c = line[size_t(tx - ox + s.left)];
                uint32_t raw;
                if (palette && haveLast && c.Value() == lastColor) {
                    raw = lastRaw;
                } else {
                    raw = pixel::RawOfColor(*header_, c);
                    lastColor = c.Value();
                    lastRaw = raw;
                    haveLast = true;
                }
                pixel::WriteRaw(row, tx, bpp, raw);
            }
        }
        return true;
    });
}

bool DibImage::StretchImage(const DibImage& other, const DibRect& destination, const DibRect& source)
{
    if (!IsValid() || !other.IsValid())
        return false;
    const DibRect to = destination.Normalized();
    const DibRect from = source.Normalized().Intersected(other.Rect());
    if (to.IsEmpty() || from.IsEmpty())
        return false;
    if (to.Width() == from.Width() && to.Height() == from.Height())
        return DrawImage(other, to.left, to.top, from);
    if (to.Intersected(Rect()).IsEmpty())
        return true;
    return detail::Guarded([&] {
        DibImage block;
        if (!detail::CreateLike(other, block, to.Width(), to.Height()))
            return false;
        detail::StretchBlock(other, from, block, block.Rect(), other.SmoothStretch() && other.Bpp() > 8);
        return DrawImage(block, to.left, to.top);
    });
}

} // namespace tessary
