#include "PngCodec.h"

#include "imagefiles/PngDecoder.h"

namespace tessary {

bool PngCodec::Write(ImageStream&, const Picture&)
{
    return false;
}

bool PngCodec::Read(Picture& picture, ImageStream& stream, bool headerOnly)
{
    picture.Clear();
    if (!Accepts(&picture))
        return false;
    PngImageInfo info;
    DibImage image;
    const bool ok = DecodePng(stream, headerOnly, MaxPixelBytes(), info, image);
    if (info.width > 0) {
        picture.record.bpp = info.channels * info.bitDepth;
        picture.record.width = info.width;
        picture.record.height = info.height;
        PngOptions& options = static_cast<PngPicture&>(picture).options;
        options.bitDepth = info.bitDepth;
        options.channels = info.channels;
        options.colorType = info.colorType;
        options.interlace = info.interlace;
    }
    if (!ok || headerOnly)
        return ok;
    const bool split = image.Bpp() == 32 ? picture.image.Split(image) : picture.image.color.Adopt(image);
    if (!split)
        picture.Clear();
    return split;
}

} // namespace tessary
