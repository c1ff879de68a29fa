#pragma once
// Internal: JPEG decoding through the JPEG library (6b interface), shared by the JPEG codec,
// the Exif thumbnail decoder and the thumbnail loader's reduced-scale path.
//
// The library never prints: its errors end the call with false and its warnings are dropped.
// A file that ends early decodes what is there (the rest comes out grey), an empty one fails.
// Re-entrant: every call has its own decompressor, error and source managers.

#include <cstdint>

#include "imagefiles/DecodeLimits.h"
#include "imaging/DibDepths.h"

namespace tessary {

class ImageStream;

struct JpegImageInfo {
    int width = 0; // of the full picture, whatever the decoding scale
    int height = 0;
    int components = 0; // 1 grey, 3 colour, 4 CMYK or YCCK
    int colorSpace = 0; // the library's J_COLOR_SPACE of the file
};

struct JpegDecodeRequest {
    bool headerOnly = false;
    // 1 (full size), 2, 4 or 8: the library's own reduced-size decoding.
    int scaleDenominator = 1;
    // When not empty and at most half the picture in both directions, the scale is chosen
    // instead (ChooseJpegScale for the picture fitted into this box): for a caller that
    // shrinks the result to that fitted size.
    DibSize fitBox{};
    // Decoded rows (24 bits) beyond this fail before anything is allocated; the library's own
    // working memory is held to the same amount.
    int64_t maxPixelBytes = kMaxDecodedBytes;
};

// Decodes the JPEG data at the stream's position into a 24-bit image (blue, green, red, top
// row first) of the scaled size. `info` is filled as soon as the header has been read, also
// when decoding fails later. A header-only request stops there and leaves `out` alone;
// otherwise `out` is replaced on success and emptied on failure.
bool DecodeJpeg(ImageStream& stream, const JpegDecodeRequest& request, JpegImageInfo& info, DibImage24& out);

// The output size the library gives for a scale denominator (its sizes round up).
DibSize JpegScaledSize(DibSize image, int scaleDenominator);

// The largest denominator (2, 4 or 8) whose output still holds `fitted` twice over in both
// directions, 2 when none does but it still holds `fitted` itself; 1 (full size) otherwise.
int ChooseJpegScale(DibSize image, DibSize fitted);

} // namespace tessary
