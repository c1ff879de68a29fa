#include "Effects.h"

#include <algorithm>

#include "imaging/DibDepths.h"
#include "imaging/DibMask.h"
#include "imaging/Guard.h"
#include "imaging/PixelFormat.h"

namespace tessary {

namespace {
bool MaskAllOpaque(const DibImage& m)
{
    for (int y = 0; y < m.Height(); ++y) {
        const uint8_t* row = m.Row(y);
        if (!std::all_of(row, row + m.Width(), [](uint8_t v) { return v == 255; }))
            return false;
    }
    return true;
}
} // namespace

bool Effect::Apply(DibImage& image, const PositionedMask* mask)
{
    if (!image.IsValid())
        return false;
    region_ = image.Rect();
    mask_ = nullptr;
    maskPosition_ = {};
    if (mask && mask->mask) {
        if (!mask->mask->IsValid() || mask->mask->Bpp() != 8)
            return false;
        mask_ = mask->mask;
        maskPosition_ = mask->position;
        region_ = mask_->Rect().Translated(maskPosition_.x, maskPosition_.y).Intersected(image.Rect());
        if (region_.IsEmpty())
            return false;
    }
    bool ok = false;
    switch (image.Bpp()) {
    case 24:
        ok = Apply24(image);
        break;
    case 8:
        ok = Apply8(image);
        break;
    default:
        return false;
    }
    if (ok)
        Finished(image);
    return ok;
}

bool Effect::Apply24(DibImage& image)
{
    const bool useMask = mask_ && !MaskAllOpaque(*mask_);
    const int weight = opacity_;
    for (int y = region_.top; y < region_.bottom; ++y) {
        uint8_t* p = image.Row(y) + 3 * int64_t(region_.left);
        const uint8_t* m = useMask ? mask_->Row(y - maskPosition_.y) + (region_.left - maskPosition_.x) : nullptr;
        for (int x = region_.left; x < region_.right; ++x, p += 3) {
            const int a = m ? *m++ : weight;
            if (a == 0)
                continue;
            DibColor c{p[0], p[1], p[2], 255};
            PixelOp(c);
            const uint8_t s[3] = {c.blue, c.green, c.red};
            pixel::BlendBgr(p, s, a);
        }
    }
    return true;
}

bool Effect::Apply8(DibImage& image)
{
    for (int y = region_.top; y < region_.bottom; ++y) {
        uint8_t* p = image.Row(y);
        for (int x = region_.left; x < region_.right; ++x)
            ByteOp(p[x]);
    }
    return true;
}

void DesaturateEffect::PixelOp(DibColor& c) const
{
    const int hi = std::max({c.red, c.green, c.blue});
    const int lo = std::min({c.red, c.green, c.blue});
    const uint8_t l = uint8_t((hi + lo) >> 1);
    c.red = c.green = c.blue = l;
}

bool FillBlend(DibImage& image, DibColor colour, uint8_t opacity)
{
    if (!image.IsValid() || image.Bpp() != 24)
        return false;
    const uint8_t s[3] = {colour.blue, colour.green, colour.red};
    for (int y = 0; y < image.Height(); ++y) {
        uint8_t* p = image.Row(y);
        for (int x = 0; x < image.Width(); ++x, p += 3)
            pixel::BlendBgr(p, s, opacity);
    }
    return true;
}

bool Checkerboard(DibImage& image, int square, DibColor a, DibColor b)
{
    if (!image.IsValid() || square < 0)
        return false;
    if (square == 0)
        return image.Clear(a);
    return detail::Guarded([&] {
        // One period of the pattern, cut to the image where that is smaller.
        const int64_t period = 2 * int64_t(square);
        DibImage24 tile;
        if (!tile.Create(int(std::min<int64_t>(period, image.Width())), int(std::min<int64_t>(period, image.Height())), 24))
            return false;
        for (int y = 0; y < tile.Height(); ++y)
            for (int x = 0; x < tile.Width(); ++x)
                tile.SetColor(x, y, ((x < square) == (y < square)) ? a : b);
        return image.Tile(tile);
    });
}

bool DisabledLook(const MaskedImage& picture, MaskedImage& result)
{
    if (!picture.IsValid())
        return false;
    MaskedImage out;
    if (!out.CopyFrom(picture))
        return false;
    DesaturateEffect desaturate;
    if (!desaturate.Apply(out.color) || !FillBlend(out.color, kDibWhite, 128))
        return false;
    return result.CopyFrom(out);
}

} // namespace tessary
