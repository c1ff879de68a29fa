#pragma once
// Internal: the two resampling kernels behind every resize and stretch.
//
// Area averaging (the smooth mode): destination pixel j of a row covers source positions
// [j * srcW / dstW, (j + 1) * srcW / dstW); every source pixel contributes with the part of it
// that lies inside, in exact integer weights (units of 1 / dstW source pixels), first down the
// columns, then along the row. Shrinking averages whole blocks; enlarging blends only across
// source pixel edges. Results are rounded to nearest.
//
// Nearest neighbour: each destination pixel takes the source pixel under its centre.

#include <cstdint>

namespace tessary::detail {

// Rows are arrays of row pointers already offset to the first pixel of the block; pixels are
// `channels` interleaved bytes (1, 3 or 4). Sizes must be at least 1. Throws std::bad_alloc.
void AreaResample(const uint8_t* const* srcRows, int srcW, int srcH, uint8_t* const* dstRows, int dstW, int dstH,
                  int channels);

// Same contract for any depth: x offsets are in pixels (so 1- and 4-bit blocks can start
// anywhere), `bpp` is the common depth of both sides; pixels are copied as stored.
void NearestResample(const uint8_t* const* srcRows, int srcX, int srcW, int srcH, uint8_t* const* dstRows, int dstX,
                     int dstW, int dstH, int bpp);

} // namespace tessary::detail
