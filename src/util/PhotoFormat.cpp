#include "util/PhotoFormat.h"

#include <QFileInfo>
#include <QStringList>

namespace tessary {

namespace {
struct ExtensionEntry {
    const char* extension;
    PhotoFormat format;
};
constexpr ExtensionEntry kExtensions[] = {
    {"ved", PhotoFormat::Reserved}, {"bmp", PhotoFormat::Bmp},   {"dib", PhotoFormat::Bmp},
    {"rle", PhotoFormat::Bmp},      {"gif", PhotoFormat::Gif},   {"ico", PhotoFormat::Icon},
    {"jpg", PhotoFormat::Jpeg},     {"jpeg", PhotoFormat::Jpeg}, {"jpe", PhotoFormat::Jpeg},
    {"jfif", PhotoFormat::Jpeg},    {"png", PhotoFormat::Png},   {"tif", PhotoFormat::Tiff},
    {"tiff", PhotoFormat::Tiff},    {"webp", PhotoFormat::Webp}, {"heic", PhotoFormat::Heif},
    {"heif", PhotoFormat::Heif},    {"hif", PhotoFormat::Heif},  {"avif", PhotoFormat::Avif},
};
constexpr const char* kCanonical[kLastPhotoFormatCode + 1] = {"ved", "bmp", "gif", "ico", "jpg",
                                                              "png", "tif", "webp", "heic", "avif"};
} // namespace

PhotoFormat PhotoFormatFromExtension(QStringView extension)
{
    for (const ExtensionEntry& e : kExtensions) {
        if (extension.compare(QLatin1String(e.extension), Qt::CaseInsensitive) == 0)
            return e.format;
    }
    return PhotoFormat::Unrecognised;
}

PhotoFormat PhotoFormatFromPath(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return PhotoFormat::Unrecognised;
    return PhotoFormatFromExtension(QStringView(name).mid(dot + 1));
}

const char* CanonicalExtension(PhotoFormat format)
{
    const int code = int(format);
    if (code < 0 || code > kLastPhotoFormatCode)
        return "";
    return kCanonical[code];
}

bool IsStorablePhotoFormat(PhotoFormat format)
{
    const int code = int(format);
    return code >= 1 && code <= kLastPhotoFormatCode && format != PhotoFormat::Icon;
}

bool StorablePhotoFormatFromCode(int code, PhotoFormat& format)
{
    const PhotoFormat f = PhotoFormat(code);
    if (!IsStorablePhotoFormat(f))
        return false;
    format = f;
    return true;
}

const char* PhotoTypeName(PhotoFormat format)
{
    switch (format) {
    case PhotoFormat::Gif: return "GIF";
    case PhotoFormat::Jpeg: return "JPEG";
    case PhotoFormat::Png: return "PNG";
    case PhotoFormat::Tiff: return "TIFF";
    case PhotoFormat::Webp: return "WebP";
    case PhotoFormat::Heif: return "HEIF";
    case PhotoFormat::Avif: return "AVIF";
    default: return "Bitmap";
    }
}

QStringList StorablePhotoExtensions()
{
    QStringList out;
    for (const ExtensionEntry& e : kExtensions) {
        if (IsStorablePhotoFormat(e.format))
            out << QLatin1String(e.extension);
    }
    return out;
}

} // namespace tessary
