#pragma once
// BMP files written byte by byte for the codec tests and the fuzz seeds, independent of the
// reader and writer under test: every field is spelled out here.

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace tessary::test {

using BmpBytes = std::vector<uint8_t>;

inline void Le16(BmpBytes& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

inline void Le32(BmpBytes& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

struct BmpSpec {
    uint32_t headerSize = 40; // 12 (core), 40, 52, 56, 108 or 124
    int32_t width = 1;
    int32_t height = 1; // negative: rows stored top-down
    uint16_t bpp = 24;
    uint32_t compression = 0;
    // Red, green, blue (and alpha) masks: inside the header from 52 bytes on, after a 40-byte
    // header when compression is 3.
    std::vector<uint32_t> masks;
    // Entries as blue, green, red (a fourth zero byte is added except for core headers).
    std::vector<std::array<uint8_t, 3>> palette;
    uint32_t clrUsed = 0;
    BmpBytes pixels; // the pixel data exactly as stored
    int64_t offBitsOverride = -1;
};

inline BmpBytes BuildBmp(const BmpSpec& s)
{
    BmpBytes info;
    if (s.headerSize == 12) {
        Le32(info, 12);
        Le16(info, uint32_t(s.width));
        Le16(info, uint32_t(s.height));
        Le16(info, 1);
        Le16(info, s.bpp);
    } else {
        Le32(info, s.headerSize);
        Le32(info, uint32_t(s.width));
        Le32(info, uint32_t(s.height));
        Le16(info, 1);
        Le16(info, s.bpp);
        Le32(info, s.compression);
        Le32(info, uint32_t(s.pixels.size()));
        Le32(info, 2835);
        Le32(info, 2835);
        Le32(info, s.clrUsed);
        Le32(info, 0);
        if (s.headerSize == 40 && s.compression == 3) {
            for (size_t i = 0; i < 3; ++i)
                Le32(info, i < s.masks.size() ? s.masks[i] : 0);
        } else if (s.headerSize > 40) {
            for (size_t i = 0; i < 4 && info.size() < s.headerSize; ++i)
                Le32(info, i < s.masks.size() ? s.masks[i] : 0);
            info.resize(s.headerSize, 0); // colour space fields of the longer headers
        }
    }
    for (const auto& e : s.palette) {
        info.insert(info.end(), e.begin(), e.end());
        if (s.headerSize != 12)
            info.push_back(0);
    }
    const uint32_t offBits = s.offBitsOverride >= 0 ? uint32_t(s.offBitsOverride) : uint32_t(14 + info.size());
    BmpBytes out = {'B', 'M'};
    Le32(out, uint32_t(14 + info.size() + s.pixels.size()));
    Le16(out, 0);
    Le16(out, 0);
    Le32(out, offBits);
    out.insert(out.end(), info.begin(), info.end());
    out.resize(offBits, 0);
    out.insert(out.end(), s.pixels.begin(), s.pixels.end());
    return out;
}

// Plain pixel rows of a picture: value(x, y) is the raw value of pixel (x, y) counted from the
// top (a palette index, a 16-bit word, or 3/4 bytes as a little-endian number). Rows are
// stored bottom row first, or top row first when topDown; each padded to 4 bytes.
inline BmpBytes StoredRows(int width, int height, int bpp, bool topDown, const std::function<uint32_t(int, int)>& value)
{
    const size_t stride = (size_t(width) * size_t(bpp) + 31) / 32 * 4;
    BmpBytes out;
    for (int i = 0; i < height; ++i) {
        const int y = topDown ? i : height - 1 - i;
        BmpBytes row(stride, 0);
        for (int x = 0; x < width; ++x) {
            const uint32_t v = value(x, y);
            switch (bpp) {
            case 1: row[size_t(x / 8)] |= uint8_t((v & 1) << (7 - x % 8)); break;
            case 4: row[size_t(x / 2)] |= uint8_t((v & 15) << (x % 2 ? 0 : 4)); break;
            default:
                for (int b = 0; b < bpp / 8; ++b)
                    row[size_t(x * (bpp / 8) + b)] = uint8_t(v >> (8 * b));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace tessary::test
