#pragma once
// Internal: TIFF decoding through libtiff, for the TIFF codec, the thumbnail loader and the
// metadata reader. Only the first page (directory) is read. Every photometric, depth and
// layout libtiff's RGBA reader knows comes out as 8-bit blue, green, red (16-bit samples keep
// their high byte, as libtiff gives them), plus straight alpha when the file has an alpha
// sample. Rows are stored order (the orientation tag is reported, not applied).
//
// The library never prints: its errors and warnings go to per-handle handlers that drop them.
// Its own single allocations are held to the pixel limit. Re-entrant: every call has its own
// handle; libtiff keeps no shared state beyond its codec tables.

#include <cstdint>
#include <functional>
#include <optional>

#include "imagefiles/DecodeLimits.h"
#include "imaging/DibImage.h"
#include "util/DateTime.h"

namespace tessary {

class ImageStream;

struct TiffImageInfo {
    int width = 0;
    int height = 0;
    int bitsPerSample = 0;
    int samplesPerPixel = 0;
    int photometric = 0;
    int orientation = 1; // the Orientation tag, 1 when absent or outside 1..8
    bool hasAlpha = false;
    bool tiled = false;
    // Rows libtiff decodes at once (a strip or a row of tiles).
    int bandRows = 0;

};

// The first page at the stream's position into a 24-bit or plain 32-bit image (top row as
// stored first). `info` is filled once the first directory has been read; a header-only
// request stops there and leaves `out` alone. Pictures whose rows would pass maxPixelBytes,
// or with a side above 2^20, fail before allocation.
bool DecodeTiff(ImageStream& stream, bool headerOnly, int64_t maxPixelBytes, TiffImageInfo& info, DibImage& out);

// The first page's rows one at a time, flattened onto white (width * 3 blue-green-red bytes),
// while only one band of them is decoded at a time. `start` is called with the header once it
// has been read and may stop the read by returning false (then false is returned). False when
// a row cannot be decoded or `row` returns false.
bool ReadTiffRows(ImageStream& stream, int64_t maxPixelBytes, const std::function<bool(const TiffImageInfo&)>& start,
                  const std::function<bool(const uint8_t*)>& row);

struct TiffMetadata {
    int orientation = 1;
    bool hasExif = false;            // the first page points to an Exif directory
    std::optional<DateTime> taken;   // DateTimeOriginal of that directory
};

// The first page's orientation and Exif facts; nothing when the file cannot be opened.
std::optional<TiffMetadata> ReadTiffMetadata(ImageStream& stream);

} // namespace tessary
