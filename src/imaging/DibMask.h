#pragma once
// 8-bit masks: an alpha or coverage plane (0 transparent, 255 opaque) kept as an 8-bit image
// with the grey ramp table, and a mask that carries a name.

#include <QString>

#include "imaging/DibDepths.h"

namespace tessary {

class DibMask : public DibImage8 {
public:
    DibMask() = default;
    DibMask(DibMask&& o) noexcept : DibImage8(std::move(o)) {}
    DibMask& operator=(DibMask&& o) noexcept
    {
        DibImage8::operator=(std::move(o));
        return *this;
    }
    std::unique_ptr<DibImage> Clone() const override;

    // Every pixel 0 / every pixel 255; false for an empty mask.
    bool IsAllTransparent() const;
    bool IsAllOpaque() const;

    // With keepContent: a mask of the normalised rect's size, transparent where the old mask
    // does not reach, the old content drawn at (-left, -top). Without: nothing changes.
    bool Crop(const DibRect& rect, bool keepContent) override;
};

class NamedDibMask : public DibMask {
public:
    NamedDibMask() = default;
    std::unique_ptr<DibImage> Clone() const override;

    QString name;
};

// The mask at another size: area-averaged (the same weights as a smooth image resize);
// same size gives a copy. False for sizes below 1 or an invalid mask; `out` is then unchanged.
bool ResizeMask(const DibImage& mask, DibSize size, DibMask& out);

} // namespace tessary
