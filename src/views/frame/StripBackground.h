#pragma once
// The top strip's background picture stretched to a size, as the strip and its tabs paint
// it. UI thread only.

#include <QImage>
#include <QSize>

namespace tessary {

class DibImage;

// The background (a flat colour while the artwork is missing) smoothly stretched into a
// new 24-bit buffer of `size`; false for an empty size.
bool StretchStripBackground(DibImage& out, QSize size);
// The same as a QImage; null for an empty size.
QImage StripBackgroundImage(QSize size);

} // namespace tessary
