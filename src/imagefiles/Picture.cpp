#include "Picture.h"

#include "imaging/FitInBox.h"

namespace tessary {

namespace {
// The options of `other` when it is a picture of the same class and format.
template <class P>
const P* SameKind(const Picture& self, const Picture& other)
{
    const auto* o = dynamic_cast<const P*>(&other);
    return o && o->Format() == self.Format() ? o : nullptr;
}
} // namespace

#define TESSARY_COPY_FORMAT(Class)                                                                \
    bool Class::CopyFormatFrom(const Picture& other)                                              \
    {                                                                                             \
        const Class* o = SameKind<Class>(*this, other);                                           \
        if (!o)                                                                                   \
            return false;                                                                         \
        CopyCommonFormat(other);                                                                  \
        options = o->options;                                                                     \
        return true;                                                                              \
    }

TESSARY_COPY_FORMAT(JpegPicture)
TESSARY_COPY_FORMAT(PngPicture)
TESSARY_COPY_FORMAT(BmpPicture)
TESSARY_COPY_FORMAT(GifPicture)
TESSARY_COPY_FORMAT(TiffPicture)
TESSARY_COPY_FORMAT(WebpPicture)
TESSARY_COPY_FORMAT(HeifPicture)
#undef TESSARY_COPY_FORMAT

std::unique_ptr<Picture> MakePicture(PhotoFormat format)
{
    switch (format) {
    case PhotoFormat::Bmp: return std::make_unique<BmpPicture>();
    case PhotoFormat::Jpeg: return std::make_unique<JpegPicture>();
    case PhotoFormat::Png: return std::make_unique<PngPicture>();
    case PhotoFormat::Gif: return std::make_unique<GifPicture>();
    case PhotoFormat::Tiff: return std::make_unique<TiffPicture>();
    case PhotoFormat::Webp: return std::make_unique<WebpPicture>();
    case PhotoFormat::Heif: return std::make_unique<HeifPicture>(PhotoFormat::Heif);
    case PhotoFormat::Avif: return std::make_unique<HeifPicture>(PhotoFormat::Avif);
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
