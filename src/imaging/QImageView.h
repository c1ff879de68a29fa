#pragma once
// The bridge to Qt painting: an image as a QImage (a copy with rows in Qt's top-down order)
// and back.

#include <QImage>

#include "imaging/DibImage.h"

namespace tessary {

// A deep copy (keep it while the picture is shown rather than making one per paint) in the
// nearest QImage format: 1 bit Mono and 4/8 bits Indexed8 (table colours
// opaque), 5-5-5 RGB555, 5-6-5 RGB16, other 16-bit and bit-field 32-bit layouts RGB32,
// 24 bits BGR888, plain 32 bits ARGB32 with the stored alpha. Null for an empty image.
QImage ToQImage(const DibImage& image);

// A QImage as a 24-bit (bpp 24) or plain 32-bit (bpp 32, alpha kept, not premultiplied)
// image. False for a null QImage, another bpp, or when `target` cannot hold the depth.
bool FromQImage(const QImage& source, DibImage& target, int bpp = 24);

} // namespace tessary
