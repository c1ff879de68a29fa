#pragma once
// The one heap record behind every image: pixel memory, the row table over it, the layout
// (info header, stride, bit-field masks), the palette and the flags. Exactly one `DibImage`
// owns a header at a time; see DibImage.h.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "imaging/BitmapInfo.h"
#include "imaging/ColorTable.h"

namespace tessary {

inline constexpr uint32_t kDibMagic = 0x2B424944; // "DIB+" read little-endian
inline constexpr uint32_t kSmoothStretchFlag = 4;
// Pixel memory and row table of one image together stay within this many bytes.
inline constexpr int64_t kMaxImageBytes = int64_t(1) << 30;

// Channel order of the masks, shifts and losses arrays.
enum DibChannel { kChRed = 0, kChGreen = 1, kChBlue = 2, kChAlpha = 3 };

struct FreeDeleter {
    void operator()(uint8_t* p) const { std::free(p); }
};

struct DibHeader {
    // Entry i points at picture row i counted from the top; the memory itself is bottom-up,
    // so entry i is bits + (height - 1 - i) * stride.
    std::unique_ptr<uint8_t*[]> rows;
    std::unique_ptr<uint8_t, FreeDeleter> bits;
    // Layout: positive height, bitCount 1/4/8/16/24/32, compression 0 or 3, sizeImage =
    // stride * height, clrUsed = colour count.
    BitmapInfoHeader info;
    int32_t stride = 0;
    // Bit fields, indexed by DibChannel: right shift (trailing zero bits of the mask) and loss
    // (8 minus the mask's one bits; negative for masks wider than 8 bits, 0 for no mask).
    // All zero for plain 24/32 bits; plain 16 bits implies 5-5-5.
    std::array<int32_t, 4> shifts{};
    std::array<int32_t, 4> losses{};
    std::array<uint32_t, 4> masks{};
    ColorTable colors;
    uint32_t flags = 0;
    uint32_t magic = kDibMagic;

    int Width() const { return info.width; }
    int Height() const { return info.height; }
    int Bpp() const { return info.bitCount; }
    bool UsesBitFields() const { return info.compression == kBiBitFields; }
    void SetMasks(const std::array<uint32_t, 4>& m);

    // Builds a zero-filled image from a block. The block's height may be negative (a top-down
    // file): the image gets its absolute value and stays bottom-up, so the reader flips it.
    // RLE compression is treated as plain (the reader decodes into the rows). Null when the
    // block is not usable or the memory would exceed kMaxImageBytes or cannot be had.
    static std::unique_ptr<DibHeader> Create(const BitmapInfoBlock& block);
    // A copy of everything, pixels included; null when memory runs out.
    std::unique_ptr<DibHeader> Copy() const;
};

// The validity test: present and carrying the magic.
inline bool IsValidHeader(const DibHeader* h) { return h && h->magic == kDibMagic; }

// Bytes per row of a width at a depth (rows padded to 4 bytes); -1 when it cannot be stored.
int64_t DibStride(int64_t width, int bpp);

// The standard masks of a depth: 15 -> 5-5-5, 16 -> 5-6-5, 32 -> 8-8-8; zero otherwise.
std::array<uint32_t, 4> StandardMasks(int bpp);

} // namespace tessary
