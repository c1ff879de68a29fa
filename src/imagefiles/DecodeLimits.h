#pragma once
// How much a reader may take for one picture. Every reader checks the decoded size against the
// limit before it allocates anything, whatever the file claims.

#include <cstdint>

#include "imaging/DibHeader.h"

namespace tessary {

// Decoded pixel memory of one picture (its rows at the depth the reader produces), and the
// working memory the JPEG library may take beside it.
inline constexpr int64_t kMaxDecodedBytes = kMaxImageBytes;

// Whether a width x height image of `bpp` bits per pixel stays within `limit` bytes of pixel
// rows (rows padded to 4 bytes, plus the row table).
inline bool FitsPixelLimit(int64_t width, int64_t height, int bpp, int64_t limit)
{
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX)
        return false;
    const int64_t stride = DibStride(width, bpp);
    if (stride < 0 || stride > limit)
        return false;
    const int64_t rowBytes = stride + int64_t(sizeof(uint8_t*));
    return height <= limit / rowBytes;
}

// The outcome of a read that shrinks a picture while decoding it.
enum class FittedRead {
    Done,       // the target holds the fitted picture
    Failed,     // the file is refused (as the full decode would refuse it)
    NotStreamed // left to the full decode and the resize
};

} // namespace tessary
