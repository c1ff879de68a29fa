#pragma once
// Turning a photo upright from its Exif orientation tag.

namespace tessary {

class DibImage;

// 2 mirror, 3 rotate 180, 4 flip, 5 transpose, 6 rotate clockwise, 7 transverse, 8 rotate
// counter-clockwise; 1 and values outside 1..8 leave the image as it is (true when valid).
// False, with the image unchanged, when the operation fails.
bool ApplyExifOrientation(DibImage& image, int orientation);

} // namespace tessary
