#include "DecodedRows.h"

#include "imagefiles/DecodeLimits.h"
#include "imagefiles/Picture.h"
#include "imaging/DibDepths.h"
#include "imaging/PixelFormat.h"

namespace tessary {

bool AcceptableSize(int64_t width, int64_t height, int bpp, int64_t limit)
{
    return width > 0 && height > 0 && width <= kMaxDecodedSide && height <= kMaxDecodedSide
        && FitsPixelLimit(width, height, bpp, limit);
}

void RgbToBgrRow(const uint8_t* rgb, uint8_t* bgr, int width)
{
    for (int x = 0; x < width; ++x, rgb += 3, bgr += 3) {
        const uint8_t r = rgb[0];
        bgr[1] = rgb[1];
        bgr[0] = rgb[2];
        bgr[2] = r;
    }
}

void RgbaToBgraRow(const uint8_t* rgba, uint8_t* bgra, int width)
{
    for (int x = 0; x < width; ++x, rgba += 4, bgra += 4) {
        const uint8_t r = rgba[0];
        bgra[1] = rgba[1];
        bgra[0] = rgba[2];
        bgra[2] = r;
        bgra[3] = rgba[3];
    }
}

void UnpremultiplyBgraRow(uint8_t* bgra, int width)
{
    for (int x = 0; x < width; ++x, bgra += 4) {
        const unsigned a = bgra[3];
        if (a == 255)
            continue;
        for (int c = 0; c < 3; ++c) {
            const unsigned v = a == 0 ? 255u : (bgra[c] * 255u + a / 2) / a;
            bgra[c] = uint8_t(v > 255 ? 255 : v);
        }
    }
}

void FlattenBgraRow(const uint8_t* bgra, uint8_t* bgr, int width)
{
    for (int x = 0; x < width; ++x, bgra += 4, bgr += 3) {
        bgr[0] = bgr[1] = bgr[2] = 255;
        pixel::BlendBgr(bgr, bgra, bgra[3]);
    }
}

bool AdoptDecoded(Picture& picture, DibImage& image)
{
    bool ok = false;
    if (image.Bpp() == 24)
        ok = picture.image.color.Adopt(image);
    else if (image.Bpp() == 32)
        ok = picture.image.Split(image);
    image.Reset();
    if (!ok)
        picture.Clear();
    return ok;
}

bool FlattenedCopy(const DibImage& image, DibImage24& out)
{
    if (image.Bpp() == 24)
        return out.CopyFrom(image);
    if (image.Bpp() != 32)
        return false;
    DibImage24 flat;
    if (!flat.Create(image.Width(), image.Height(), 24))
        return false;
    for (int y = 0; y < image.Height(); ++y)
        FlattenBgraRow(image.Row(y), flat.Row(y), image.Width());
    return out.Adopt(flat);
}

} // namespace tessary
