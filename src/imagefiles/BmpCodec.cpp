#include "BmpCodec.h"

#include <cstdlib>

#include "imagefiles/AppResources.h"
#include "imagefiles/BmpReader.h"
#include "imagefiles/BmpWriter.h"
#include "imagefiles/ImageStreams.h"

namespace tessary {

bool BmpCodec::Write(ImageStream& stream, const Picture& picture)
{
    DibImage image;
    return Accepts(&picture) && ImageForSaving(picture, image) && WriteBmp(stream, image);
}

bool BmpCodec::Read(Picture& picture, ImageStream& stream, bool headerOnly)
{
    picture.Clear();
    if (!Accepts(&picture))
        return false;
    BitmapInfoBlock block;
    DibImage image;
    const bool ok = ReadBmp(stream, headerOnly, MaxPixelBytes(), block, image);
    return Finish(picture, block, ok, headerOnly, image);
}

bool BmpCodec::LoadFromResource(Picture& picture, int id, bool headerOnly)
{
    const QByteArray data = ResourceData(id, ResourceTypeOf(PhotoFormat::Bmp));
    if (data.startsWith("BM") || data.isEmpty())
        return ImageCodec::LoadFromResource(picture, id, headerOnly);
    picture.Clear();
    if (!Accepts(&picture))
        return false;
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.constData());
    const std::optional<BitmapInfoBlock> block = BitmapInfoBlock::Read(bytes, size_t(data.size()));
    if (!block)
        return false;
    DibImage image;
    const bool ok = headerOnly || ReadPackedBitmap(bytes, size_t(data.size()), MaxPixelBytes(), image);
    return Finish(picture, *block, ok, headerOnly, image);
}

bool BmpCodec::Finish(Picture& picture, const BitmapInfoBlock& block, bool readOk, bool headerOnly, DibImage& image)
{
    if (block.header.bitCount != 0) {
        picture.record.bpp = block.header.bitCount;
        picture.record.width = block.header.width;
        picture.record.height = int(std::llabs(int64_t(block.header.height)));
        static_cast<BmpPicture&>(picture).options.info = block;
    }
    if (!readOk || headerOnly)
        return readOk;
    MaskedImage& planes = picture.image;
    bool ok = false;
    if (image.Bpp() == 24) {
        ok = planes.color.Adopt(image);
    } else if (image.Bpp() == 32) {
        ok = planes.Split(image);
        // All alpha 0: a file without alpha. All 255 (bit fields without an alpha mask): opaque.
        if (ok && (planes.mask.IsAllTransparent() || planes.mask.IsAllOpaque()))
            planes.mask.Reset();
    } else {
        ok = image.To24(planes.color);
    }
    if (!ok)
        picture.Clear();
    return ok;
}

} // namespace tessary
