#include "PhotoFormat.h"

namespace tessary {

namespace {
struct ExtensionEntry {
    const char* extension;
    PhotoFormat format;
};

constexpr ExtensionEntry kExtensions[] = {
    {"ved", kFormatVed}, {"bmp", kFormatBmp}, {"dib", kFormatBmp},  {"rle", kFormatBmp},
    {"gif", kFormatGif}, {"ico", kFormatIco}, {"jpg", kFormatJpeg}, {"jpeg", kFormatJpeg},
    {"jpe", kFormatJpeg}, {"jfif", kFormatJpeg}, {"png", kFormatPng}, {"tif", kFormatTif},
};
} // namespace

PhotoFormat FormatOfPath(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return kFormatUnknown;
    // A dot inside a folder name is no extension.
    if (path.indexOf(QLatin1Char('/'), dot) >= 0)
        return kFormatUnknown;
    const QString extension = path.mid(dot + 1).toLower();
    for (const ExtensionEntry& e : kExtensions) {
        if (extension == QLatin1String(e.extension))
            return e.format;
    }
    return kFormatUnknown;
}

QString CanonicalExtension(PhotoFormat format)
{
    switch (format) {
    case kFormatVed: return QStringLiteral("ved");
    case kFormatBmp: return QStringLiteral("bmp");
    case kFormatGif: return QStringLiteral("gif");
    case kFormatIco: return QStringLiteral("ico");
    case kFormatJpeg: return QStringLiteral("jpg");
    case kFormatPng: return QStringLiteral("png");
    case kFormatTif: return QStringLiteral("tif");
    case kFormatUnknown: break;
    }
    return QString();
}

bool HasReader(PhotoFormat format)
{
    return format == kFormatBmp || format == kFormatJpeg || format == kFormatPng;
}

} // namespace tessary
