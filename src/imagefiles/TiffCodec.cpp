#include "TiffCodec.h"

#include "imagefiles/DecodedRows.h"
#include "imagefiles/TiffDecoder.h"

namespace tessary {

bool TiffCodec::Write(ImageStream&, const Picture&)
{
    return false;
}

bool TiffCodec::Read(Picture& picture, ImageStream& stream, bool headerOnly)
{
    picture.Clear();
    if (!Accepts(&picture))
        return false;
    TiffImageInfo info;
    DibImage image;
    const bool ok = DecodeTiff(stream, headerOnly, MaxPixelBytes(), info, image);
    if (info.width > 0) {
        picture.record.bpp = info.bitsPerSample * info.samplesPerPixel;
        picture.record.width = info.width;
        picture.record.height = info.height;
        TiffOptions& options = static_cast<TiffPicture&>(picture).options;
        options.bitsPerSample = info.bitsPerSample;
        options.samplesPerPixel = info.samplesPerPixel;
        options.photometric = info.photometric;
        options.orientation = info.orientation;
    }
    if (!ok || headerOnly)
        return ok;
    return AdoptDecoded(picture, image);
}

} // namespace tessary
