#pragma once
// The rule that fits a picture into a box, used for every thumbnail and preview.

#include "imaging/DibTypes.h"

namespace tessary {

// The picture's size scaled to touch the box on one side, keeping its aspect: the scales
// box / picture are 32-bit floats; the other side is truncated toward zero (1000 x 333 in
// 100 x 100 gives 100 x 33), equal scales give the box itself. It may enlarge (callers that
// must not enlarge check first) and may give 0 on one side for extreme aspect ratios. A
// picture without area gives 0 x 0.
DibSize FitInBox(DibSize box, DibSize picture);

} // namespace tessary
