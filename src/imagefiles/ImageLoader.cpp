#include "ImageLoader.h"

#include <cstring>

#include "imagefiles/AppResources.h"
#include "imagefiles/BmpReader.h"
#include "imagefiles/BmpWriter.h"
#include "imagefiles/DecodedRows.h"
#include "imagefiles/FittedLoaders.h"
#include "imagefiles/HeifDecoder.h"
#include "imaging/ExifOrientation.h"
#include "imaging/FitInBox.h"
#include "imagefiles/ImageCodec.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/JpegDecoder.h"
#include "imagefiles/PhotoMetadata.h"
#include "imagefiles/PngDecoder.h"

namespace tessary {

namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool FitInto(DibImage24& image, DibSize full, DibSize maximum, DibImage& target)
{
    return FitDecodedInto(image, full, maximum, target);
}

bool StartsWith(const uint8_t* p, size_t size, const char* text, size_t length)
{
    return size >= length && std::memcmp(p, text, length) == 0;
}

// A JPEG photo without a usable Exif thumbnail, decoded at the smallest scale that still
// leaves the smooth shrink to the box a factor of two.
bool LoadJpegFitted(DibImage& target, const QString& path, DibSize maximum)
{
    // Decoded as stored, so a photo that turns a quarter is fitted into the box turned with it.
    const int orientation = PhotoOrientation(path);
    const bool transposes = orientation >= 5 && orientation <= 8;
    FileStream stream(path);
    JpegDecodeRequest request;
    request.fitBox = transposes ? DibSize{maximum.height, maximum.width} : maximum;
    JpegImageInfo info;
    DibImage24 image;
    return DecodeJpeg(stream, request, info, image)
           && FitAndTurn(image, {info.width, info.height}, orientation, maximum, target);
}

} // namespace

// ---- pictures ------------------------------------------------------------------------------

PhotoFormat FormatOfBytes(const void* data, size_t size)
{
    const auto* p = static_cast<const uint8_t*>(data);
    if (!p || size < 2)
        return PhotoFormat::Unrecognised;
    if (p[0] == 'B' && p[1] == 'M')
        return PhotoFormat::Bmp;
    if (p[0] == 0xFF && p[1] == 0xD8)
        return PhotoFormat::Jpeg;
    if (size >= sizeof kPngSignature && std::memcmp(p, kPngSignature, sizeof kPngSignature) == 0)
        return PhotoFormat::Png;
    if (StartsWith(p, size, "GIF87a", 6) || StartsWith(p, size, "GIF89a", 6))
        return PhotoFormat::Gif;
    if (StartsWith(p, size, "II*\0", 4) || StartsWith(p, size, "MM\0*", 4))
        return PhotoFormat::Tiff;
    if (size >= 12 && StartsWith(p, size, "RIFF", 4) && std::memcmp(p + 8, "WEBP", 4) == 0)
        return PhotoFormat::Webp;
    return HeifFamilyFormat(p, size);
}

std::unique_ptr<Picture> LoadPicture(const QString& path)
{
    return MakePictureFromFile(path);
}

std::unique_ptr<Picture> LoadPicture(const void* data, size_t size)
{
    const PhotoFormat format = FormatOfBytes(data, size);
    std::unique_ptr<ImageCodec> codec = MakeCodec(format);
    std::unique_ptr<Picture> picture = MakePicture(format);
    if (!codec || !picture || !codec->LoadFromMemory(*picture, data, size))
        return nullptr;
    return picture;
}

std::unique_ptr<Picture> LoadPicture(PhotoFormat format, int resourceId)
{
    std::unique_ptr<ImageCodec> codec = MakeCodec(format);
    std::unique_ptr<Picture> picture = MakePicture(format);
    if (!codec || !picture || !codec->LoadFromResource(*picture, resourceId))
        return nullptr;
    return picture;
}

std::optional<DibSize> LoadHeader(const QString& path)
{
    const std::unique_ptr<Picture> picture = MakePictureFromFile(path, true);
    if (!picture)
        return std::nullopt;
    return DibSize{picture->record.width, picture->record.height};
}

QByteArray SavePicture(const Picture& picture)
{
    DibImage image;
    return ImageForSaving(picture, image) ? SaveBmpToMemory(image) : QByteArray();
}

// ---- thumbnails ----------------------------------------------------------------------------

