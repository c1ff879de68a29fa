#pragma once
// Internal: what the readers of the library-backed formats share once pixels come out of a
// library: rows in the picture's byte order, the planes of a picture, the flattening onto
// white of rows with alpha, and the shrink of a stream of rows to a thumbnail.

#include <cstdint>

#include "imaging/DibDepths.h"

namespace tessary {

class Picture;

// Sides of a picture any of these readers accepts, whatever the pixel limit.
inline constexpr int64_t kMaxDecodedSide = int64_t(1) << 20;

// Width and height within the side limit and the pixel rows of a `bpp` image within `limit`.
bool AcceptableSize(int64_t width, int64_t height, int bpp, int64_t limit);

// Red-green-blue(-alpha) samples to blue-green-red(-alpha) bytes.
void RgbToBgrRow(const uint8_t* rgb, uint8_t* bgr, int width);
void RgbaToBgraRow(const uint8_t* rgba, uint8_t* bgra, int width);
// Premultiplied blue-green-red-alpha back to straight colour, in place (alpha 0: white).
void UnpremultiplyBgraRow(uint8_t* bgra, int width);
// Straight blue-green-red-alpha blended onto white, as GetImage flattens a picture's mask.
void FlattenBgraRow(const uint8_t* bgra, uint8_t* bgr, int width);

// A decoded 24-bit (no alpha) or plain 32-bit (blue, green, red, alpha) image into the
// picture's planes; `image` is consumed. False (picture emptied) for other depths.
bool AdoptDecoded(Picture& picture, DibImage& image);

// A 24-bit or plain 32-bit image as a 24-bit image, alpha flattened onto white.
bool FlattenedCopy(const DibImage& image, DibImage24& out);

} // namespace tessary
