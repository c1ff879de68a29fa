#include "FitInBox.h"

#include <cmath>

namespace tessary {

namespace {
int32_t Truncate(float v)
{
    if (!(v > 0.0f))
        return 0;
    return v >= 2147483520.0f ? INT32_MAX : int32_t(v);
}
} // namespace

DibSize FitInBox(DibSize box, DibSize picture)
{
    if (picture.width <= 0 || picture.height <= 0)
        return {0, 0};
    const float rw = float(box.width) / float(picture.width);
    const float rh = float(box.height) / float(picture.height);
    if (rw < rh)
        return {box.width, Truncate(float(picture.height) * rw)};
    if (rw > rh)
        return {Truncate(float(picture.width) * rh), box.height};
    return box;
}

} // namespace tessary
