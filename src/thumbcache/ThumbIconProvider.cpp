#include "ThumbIconProvider.h"

#include <QPainter>
#include <QPainterPath>

#include "util/PhotoFormat.h"

namespace tessary {

int PlainIconProvider::IconIndexFor(const QString& path)
{
    const PhotoFormat format = PhotoFormatFromPath(path);
    return IsStorablePhotoFormat(format) ? int(format) : 0;
}

QImage PlainIconProvider::LargeIcon(int iconIndex)
{
    QImage icon(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    if (icon.isNull())
        return {};
    icon.fill(Qt::transparent);
    QColor band(0x80, 0x80, 0x80);
    switch (PhotoFormat(iconIndex)) {
    case PhotoFormat::Bmp:
        band = QColor(0x3A, 0x6E, 0xC8);
        break;
    case PhotoFormat::Jpeg:
        band = QColor(0x3C, 0x9A, 0x48);
        break;
    case PhotoFormat::Png:
        band = QColor(0xD8, 0x7A, 0x20);
        break;
    case PhotoFormat::Gif:
        band = QColor(0x8E, 0x4C, 0xB8);
        break;
    case PhotoFormat::Tiff:
        band = QColor(0x2F, 0x8F, 0x9A);
        break;
    case PhotoFormat::Webp:
        band = QColor(0xC8, 0x3C, 0x5A);
        break;
    case PhotoFormat::Heif:
        band = QColor(0x3E, 0x5A, 0x7E);
        break;
    case PhotoFormat::Avif:
        band = QColor(0x9A, 0x86, 0x22);
        break;
    default:
        break;
    }
    // A sheet with a folded corner and a coloured band across its lower half.
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath sheet;
    sheet.moveTo(6.5, 1.5);
    sheet.lineTo(20.5, 1.5);
    sheet.lineTo(26.5, 7.5);
    sheet.lineTo(26.5, 30.5);
    sheet.lineTo(6.5, 30.5);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.drawLine(QPointF(20.5, 1.5), QPointF(20.5, 7.5));
    p.drawLine(QPointF(20.5, 7.5), QPointF(26.5, 7.5));
    p.fillRect(QRectF(7, 17, 19, 8), band);
    p.end();
    return icon;
}

} // namespace tessary