bool LoadImageFitted(DibImage& target, const QString& path, DibSize maximum)
{
    if (maximum.width < kMinFittedBox.width || maximum.height < kMinFittedBox.height || !target.TakesDepth(24))
        return false;
    if (PhotoFormatFromPath(path) == PhotoFormat::Jpeg) {
        DibImage24 thumbnail;
        if (LoadExifThumbnail(thumbnail, path, true) != 0)
            return FitInto(thumbnail, thumbnail.Size(), maximum, target);
        return LoadJpegFitted(target, path, maximum);
    }
    const PhotoFormat format = PhotoFormatFromPath(path);
    if (format == PhotoFormat::Tiff)
        return LoadTiffFitted(target, path, maximum);
    if (format == PhotoFormat::Webp)
        return LoadWebpFitted(target, path, maximum);
    if (format == PhotoFormat::Heif || format == PhotoFormat::Avif)
        return LoadHeifFitted(target, path, maximum);
    if (format == PhotoFormat::Bmp || format == PhotoFormat::Png) {
        // Shrunk while the rows are read, so a large picture is never held whole.
        FileStream stream(path);
        const FittedRead read = format == PhotoFormat::Bmp ? ReadBmpFitted(stream, maximum, kMaxDecodedBytes, target)
                                                           : DecodePngFitted(stream, maximum, kMaxDecodedBytes, target);
        if (read != FittedRead::NotStreamed)
            return read == FittedRead::Done;
    }
    const std::unique_ptr<Picture> picture = LoadPicture(path);
    DibImage24 fitted;
    return picture && GetFittedImage(*picture, fitted, maximum) && target.Adopt(fitted);
}

int LoadExifThumbnail(DibImage& target, const QString& path, bool applyOrientation)
{
    if (PhotoFormatFromPath(path) != PhotoFormat::Jpeg)
        return 0;
    MarkerList markers;
    if (!ReadHeaderMarkers(path, markers))
        return 0;
    const std::optional<ExifThumbnailData> thumbnail = ExifThumbnail(markers);
    if (!thumbnail)
        return 0;
    DibImage24 image;
    if (!DecodeEmbeddedJpeg(image, thumbnail->bytes.data(), thumbnail->bytes.size()))
        return 0;
    int orientation = ExifOrientation(markers);
    if (orientation < 1 || orientation > 8)
        orientation = 1;
    if (applyOrientation && !ApplyExifOrientation(image, orientation))
        return 0;
    return target.Adopt(image) ? orientation : 0;
}

bool LoadHeifThumbnail(DibImage& target, const QString& path)
{
    const PhotoFormat format = PhotoFormatFromPath(path);
    if ((format != PhotoFormat::Heif && format != PhotoFormat::Avif) || !target.TakesDepth(24))
        return false;
    FileStream stream(path);
    HeifDecodeRequest request;
    request.format = format;
    request.thumbnail = true;
    request.maxPixelBytes = kMaxEmbeddedPixelBytes;
    HeifImageInfo info;
    DibImage image;
    DibImage24 flat;
    return DecodeHeif(stream, request, info, image) && FlattenedCopy(image, flat) && target.Adopt(flat);
}

bool DecodeEmbeddedJpeg(DibImage& target, const uint8_t* bytes, size_t length)
{
    if (!bytes || length == 0 || !target.TakesDepth(24))
        return false;
    MemoryStream stream(bytes, length);
    JpegDecodeRequest request;
    request.maxPixelBytes = kMaxEmbeddedPixelBytes;
    JpegImageInfo info;
    DibImage24 image;
    return DecodeJpeg(stream, request, info, image) && target.Adopt(image);
}

// ---- artwork -------------------------------------------------------------------------------

bool LoadBitmapResource(DibImage& target, int resourceId, int depth)
{
    if (depth != 0 && depth != 1 && depth != 4 && depth != 8 && depth != 15 && depth != 16 && depth != 24
        && depth != 32)
        return false;
    const QByteArray data = ResourceData(resourceId, QString::fromLatin1(kResourceTypeBitmap));
    if (data.isEmpty())
        return false;
    DibImage image;
    bool ok = false;
    if (data.startsWith("BM")) {
        MemoryStream stream(data.constData(), size_t(data.size()));
        BitmapInfoBlock block;
        ok = ReadBmp(stream, false, kMaxDecodedBytes, block, image);
    } else {
        ok = ReadPackedBitmap(reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size()),
                              kMaxDecodedBytes, image);
    }
    if (!ok)
        return false;
    return depth == 0 ? target.Adopt(image) : image.ToDepth(target, depth);
}

} // namespace tessary
