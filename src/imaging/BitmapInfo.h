#pragma once
// The description of a bitmap as BMP files and bitmap resources carry it: an info header, the
// bit-field masks and the colour table. Images are created from it, and the BMP writer gets it
// back from an image.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/ColorTable.h"

namespace tessary {

// Compression values of the info header.
enum : uint32_t {
    kBiRgb = 0,
    kBiRle8 = 1,
    kBiRle4 = 2,
    kBiBitFields = 3,
};

// The fields of the 40-byte info header, in file order.
struct BitmapInfoHeader {
    uint32_t size = 40;
    int32_t width = 0;
    int32_t height = 0; // negative: rows stored top-down in the file
    uint16_t planes = 1;
    uint16_t bitCount = 0;
    uint32_t compression = kBiRgb;
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
};

class DibImage;

// An info block in a form that no longer depends on which header variant it came from.
// Masks are red, green, blue, alpha; `hasMasks` is set for compression 3.
struct BitmapInfoBlock {
    BitmapInfoHeader header;
    std::array<uint32_t, 4> masks{};
    bool hasMasks = false;
    ColorTable colors;
    // Size of the header variant read (12, 40, 52, 56, 108 or 124), and the number of bytes
    // the whole block took (header, masks following a 40-byte header, colour table): in a
    // packed bitmap (a resource) the pixel rows start there.
    uint32_t sourceHeaderSize = 40;
    size_t byteCount = 0;

    // Reads an info block from little-endian bytes: the header (12-byte core headers are
    // widened, with their 3-byte palette entries), masks and colour table. Refuses unknown
    // header sizes, depths other than 1, 4, 8, 16, 24, 32, compression values other than
    // plain, RLE8 on 8 bits, RLE4 on 4 bits and bit fields on 16 or 32 bits, non-positive
    // width, zero height, and blocks shorter than they claim. A colour count beyond 2^bpp is
    // cut to 2^bpp; tables of 16-, 24- and 32-bit images are skipped.
    static std::optional<BitmapInfoBlock> Read(const uint8_t* data, size_t size);

    // The block of an existing image as the BMP writer stores it: 40-byte header with a
    // positive height, compression 0 or 3, the three masks for bit fields, the colour table.
    static BitmapInfoBlock ForImage(const DibImage& image);

    // The block as bytes (40-byte header, masks when `hasMasks`, 4-byte table entries).
    std::vector<uint8_t> ToBytes() const;
};

} // namespace tessary
