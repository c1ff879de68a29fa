#include "AppResources.h"

#include <QResource>

namespace tessary {

QString ResourceTypeOf(PhotoFormat format)
{
    switch (format) {
    case kFormatVed: return QStringLiteral("VED");
    case kFormatBmp: return QString::fromLatin1(kResourceTypeBitmap);
    case kFormatGif: return QStringLiteral("GIF");
    case kFormatIco: return QStringLiteral("ICON");
    case kFormatJpeg: return QStringLiteral("JPG");
    case kFormatPng: return QStringLiteral("PNG");
    case kFormatTif: return QStringLiteral("TIF");
    case kFormatUnknown: break;
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
