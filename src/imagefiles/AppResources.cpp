#include "AppResources.h"

#include <QResource>

namespace tessary {

QString ResourceTypeOf(PhotoFormat format)
{
    switch (format) {
    case PhotoFormat::Reserved: return QStringLiteral("VED");
    case PhotoFormat::Bmp: return QString::fromLatin1(kResourceTypeBitmap);
    case PhotoFormat::Gif: return QStringLiteral("GIF");
    case PhotoFormat::Icon: return QStringLiteral("ICON");
    case PhotoFormat::Jpeg: return QStringLiteral("JPG");
    case PhotoFormat::Png: return QStringLiteral("PNG");
    case PhotoFormat::Tiff: return QStringLiteral("TIF");
    case PhotoFormat::Webp: return QStringLiteral("WEBP");
    case PhotoFormat::Heif: return QStringLiteral("HEIC");
    case PhotoFormat::Avif: return QStringLiteral("AVIF");
    case PhotoFormat::Unrecognised: break;
    }
    return QString();
}

QByteArray ResourceData(int id, const QString& type)
{
    if (type.isEmpty())
        return QByteArray();
    const QResource resource(QStringLiteral(":/tessary/%1/%2").arg(type).arg(id));
    if (!resource.isValid() || resource.size() <= 0)
        return QByteArray();
    if (resource.compressionAlgorithm() != QResource::NoCompression)
        return resource.uncompressedData();
    return QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()), qsizetype(resource.size()));
}

} // namespace tessary
