#include "ImageCodec.h"

#include "imagefiles/AppResources.h"
#include "imagefiles/BmpCodec.h"
#include "imagefiles/GifCodec.h"
#include "imagefiles/HeifCodec.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/JpegCodec.h"
#include "imagefiles/PngCodec.h"
#include "imagefiles/TiffCodec.h"
#include "imagefiles/WebpCodec.h"
#include "util/AtomicFile.h"

namespace tessary {

bool ImageCodec::SaveToFile(const QString& path, const Picture& picture)
{
    QByteArray bytes;
    return SaveToMemory(bytes, picture) && WriteFileAtomically(path, bytes);
}

bool ImageCodec::SaveToMemory(QByteArray& out, const Picture& picture)
{
    GrowableMemoryStream stream;
    if (!Write(stream, picture))
        return false;
    out = stream.TakeBytes();
    return true;
}

bool ImageCodec::LoadFromFile(Picture& picture, const QString& path, bool headerOnly)
{
    if (!Accepts(&picture)) {
        picture.Clear();
        return false;
    }
    FileStream stream(path);
    if (!stream.IsOpen()) {
        picture.Clear();
        return false;
    }
    if (!Read(picture, stream, headerOnly))
        return false;
    picture.record.sourcePath = path;
    return true;
}

bool ImageCodec::LoadFromMemory(Picture& picture, const void* data, size_t size, bool headerOnly)
{
    MemoryStream stream(data, size);
    return Read(picture, stream, headerOnly);
}

bool ImageCodec::LoadFromResource(Picture& picture, int id, bool headerOnly)
{
    const QByteArray data = ResourceData(id, ResourceTypeOf(FormatCode()));
    if (data.isEmpty()) {
        picture.Clear();
        return false;
    }
    return LoadFromMemory(picture, data.constData(), size_t(data.size()), headerOnly);
}

bool ImageCodec::LoadInfo(Picture& picture, const QString& path)
{
    std::unique_ptr<Picture> header = MakePicture(picture.Format());
    if (!header || !LoadFromFile(*header, path, true))
        return false;
    return picture.CopyFormatFrom(*header);
}

bool ImageCodec::Accepts(const Picture* picture) const
{
    return picture ? picture->Format() == FormatCode() : FormatCode() == PhotoFormat::Unrecognised;
}

std::unique_ptr<ImageCodec> MakeCodec(PhotoFormat format)
{
    switch (format) {
    case PhotoFormat::Bmp: return std::make_unique<BmpCodec>();
    case PhotoFormat::Jpeg: return std::make_unique<JpegCodec>();
    case PhotoFormat::Png: return std::make_unique<PngCodec>();
    case PhotoFormat::Gif: return std::make_unique<GifCodec>();
    case PhotoFormat::Tiff: return std::make_unique<TiffCodec>();
    case PhotoFormat::Webp: return std::make_unique<WebpCodec>();
    case PhotoFormat::Heif:
    case PhotoFormat::Avif: return std::make_unique<HeifCodec>(format);
    default: return nullptr;
    }
}

std::unique_ptr<Picture> MakePictureFromFile(const QString& path, bool headerOnly)
{
    const PhotoFormat format = PhotoFormatFromPath(path);
    std::unique_ptr<ImageCodec> codec = MakeCodec(format);
    std::unique_ptr<Picture> picture = MakePicture(format);
    if (!codec || !picture || !codec->LoadFromFile(*picture, path, headerOnly))
        return nullptr;
    return picture;
}

} // namespace tessary
