#pragma once
// Internal: HEIF and AVIF decoding through libheif (HEVC through libde265, AV1 through dav1d
// or libaom, whichever libheif prefers), for the two codecs, the thumbnail loader and the
// metadata reader. The primary image is decoded with the container's transformations applied
// (rotation, mirroring, cropping), so it comes out upright; its Exif orientation is never
// applied again. The embedded thumbnail of the primary image can be decoded instead.
//
// The file is read through the stream as libheif asks for its boxes: only the parts it needs
// are read. Sizes are checked before the decode; the library's own tiles are decoded on the
// calling thread. libheif reports errors as values and prints nothing. Re-entrant: every call
// has its own context.

#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/DibImage.h"
#include "util/PhotoFormat.h"

namespace tessary {

class ImageStream;

// Which of the two formats a file's "ftyp" box declares: AVIF when its brands name AV1
// ("avif", "avis"), HEIF for the other image brands libheif reads; Unrecognised otherwise.
PhotoFormat HeifFamilyFormat(const uint8_t* data, size_t size);

struct HeifImageInfo {
    int width = 0; // of the primary image, upright
    int height = 0;
    int bitDepth = 0; // luma bits per sample
    bool hasAlpha = false;
    bool hasThumbnail = false;
    int thumbnailWidth = 0;
    int thumbnailHeight = 0;
};

struct HeifDecodeRequest {
    // Heif or Avif: a file whose brands declare the other format (or neither) is refused.
    PhotoFormat format = PhotoFormat::Heif;
    bool headerOnly = false;
    // The primary image's first embedded thumbnail instead of the image; fails without one.
    bool thumbnail = false;
    int64_t maxPixelBytes = 0;
};

// Decodes the primary image (or its thumbnail) at the stream's position into a 24-bit image
// or a plain 32-bit one (blue, green, red, straight alpha), top row first, 8 bits per channel
// whatever the file's depth. `info` is filled once the container has been read; a header-only
// request stops there and leaves `out` alone. Pictures whose decoded rows would pass
// maxPixelBytes, or with a side above 2^20, fail before decoding.
bool DecodeHeif(ImageStream& stream, const HeifDecodeRequest& request, HeifImageInfo& info, DibImage& out);

// The primary image's Exif block from its TIFF header on (the item's offset field and an
// "Exif\0\0" prefix skipped); nothing when the file is not of `format` or has none.
std::optional<std::vector<uint8_t>> ReadHeifExif(ImageStream& stream, PhotoFormat format);

} // namespace tessary
