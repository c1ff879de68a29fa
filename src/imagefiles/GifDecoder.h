#pragma once
// Internal: GIF decoding through giflib, for the GIF codec. Only the first frame is read:
// it is placed on the logical screen as a browser shows it before the animation runs, the
// screen around it transparent, its transparent colour (from the graphic control extension
// before it) transparent too. Later frames and extensions are never read.
//
// The library never prints; its errors end the call with false. Re-entrant: every call has
// its own library handle.

#include <cstdint>

#include "imaging/DibImage.h"

namespace tessary {

class ImageStream;

struct GifImageInfo {
    int width = 0;  // the logical screen (or the first frame's extent when the screen is empty)
    int height = 0;
    int colors = 0; // entries of the colour table the first frame uses
    bool interlaced = false;
    // The first frame leaves part of the screen uncovered or has a transparent colour.
    bool hasAlpha = false;
};

// Decodes the first frame at the stream's position into a 24-bit image, or a plain 32-bit one
// (blue, green, red, alpha) when it has transparency, top row first. `info` holds the screen
// size once the header has been read; a header-only request stops there and leaves `out`
// alone. Pictures whose rows would pass maxPixelBytes fail before allocation; a frame without
// a colour table or whose data ends early fails.
bool DecodeGif(ImageStream& stream, bool headerOnly, int64_t maxPixelBytes, GifImageInfo& info, DibImage& out);

} // namespace tessary
