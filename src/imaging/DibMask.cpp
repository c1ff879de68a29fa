#include "DibMask.h"

#include <algorithm>

#include "imaging/Blit.h"
#include "imaging/Guard.h"
#include "imaging/Resampler.h"

namespace tessary {

namespace {
bool AllBytes(const DibImage8& m, uint8_t value)
{
    if (!m.IsValid())
        return false;
    for (int y = 0; y < m.Height(); ++y) {
        const uint8_t* row = m.Row(y);
        if (!std::all_of(row, row + m.Width(), [value](uint8_t b) { return b == value; }))
            return false;
    }
    return true;
}
} // namespace

std::unique_ptr<DibImage> DibMask::Clone() const
{
    auto copy = std::make_unique<DibMask>();
    if (!IsEmpty() && !copy->CopyFrom(*this))
        return nullptr;
    return copy;
}

bool DibMask::IsAllTransparent() const { return AllBytes(*this, 0); }
bool DibMask::IsAllOpaque() const { return AllBytes(*this, 255); }

bool DibMask::Crop(const DibRect& rect, bool keepContent)
{
    if (!IsValid())
        return false;
    if (!keepContent)
        return true;
    return DibImage8::Crop(rect, true);
}

std::unique_ptr<DibImage> NamedDibMask::Clone() const
{
    auto copy = std::make_unique<NamedDibMask>();
    if (!IsEmpty() && !copy->CopyFrom(*this))
        return nullptr;
    copy->name = name;
    return copy;
}

bool ResizeMask(const DibImage& mask, DibSize size, DibMask& out)
{
    if (!mask.IsValid() || mask.Bpp() != 8 || size.IsEmpty())
        return false;
    return detail::Guarded([&] {
        DibMask result;
        if (size == mask.Size()) {
            if (!result.CopyFrom(mask))
                return false;
            return out.Adopt(result);
        }
        if (!result.Create(size.width, size.height, 8))
            return false;
        // Widening to grey 24 bits, resizing and taking one channel back gives exactly the
        // single-channel average.
        detail::AreaResample(mask.Rows(), mask.Width(), mask.Height(), result.Rows(), size.width, size.height, 1);
        return out.Adopt(result);
    });
}

} // namespace tessary
