#pragma once
// The interface artwork as images. UI thread (the results are cached per id for the run).

#include <QImage>

class QPainter;

namespace tessary {

class DibImage;

// The "PNG" resource of `id`, else the "BITMAP" one, as a QImage (ARGB32 premultiplied for
// PNGs with alpha); a null image when neither exists.
const QImage& ResourceImage(int id);

// What to draw of `id` on the painter's device: the high-density variant ("PNG2X": twice
// the size, device pixel ratio 2) on a device whose ratio is above 1, when there is one;
// else ResourceImage(id). Lay out with ResourceImage(id)'s size and draw this into the same
// logical place.
const QImage& ResourceImageFor(int id, const QPainter& painter);
const QImage& ResourceImageFor(int id, qreal devicePixelRatio);

// The "BITMAP" resource of `id` as a 24-bit pixel buffer; false when it does not exist.
bool ResourceBitmap24(int id, DibImage& target);

} // namespace tessary
