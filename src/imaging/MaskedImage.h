#pragma once
// A picture with transparency: a 24-bit colour plane and an 8-bit mask of the same size
// (0 transparent .. 255 opaque). An empty mask means fully opaque. Used for UI artwork and
// for the alpha of decoded PNG and 32-bit BMP files.
//
// Operations return false and leave both planes unchanged on failure.

#include <QImage>

#include "imaging/DibDepths.h"
#include "imaging/DibMask.h"

namespace tessary {

class MaskedImage {
public:
    DibImage24 color;
    DibMask mask;

    // The colour plane is valid and the mask is empty or of the same size.
    bool IsValid() const;
    bool HasMask() const { return !mask.IsEmpty(); }
    DibSize Size() const { return color.Size(); }
    bool CopyFrom(const MaskedImage& other);
    void Reset();

    // From a 32-bit image (bit fields unpacked first): blue, green, red to the colour plane,
    // the fourth byte to the mask. The mask is kept even when every alpha byte is 0; callers
    // that treat such files as opaque check mask.IsAllTransparent() and drop it.
    bool Split(const DibImage& image32);
    // Into a plain 32-bit image: alpha from the mask, 255 without one.
    bool Join(DibImage& target32) const;

    // Blends the picture onto target with its top-left corner at `position`: every pixel
    // moves toward the colour with weight mask (255 copies, 0 leaves, otherwise
    // d += (m * (s - d)) >> 8); without a mask the colour is copied. Only target pixels
    // inside `clip` (and the target) change.
    bool Draw(DibImage24& target, DibPoint position, const DibRect& clip) const;
    bool Draw(DibImage24& target, DibPoint position) const { return Draw(target, position, target.Rect()); }
    // Draws block `source` of the picture over block `destination` of target. Different
    // sizes go through a scaled copy: the colour plane smoothly when shrinking in either
    // direction (else as its own SmoothStretch flag says), the mask area-averaged when
    // shrinking and stretched like an image when enlarging.
    bool DrawScaled(DibImage24& target, const DibRect& destination, const DibRect& source) const;
    // Blends `colour` onto target (at `position`) with weight 255 - mask: the transparent
    // parts take the colour. Without a mask nothing changes.
    bool FillThroughMask(DibImage24& target, DibColor colour, DibPoint position = {}) const;

    // Applied to both planes; failure of either is failure and leaves both as they were.
    bool Rotate180();
    bool RotateClockwise();
    bool RotateCounterClockwise();
    bool MirrorHorizontal();
    bool FlipVertical();

    // A copy for painting with Qt: ARGB32 with the mask as alpha (not premultiplied).
    QImage ToQImage() const;

private:
    bool DrawBlock(DibImage24& target, DibPoint position, const DibRect& source, const DibRect& clip) const;
    template <class Op> bool BothPlanes(Op op);
};

} // namespace tessary
