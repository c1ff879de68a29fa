#pragma once
// Internal: WebP decoding through libwebp, for the WebP codec and the thumbnail loader. A
// still picture is decoded straight into the image's rows, optionally scaled by the library
// while it decodes (its own area-averaging rescaler), alpha kept straight. Of an animation
// only the first frame is read, placed on a transparent canvas (no scaling).
//
// The file's bytes are held in memory for the decode (files above the pixel limit are
// refused before they are read). The library never prints and uses no threads here.
// Re-entrant: every call has its own decoder state.

#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/DibImage.h"

namespace tessary {

class ImageStream;

struct WebpImageInfo {
    int width = 0; // the canvas of an animation
    int height = 0;
    bool hasAlpha = false;
    bool animated = false;
    bool lossless = false;
};

// Decodes the WebP file at the stream's position into a 24-bit image (no alpha) or a plain
// 32-bit one (blue, green, red, alpha), top row first. A non-empty `scaled` asks the library
// for that output size for a still picture; an animation's first frame comes at its natural
// size whatever is asked (check out's size). `info` is filled once the header has been read;
// a header-only request stops there and leaves `out` alone. Pictures whose rows would pass
// maxPixelBytes fail before allocation.
bool DecodeWebp(ImageStream& stream, bool headerOnly, DibSize scaled, int64_t maxPixelBytes, WebpImageInfo& info,
                DibImage& out);

// The data of the file's first chunk named `fourcc` (for example "EXIF"), found by walking
// the RIFF chunk list from the stream's position with seeks only; nothing when the file is
// not RIFF/WEBP, the chunk is absent, or it is larger than maxBytes or runs past the file.
std::optional<std::vector<uint8_t>> ReadWebpChunk(ImageStream& stream, const char* fourcc, uint32_t maxBytes);

} // namespace tessary
