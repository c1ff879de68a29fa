#include "Picture.h"

#include "imaging/FitInBox.h"

namespace tessary {

bool JpegPicture::CopyFormatFrom(const Picture& other)
{
    const auto* o = dynamic_cast<const JpegPicture*>(&other);
    if (!o)
        return false;
    CopyCommonFormat(other);
    options = o->options;
    return true;
}

bool PngPicture::CopyFormatFrom(const Picture& other)
{
    const auto* o = dynamic_cast<const PngPicture*>(&other);
    if (!o)
        return false;
    CopyCommonFormat(other);
    options = o->options;
    return true;
}

bool BmpPicture::CopyFormatFrom(const Picture& other)
{
    const auto* o = dynamic_cast<const BmpPicture*>(&other);
    if (!o)
        return false;
    CopyCommonFormat(other);
    options = o->options;
    return true;
}

std::unique_ptr<Picture> MakePicture(PhotoFormat format)
{
    switch (format) {
    case PhotoFormat::Bmp: return std::make_unique<BmpPicture>();
    case PhotoFormat::Jpeg: return std::make_unique<JpegPicture>();
    case PhotoFormat::Png: return std::make_unique<PngPicture>();
    default: return nullptr;
    }
}

bool GetImage(const Picture& picture, DibImage24& target, DibColor background)
{
    const MaskedImage& image = picture.image;
    if (!image.IsValid())
        return false;
    if (!image.HasMask())
        return target.CopyFrom(image.color);
    DibImage24 flat;
    if (!flat.Create(image.color.Width(), image.color.Height(), 24) || !flat.Clear(background)
        || !image.Draw(flat, DibPoint{0, 0}))
        return false;
    return target.Adopt(flat);
}

bool GetFittedImage(const Picture& picture, DibImage24& target, DibSize maximum)
{
    if (maximum.IsEmpty())
        return false;
    DibImage24 flat;
    if (!GetImage(picture, flat))
        return false;
    if (flat.Width() <= maximum.width && flat.Height() <= maximum.height)
        return target.Adopt(flat);
    const DibSize fitted = FitInBox(maximum, flat.Size());
    return !fitted.IsEmpty() && flat.ResizeInto(target, fitted, true);
}

bool ImageForSaving(const Picture& picture, DibImage& target)
{
    const int bpp = picture.record.bpp;
    if (bpp == 32)
        return picture.image.Join(target);
    DibImage24 flat;
    if (!GetImage(picture, flat))
        return false;
    switch (bpp) {
    case 0:
    case 24:
        return target.Adopt(flat);
    case 1:
    case 4:
    case 8:
    case 15:
    case 16:
        return flat.ToDepth(target, bpp);
    default:
        return false;
    }
}

} // namespace tessary
