#include "WebpCodec.h"

#include "imagefiles/DecodedRows.h"
#include "imagefiles/WebpDecoder.h"

namespace tessary {

bool WebpCodec::Write(ImageStream&, const Picture&)
{
    return false;
}

bool WebpCodec::Read(Picture& picture, ImageStream& stream, bool headerOnly)
{
    picture.Clear();
    if (!Accepts(&picture))
        return false;
    WebpImageInfo info;
    DibImage image;
    const bool ok = DecodeWebp(stream, headerOnly, {}, MaxPixelBytes(), info, image);
    if (info.width > 0) {
        picture.record.bpp = info.hasAlpha ? 32 : 24;
        picture.record.width = info.width;
        picture.record.height = info.height;
        WebpOptions& options = static_cast<WebpPicture&>(picture).options;
        options.lossless = info.lossless;
        options.animated = info.animated;
    }
    if (!ok || headerOnly)
        return ok;
    return AdoptDecoded(picture, image);
}

} // namespace tessary
