#include "ImageResources.h"

#include <map>

#include <QPainter>

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

const QImage& ResourceImageFor(int id, qreal devicePixelRatio)
{
    if (devicePixelRatio <= 1.0)
        return ResourceImage(id);
    static std::map<int, QImage> cache;
    auto it = cache.find(id);
    if (it == cache.end()) {
        QImage image;
        const QByteArray png = ResourceData(id, QStringLiteral("PNG2X"));
        if (!png.isEmpty() && image.loadFromData(png, "PNG")) {
            image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(2.0);
        }
        it = cache.emplace(id, std::move(image)).first;
    }
    return it->second.isNull() ? ResourceImage(id) : it->second;
}

const QImage& ResourceImageFor(int id, const QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    return ResourceImageFor(id, device ? device->devicePixelRatioF() : 1.0);
}

bool ResourceBitmap24(int id, DibImage& target)
{
    return LoadBitmapResource(target, id, 24);
}

} // namespace tessary
