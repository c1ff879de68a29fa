#pragma once
// The interface artwork as images. UI thread (the results are cached per id for the run).

#include <QImage>

namespace tessary {

class DibImage;

// The "PNG" resource of `id`, else the "BITMAP" one, as a QImage (ARGB32 premultiplied for
// PNGs with alpha); a null image when neither exists.
const QImage& ResourceImage(int id);

// The "BITMAP" resource of `id` as a 24-bit pixel buffer; false when it does not exist.
bool ResourceBitmap24(int id, DibImage& target);

} // namespace tessary
