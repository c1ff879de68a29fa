#pragma once
// Internal: reading and writing single pixels by depth, bit-field packing and the one-pixel
// alpha blend. Not part of the module's interface.

#include <cstdint>

#include "imaging/DibHeader.h"
#include "imaging/DibTypes.h"

namespace tessary::pixel {

// The stored value of pixel x in a row: palette index, 16-bit word, or the 3/4 bytes as a
// little-endian number.
inline uint32_t ReadRaw(const uint8_t* row, int x, int bpp)
{
    switch (bpp) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4:
        return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
    case 8:
        return row[x];
    case 16:
        return uint32_t(row[2 * x]) | uint32_t(row[2 * x + 1]) << 8;
    case 24: {
        const uint8_t* p = row + 3 * int64_t(x);
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    }
    case 32: {
        const uint8_t* p = row + 4 * int64_t(x);
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
    default:
        return 0;
    }
}

inline void WriteRaw(uint8_t* row, int x, int bpp, uint32_t v)
{
    switch (bpp) {
    case 1: {
        const uint8_t bit = uint8_t(0x80u >> (x & 7));
        row[x >> 3] = (v & 1) ? uint8_t(row[x >> 3] | bit) : uint8_t(row[x >> 3] & ~bit);
        break;
    }
    case 4: {
        uint8_t& b = row[x >> 1];
        b = (x & 1) ? uint8_t((b & 0xF0) | (v & 0x0F)) : uint8_t((b & 0x0F) | (v & 0x0F) << 4);
        break;
    }
    case 8:
        row[x] = uint8_t(v);
        break;
    case 16:
        row[2 * x] = uint8_t(v);
        row[2 * x + 1] = uint8_t(v >> 8);
        break;
    case 24: {
        uint8_t* p = row + 3 * int64_t(x);
        p[0] = uint8_t(v);
        p[1] = uint8_t(v >> 8);
        p[2] = uint8_t(v >> 16);
        break;
    }
    case 32: {
        uint8_t* p = row + 4 * int64_t(x);
        p[0] = uint8_t(v);
        p[1] = uint8_t(v >> 8);
        p[2] = uint8_t(v >> 16);
        p[3] = uint8_t(v >> 24);
        break;
    }
    default:
        break;
    }
}

inline uint8_t UnpackChannel(uint32_t v, const DibHeader& h, int ch)
{
    const uint32_t mask = h.masks[size_t(ch)];
    if (!mask)
        return 0;
    const uint32_t c = (v & mask) >> h.shifts[size_t(ch)];
    const int loss = h.losses[size_t(ch)];
    return loss >= 0 ? uint8_t(c << loss) : uint8_t(c >> -loss);
}

inline uint32_t PackChannel(uint8_t c, const DibHeader& h, int ch)
{
    const uint32_t mask = h.masks[size_t(ch)];
    if (!mask)
        return 0;
    const int loss = h.losses[size_t(ch)];
    const uint32_t v = loss >= 0 ? uint32_t(c) >> loss : uint32_t(c) << -loss;
    return (v << h.shifts[size_t(ch)]) & mask;
}

// A 16-bit word or a bit-field 32-bit value as a colour; an absent alpha mask reads 255.
inline DibColor UnpackMasked(uint32_t v, const DibHeader& h)
{
    return {UnpackChannel(v, h, kChBlue), UnpackChannel(v, h, kChGreen), UnpackChannel(v, h, kChRed),
            h.masks[kChAlpha] ? UnpackChannel(v, h, kChAlpha) : uint8_t(255)};
}

inline uint32_t PackMasked(DibColor c, const DibHeader& h)
{
    return PackChannel(c.blue, h, kChBlue) | PackChannel(c.green, h, kChGreen) | PackChannel(c.red, h, kChRed)
        | PackChannel(c.alpha, h, kChAlpha);
}

// Colour of a stored value. Palette images look the value up (0,0,0,0 beyond the table).
inline DibColor ColorOfRaw(const DibHeader& h, uint32_t raw)
{
    switch (h.Bpp()) {
    case 1:
    case 4:
    case 8:
        return h.colors.At(int(raw));
    case 16:
        return UnpackMasked(raw, h);
    case 24:
        return DibColor::FromValue(raw | 0xFF000000u);
    case 32:
        return h.UsesBitFields() ? UnpackMasked(raw, h) : DibColor::FromValue(raw);
    default:
        return {};
    }
}

// The value that stores a colour (nearest table entry for palette images).
inline uint32_t RawOfColor(const DibHeader& h, DibColor c)
{
    switch (h.Bpp()) {
    case 1:
    case 4:
    case 8:
        return uint32_t(h.colors.NearestIndex(c));
    case 16:
        return PackMasked(c, h);
    case 24:
        return c.Value() & 0xFFFFFFu;
    case 32:
        return h.UsesBitFields() ? PackMasked(c, h) : c.Value();
    default:
        return 0;
    }
}

// The blend used everywhere: alpha 255 copies, 0 leaves, otherwise each channel moves toward
// the source by (a * (s - d)) >> 8 (arithmetic shift, so it never quite reaches s).
inline uint8_t BlendChannel(uint8_t d, uint8_t s, int a)
{
    return uint8_t(int(d) + ((a * (int(s) - int(d))) >> 8));
}

inline void BlendBgr(uint8_t* d, const uint8_t* s, int a)
{
    if (a == 255) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
    } else if (a != 0) {
        d[0] = BlendChannel(d[0], s[0], a);
        d[1] = BlendChannel(d[1], s[1], a);
        d[2] = BlendChannel(d[2], s[2], a);
    }
}

} // namespace tessary::pixel
