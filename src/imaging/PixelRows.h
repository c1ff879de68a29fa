#pragma once
// Internal: whole rows of any depth as colours, for conversions and effects that are not
// worth a path per depth.

#include <cstdint>

#include "imaging/DibHeader.h"
#include "imaging/DibTypes.h"

namespace tessary::pixel {

// The colours of row y, as GetColor gives them, into out[0 .. width).
void UnpackRow(const DibHeader& h, int y, DibColor* out);

// Grey of a colour: (green * 59 + red * 30 + blue * 11 + 50) / 100.
inline uint8_t Grey(uint8_t blue, uint8_t green, uint8_t red)
{
    return uint8_t((green * 59 + red * 30 + blue * 11 + 50) / 100);
}
inline uint8_t Grey(DibColor c) { return Grey(c.blue, c.green, c.red); }

} // namespace tessary::pixel
