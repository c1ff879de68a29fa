#pragma once
// The image view's off-screen picture: the photo at the size it takes in the client area,
// over a checkerboard (so that transparent parts show as such) or a plain background colour.
// No widgets; the caller owns the result.

#include "imaging/DibDepths.h"
#include "views/viewer/ScreenPhoto.h"

namespace tessary {

struct ViewOptions {
    // Photos smaller than the client are fitted to it too, instead of shown at their size.
    bool enlargeSmallImages = false;
    // Transparent parts show an 8-pixel checkerboard instead of the background colour.
    bool showTransparency = false;
    DibColor background = DibColor::Rgb(0x20, 0x20, 0x20);
};

inline constexpr int kCheckerSquare = 8;
inline constexpr DibColor kCheckerLight = DibColor::Rgb(255, 255, 255);
inline constexpr DibColor kCheckerDark = DibColor::Rgb(204, 204, 204);

// The photo's size in `client` (ViewSize of its whole, upright size).
DibSize FrameSize(const ScreenPhoto& photo, DibSize client, const ViewOptions& options);

// `out` becomes a 24-bit image of FrameSize: the checkerboard (light square at the top left)
// or the background, and the photo blended on it by its mask, scaled smoothly when its image
// has another size (a shrink made for a smaller client, or an enlargement). False, with `out`
// unchanged, for an empty photo or client or when memory runs out.
bool ComposeFrame(const ScreenPhoto& photo, DibSize client, const ViewOptions& options, DibImage24& out);

} // namespace tessary
