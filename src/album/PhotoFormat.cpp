#include "PhotoFormat.h"

#include <QFileInfo>

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
};
constexpr const char* kCanonical[] = {"ved", "bmp", "gif", "ico", "jpg", "png", "tif"};
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
    if (code < 0 || code > 6)
        return "";
    return kCanonical[code];
}

bool IsStorablePhotoFormat(PhotoFormat format)
{
    return format == PhotoFormat::Bmp || format == PhotoFormat::Jpeg || format == PhotoFormat::Png;
}

bool StorablePhotoFormatFromCode(int code, PhotoFormat& format)
{
    const PhotoFormat f = PhotoFormat(code);
    if (!IsStorablePhotoFormat(f))
        return false;
    format = f;
    return true;
}

} // namespace tessary
