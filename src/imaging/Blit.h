#pragma once
// Internal: copying pixel blocks between images of one format, with clipping on both sides.

#include "imaging/DibImage.h"

namespace tessary::detail {

// Copies the w x h block at (sx, sy) of src to (dx, dy) of dst, both of the same depth,
// clipped to both images. Overlapping blocks within one image are handled (as a scroll).
void CopyBlock(const DibImage& src, int sx, int sy, DibImage& dst, int dx, int dy, int w, int h);

// A zero-filled image of `width` x `height` with the layout, table and flags of `like`.
bool CreateLike(const DibImage& like, DibImage& out, int64_t width, int64_t height);

} // namespace tessary::detail

namespace tessary::detail {

// Stretches block `from` of src over block `to` of dst (same depth and layout; both blocks
// inside their images, non-empty), area-averaged when `smooth` and the layout allows.
// Throws std::bad_alloc.
void StretchBlock(const DibImage& src, const DibRect& from, DibImage& dst, const DibRect& to, bool smooth);

} // namespace tessary::detail
