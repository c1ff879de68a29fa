#pragma once
// A photo made ready for the viewer: turned upright by its Exif orientation and shrunk to the
// size it takes on the screen, so that a 12-megapixel photo costs a screen's worth of memory
// instead of 36 MB. No widgets; re-entrant (the viewer's workers decode different photos at
// once, each into its own objects).

#include <QString>

#include "imaging/DibTypes.h"
#include "imaging/MaskedImage.h"

namespace tessary {

struct ScreenPhoto {
    // Upright; at most the size ViewSize gives for the box, never enlarged. The mask is kept
    // for pictures with alpha (PNG, 32-bit BMP).
    MaskedImage image;
    // The whole photo's size, upright.
    DibSize photoSize;
    // The box the image was made for.
    DibSize box;
    // The Exif orientation applied (1 when there was none).
    int orientation = 1;

    // The image is smaller than the photo: a larger box needs a new decode.
    bool Reduced() const { return image.Size() != photoSize; }
    // The image holds enough pixels to be shown in `client` without enlarging it.
    bool Covers(DibSize client) const;
};

// The size a photo takes in a client area: fitted into it keeping its aspect (FitInBox), or
// its own size when it is smaller than that in either direction, unless `enlarge` is set.
// Never 0 on a side for a photo with area (extreme aspects keep one pixel); empty for an
// empty photo or client.
DibSize ViewSize(DibSize photo, DibSize client, bool enlarge);

// Decodes the photo at `path` (format by extension), turns a JPEG upright by the orientation
// in its header markers, and shrinks it to ViewSize(photo, box, false). A JPEG larger than
// twice the box is decoded by the JPEG library at a reduced scale that still leaves the final
// smooth shrink its factor of two. False, with `out` left empty, for an empty box, a file
// that cannot be read or decoded, an unsupported format, or a picture beyond the readers'
// memory limits.
bool LoadScreenPhoto(const QString& path, DibSize box, ScreenPhoto& out);

} // namespace tessary
