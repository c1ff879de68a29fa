#pragma once
// Internal: PNG decoding through the PNG library, for the PNG codec.
//
// The library never prints: its errors end the call with false and its warnings are dropped.
// Every colour type and depth comes out as 8-bit blue, green, red (plus alpha when the file
// has an alpha channel or a tRNS chunk), gamma corrected for a screen gamma of 2.2 from the
// file's gAMA value or 0.45455 when it has none (the library leaves a correction within 5 %
// of none undone). Re-entrant: every call has its own library structures.

#include <cstdint>

#include "imagefiles/DecodeLimits.h"
#include "imaging/DibImage.h"

namespace tessary {

class ImageStream;

struct PngImageInfo {
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    int channels = 0;
    int colorType = 0;
    int interlace = 0;
    // The decoded picture has alpha: the colour type has it or a tRNS chunk adds it.
    bool hasAlpha = false;
};

// Screen gamma and the file gamma assumed without a gAMA chunk.
inline constexpr double kPngScreenGamma = 2.2;
inline constexpr double kPngDefaultFileGamma = 0.45455;

// Decodes the PNG file at the stream's position into a 24-bit image (no alpha) or a plain
// 32-bit image (blue, green, red, alpha), top row first. `info` is filled as soon as the
// header has been read. A header-only request stops there and leaves `out` alone; otherwise
// `out` is replaced on success and emptied on failure. Pictures whose decoded rows would pass
// maxPixelBytes, or wider or higher than the library's limit, fail before allocation.
// Files whose image data could not inflate to the picture's pixels (deflate's largest ratio)
// are refused before the rows are made.
bool DecodePng(ImageStream& stream, bool headerOnly, int64_t maxPixelBytes, PngImageInfo& info, DibImage& out);

// A non-interlaced PNG file shrunk to fit `box` while its rows are decoded, one row held at a
// time; alpha is flattened onto white as GetImage does. The result is exactly what the full
// decode, GetImage and ResizeInto(smooth) give, and the file is refused where that one refuses
// it. NotStreamed for interlaced files and pictures that fit the box.
FittedRead DecodePngFitted(ImageStream& stream, DibSize box, int64_t maxPixelBytes, DibImage& target);

} // namespace tessary
