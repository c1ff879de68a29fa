#pragma once
// The application icon: a blue photo album with a photo on its cover and a print sticking out
// behind it, at the sizes of the desktop icon theme. Small sizes are drawn on the pixel grid
// with fewer parts (no loose print, no gloss or shadows), not scaled down from a large drawing.

#include <QImage>

#include <vector>

namespace artgen {

// 16 22 24 32 48 64 128 256; res/CMakeLists.txt lists the same sizes.
const std::vector<int>& AppIconSizes();

// A square transparent image of `size` pixels; any size draws, the listed ones are tuned.
QImage AppIcon(int size);

} // namespace artgen
