#include "ImageResources.h"

#include <map>

#include "imagefiles/AppResources.h"
#include "imaging/DibImage.h"
#include "imagefiles/ImageLoader.h"

namespace tessary {

const QImage& ResourceImage(int id)
{
    static std::map<int, QImage> cache;
    auto it = cache.find(id);
    if (it != cache.end())
        return it->second;
    QImage image;
    const QByteArray png = ResourceData(id, QStringLiteral("PNG"));
    if (!png.isEmpty())
        image.loadFromData(png, "PNG");
    if (image.isNull()) {
        const QByteArray bmp = ResourceData(id, QString::fromLatin1(kResourceTypeBitmap));
        if (!bmp.isEmpty())
            image.loadFromData(bmp, "BMP");
    }
    if (image.hasAlphaChannel())
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return cache.emplace(id, std::move(image)).first->second;
}

bool ResourceBitmap24(int id, DibImage& target)
{
    return LoadBitmapResource(target, id, 24);
}

} // namespace tessary
