// Conversions between depths that need no palette search: bit-field normalisation, 16, 24,
// 32 bits, grey, palette expansion, and the ToDepth dispatch.
#include <vector>

#include "imaging/DibDepths.h"
#include "imaging/Guard.h"
#include "imaging/PixelFormat.h"
#include "imaging/PixelRows.h"

namespace tessary {

bool DibImage::Normalize()
{
    return LendOr([](DibImage& typed) { return typed.Normalize(); }, [] { return false; });
}

bool DibImage16::Normalize()
{
    if (!IsValid())
        return false;
    if (!UsesBitFields())
        return true;
    const DibHeader& h = *header_;
    if (h.masks[kChRed] == 0x7C00 && h.masks[kChGreen] == 0x03E0 && h.masks[kChBlue] == 0x001F) {
        header_->info.compression = kBiRgb;
        header_->SetMasks(StandardMasks(15));
        return true;
    }
    return detail::Guarded([&] {
        DibImage16 out;
        if (!out.Create(Width(), Height(), 15))
            return false;
        for (int y = 0; y < Height(); ++y) {
            const uint8_t* src = Row(y);
            uint8_t* dst = out.Row(y);
            for (int x = 0; x < Width(); ++x) {
                DibColor c = pixel::UnpackMasked(pixel::ReadRaw(src, x, 16), h);
                c.alpha = 0;
                pixel::WriteRaw(dst, x, 16, pixel::PackMasked(c, *out.header_));
            }
        }
        out.header_->flags = h.flags;
        return Adopt(out);
    });
}

bool DibImage32::Normalize()
{
    if (!IsValid())
        return false;
    DibHeader& h = *header_;
    if (!h.UsesBitFields()
        || (h.masks[kChRed] == 0xFF0000 && h.masks[kChGreen] == 0xFF00 && h.masks[kChBlue] == 0xFF))
        return true;
    // Same size per pixel: unpack in place, nothing can fail half-way.
    bool anyAlpha = false;
    for (int y = 0; y < Height(); ++y) {
        uint8_t* p = Row(y);
        for (int x = 0; x < Width(); ++x, p += 4) {
            const uint32_t v = pixel::ReadRaw(p, 0, 32);
            p[0] = pixel::UnpackChannel(v, h, kChBlue);
            p[1] = pixel::UnpackChannel(v, h, kChGreen);
            p[2] = pixel::UnpackChannel(v, h, kChRed);
            p[3] = pixel::UnpackChannel(v, h, kChAlpha);
            anyAlpha = anyAlpha || p[3] != 0;
        }
    }
    // No pixel with any alpha: the image never had an alpha channel, make it opaque.
    if (!anyAlpha) {
        for (int y = 0; y < Height(); ++y) {
            uint8_t* p = Row(y);
            for (int x = 0; x < Width(); ++x, p += 4)
                p[3] = 255;
        }
    }
    h.info.compression = kBiRgb;
    h.SetMasks({});
    return true;
}

bool DibImage::To16(DibImage& target, bool want555) const
{
    if (!IsValid() || !target.TakesDepth(16))
        return false;
    return detail::Guarded([&] {
        DibImage out;
        if (!(want555 ? out.Create(Width(), Height(), 15) : out.Create(Width(), Height(), 16, 0, true)))
            return false;
        const DibHeader& oh = *out.header_;
        std::vector<DibColor> line(static_cast<size_t>(Width()));
        for (int y = 0; y < Height(); ++y) {
            pixel::UnpackRow(*header_, y, line.data());
            uint8_t* dst = out.Row(y);
            for (int x = 0; x < Width(); ++x) {
                DibColor c = line[size_t(x)];
                c.alpha = 0;
                pixel::WriteRaw(dst, x, 16, pixel::PackMasked(c, oh));
            }
        }
        return target.Adopt(out);
    });
}

bool DibImage::To24(DibImage& target, DibColor background) const
{
    if (!IsValid() || !target.TakesDepth(24))
        return false;
    return detail::Guarded([&] {
        DibImage out;
        if (!out.Create(Width(), Height(), 24))
            return false;
        const int w = Width();
        if (Bpp() == 24) {
            for (int y = 0; y < Height(); ++y)
                std::copy_n(Row(y), size_t(w) * 3, out.Row(y));
        } else if (Bpp() == 32 && !UsesBitFields()) {
            // Flattening: each pixel blended with its own alpha onto the background.
            const uint8_t bg[3] = {background.blue, background.green, background.red};
            for (int y = 0; y < Height(); ++y) {
                const uint8_t* s = Row(y);
                uint8_t* d = out.Row(y);
                for (int x = 0; x < w; ++x, s += 4, d += 3) {
                    d[0] = bg[0];
                    d[1] = bg[1];
                    d[2] = bg[2];
                    pixel::BlendBgr(d, s, s[3]);
                }
            }
        } else {
            std::vector<DibColor> line(static_cast<size_t>(w));
            const bool blend = Bpp() == 32;
            for (int y = 0; y < Height(); ++y) {
                pixel::UnpackRow(*header_, y, line.data());
                uint8_t* d = out.Row(y);
                for (int x = 0; x < w; ++x, d += 3) {
                    const DibColor c = line[size_t(x)];
                    if (blend) {
                        const uint8_t s[3] = {c.blue, c.green, c.red};
                        d[0] = background.blue;
                        d[1] = background.green;
                        d[2] = background.red;
                        pixel::BlendBgr(d, s, c.alpha);
                    } else {
                        d[0] = c.blue;
                        d[1] = c.green;
                        d[2] = c.red;
                    }
                }
            }
        }
        return target.Adopt(out);
    });
}

bool DibImage::To32(DibImage& target) const
{
    if (!IsValid() || !target.TakesDepth(32))
        return false;
    return detail::Guarded([&] {
        DibImage32 out;
        if (Bpp() == 32) {
            if (!out.CopyFrom(*this) || !out.Normalize())
                return false;
            if (out.UsesBitFields()) {
                // Standard masks declared as bit fields: already the plain layout.
                out.header_->info.compression = kBiRgb;
                out.header_->SetMasks({});
            }
            out.header_->flags = header_->flags;
            return target.Adopt(out);
        }
        if (!out.Create(Width(), Height(), 32))
            return false;
        const int w = Width();
        const DibHeader& h = *header_;
        if (Bpp() == 16 && h.masks[kChAlpha]) {
            const uint32_t maximum = h.masks[kChAlpha] >> h.shifts[kChAlpha];
            for (int y = 0; y < Height(); ++y) {
                const uint8_t* s = Row(y);
                uint8_t* d = out.Row(y);
                for (int x = 0; x < w; ++x, d += 4) {
                    const uint32_t v = pixel::ReadRaw(s, x, 16);
                    d[0] = pixel::UnpackChannel(v, h, kChBlue);
                    d[1] = pixel::UnpackChannel(v, h, kChGreen);
                    d[2] = pixel::UnpackChannel(v, h, kChRed);
                    d[3] = uint8_t(((v & h.masks[kChAlpha]) >> h.shifts[kChAlpha]) * 255 / maximum);
                }
            }
        } else {
            std::vector<DibColor> line(static_cast<size_t>(w));
            for (int y = 0; y < Height(); ++y) {
                pixel::UnpackRow(h, y, line.data());
                uint8_t* d = out.Row(y);
                for (int x = 0; x < w; ++x, d += 4) {
                    d[0] = line[size_t(x)].blue;
                    d[1] = line[size_t(x)].green;
                    d[2] = line[size_t(x)].red;
                    d[3] = 255;
                }
            }
        }
        return target.Adopt(out);
    });
}

bool DibImage::ToGray8(DibImage& target) const
{
    if (!IsValid() || !target.TakesDepth(8))
        return false;
    return detail::Guarded([&] {
        DibImage out;
        if (!out.Create(Width(), Height(), 8))
            return false;
        const int w = Width();
        if (Bpp() == 24) {
            for (int y = 0; y < Height(); ++y) {
                const uint8_t* s = Row(y);
                uint8_t* d = out.Row(y);
                for (int x = 0; x < w; ++x, s += 3)
                    d[x] = pixel::Grey(s[0], s[1], s[2]);
            }
        } else {
            std::vector<DibColor> line(static_cast<size_t>(w));
            for (int y = 0; y < Height(); ++y) {
                pixel::UnpackRow(*header_, y, line.data());
                uint8_t* d = out.Row(y);
                for (int x = 0; x < w; ++x)
                    d[x] = pixel::Grey(line[size_t(x)]);
            }
        }
        return target.Adopt(out);
    });
}

bool DibImage::ExpandPalette(DibImage& target, int bpp) const
{
    if (!IsValid() || Bpp() > 8 || bpp <= Bpp() || (bpp != 4 && bpp != 8) || !target.TakesDepth(bpp))
        return false;
    return detail::Guarded([&] {
        DibImage out;
        if (!out.Create(Width(), Height(), bpp, ColorCount()) || !out.SetColors(Colors()))
            return false;
        const int sb = Bpp();
        for (int y = 0; y < Height(); ++y) {
            const uint8_t* s = Row(y);
            uint8_t* d = out.Row(y);
            for (int x = 0; x < Width(); ++x)
                pixel::WriteRaw(d, x, bpp, pixel::ReadRaw(s, x, sb));
        }
        return target.Adopt(out);
    });
}

bool DibImage::ToDepth(DibImage& target, int bpp) const
{
    switch (bpp) {
    case 1:
        return ToMonochrome(target);
    case 4:
        return ToPalette4(target, 16);
    case 8:
        return ToPalette8(target, 256);
    case 15:
    case 16:
        return To16(target, bpp == 15);
    case 24:
        return To24(target);
    case 32:
        return To32(target);
    default:
        return false;
    }
}

} // namespace tessary
