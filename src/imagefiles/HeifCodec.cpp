#include "HeifCodec.h"

#include "imagefiles/DecodedRows.h"
#include "imagefiles/HeifDecoder.h"

namespace tessary {

bool HeifCodec::Write(ImageStream&, const Picture&)
{
    return false;
}

bool HeifCodec::Read(Picture& picture, ImageStream& stream, bool headerOnly)
{
    picture.Clear();
    if (!Accepts(&picture))
        return false;
    HeifDecodeRequest request;
    request.format = m_format;
    request.headerOnly = headerOnly;
    request.maxPixelBytes = MaxPixelBytes();
    HeifImageInfo info;
    DibImage image;
    const bool ok = DecodeHeif(stream, request, info, image);
    if (info.width > 0) {
        const int channels = info.hasAlpha ? 4 : 3;
        picture.record.bpp = info.bitDepth * channels;
        picture.record.width = info.width;
        picture.record.height = info.height;
        HeifOptions& options = static_cast<HeifPicture&>(picture).options;
        options.bitDepth = info.bitDepth;
        options.hasThumbnail = info.hasThumbnail;
    }
    if (!ok || headerOnly)
        return ok;
    return AdoptDecoded(picture, image);
}

} // namespace tessary
