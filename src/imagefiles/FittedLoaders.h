#pragma once
// Internal: the thumbnail loader's paths for the formats read through their own libraries,
// and the last steps every path shares. Re-entrant.

#include <QString>

#include "imaging/DibDepths.h"

namespace tessary {

// An image of the photo's full size `full` (or a reduced decode of it) into target: shrunk
// smoothly to the fitted size when the photo is larger than the box in either direction,
// else as is.
bool FitDecodedInto(DibImage24& image, DibSize full, DibSize maximum, DibImage& target);

// A photo decoded in stored orientation (`stored` its full stored size) fitted so that,
// turned upright by `orientation`, it fits `maximum`; then turned.
bool FitAndTurn(DibImage24& image, DibSize stored, int orientation, DibSize maximum, DibImage& target);

// A TIFF file's first page shrunk while its bands are read, then turned upright by its
// Orientation tag; pictures inside the box are decoded whole.
bool LoadTiffFitted(DibImage& target, const QString& path, DibSize maximum);
// A WebP file decoded by the library at twice the fitted size when it is at least four times
// larger, then shrunk smoothly and turned upright by its Exif orientation.
bool LoadWebpFitted(DibImage& target, const QString& path, DibSize maximum);
// A HEIF or AVIF file's embedded thumbnail when it has one, else its primary image.
bool LoadHeifFitted(DibImage& target, const QString& path, DibSize maximum);

} // namespace tessary
