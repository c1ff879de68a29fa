#include "JpegCodec.h"

#include "imagefiles/JpegDecoder.h"

namespace tessary {

bool JpegCodec::Write(ImageStream&, const Picture&)
{
    return false;
}

bool JpegCodec::Read(Picture& picture, ImageStream& stream, bool headerOnly)
{
    picture.Clear();
    if (!Accepts(&picture))
        return false;
    JpegDecodeRequest request;
    request.headerOnly = headerOnly;
    request.maxPixelBytes = MaxPixelBytes();
    JpegImageInfo info;
    DibImage24 image;
    const bool ok = DecodeJpeg(stream, request, info, image);
    if (info.width > 0) {
        picture.record.bpp = info.components * 8;
        picture.record.width = info.width;
        picture.record.height = info.height;
        static_cast<JpegPicture&>(picture).options.components = info.components;
    }
    if (!ok || headerOnly)
        return ok;
    return picture.image.color.Adopt(image);
}

} // namespace tessary
