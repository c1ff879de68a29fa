#include "GifCodec.h"

#include "imagefiles/DecodedRows.h"
#include "imagefiles/GifDecoder.h"

namespace tessary {

bool GifCodec::Write(ImageStream&, const Picture&)
{
    return false;
}

bool GifCodec::Read(Picture& picture, ImageStream& stream, bool headerOnly)
{
    picture.Clear();
    if (!Accepts(&picture))
        return false;
    GifImageInfo info;
    DibImage image;
    const bool ok = DecodeGif(stream, headerOnly, MaxPixelBytes(), info, image);
    if (info.width > 0) {
        picture.record.bpp = 8;
        picture.record.width = info.width;
        picture.record.height = info.height;
        GifOptions& options = static_cast<GifPicture&>(picture).options;
        options.colors = info.colors;
        options.interlaced = info.interlaced;
    }
    if (!ok || headerOnly)
        return ok;
    return AdoptDecoded(picture, image);
}

} // namespace tessary
